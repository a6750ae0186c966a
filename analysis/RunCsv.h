// The tables of a run as a CSV file that spreadsheet programs of the text language open as they
// are: in Russian semicolons between fields and decimal commas, in English commas and decimal
// points; UTF-8 with a byte-order mark, a header row.
// One row per value, so a spreadsheet can filter and sort them:
//
//   Популяция;Величина;Номер;Значение;Как на странице
//   1;Понедельный рост;1;781,1666666666666;781,1667
//
// "Значение" is the value as computed, in the shortest text that reads back to the same double;
// "Как на странице" is the number as the report page writes it.
#pragma once

#include "analysis/Run.h"

#include <string>

std::string RunTablesCsv(const TRunResult &run);
