// The exploring page of the results window: the twenty counts of the run as fields and as
// draggable chart markers, the smoothing choice and "Вернуть". It only edits the counts and keeps
// their undo history; the window runs the analysis on every change and tells the page when the
// run refused them.
#pragma once

#include "analysis/NumMethods.h"

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QUndoStack;
class TExplorePage;

// What exploring changes: the counts of both populations and the smoothing choice.
struct TExploreState {
    std::array<TCountArray, 2> Counts{};
    int32_t Smoothing = 2;
    bool operator==(const TExploreState &) const = default;
};

// One population's ten counts as markers over months 1 .. 10. A marker is dragged up and down
// with the mouse; the focused one moves with the arrow keys (Page Up/Down for larger steps),
// Left and Right pick another.
class TCountChart : public QWidget {
    Q_OBJECT
public:
    TCountChart(TExplorePage &page, int population, QWidget *parent);

    void SetCounts(const TCountArray &counts);
    // The marker with the keyboard focus, 0 .. 9.
    int Current() const { return FCurrent; }
    void SetCurrent(int month);
    // The centre of a marker in widget coordinates, for the mouse.
    QPointF MarkerAt(int month) const;
    // The count at a widget y under the scale of the moment.
    int32_t CountAt(double y) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRectF Plot() const;
    // The scale's top: above the largest count with room to drag up; kept while dragging so the
    // markers do not move under the mouse.
    void Rescale();

    TExplorePage &FPage;
    int FPopulation;
    TCountArray FCounts{};
    double FTop = 10;
    int FCurrent = 0;
    int FDragged = -1;
};

class TExplorePage : public QWidget {
    Q_OBJECT
public:
    explicit TExplorePage(QWidget *parent = nullptr);

    // The counts a new run of the input window shows: "Вернуть" goes back to them; the history
    // starts anew.
    void Start(const TExploreState &state);
    const TExploreState &Base() const { return FBase; }
    const TExploreState &Current() const { return FCurrent; }
    // True when the counts or the smoothing differ from those the page was started with.
    bool Changed() const { return !(FCurrent == FBase); }

    // One undoable change of a count (population 1 or 2, month 1 .. 10).
    void SetCount(int population, int month, int32_t value);
    void SetSmoothing(int32_t smoothing);
    // "Вернуть": back to the started counts, one undoable step.
    void Revert();
    // A drag changes a count live and becomes one undoable step when it ends.
    void BeginDrag();
    void DragTo(int population, int month, int32_t value);
    void EndDrag();

    // The run refused the current counts: the reason in the message line, the count last
    // changed marked. Empty text clears both.
    void ShowRefusal(const QString &reason);
    const QString &Refusal() const { return FRefusal; }
    // The run took the current counts: the refusal line clears unless a field still holds a
    // text that is no whole number, which stays refused.
    void RunTaken();

    QUndoStack *UndoStack() const { return FUndo; }
    QLineEdit *Field(int population, int month) const;
    TCountChart *CountChart(int population) const { return FCharts[population == 2 ? 1 : 0]; }
    QPushButton *RevertButton() const { return FRevert; }
    QButtonGroup *SmoothingButtons() const { return FSmoothing; }

    // Sets the counts and the smoothing without history (the undo commands use it).
    void Apply(const TExploreState &state);

signals:
    // The counts or the smoothing changed, or a field's text became readable again: run anew.
    void StateChanged();
    // A refusal was shown (true) or cleared (false).
    void RefusalChanged(bool refused);

private:
    void Push(const TExploreState &after, int mergeId);
    void FieldEdited(int population, int month);
    void StepField(int population, int month, int delta);
    void ShowState();
    void MarkField(int population, int month, bool bad);
    // The first field whose text is no whole number, as its refusal; empty when all read.
    QString UnreadableField();

    TExploreState FBase;
    TExploreState FCurrent;
    TExploreState FDragStart;
    bool FDragging = false;
    // The count changed last, which a refusal marks.
    int FLastPopulation = 1;
    int FLastMonth = 1;
    std::array<std::array<QLineEdit *, 10>, 2> FFields{};
    std::array<TCountChart *, 2> FCharts{};
    QButtonGroup *FSmoothing = nullptr;
    QPushButton *FRevert = nullptr;
    QLabel *FMessage = nullptr;
    QString FRefusal;
    QUndoStack *FUndo = nullptr;
};
