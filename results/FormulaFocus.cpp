#include "results/FormulaFocus.h"

#include "results/FormulaShare.h"
#include "results/Image.h"
#include "results/PageReading.h"
#include "results/RunTarget.h"
#include "results/WholeFile.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

TFormulaFocus::TFormulaFocus(TImage &image, const TQtImageArea &area)
    : QObject(&image), FImage(image), FArea(area) {
    image.setFocusPolicy(Qt::StrongFocus);
    image.installEventFilter(this);
    ShowMenu = [this](int index, QPoint at) { Menu(index, at); };
}

std::vector<const TAreaOp *> TFormulaFocus::Formulas() const {
    std::vector<const TAreaOp *> formulas;
    for (const auto &row : ReadingRows(FArea.Log()))
        for (const TAreaOp *op : row)
            if (op->Kind == TAreaOp::KFormula) formulas.push_back(op);
    return formulas;
}

void TFormulaFocus::SetCurrent(int index) {
    const std::vector<const TAreaOp *> formulas = Formulas();
    if (index < 0 || index >= static_cast<int>(formulas.size())) {
        FCurrent = -1;
        FImage.SetMark(QRect());
        return;
    }
    FCurrent = index;
    const TAreaOp &op = *formulas[static_cast<std::size_t>(index)];
    FImage.SetMark(QRect(op.X, op.Y, op.Width, op.Height));
    // A screen reader follows the mark and speaks the formula.
    if (FImage.hasFocus() && QAccessible::isActive()) {
        const std::vector<const TAreaOp *> items = ReadingItems(FArea.Log());
        const auto at = std::find(items.begin(), items.end(), &op);
        if (at != items.end()) {
            QAccessibleEvent event(&FImage, QAccessible::Focus);
            event.setChild(static_cast<int>(at - items.begin()));
            QAccessible::updateAccessibility(&event);
        }
    }
}

int TFormulaFocus::FormulaAt(QPoint point) const {
    const std::vector<const TAreaOp *> formulas = Formulas();
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        const TAreaOp &op = *formulas[i];
        if (QRect(op.X, op.Y, op.Width, op.Height).contains(FImage.ToBitmap(point)))
            return static_cast<int>(i);
    }
    return -1;
}

QMimeData *TFormulaFocus::MimeData(int index, TCopy how) const {
    const std::vector<const TAreaOp *> formulas = Formulas();
    if (index < 0 || index >= static_cast<int>(formulas.size())) return nullptr;
    const TAreaOp &op = *formulas[static_cast<std::size_t>(index)];
    if (how == TCopy::All) return FormulaMimeData(op);
    auto *data = new QMimeData;
    if (how == TCopy::Picture) {
        const QImage image = FormulaImage(op.Text, op.FontHeight, op.Framed, 2);
        data->setImageData(image);
        data->setData(QStringLiteral("image/png"), PngBytes(image));
        return data;
    }
    const TFormulaTexts texts = FormulaTexts(op.Text, op.FontHeight);
    if (how == TCopy::Latex) {
        data->setText(QString::fromStdString(texts.Latex));
    } else {
        data->setText(QString::fromStdString(texts.MathML));
        data->setData(QStringLiteral("application/mathml+xml"),
                      QByteArray::fromStdString(texts.MathML));
    }
    return data;
}

bool TFormulaFocus::Copy(int index, TCopy how) {
    QMimeData *data = MimeData(index, how);
    if (!data) return false;
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

void TFormulaFocus::Menu(int index, QPoint at) {
    QMenu menu(&FImage);
    menu.addAction(QCoreApplication::translate("TFormulaFocus", "Копировать как рисунок"), this,
                   [this, index] { Copy(index, TCopy::Picture); });
    menu.addAction(QCoreApplication::translate("TFormulaFocus", "Копировать как LaTeX"), this,
                   [this, index] { Copy(index, TCopy::Latex); });
    menu.addAction(QCoreApplication::translate("TFormulaFocus", "Копировать как MathML"), this,
                   [this, index] { Copy(index, TCopy::MathML); });
    menu.exec(FImage.mapToGlobal(at));
}

bool TFormulaFocus::eventFilter(QObject *watched, QEvent *event) {
    if (watched != &FImage) return false;
    switch (event->type()) {
    case QEvent::ContextMenu: {
        auto *menu = static_cast<QContextMenuEvent *>(event);
        int index = FCurrent;
        QPoint at = FImage.ToWidget(FImage.Mark()).center();
        if (menu->reason() == QContextMenuEvent::Mouse) {
            index = FormulaAt(menu->pos());
            at = menu->pos();
        }
        if (index < 0) return false;
        SetCurrent(index);
        if (ShowMenu) ShowMenu(index, at);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const int index = FormulaAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (index >= 0) SetCurrent(index);
        return false;
    }
    case QEvent::Paint: {
        // A new run may have moved or removed the marked formula.
        const std::vector<const TAreaOp *> formulas = Formulas();
        if (FCurrent >= static_cast<int>(formulas.size())) FCurrent = -1;
        QRect mark;
        if (FCurrent >= 0) {
            const TAreaOp &op = *formulas[static_cast<std::size_t>(FCurrent)];
            mark = QRect(op.X, op.Y, op.Width, op.Height);
        }
        if (mark != FImage.Mark()) FImage.SetMark(mark);
        return false;
    }
    case QEvent::FocusIn:
        // The keyboard starts at the first formula; a mark already set stays.
        if (FCurrent < 0 || FCurrent >= static_cast<int>(Formulas().size())) SetCurrent(0);
        return false;
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const int count = static_cast<int>(Formulas().size());
        if (key->matches(QKeySequence::Copy)) {
            Copy(FCurrent, TCopy::All);
            return true;
        }
        // The menu key comes as a context menu event; Shift+F10 does not.
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            if (FCurrent >= 0 && ShowMenu)
                ShowMenu(FCurrent, FImage.ToWidget(FImage.Mark()).center());
            return true;
        }
        int next = FCurrent;
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            next = std::max(FCurrent - 1, 0);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            next = std::min(FCurrent + 1, count - 1);
            break;
        case Qt::Key_Home:
            next = 0;
            break;
        case Qt::Key_End:
            next = count - 1;
            break;
        default:
            return false;
        }
        if (count > 0) SetCurrent(next);
        return true;
    }
    default:
        return false;
    }
}
