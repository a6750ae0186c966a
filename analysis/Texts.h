// The run's texts are written here in UTF-8 and handed on in Windows-1251, as the results window
// and the formula language expect them.
#pragma once

#include "runtime/Cp1251.h"
#include "runtime/Language.h"

#include <string>
#include <string_view>

// A UTF-8 text in double quotes, with quotes and backslashes escaped: a text field of the
// run's records.
inline std::string QuotedRecord(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

// A text of the run in the chosen language, in Windows-1251 for the pages and formulas.
inline std::string TrW(const char *context, const char *source) {
    return Win1251(Tr(context, source));
}

// The texts are converted with the runtime's Win1251 (runtime/Cp1251.h); every text of the run
// is representable in Windows-1251.

// Which count did not convert, in the words of the input window's labels and columns (UTF-8):
// "Популяция №2, месяц 8: нет числа" for an empty cell, else the cell's text in quotes.
inline std::string BadCountText(int population, int month, std::string_view cellUtf8) {
    std::string out = Tr("Run", "Популяция №") + std::to_string(population) +
                      Tr("Run", ", месяц ") + std::to_string(month) + ": ";
    if (cellUtf8.empty()) return out + Tr("Run", "нет числа");
    return out + "\"" + std::string(cellUtf8) + "\"";
}
