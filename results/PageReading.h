// The contents of the results window's pages in reading order, as a screen reader, the copy menu
// and the HTML lesson take them: the widgets of a page from top to bottom and left to right, the
// painted lines of an image area row by row, and a chart as a sentence.
#pragma once

#include "results/RunTarget.h"

#include <QString>

#include <vector>

class QWidget;
class TChartBase;

// The texts and formulas of an area's log grouped into rows: operations whose tops lie within
// the first one's height share a row, left to right; rows from top to bottom.
std::vector<std::vector<const TAreaOp *>> ReadingRows(const std::vector<TAreaOp> &log);

// What a reader meets in the log: its formulas and non-blank texts in reading order.
std::vector<const TAreaOp *> ReadingItems(const std::vector<TAreaOp> &log);

// A text operation's text as Unicode.
QString OpText(const TAreaOp &op);

// The visible child widgets of page, top to bottom, left to right.
std::vector<QWidget *> ReadingOrder(const QWidget &page);

// The indices of a chart's series that have points.
std::vector<int> DrawnSeries(const TChartBase &chart);

// The name of a chart line, the legend's where it has one, else what it draws.
QString SeriesName(const TChartBase &chart, int index);

// A chart as one Russian sentence: its axes with their titles and ranges, and its lines.
QString ChartSummary(const TChartBase &chart);
