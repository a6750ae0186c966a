#include "app/GridClipboard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include <algorithm>

namespace {

bool IsGroupSeparator(QChar c) {
    return c == QChar(0x00A0) || c == QChar(0x202F) || c == u'\'';
}

bool IsWholeNumber(const QString &piece) {
    return !piece.isEmpty() &&
           std::all_of(piece.begin(), piece.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// "числа" after "из 1", "из 21"; "чисел" otherwise.
QString NumbersWord(int n) {
    return n % 10 == 1 && n % 100 != 11 ? QCoreApplication::translate("GridClipboard", "числа")
                                        : QCoreApplication::translate("GridClipboard", "чисел");
}

} // namespace

QString TPastedValues::Note() const {
    QStringList parts;
    if (Put < Numbers || Cut)
        parts << (Cut ? QCoreApplication::translate("GridClipboard",
                                                    "вставлено %1 из более чем %2 %3")
                      : QCoreApplication::translate("GridClipboard", "вставлено %1 из %2 %3"))
                     .arg(Put)
                     .arg(Numbers)
                     .arg(NumbersWord(Numbers));
    if (NotNumbers > 0)
        parts << QCoreApplication::translate("GridClipboard", "пропущено нечисловых значений: %1")
                     .arg(NotNumbers);
    return parts.join(QStringLiteral("; "));
}

TPastedValues ReadPasted(const QString &text, int room) {
    TPastedValues out;
    QStringView view(text);
    if (view.size() > MaxPasteChars) {
        view = view.first(MaxPasteChars);
        out.Cut = true;
    } else if (view.endsWith(u"\r\n")) {
        view.chop(2);
    } else if (view.endsWith(u'\n') || view.endsWith(u'\r')) {
        view.chop(1);
    }
    auto add = [&](const QString &piece) {
        ++out.Pieces;
        const bool number = IsWholeNumber(piece);
        if (number) ++out.Numbers;
        if (!number && !piece.isEmpty()) ++out.NotNumbers;
        if (out.Cells.size() >= room) return;
        out.Cells << (number ? piece : QString());
        if (number) ++out.Put;
    };
    QString piece;
    int inCell = 0; // pieces of the current cell so far
    auto endPiece = [&] {
        if (piece.isEmpty()) return;
        add(piece);
        piece.clear();
        ++inCell;
    };
    auto endCell = [&] {
        endPiece();
        if (inCell == 0) add(QString());
        inCell = 0;
    };
    for (qsizetype i = 0; i < view.size(); ++i) {
        const QChar c = view[i];
        if (c == u'\t' || c == u'\n' || c == u'\r') {
            endCell();
            if (c == u'\r' && i + 1 < view.size() && view[i + 1] == u'\n') ++i;
        } else if (IsGroupSeparator(c)) {
            continue;
        } else if (c.isSpace() || c == u';' || c.category() == QChar::Other_Control) {
            endPiece();
        } else {
            piece += c;
        }
    }
    if (!view.isEmpty()) endCell();
    return out;
}

bool IsPasteKey(const QKeyEvent *event) {
    return event->matches(QKeySequence::Paste) ||
           (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier);
}

bool IsCopyKey(const QKeyEvent *event) {
    return event->matches(QKeySequence::Copy);
}
