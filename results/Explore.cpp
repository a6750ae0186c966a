#include "results/Explore.h"

#include "analysis/MainData.h"
#include "analysis/Texts.h"
#include "results/FontSetup.h"
#include "runtime/Language.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

const QString ComicFace = QStringLiteral("Comic Sans MS");

// The page's texts, in one place.
struct TExploreTexts {
    QString Population[2] = {QCoreApplication::translate("TExplore", "Популяция №1"),
                             QCoreApplication::translate("TExplore", "Популяция №2")};
    QString Month = QCoreApplication::translate("TExplore", "месяц %1");
    QString Smoothing[3] = {
        QCoreApplication::translate("TExplore", "Без сглаживания"),
        QCoreApplication::translate("TExplore", "Аппроксимация многочленом Лангранжем"),
        QCoreApplication::translate("TExplore", "Аппроксимация методом наименьших квадратов")};
    QString SmoothingTitle = QCoreApplication::translate("TExplore", "Тип сглаживания графика");
    QString Revert = QCoreApplication::translate("TExplore", "Вернуть");
    QString Hint = QCoreApplication::translate(
        "TExplore", "Измените число или перетащите точку: все страницы пересчитываются сразу.");
    QString Change = QCoreApplication::translate("TExplore", "Изменение численности");
    QString BadCount = QCoreApplication::translate("TExplore", "Вы ввели неверные данные: ");
};
// Built on each use: a copy kept from the first use would keep the language of that moment.
TExploreTexts Texts() {
    return {};
}

constexpr int SmallStep = 1;
constexpr int LargeStep = 10;

bool ReadCount(const QString &text, int32_t &value) {
    return CountFromText(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                             static_cast<size_t>(text.size())),
                         value);
}

// Adds a step to a count without leaving the 32-bit range.
int32_t Stepped(int32_t value, int delta) {
    const int64_t v = int64_t{value} + delta;
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// A count field: arrow keys step by one, Page Up/Down by ten; the window's undo keys pass
// through, since a field's own text history would fight the page's.
class TCountField : public QLineEdit {
public:
    TCountField(std::function<void(int)> step, QWidget *parent)
        : QLineEdit(parent), FStep(std::move(step)) {}

protected:
    bool event(QEvent *event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
                event->ignore();
                return true;
            }
        }
        return QLineEdit::event(event);
    }
    void keyPressEvent(QKeyEvent *event) override {
        switch (event->key()) {
        case Qt::Key_Up:
            FStep(SmallStep);
            return;
        case Qt::Key_Down:
            FStep(-SmallStep);
            return;
        case Qt::Key_PageUp:
            FStep(LargeStep);
            return;
        case Qt::Key_PageDown:
            FStep(-LargeStep);
            return;
        default:
            QLineEdit::keyPressEvent(event);
        }
    }

private:
    std::function<void(int)> FStep;
};

// One change of the explored state; consecutive typing in one field merges into one step.
class TExploreCommand : public QUndoCommand {
public:
    TExploreCommand(TExplorePage &page, TExploreState before, TExploreState after, int mergeId)
        : FPage(page), FBefore(before), FAfter(after), FMergeId(mergeId) {
        setText(Texts().Change);
    }
    void undo() override { FPage.Apply(FBefore); }
    void redo() override { FPage.Apply(FAfter); }
    int id() const override { return FMergeId; }
    bool mergeWith(const QUndoCommand *other) override {
        FAfter = static_cast<const TExploreCommand *>(other)->FAfter;
        return true;
    }

private:
    TExplorePage &FPage;
    TExploreState FBefore, FAfter;
    int FMergeId;
};

} // namespace

TCountChart::TCountChart(TExplorePage &page, int population, QWidget *parent)
    : QWidget(parent), FPage(page), FPopulation(population) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(Texts().Population[population - 1]);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void TCountChart::SetCounts(const TCountArray &counts) {
    FCounts = counts;
    if (FDragged < 0) Rescale();
    update();
}

void TCountChart::SetCurrent(int month) {
    FCurrent = std::clamp(month, 0, 9);
    update();
}

void TCountChart::Rescale() {
    double top = 10;
    for (int32_t c : FCounts)
        top = std::max(top, double(c));
    // A round top a quarter above the largest count: room to drag up.
    const double raw = top * 1.25;
    const double unit = std::pow(10.0, std::floor(std::log10(raw)));
    FTop = std::ceil(raw / unit * 2) / 2 * unit;
}

QRectF TCountChart::Plot() const {
    return QRectF(58, 12, width() - 70, height() - 44);
}

QPointF TCountChart::MarkerAt(int month) const {
    const QRectF plot = Plot();
    const double x = plot.left() + plot.width() * (month + 0.5) / 10;
    const double v = std::clamp(double(FCounts[static_cast<size_t>(month)]), 0.0, FTop);
    return {x, plot.bottom() - plot.height() * v / FTop};
}

int32_t TCountChart::CountAt(double y) const {
    const QRectF plot = Plot();
    const double v = (plot.bottom() - y) / plot.height() * FTop;
    return static_cast<int32_t>(std::lround(std::clamp(v, 0.0, FTop)));
}

void TCountChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot = Plot();
    painter.setPen(QColor(220, 220, 220));
    painter.setFont(font());
    for (int i = 0; i <= 4; ++i) {
        const double y = plot.bottom() - plot.height() * i / 4;
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, y - 8, plot.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(FTop * i / 4, 'g', 6)
                             .replace(QLatin1Char('.'), QLatin1Char(DecimalSeparator())));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    for (int m = 0; m < 10; ++m)
        painter.drawText(
            QRectF(plot.left() + plot.width() * m / 10, plot.bottom() + 4, plot.width() / 10, 18),
            Qt::AlignCenter, QString::number(m + 1));

    QPainterPath line;
    for (int m = 0; m < 10; ++m)
        m == 0 ? line.moveTo(MarkerAt(m)) : line.lineTo(MarkerAt(m));
    painter.setPen(QPen(QColor(0, 0, 160), 1.5));
    painter.drawPath(line);
    for (int m = 0; m < 10; ++m) {
        const bool current = m == FCurrent && hasFocus();
        const bool dragged = m == FDragged;
        painter.setPen(QPen(current ? Qt::black : QColor(0, 0, 160), current ? 2.5 : 1));
        painter.setBrush(dragged ? QColor(255, 140, 0) : QColor(60, 110, 230));
        painter.drawEllipse(MarkerAt(m), dragged ? 7 : 5.5, dragged ? 7 : 5.5);
    }
    if (FDragged >= 0) {
        const QPointF at = MarkerAt(FDragged);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(at.x() - 60, at.y() - 28, 120, 18), Qt::AlignCenter,
                         QString::number(FCounts[static_cast<size_t>(FDragged)]));
    }
}

void TCountChart::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return;
    int nearest = -1;
    double best = 12;
    for (int m = 0; m < 10; ++m) {
        const QPointF d = MarkerAt(m) - event->position();
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= best) best = distance, nearest = m;
    }
    if (nearest < 0) return;
    FDragged = nearest;
    SetCurrent(nearest);
    FPage.BeginDrag();
}

void TCountChart::mouseMoveEvent(QMouseEvent *event) {
    if (FDragged < 0) return;
    FPage.DragTo(FPopulation, FDragged + 1, CountAt(event->position().y()));
}

void TCountChart::mouseReleaseEvent(QMouseEvent *event) {
    if (FDragged < 0 || event->button() != Qt::LeftButton) return;
    FDragged = -1;
    FPage.EndDrag();
    Rescale();
    update();
}

void TCountChart::keyPressEvent(QKeyEvent *event) {
    const int32_t count = FCounts[static_cast<size_t>(FCurrent)];
    switch (event->key()) {
    case Qt::Key_Left:
        SetCurrent(FCurrent - 1);
        return;
    case Qt::Key_Right:
        SetCurrent(FCurrent + 1);
        return;
    case Qt::Key_Up:
        FPage.SetCount(FPopulation, FCurrent + 1, Stepped(count, SmallStep));
        return;
    case Qt::Key_Down:
        FPage.SetCount(FPopulation, FCurrent + 1, Stepped(count, -SmallStep));
        return;
    case Qt::Key_PageUp:
        FPage.SetCount(FPopulation, FCurrent + 1, Stepped(count, LargeStep));
        return;
    case Qt::Key_PageDown:
        FPage.SetCount(FPopulation, FCurrent + 1, Stepped(count, -LargeStep));
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

TExplorePage::TExplorePage(QWidget *parent) : QWidget(parent) {
    const TExploreTexts t = Texts();
    FUndo = new QUndoStack(this);
    const QFont bold = ClassicFont(ComicFace, 11, true);

    constexpr int FieldLeft = 112, FieldStep = 56, FieldWidth = 52;
    for (int m = 0; m < 10; ++m) {
        auto *head = new QLabel(t.Month.arg(m + 1), this);
        head->setGeometry(FieldLeft + m * FieldStep, 6, FieldWidth, 18);
        head->setAlignment(Qt::AlignCenter);
    }
    QWidget *previous = nullptr;
    for (int p = 1; p <= 2; ++p) {
        auto *name = new QLabel(t.Population[p - 1], this);
        name->setFont(bold);
        name->setGeometry(8, 26 + (p - 1) * 32, FieldLeft - 12, 26);
        for (int m = 1; m <= 10; ++m) {
            auto *field =
                new TCountField([this, p, m](int delta) { StepField(p, m, delta); }, this);
            field->setObjectName(QStringLiteral("Count%1_%2").arg(p).arg(m));
            field->setAccessibleName(t.Population[p - 1] + QStringLiteral(", ") + t.Month.arg(m));
            field->setGeometry(FieldLeft + (m - 1) * FieldStep, 26 + (p - 1) * 32, FieldWidth, 26);
            field->setAlignment(Qt::AlignRight);
            connect(field, &QLineEdit::textEdited, this, [this, p, m] { FieldEdited(p, m); });
            FFields[static_cast<size_t>(p - 1)][static_cast<size_t>(m - 1)] = field;
            if (previous) setTabOrder(previous, field);
            previous = field;
        }
    }

    auto *smoothingTitle = new QLabel(t.SmoothingTitle, this);
    smoothingTitle->setFont(ClassicFont(ComicFace, 9, true));
    smoothingTitle->setGeometry(FieldLeft + 10 * FieldStep + 8, 4, 220, 18);
    FSmoothing = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto *button = new QRadioButton(t.Smoothing[i], this);
        button->setFont(ClassicFont(ComicFace, 9));
        button->setGeometry(FieldLeft + 10 * FieldStep + 8, 22 + i * 20,
                            961 - FieldLeft - 10 * FieldStep - 12, 20);
        FSmoothing->addButton(button, i);
        setTabOrder(previous, button);
        previous = button;
    }
    connect(FSmoothing, &QButtonGroup::idClicked, this, &TExplorePage::SetSmoothing);

    for (int p = 1; p <= 2; ++p) {
        auto *chart = new TCountChart(*this, p, this);
        chart->setObjectName(QStringLiteral("CountChart%1").arg(p));
        chart->setGeometry(8 + (p - 1) * 476, 116, 468, 440);
        auto *title = new QLabel(t.Population[p - 1], this);
        title->setFont(bold);
        title->setGeometry(8 + (p - 1) * 476, 94, 468, 20);
        title->setAlignment(Qt::AlignCenter);
        FCharts[static_cast<size_t>(p - 1)] = chart;
        setTabOrder(previous, chart);
        previous = chart;
    }

    FMessage = new QLabel(t.Hint, this);
    FMessage->setObjectName(QStringLiteral("ExploreMessage"));
    FMessage->setGeometry(8, 566, 800, 24);
    FRevert = new QPushButton(t.Revert, this);
    FRevert->setObjectName(QStringLiteral("RevertButton"));
    FRevert->setFont(bold);
    FRevert->setGeometry(820, 562, 133, 30);
    connect(FRevert, &QPushButton::clicked, this, &TExplorePage::Revert);
    setTabOrder(previous, FRevert);
    ShowState();
}

QLineEdit *TExplorePage::Field(int population, int month) const {
    if (population < 1 || population > 2 || month < 1 || month > 10) return nullptr;
    return FFields[static_cast<size_t>(population - 1)][static_cast<size_t>(month - 1)];
}

void TExplorePage::Start(const TExploreState &state) {
    FUndo->clear();
    FBase = state;
    FCurrent = state;
    FDragging = false;
    ShowRefusal({});
    ShowState();
}

void TExplorePage::ShowState() {
    for (int p = 0; p < 2; ++p) {
        for (int m = 0; m < 10; ++m) {
            QLineEdit *field = FFields[static_cast<size_t>(p)][static_cast<size_t>(m)];
            const int32_t count = FCurrent.Counts[static_cast<size_t>(p)][static_cast<size_t>(m)];
            // A field being typed in keeps its text while it reads as the count ("007").
            int32_t shown = 0;
            if (!ReadCount(field->text(), shown) || shown != count)
                field->setText(QString::number(count));
        }
        FCharts[static_cast<size_t>(p)]->SetCounts(FCurrent.Counts[static_cast<size_t>(p)]);
    }
    if (QAbstractButton *button = FSmoothing->button(FCurrent.Smoothing)) {
        const QSignalBlocker quiet(FSmoothing);
        button->setChecked(true);
    }
}

void TExplorePage::Apply(const TExploreState &state) {
    FCurrent = state;
    ShowState();
    emit StateChanged();
}

void TExplorePage::Push(const TExploreState &after, int mergeId) {
    if (after == FCurrent) {
        // A field whose text was unreadable may show the current count again: run anew.
        emit StateChanged();
        return;
    }
    FUndo->push(new TExploreCommand(*this, FCurrent, after, mergeId));
}

void TExplorePage::SetCount(int population, int month, int32_t value) {
    if (population < 1 || population > 2 || month < 1 || month > 10) return;
    FLastPopulation = population;
    FLastMonth = month;
    TExploreState after = FCurrent;
    after.Counts[static_cast<size_t>(population - 1)][static_cast<size_t>(month - 1)] = value;
    Push(after, -1);
}

void TExplorePage::SetSmoothing(int32_t smoothing) {
    if (smoothing < 0 || smoothing > 2) return;
    TExploreState after = FCurrent;
    after.Smoothing = smoothing;
    Push(after, -1);
}

void TExplorePage::Revert() {
    Push(FBase, -1);
}

void TExplorePage::BeginDrag() {
    FDragStart = FCurrent;
    FDragging = true;
}

void TExplorePage::DragTo(int population, int month, int32_t value) {
    if (!FDragging || population < 1 || population > 2 || month < 1 || month > 10) return;
    FLastPopulation = population;
    FLastMonth = month;
    TExploreState next = FCurrent;
    next.Counts[static_cast<size_t>(population - 1)][static_cast<size_t>(month - 1)] = value;
    if (next == FCurrent) return;
    Apply(next);
}

void TExplorePage::EndDrag() {
    if (!FDragging) return;
    FDragging = false;
    if (FCurrent == FDragStart) return;
    // The whole drag as one step; its first redo finds the counts already there.
    const TExploreState after = FCurrent;
    FCurrent = FDragStart;
    FUndo->push(new TExploreCommand(*this, FDragStart, after, -1));
}

void TExplorePage::FieldEdited(int population, int month) {
    QLineEdit *field = Field(population, month);
    FLastPopulation = population;
    FLastMonth = month;
    int32_t value = 0;
    const QString text = field->text();
    if (!ReadCount(text, value)) {
        ShowRefusal(UnreadableField());
        return;
    }
    TExploreState after = FCurrent;
    after.Counts[static_cast<size_t>(population - 1)][static_cast<size_t>(month - 1)] = value;
    // Typing into one field is one step.
    Push(after, (population - 1) * 10 + month);
}

void TExplorePage::StepField(int population, int month, int delta) {
    int32_t value = 0;
    if (!ReadCount(Field(population, month)->text(), value))
        value =
            FCurrent.Counts[static_cast<size_t>(population - 1)][static_cast<size_t>(month - 1)];
    SetCount(population, month, Stepped(value, delta));
}

QString TExplorePage::UnreadableField() {
    for (int p = 1; p <= 2; ++p) {
        for (int m = 1; m <= 10; ++m) {
            int32_t value = 0;
            const QString text = Field(p, m)->text();
            if (ReadCount(text, value)) continue;
            FLastPopulation = p;
            FLastMonth = m;
            return Texts().BadCount +
                   QString::fromStdString(BadCountText(p, m, text.toStdString()));
        }
    }
    return {};
}

void TExplorePage::RunTaken() {
    ShowRefusal(UnreadableField());
}

void TExplorePage::MarkField(int population, int month, bool bad) {
    QLineEdit *field = Field(population, month);
    QPalette colours = field->palette();
    colours.setColor(QPalette::Base, bad ? QColor(255, 200, 200) : palette().color(QPalette::Base));
    field->setPalette(colours);
}

void TExplorePage::ShowRefusal(const QString &reason) {
    for (int p = 1; p <= 2; ++p)
        for (int m = 1; m <= 10; ++m)
            MarkField(p, m, false);
    QPalette colours = FMessage->palette();
    colours.setColor(QPalette::WindowText, reason.isEmpty() ? Qt::black : QColor(180, 0, 0));
    FMessage->setPalette(colours);
    FMessage->setText(reason.isEmpty() ? Texts().Hint : reason);
    FRefusal = reason;
    if (!reason.isEmpty()) MarkField(FLastPopulation, FLastMonth, true);
    emit RefusalChanged(!reason.isEmpty());
}
