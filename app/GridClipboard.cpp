#include "app/GridClipboard.h"

#include "app/Controls.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QRegularExpression>

QStringList PastedPieces(const QString &text) {
    static const QRegularExpression separators(QStringLiteral("[\\s;]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

int PasteIntoRow(TStringGrid &grid, int from, const QString &text) {
    const QStringList pieces = PastedPieces(text);
    int col = std::max(from, 0);
    int filled = 0;
    for (const QString &piece : pieces) {
        if (col >= grid.ColCount()) break;
        grid.SetCells(col++, 1, piece);
        ++filled;
    }
    return filled;
}

QString RowText(const TStringGrid &grid) {
    QStringList cells;
    for (int c = 0; c < grid.ColCount(); ++c)
        cells << grid.Cells(c, 1);
    return cells.join(u'\t');
}

bool IsPasteKey(const QKeyEvent *event) {
    return event->matches(QKeySequence::Paste) ||
           (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier);
}

bool IsCopyKey(const QKeyEvent *event) {
    return event->matches(QKeySequence::Copy);
}
