// The classic controls of the input window on top of Qt widgets: a string grid addressed by
// (column, row) with a fixed title row and a key-press hook, one Tab stop with Enter moving to
// the next month, and a radio group with an item index.
#pragma once

#include "app/GridClipboard.h"

#include <QChar>
#include <QGroupBox>
#include <QStringList>
#include <QTableWidget>

#include <functional>

class QButtonGroup;

// A grid whose row 0 is the fixed title row (shown as the header) and rows 1 .. RowCount - 1
// hold editable text cells. No fixed column.
class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    TStringGrid(int colCount, int rowCount, QWidget *parent = nullptr);

    int ColCount() const { return columnCount(); }
    int RowCount() const { return rowCount() + 1; }
    // The text of a cell; empty outside the grid.
    QString Cells(int col, int row) const;
    // Sets the text of a cell; ignored outside the grid.
    void SetCells(int col, int row, const QString &text);

    // Called for every typed character (printable characters and backspace, code 8), in the
    // grid and in its cell editor. Setting the character to 0 discards the key. Keys that type
    // no character (Enter, Tab, arrows, Delete, shortcuts such as copy and paste) never reach
    // it. Pasted text does not either: every paste, into the grid or into an open cell editor,
    // is read by ReadPasted (GridClipboard.h), which puts whole numbers only.
    std::function<void(QChar &key)> OnKeyPress;

    // Shows a short note under the current cell (what a paste left out); empty shows nothing.
    void ShowNote(const QString &note);
    // The note shown last, empty when the last paste put everything.
    QString Note() const { return FNote; }

    // Puts text into row 1 from column `from` on, as ReadPasted reads it, and shows the note of
    // what was left out. Returns what was read.
    TPastedValues PasteIntoRow(int from, const QString &text);
    // Row 1, the cells separated by tabs: a spreadsheet takes it as a row of cells.
    QString RowText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    // Entered by Tab, the grid starts at its first cell; by Shift+Tab, at its last.
    void focusInEvent(QFocusEvent *event) override;

private:
    friend class TGridDelegate;
    static bool IsEnterKey(const QKeyEvent *event);
    // Enter's move: the next month, or from month 10 on to the window's next control.
    void NextMonth();
    // The clipboard keys: paste from the current cell on, copy the row.
    bool ClipboardKey(const QKeyEvent *event);
    // Condenses the title font when a title would overflow its column.
    void FitTitles();
    // True when the hook rejects one of the characters a key event would type.
    bool Rejects(const QString &typed) const;
    bool RejectsKey(const QKeyEvent *event) const;
    // A paste into an open cell editor; true when the key is taken.
    bool PasteIntoEditor(QWidget *editor);

    QString FNote;
};

// A group of radio buttons, one per item, laid out top to bottom. It is one Tab stop, entered at
// the checked item; the arrows move the check with the focus.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QStringList &items, QWidget *parent = nullptr);

    // The checked item, -1 when none.
    int ItemIndex() const;
    // Checks item index; -1 (or any index outside the items) unchecks all.
    void SetItemIndex(int index);
    QButtonGroup *Buttons() const { return FButtons; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Condenses an item's font when its text would overflow the group.
    void FitItems();

    QButtonGroup *FButtons = nullptr;
};
