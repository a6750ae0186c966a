// How the input window names a run for the results window's print and save buttons.
#pragma once

#include "analysis/NumMethods.h"
#include "results/ResultsActions.h"

#include <QString>

// The variant number (1 .. 30) whose counts counts1 and counts2 are when they are those of the
// variant at variantIndex, else 0: the user's own counts.
int ShownVariant(int32_t variantIndex, const TCountArray &counts1, const TCountArray &counts2);

// The run with the heading of its printed pages and the file name to suggest, from variant
// (ShownVariant's answer) and the smoothing choice's radio item text.
TShownRun ShownRunOf(TRunResult run, int variant, const QString &smoothingText);
