#include "analysis/MainData.h"
#include "analysis/Report.h"
#include "results/Chart.h"
#include "results/Explore.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace {

TCountArray VariantCounts(int row, int population) {
    TCountArray counts{};
    for (int m = 1; m <= 10; ++m)
        counts[static_cast<size_t>(m - 1)] = VariantCountOf(row, population, m);
    return counts;
}

// What the coefficient page's left image painted, one line per operation.
std::string Painted(TFrmRun &frm, int image) {
    std::string ops;
    for (const TAreaOp &op : frm.Target().Image(image).Log())
        ops += std::to_string(op.X) + " " + std::to_string(op.Y) + " " + op.Text + "\n";
    return ops;
}

class Explore : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(
            RunAnalysis(FFrm.Target(), VariantCounts(0, 1), VariantCounts(0, 2), SmoothLeastSquares)
                .End,
            TRunEnd::Applied);
        TRunOutcome first =
            ComputeRun(VariantCounts(0, 1), VariantCounts(0, 2), SmoothLeastSquares);
        ASSERT_TRUE(first.Result);
        FFrm.KeepRun({std::make_shared<const TRunResult>(std::move(*first.Result)), "h", "f"});
        FPage = FFrm.Explore();
    }
    // The pages of a window that ran counts1 and counts2 as "Делать" would.
    // Pages out of sight are painted when their tab is shown, or when a report reads them.
    void ExpectPagesOf(const TCountArray &counts1, const TCountArray &counts2,
                       bool showEachTab = true) {
        TFrmRun &fresh = FFresh;
        ASSERT_EQ(RunAnalysis(fresh.Target(), counts1, counts2, SmoothLeastSquares).End,
                  TRunEnd::Applied);
        if (showEachTab) {
            const int current = FFrm.PageControl1()->currentIndex();
            for (int tab = 1; tab <= 12; ++tab)
                FFrm.ShowPage(tab);
            FFrm.PageControl1()->setCurrentIndex(current);
        } else {
            FFrm.Actions()->BringPagesUpToDate();
        }
        for (int image = 1; image <= 11; ++image)
            EXPECT_EQ(Painted(FFrm, image), Painted(fresh, image)) << "Image" << image;
        for (int chart : TFrmRun::ChartNumbers)
            for (int index = 0; index < TChart::SeriesCount; ++index)
                EXPECT_EQ(FFrm.Chart(chart)->Series(index).Points(),
                          fresh.Chart(chart)->Series(index).Points())
                    << "Chart" << chart;
        ASSERT_NE(FFrm.ShownResult(), nullptr);
        EXPECT_EQ(FFrm.ShownResult()->Population[0].Counts, counts1);
        EXPECT_EQ(FFrm.ShownResult()->Population[1].Counts, counts2);
    }
    bool Stale() const { return FFrm.StaleLine()->isVisibleTo(&FFrm); }

    TFrmRun FFrm;
    // A second window for the pages a run of "Делать" paints: the formula font lives as long as
    // the windows, so it lives here as long as the test.
    TFrmRun FFresh;
    TExplorePage *FPage = nullptr;
};

} // namespace

TEST_F(Explore, AChangedCountRepaintsEveryPageAndUndoRedoRestoreCountsAndPages) {
    QTabWidget *tabs = FFrm.PageControl1();
    auto *last = qobject_cast<QScrollArea *>(tabs->widget(tabs->count() - 1));
    ASSERT_TRUE(last && last->widget() == FPage);
    EXPECT_EQ(tabs->tabText(tabs->count() - 1), QStringLiteral("Исследование"));
    FFrm.ShowPage(4);
    EXPECT_EQ(FPage->Field(1, 3)->text(), QString::number(VariantCountOf(0, 1, 3)));

    const std::string before = Painted(FFrm, 2);
    TCountArray changed = VariantCounts(0, 1);
    changed[2] += 37;
    // Typed into the field: no "Делать", no modal step.
    FPage->Field(1, 3)->selectAll();
    QTest::keyClicks(FPage->Field(1, 3), QString::number(changed[2]));
    FFrm.RunExploredNow();
    EXPECT_NE(Painted(FFrm, 2), before);
    ExpectPagesOf(changed, VariantCounts(0, 2));
    EXPECT_EQ(FFrm.CurrentPage(), FFrm.TabSheet(4));
    EXPECT_EQ(FPage->UndoStack()->count(), 1); // the typing was one step
    EXPECT_TRUE(FPage->Changed());

    // The keys: Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, from any page of the window.
    bool undoKey = false, redoY = false;
    for (QAction *action : FFrm.actions()) {
        undoKey |= action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z));
        redoY |= action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)) &&
                 action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    }
    EXPECT_TRUE(undoKey && redoY);
    FPage->UndoStack()->undo();
    FFrm.RunExploredNow();
    EXPECT_EQ(Painted(FFrm, 2), before);
    EXPECT_EQ(FPage->Field(1, 3)->text(), QString::number(VariantCountOf(0, 1, 3)));
    EXPECT_FALSE(FPage->Changed());
    FPage->UndoStack()->redo();
    FFrm.RunExploredNow();
    ExpectPagesOf(changed, VariantCounts(0, 2));

    // "Вернуть" is one step back to the opened counts, and undoable.
    FPage->SetCount(2, 7, 5000);
    FPage->RevertButton()->click();
    FFrm.RunExploredNow();
    ExpectPagesOf(VariantCounts(0, 1), VariantCounts(0, 2), false);
    FPage->UndoStack()->undo();
    EXPECT_EQ(FPage->Current().Counts[1][6], 5000);
}

TEST_F(Explore, ARefusedChangeStaysOnThePageAndTheLastGoodRunStaysMarked) {
    const std::shared_ptr<const TRunResult> good = FFrm.Actions()->Run().Result;
    const std::string before = Painted(FFrm, 2);
    EXPECT_FALSE(Stale());

    // A text that is no whole number.
    FPage->Field(2, 4)->end(false);
    QTest::keyClicks(FPage->Field(2, 4), QStringLiteral("x"));
    FFrm.RunExploredNow();
    EXPECT_TRUE(FPage->Refusal().contains(QStringLiteral("месяц 4")));
    EXPECT_NE(FPage->Field(2, 4)->palette().color(QPalette::Base),
              FPage->Field(2, 5)->palette().color(QPalette::Base));
    EXPECT_TRUE(Stale());
    EXPECT_EQ(FFrm.Actions()->Run().Result, good);

    // A count the run divides by: zero in the exponential population.
    const int exponential = good->FirstIsLogistic ? 2 : 1;
    ASSERT_EQ(exponential, 2) << "population 1 decides the model; change population 2";
    FPage->SetCount(2, 5, 0);
    FFrm.RunExploredNow();
    EXPECT_TRUE(FPage->Refusal().contains(QStringLiteral("не должна быть равна 0")));
    EXPECT_EQ(Painted(FFrm, 2), before);
    EXPECT_EQ(FFrm.Actions()->Run().Result, good);
    EXPECT_TRUE(Stale());

    // Mended by undo: current again, the line gone.
    FPage->UndoStack()->undo();
    FFrm.RunExploredNow();
    EXPECT_TRUE(FPage->Refusal().isEmpty());
    EXPECT_FALSE(Stale());
    EXPECT_EQ(FPage->Field(2, 4)->text(), QString::number(VariantCountOf(0, 2, 4)));
}

TEST_F(Explore, ADragIsCoalescedEndsOnItsLastValueAndIsOneStep) {
    const int runs = FFrm.ExploredRuns();
    TCountChart *chart = FPage->CountChart(1);
    // Month 6's marker dragged by the mouse: 600 steps faster than any run, then the mouse.
    const QPoint start = chart->MarkerAt(5).toPoint();
    QTest::mousePress(chart, Qt::LeftButton, {}, start);
    for (int step = 1; step <= 600; ++step)
        FPage->DragTo(1, 6, 1000 + step);
    QTest::mouseMove(chart, start - QPoint(0, 30));
    QTest::mouseRelease(chart, Qt::LeftButton, {}, start - QPoint(0, 30));
    const int32_t last = FPage->Current().Counts[0][5];
    EXPECT_EQ(last, chart->CountAt(start.y() - 30));
    QCoreApplication::processEvents();
    EXPECT_EQ(FFrm.ExploredRuns(), runs + 1);
    EXPECT_EQ(FFrm.ShownResult()->Population[0].Counts[5], last);
    EXPECT_EQ(FPage->Field(1, 6)->text(), QString::number(last));
    EXPECT_EQ(FPage->UndoStack()->count(), 1);
    FPage->UndoStack()->undo();
    EXPECT_EQ(FPage->Current().Counts[0][5], VariantCountOf(0, 1, 6));
}
