// Pasted text as counts. Counts in lessons come from spreadsheets: a pasted row or column (or
// numbers typed with tabs, blanks, semicolons or line breaks between them) fills the cells from
// the current one on. Plain text in, values out: the grid (app/Controls.h) puts them.
#pragma once

#include <QString>
#include <QStringList>

class QKeyEvent;

// Only this much of a pasted text is read: a huge clipboard must not freeze the window.
constexpr qsizetype MaxPasteChars = 64 * 1024;

// What a pasted text puts into the cells from the current one on.
struct TPastedValues {
    // One entry per cell, at most as many as there are cells to fill: the digits of a whole
    // number, or a null text where the cell keeps its text (an empty spreadsheet cell, or a
    // piece that is not a whole number).
    QStringList Cells;
    int Pieces = 0;     // pieces read, each one cell's worth
    int Numbers = 0;    // whole numbers among them
    int Put = 0;        // whole numbers that went into cells
    int NotNumbers = 0; // pieces that are not whole numbers, left out
    bool Cut = false;   // the text went on beyond the part that is read

    // A short note when something was not put into the cells ("вставлено 8 из 10 чисел"),
    // else empty.
    QString Note() const;
};

// Reads a pasted text for `room` cells. Tabs and line breaks are cell boundaries (an empty
// spreadsheet cell keeps its place; one final line break adds no cell); inside a cell, runs of
// blanks, semicolons and control characters separate values. Group separators inside a number
// (no-break space, narrow no-break space, apostrophe) are dropped. A piece is put only when it
// is a whole number of digits, as typing allows.
TPastedValues ReadPasted(const QString &text, int room);

// Ctrl+V or Shift+Insert, and Ctrl+C, as the platform names them.
bool IsPasteKey(const QKeyEvent *event);
bool IsCopyKey(const QKeyEvent *event);
