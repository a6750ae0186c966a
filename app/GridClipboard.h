// Counts between a count grid and the clipboard. Counts in lessons come from spreadsheets: a
// pasted row or column (or numbers typed with tabs, blanks, semicolons or line breaks between
// them) fills the cells from the current one on; copying gives the ten counts as one
// tab-separated row, which a spreadsheet takes as a row of cells.
#pragma once

#include <QString>
#include <QStringList>

class QKeyEvent;
class TStringGrid;

// The pieces of a pasted text, split at runs of tabs, blanks, semicolons and line breaks; a
// doubled or trailing separator adds no empty piece.
QStringList PastedPieces(const QString &text);

// Puts the pieces of text, each as it is, into row 1 of grid from column `from` on; pieces
// beyond the last column are dropped. The cells' texts are checked when the run reads them,
// as typed ones are. Returns the number of cells filled.
int PasteIntoRow(TStringGrid &grid, int from, const QString &text);

// Row 1 of grid, the cells separated by tabs.
QString RowText(const TStringGrid &grid);

// Ctrl+V or Shift+Insert, and Ctrl+C, as the platform names them.
bool IsPasteKey(const QKeyEvent *event);
bool IsCopyKey(const QKeyEvent *event);
