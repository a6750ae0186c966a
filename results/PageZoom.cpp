#include "results/PageZoom.h"

#include "results/ChartBase.h"
#include "results/Explore.h"
#include "results/Image.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <functional>

qreal TPageZoom::FSession = 1;

namespace {

const char *const BaseGeometry = "zoomBaseGeometry";
const char *const BaseFont = "zoomBaseFont";
const char *const Applied = "zoomApplied";

QRect Scaled(const QRect &r, qreal zoom) {
    return QRect(qRound(r.x() * zoom), qRound(r.y() * zoom), qRound(r.width() * zoom),
                 qRound(r.height() * zoom));
}

} // namespace

TPageZoom::TPageZoom(QTabWidget &pages, QWidget &window) : QObject(&pages), FPages(pages) {
    auto addKeys = [&](QList<QKeySequence> keys, std::function<void()> step) {
        auto *action = new QAction(&window);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, std::move(step));
        window.addAction(action);
    };
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
            [this] { ZoomIn(); });
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { ZoomOut(); });
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { SetZoom(1); });
    connect(&pages, &QTabWidget::currentChanged, this, &TPageZoom::ApplyCurrent);
    // The wheel over any widget of the pages, charts included, which take it before the area.
    qApp->installEventFilter(this);
    ApplyCurrent();
}

void TPageZoom::SetZoom(qreal zoom) {
    const auto nearest = std::min_element(Steps.begin(), Steps.end(), [zoom](qreal a, qreal b) {
        return std::abs(a - zoom) < std::abs(b - zoom);
    });
    FSession = *nearest;
    ApplyCurrent();
}

void TPageZoom::ZoomIn() {
    const auto next = std::upper_bound(Steps.begin(), Steps.end(), FSession + 0.01);
    if (next != Steps.end()) SetZoom(*next);
}

void TPageZoom::ZoomOut() {
    const auto below = std::lower_bound(Steps.begin(), Steps.end(), FSession - 0.01);
    if (below != Steps.begin()) SetZoom(*(below - 1));
}

void TPageZoom::ApplyCurrent() {
    if (FHeld) return;
    auto *scroll = qobject_cast<QScrollArea *>(FPages.currentWidget());
    // The exploring page is a live form; it keeps its own size.
    if (!scroll || !scroll->widget() || qobject_cast<TExplorePage *>(scroll->widget())) return;
    Apply(*scroll->widget(), FSession);
}

void TPageZoom::Apply(QWidget &page, qreal zoom) {
    if (page.property(Applied).isValid() && qFuzzyCompare(page.property(Applied).toReal(), zoom))
        return;
    if (!page.property(BaseGeometry).isValid()) page.setProperty(BaseGeometry, page.geometry());
    const QRect base = page.property(BaseGeometry).toRect();
    page.setFixedSize(Scaled(base, zoom).size());
    for (QObject *child : page.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget) continue;
        if (!widget->property(BaseGeometry).isValid()) {
            widget->setProperty(BaseGeometry, widget->geometry());
            // An inherited font is kept as none, so 100 % inherits it again.
            widget->setProperty(BaseFont, widget->testAttribute(Qt::WA_SetFont)
                                              ? QVariant(widget->font())
                                              : QVariant());
        }
        const QRect box = Scaled(widget->property(BaseGeometry).toRect(), zoom);
        if (auto *image = qobject_cast<TImage *>(widget)) {
            image->SetZoom(zoom);
            image->move(box.topLeft());
            continue;
        }
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            const QVariant stored = label->property(BaseFont);
            QFont font = stored.isValid() ? stored.value<QFont>() : page.font();
            if (font.pixelSize() > 0)
                font.setPixelSize(qRound(font.pixelSize() * zoom));
            else
                font.setPointSizeF(font.pointSizeF() * zoom);
            label->setFont(zoom == 1 ? (stored.isValid() ? stored.value<QFont>() : QFont()) : font);
        }
        widget->setGeometry(box);
        if (auto *chart = qobject_cast<TChartBase *>(widget)) chart->SetZoom(zoom);
    }
    page.setProperty(Applied, zoom);
}

bool TPageZoom::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::Wheel) return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!(wheel->modifiers() & Qt::ControlModifier) || !widget || !FPages.isAncestorOf(widget))
        return false;
    const int steps = wheel->angleDelta().y();
    if (steps > 0) ZoomIn();
    if (steps < 0) ZoomOut();
    return true;
}

TPageZoom::TUnzoomed::TUnzoomed(const QTabWidget &pages)
    : FZoom(pages.findChild<TPageZoom *>(QString(), Qt::FindDirectChildrenOnly)) {
    if (!FZoom) return;
    FZoom->FHeld = true;
    for (int i = 0; i < pages.count(); ++i)
        if (auto *scroll = qobject_cast<QScrollArea *>(pages.widget(i)); scroll && scroll->widget())
            if (scroll->widget()->property(Applied).isValid()) Apply(*scroll->widget(), 1);
}

TPageZoom::TUnzoomed::~TUnzoomed() {
    if (!FZoom) return;
    FZoom->FHeld = false;
    FZoom->ApplyCurrent();
}
