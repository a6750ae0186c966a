#include "app/Controls.h"

#include "results/FontSetup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

// Hooks the grid's key filter into every cell editor it creates.
class TGridDelegate : public QStyledItemDelegate {
public:
    explicit TGridDelegate(TStringGrid *grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor) {
            editor->installEventFilter(FGrid);
            // Pastes come through the keys only, so each goes through the same reading; the
            // editor's own menu and drops would put text in as it is.
            editor->setContextMenuPolicy(Qt::NoContextMenu);
            editor->setAcceptDrops(false);
        }
        return editor;
    }

private:
    TStringGrid *FGrid;
};

namespace {
constexpr int DefaultColWidth = 50;
constexpr int DefaultRowHeight = 24;
} // namespace

TStringGrid::TStringGrid(int colCount, int rowCount, QWidget *parent)
    : QTableWidget(rowCount > 1 ? rowCount - 1 : 0, colCount, parent) {
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
    QHeaderView *titles = horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Fixed);
    titles->setDefaultSectionSize(DefaultColWidth);
    titles->setFixedHeight(DefaultRowHeight);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setSectionsClickable(false);
    titles->setHighlightSections(false);
    for (int c = 0; c < columnCount(); ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
    for (int r = 0; r < QTableWidget::rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            setItem(r, c, new QTableWidgetItem);

    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    // One Tab stop per grid: Tab leaves it, the arrows and Enter move inside.
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new TGridDelegate(this));
}

QString TStringGrid::Cells(int col, int row) const {
    if (col < 0 || col >= columnCount() || row < 0 || row >= RowCount()) return QString();
    const QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell ? cell->text() : QString();
}

void TStringGrid::SetCells(int col, int row, const QString &text) {
    if (col < 0 || col >= columnCount() || row < 0 || row >= RowCount()) return;
    QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    if (cell)
        cell->setText(text);
    else if (row == 0)
        setHorizontalHeaderItem(col, new QTableWidgetItem(text));
    else
        setItem(row - 1, col, new QTableWidgetItem(text));
    if (row == 0) FitTitles();
}

void TStringGrid::FitTitles() {
    QHeaderView *titles = horizontalHeader();
    const int margin = titles->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, titles);
    int room = titles->defaultSectionSize();
    QString widest;
    for (int c = 0; c < columnCount(); ++c) {
        const QString title = Cells(c, 0);
        if (title.size() > widest.size()) widest = title;
        room = std::min(room, columnWidth(c));
    }
    titles->setFont(FitFont(font(), widest, room - 2 * margin - 1));
}

bool TStringGrid::Rejects(const QString &typed) const {
    if (!OnKeyPress) return false;
    for (QChar c : typed) {
        // Control characters other than backspace (Enter, Tab, Escape, Delete) are keys, not
        // typed text.
        if (c.unicode() != 8 && (c.unicode() < 0x20 || c.unicode() == 0x7F)) continue;
        QChar key = c;
        OnKeyPress(key);
        if (key.unicode() == 0) return true;
    }
    return false;
}

bool TStringGrid::RejectsKey(const QKeyEvent *event) const {
    // Shortcuts (copy, paste, select all) are commands, not typing.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    return Rejects(event->text());
}

void TStringGrid::keyPressEvent(QKeyEvent *event) {
    // A typed character starts the cell editor; a rejected one must not.
    if (RejectsKey(event) || ClipboardKey(event)) {
        event->accept();
        return;
    }
    // An editor's own Enter comes back here too; its commit moves on (closeEditor).
    if (IsEnterKey(event) && state() != EditingState) {
        NextMonth();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool TStringGrid::ClipboardKey(const QKeyEvent *event) {
    if (IsPasteKey(event)) {
        PasteIntoRow(currentColumn(), QGuiApplication::clipboard()->text());
        return true;
    }
    if (IsCopyKey(event)) {
        QGuiApplication::clipboard()->setText(RowText());
        return true;
    }
    return false;
}

bool TStringGrid::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (RejectsKey(key)) return true;
        auto *editor = qobject_cast<QWidget *>(watched);
        if (editor && IsPasteKey(key) && PasteIntoEditor(editor)) return true;
    } else if (event->type() == QEvent::InputMethod) {
        // Text composed by an input method is typed text too.
        if (Rejects(static_cast<QInputMethodEvent *>(event)->commitString())) return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

bool TStringGrid::PasteIntoEditor(QWidget *editor) {
    const QString text = QGuiApplication::clipboard()->text();
    const TPastedValues one = ReadPasted(text, 1);
    // Several pieces fill the cells from here on; one piece is an edit of the cell's text.
    if (one.Pieces > 1) {
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        PasteIntoRow(currentColumn(), text);
        return true;
    }
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line) return false;
    if (one.Put == 1) line->insert(one.Cells.constFirst());
    ShowNote(one.Note());
    return true;
}

TPastedValues TStringGrid::PasteIntoRow(int from, const QString &text) {
    const int col = std::max(from, 0);
    const TPastedValues values = ReadPasted(text, std::max(ColCount() - col, 0));
    for (qsizetype i = 0; i < values.Cells.size(); ++i)
        if (!values.Cells[i].isNull()) SetCells(col + static_cast<int>(i), 1, values.Cells[i]);
    ShowNote(values.Note());
    return values;
}

QString TStringGrid::RowText() const {
    QStringList cells;
    for (int c = 0; c < ColCount(); ++c)
        cells << Cells(c, 1);
    return cells.join(u'\t');
}

void TStringGrid::ShowNote(const QString &note) {
    FNote = note;
    if (note.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    const QRect cell = visualRect(currentIndex());
    const QPoint at = viewport()->mapToGlobal(cell.isValid() ? cell.bottomLeft() : QPoint());
    QToolTip::showText(at, note, this);
}

bool TStringGrid::IsEnterKey(const QKeyEvent *event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           !(event->modifiers() & ~Qt::KeypadModifier);
}

void TStringGrid::NextMonth() {
    if (currentColumn() < columnCount() - 1)
        setCurrentCell(std::max(currentRow(), 0), currentColumn() + 1);
    else
        QWidget::focusNextPrevChild(true);
}

void TStringGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    // Tab in an editor keeps the count and leaves the grid, as Tab on a cell does; Enter keeps it
    // and moves to the next month.
    const bool tab = hint == QAbstractItemDelegate::EditNextItem ||
                     hint == QAbstractItemDelegate::EditPreviousItem;
    QTableWidget::closeEditor(editor, tab ? QAbstractItemDelegate::NoHint : hint);
    if (tab)
        QWidget::focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
    else if (hint == QAbstractItemDelegate::SubmitModelCache)
        NextMonth();
}

void TStringGrid::focusInEvent(QFocusEvent *event) {
    if (rowCount() > 0 && columnCount() > 0) {
        if (event->reason() == Qt::TabFocusReason)
            setCurrentCell(0, 0);
        else if (event->reason() == Qt::BacktabFocusReason)
            setCurrentCell(rowCount() - 1, columnCount() - 1);
    }
    QTableWidget::focusInEvent(event);
}

TRadioGroup::TRadioGroup(const QStringList &items, QWidget *parent) : QGroupBox(parent) {
    FButtons = new QButtonGroup(this);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 2, 8, 2);
    column->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        FButtons->addButton(button, i);
        column->addWidget(button);
        button->installEventFilter(this);
    }
}

bool TRadioGroup::eventFilter(QObject *watched, QEvent *event) {
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (!button) return QGroupBox::eventFilter(watched, event);
    const QList<QAbstractButton *> buttons = FButtons->buttons();
    if (event->type() == QEvent::FocusIn) {
        // Tab and Shift+Tab enter at the checked item.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        QAbstractButton *checked = FButtons->checkedButton();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && checked &&
            checked != button) {
            checked->setFocus(reason);
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && !buttons.isEmpty()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const auto modifiers = static_cast<QKeyEvent *>(event)->modifiers();
        const bool backtab =
            key == Qt::Key_Backtab || (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier));
        if (key == Qt::Key_Tab || backtab) {
            // Leave from the group's end, so the other items are not stops of their own.
            QAbstractButton *end = backtab ? buttons.constFirst() : buttons.constLast();
            if (end != button) end->setFocus(Qt::OtherFocusReason);
            focusNextPrevChild(!backtab);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void TRadioGroup::resizeEvent(QResizeEvent *event) {
    QGroupBox::resizeEvent(event);
    FitItems();
}

void TRadioGroup::changeEvent(QEvent *event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) FitItems();
}

void TRadioGroup::FitItems() {
    const QMargins margins = layout()->contentsMargins();
    for (QAbstractButton *button : FButtons->buttons()) {
        const int indicator =
            button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button) +
            button->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, button);
        const int room = contentsRect().width() - margins.left() - margins.right() - indicator;
        button->setFont(FitFont(font(), button->text(), room));
    }
}

int TRadioGroup::ItemIndex() const {
    return FButtons->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton *button = FButtons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never unchecks its last button by itself.
    FButtons->setExclusive(false);
    for (QAbstractButton *button : FButtons->buttons())
        button->setChecked(false);
    FButtons->setExclusive(true);
}
