// Tick positions and tick label texts of the chart axes. Qt's own labels are printf formats of
// the raw tick values: at large magnitudes they print the rounding noise of the tick arithmetic
// ("-16 777 216" for the zero line) and grow to thirty characters. Here ticks are whole multiples
// of a round step and each label is the tick rounded to the step, written in at most about eight
// characters, in a power-of-ten form beyond a million.
#pragma once

#include <QString>

#include <vector>

struct TAxisScale {
    double Min = 0;
    double Max = 1;
    // The tick values, ascending, from Min (or the first multiple of the step above it).
    std::vector<double> Ticks;
    double Step = 1;
};

// An axis over the data range lo .. hi (lo <= hi, both finite) with at most maxIntervals tick
// steps of 1, 2 or 5 times a power of ten (2,5 as well with `loose`).
// loose: the ends go out to whole steps, as a value axis that gives the data some room.
// Otherwise the axis spans the data exactly (ends that lie within rounding noise of a whole
// number are taken as that number), and the ticks are the multiples of the step inside it.
// A zero span is widened first, so there is always something to draw on.
TAxisScale AxisScaleFor(double lo, double hi, int maxIntervals, bool loose);

// The label of a tick value on an axis of the given step (0: as precise as the value needs,
// up to four significant digits): "0", "997", "0,5", "-12 500", "2,5·10⁷", "-1,2·10¹⁶".
QString AxisLabelText(double value, double step);
