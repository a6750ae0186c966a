#include "results/PageAccessible.h"

#include "results/ChartBase.h"
#include "results/FormulaFocus.h"
#include "results/FormulaShare.h"
#include "results/Image.h"
#include "results/PageReading.h"
#include "results/RunTarget.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <cstdlib>

#include <map>

namespace {

// The area's texts and formulas in reading order; none without a formula focus.
std::vector<const TAreaOp *> Items(const TImage *image) {
    const TFormulaFocus *focus = image ? image->findChild<TFormulaFocus *>() : nullptr;
    return focus ? ReadingItems(focus->Area().Log()) : std::vector<const TAreaOp *>();
}

QString ItemText(const TAreaOp &op) {
    if (op.Kind != TAreaOp::KFormula) return OpText(op).trimmed();
    const TFormulaTexts texts = FormulaTexts(op.Text, op.FontHeight);
    return QString::fromStdString(texts.Speech);
}

// One text or formula of an image area, by its place in reading order; it reads the area's log
// each time, so a new run shows through at once.
class TItemAccessible : public QAccessibleInterface {
public:
    TItemAccessible(TImage *image, int index) : FImage(image), FIndex(index) {}

    bool isValid() const override { return Op() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return FImage ? FImage->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override {
        return FImage ? QAccessible::queryAccessibleInterface(FImage.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        const TAreaOp *op = Op();
        if (!op) return {};
        if (t == QAccessible::Name) return ItemText(*op);
        if (t == QAccessible::Description && op->Kind == TAreaOp::KFormula)
            return QCoreApplication::translate("PageAccessible", "формула");
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override {
        const TAreaOp *op = Op();
        if (!op) return {};
        const int height = op->Kind == TAreaOp::KFormula ? op->Height : std::abs(op->Font.Height);
        const int width = op->Kind == TAreaOp::KFormula
                              ? op->Width
                              : qRound(FImage->width() / FImage->Zoom()) - op->X;
        const QRect shown = FImage->ToWidget(QRect(op->X, op->Y, width, height));
        return QRect(FImage->mapToGlobal(shown.topLeft()), shown.size());
    }
    QAccessible::Role role() const override {
        const TAreaOp *op = Op();
        return op && op->Kind == TAreaOp::KFormula ? QAccessible::Equation
                                                   : QAccessible::StaticText;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        const TAreaOp *op = Op();
        if (!op || op->Kind != TAreaOp::KFormula) return s;
        s.focusable = true;
        const TFormulaFocus *focus = FImage->findChild<TFormulaFocus *>();
        const std::vector<const TAreaOp *> formulas = focus->Formulas();
        const auto at = std::find(formulas.begin(), formulas.end(), op);
        s.focused = FImage->hasFocus() && at - formulas.begin() == focus->Current();
        return s;
    }

private:
    const TAreaOp *Op() const {
        if (!FImage) return nullptr;
        const std::vector<const TAreaOp *> items = Items(FImage);
        return FIndex < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(FIndex)]
                                                       : nullptr;
    }

    QPointer<TImage> FImage;
    int FIndex;
};

class TImageAccessible : public QAccessibleWidget {
public:
    explicit TImageAccessible(TImage *image) : QAccessibleWidget(image, QAccessible::Grouping) {}
    ~TImageAccessible() override {
        for (const auto &[index, id] : FChildren)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(Items(Image()).size()); }
    QAccessibleInterface *child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto found = FChildren.find(index);
        if (found == FChildren.end()) {
            auto *item = new TItemAccessible(Image(), index);
            found = FChildren.emplace(index, QAccessible::registerAccessibleInterface(item)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        for (const auto &[index, id] : FChildren)
            if (QAccessible::accessibleInterface(id) == child) return index;
        return -1;
    }
    QAccessibleInterface *focusChild() const override {
        const TFormulaFocus *focus = Image()->findChild<TFormulaFocus *>();
        if (!focus || focus->Current() < 0 || !Image()->hasFocus()) return nullptr;
        const std::vector<const TAreaOp *> items = Items(Image());
        const std::vector<const TAreaOp *> formulas = focus->Formulas();
        if (focus->Current() >= static_cast<int>(formulas.size())) return nullptr;
        const auto at = std::find(items.begin(), items.end(),
                                  formulas[static_cast<std::size_t>(focus->Current())]);
        return at == items.end() ? nullptr : child(static_cast<int>(at - items.begin()));
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Description) return QAccessibleWidget::text(t);
        // The whole area as one text, for a reader that does not walk the children.
        QStringList lines;
        for (const TAreaOp *op : Items(Image()))
            lines << ItemText(*op);
        return lines.join(u'\n');
    }

private:
    TImage *Image() const { return static_cast<TImage *>(widget()); }
    mutable std::map<int, QAccessible::Id> FChildren;
};

class TChartAccessible : public QAccessibleWidget {
public:
    explicit TChartAccessible(TChartBase *chart) : QAccessibleWidget(chart, QAccessible::Chart) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description)
            return ChartSummary(*static_cast<TChartBase *>(widget()));
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QCoreApplication::translate("PageAccessible", "График");
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *PageFactory(const QString &className, QObject *object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (className == QLatin1String("TImage"))
        return new TImageAccessible(static_cast<TImage *>(object));
    if (auto *chart = qobject_cast<TChartBase *>(object);
        chart &&
        (className == QLatin1String("TChart") || className == QLatin1String("TCheckChart")))
        return new TChartAccessible(chart);
    return nullptr;
}

} // namespace

void InstallPageAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(PageFactory);
}
