// What the results window's print and save buttons keep of a run the input window made.
#pragma once

#include "analysis/NumMethods.h"
#include "results/ResultsActions.h"

#include <QString>

// The variant number (1 .. 30) whose counts counts1 and counts2 are when they are those of the
// variant at variantIndex, else 0: the user's own counts.
int ShownVariant(int32_t variantIndex, const TCountArray &counts1, const TCountArray &counts2);

// The run of counts1 and counts2 with a smoothing choice (its radio item text): the heading of the
// printed pages, the file name to suggest and the CSV tables. variant is ShownVariant's answer.
TShownRun ShownRunOf(TFrmRunTarget &target, int variant, const TCountArray &counts1,
                     const TCountArray &counts2, int32_t smoothing, const QString &smoothingText);
