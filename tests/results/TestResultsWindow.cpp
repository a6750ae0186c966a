#include "analysis/MainData.h"
#include "analysis/Report.h"
#include "results/CheckChart.h"
#include "results/DrawFunc.h"
#include "results/FormulaFocus.h"
#include "results/PageZoom.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"
#include "tests/results/ModalHelper.h"

#include <QApplication>
#include <QChart>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>
#include <QXYSeries>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

struct TPageCase {
    int Sheet;
    const char *Caption;
};

// Tab order: TabSheet11 ("График три года") comes before TabSheet10 ("Вывод").
const TPageCase Pages[] = {
    {1, "Формулы"},          {2, "График 1"},         {3, "График 2"},
    {4, "Коэффициент k"},    {5, "Понедельный рост"}, {6, "График понедельный рост"},
    {7, "За два года "},     {8, "График два года"},  {9, "За три года"},
    {11, "График три года"}, {10, "Вывод"},           {12, "Проверка"},
};

} // namespace

TEST(ResultsWindow, WindowAndTabs) {
    TFrmRun frm;
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Данные"));
    EXPECT_EQ(frm.size(), QSize(969, 719));
    EXPECT_TRUE(frm.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frm.windowFlags() & Qt::WindowMinimizeButtonHint);

    QTabWidget *pc = frm.PageControl1();
    EXPECT_EQ(pc->geometry(), QRect(0, 0, 969, 673));
    EXPECT_EQ(pc->tabPosition(), QTabWidget::South);
    // The exploring page comes last.
    ASSERT_EQ(pc->count(), 13);
    EXPECT_EQ(pc->tabText(12), QStringLiteral("Исследование"));
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pc->tabText(i), QString::fromUtf8(Pages[i].Caption));
        auto *scroll = qobject_cast<QScrollArea *>(pc->widget(i));
        ASSERT_NE(scroll, nullptr);
        EXPECT_EQ(scroll->widget(), frm.TabSheet(Pages[i].Sheet));
        EXPECT_EQ(scroll->widget()->size(), QSize(961, 643));
    }
    EXPECT_EQ(frm.CurrentPage(), frm.TabSheet(4));

    frm.show();
    // The tab bar runs along the bottom edge of the tab control, below the pages, all tabs in
    // one row.
    EXPECT_GE(pc->tabBar()->geometry().top(), pc->currentWidget()->mapTo(pc, QPoint(0, 643)).y());
    EXPECT_LE(pc->tabBar()->geometry().bottom(), 673);
    EXPECT_LE(pc->tabBar()->tabRect(12).right(), 969);

    EXPECT_EQ(frm.Button1()->text(), QStringLiteral("Ок"));
    EXPECT_EQ(frm.Button1()->geometry(), QRect(744, 680, 217, 33));
    EXPECT_TRUE(frm.Button1()->font().bold());
}

TEST(ResultsWindow, ImageAreas) {
    TFrmRun frm;
    struct {
        int Number, Sheet, Left, Width, Height = 643;
    } const images[] = {{1, 1, 0, 961},        {2, 4, 0, 477},         {3, 4, 477, 484},
                        {4, 5, 0, 477},        {5, 5, 477, 484},       {6, 7, 0, 477},
                        {7, 7, 477, 484},      {8, 9, 0, 477},         {9, 9, 477, 484},
                        {10, 12, 0, 477, 465}, {11, 12, 477, 484, 465}};
    for (const auto &c : images) {
        SCOPED_TRACE(c.Number);
        TImage *image = frm.Image(c.Number);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->parentWidget(), frm.TabSheet(c.Sheet));
        EXPECT_EQ(image->geometry(), QRect(c.Left, 0, c.Width, c.Height));
        EXPECT_FALSE(image->HasBitmap());
    }
    EXPECT_EQ(frm.Image(0), nullptr);
    EXPECT_EQ(frm.Image(12), nullptr);
    EXPECT_EQ(frm.Image3(), frm.Image(3));
}

TEST(ResultsWindow, ImageBitmapIsWhiteOfItsSizeAndShowsWhatIsPainted) {
    TFrmRun frm;
    TImage *image = frm.Image3();
    QImage &bitmap = image->Bitmap();
    EXPECT_TRUE(image->HasBitmap());
    EXPECT_EQ(bitmap.size(), QSize(484, 643));
    EXPECT_EQ(bitmap.dotsPerMeterX(), 3780);
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(bitmap.pixel(483, 642), qRgb(255, 255, 255));
    {
        QPainter painter(&image->Bitmap());
        painter.fillRect(QRect(10, 20, 5, 5), Qt::black);
    }
    EXPECT_EQ(&image->Bitmap(), &bitmap); // created once
    const QImage shown = image->grab().toImage();
    EXPECT_EQ(shown.pixel(12, 22), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(30, 30), qRgb(255, 255, 255));
}

TEST(ResultsWindow, Charts) {
    TFrmRun frm;
    struct {
        int Number, Sheet;
        QRect Geometry;
        const char *Bottom;
        bool MarkersOnLine;
    } const charts[] = {
        {1, 2, {40, 48, 657, 321}, "Месяцы", false},
        {2, 3, {40, 48, 657, 321}, "Месяцы", false},
        {3, 6, {0, 0, 721, 269}, "Недели", false},
        {4, 6, {0, 270, 721, 268}, "Недели", false},
        {6, 8, {0, 0, 721, 269}, "Месяцы", true},
        {5, 8, {0, 270, 721, 268}, "Месяцы", true},
        {12, 10 + 1, {0, 0, 721, 269}, "Месяцы", true},
        {11, 10 + 1, {0, 270, 721, 268}, "Месяцы", true},
    };
    for (const auto &c : charts) {
        SCOPED_TRACE(c.Number);
        TChart *chart = frm.Chart(c.Number);
        ASSERT_NE(chart, nullptr);
        EXPECT_EQ(chart->parentWidget(), frm.TabSheet(c.Sheet));
        EXPECT_EQ(chart->geometry(), c.Geometry);
        EXPECT_EQ(chart->AxisX()->titleText(), QString::fromUtf8(c.Bottom));
        EXPECT_EQ(chart->AxisY()->titleText(), QStringLiteral("Численность популяции"));
        EXPECT_EQ(!chart->Series(0).View()->lightMarker().isNull(), c.MarkersOnLine);
    }
    for (int n : {0, 7, 8, 9, 10, 13})
        EXPECT_EQ(frm.Chart(n), nullptr) << n;

    // The check page's charts sit under its two image areas, with a legend for five series.
    for (int n : {13, 14}) {
        TCheckChart *chart = frm.CheckChart(n);
        ASSERT_NE(chart, nullptr);
        EXPECT_EQ(chart->parentWidget(), frm.TabSheet(12));
        EXPECT_EQ(chart->geometry(), n == 13 ? QRect(0, 465, 477, 178) : QRect(477, 465, 484, 178));
        EXPECT_TRUE(chart->chart()->legend()->isVisible());
        EXPECT_EQ(chart->View(1)->name(), QStringLiteral("данные"));
        EXPECT_THROW(chart->Clear(5), std::out_of_range);
    }
    EXPECT_EQ(frm.CheckChart(12), nullptr);
}

TEST(ResultsWindow, Labels) {
    TFrmRun frm;
    struct {
        int Number, Sheet, Left, Top;
        const char *Text; // null: set by the run
    } const labels[] = {
        {1, 2, 40, 16, "Первая популяция"},
        {2, 3, 40, 16, "Вторая популяция"},
        {3, 2, 48, 392, nullptr},
        {5, 2, 48, 416, nullptr},
        {4, 3, 48, 392, nullptr},
        {6, 3, 48, 416, nullptr},
        {7, 6, 728, 32, "Первая популяция"},
        {9, 6, 728, 48, "4-5 месяцы"},
        {8, 6, 728, 308, "Вторая популяция"},
        {10, 6, 728, 326, "4-5 месяцы"},
        {11, 8, 728, 32, "Первая популяция"},
        {12, 8, 728, 48, "2 года"},
        {13, 8, 728, 308, "Вторая популяция"},
        {14, 8, 728, 326, "2 года"},
        {16, 11, 728, 32, "Первая популяция"},
        {15, 11, 728, 48, "3 года"},
        {17, 11, 728, 308, "Вторая популяция"},
        {18, 11, 728, 326, "3 года"},
        {20, 10, 152, 48, "Вывод"},
        {19, 10, 120, 152, "Чтоб не вымреть нужно размножаться !"},
    };
    for (const auto &c : labels) {
        SCOPED_TRACE(c.Number);
        QLabel *label = frm.Label(c.Number);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->parentWidget(), frm.TabSheet(c.Sheet));
        EXPECT_EQ(label->pos(), QPoint(c.Left, c.Top));
        if (c.Text) {
            EXPECT_EQ(label->text(), QString::fromUtf8(c.Text));
        }
    }
    // A run's longest statement fits its label.
    const QString statement =
        QStringLiteral("Вторая популяция изменяется по экспоненциальной модели");
    frm.Label4()->setText(statement);
    EXPECT_GE(frm.Label4()->width(), frm.Label4()->fontMetrics().horizontalAdvance(statement));

    EXPECT_EQ(frm.Label(20)->font().pixelSize(), 29);
    EXPECT_TRUE(frm.Label(20)->font().bold());
    EXPECT_EQ(frm.Label(20)->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(frm.Label(19)->font().pixelSize(), 21);
    EXPECT_EQ(frm.Label(1)->font().pixelSize(), 11);
    EXPECT_TRUE(frm.Label(1)->font().bold());
    EXPECT_FALSE(frm.Label(7)->font().bold());
    EXPECT_EQ(frm.Label(7)->font().pixelSize(), 11);
}

TEST(ResultsWindow, OkClosesAndTheWindowReopensOnThePageTheUserLeft) {
    TFrmRun frm;
    std::vector<QString> opened;
    TModalAnswerer answerer;
    int nextPage = 7; // "График два года"
    answerer.OnModal = [&](QWidget *) {
        opened.push_back(frm.PageControl1()->tabText(frm.PageControl1()->currentIndex()));
        frm.PageControl1()->setCurrentIndex(nextPage);
        frm.Button1()->click();
    };
    frm.ShowModal();
    EXPECT_FALSE(frm.isVisible());
    nextPage = 10;
    frm.ShowModal();
    frm.ShowModal();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], QStringLiteral("Коэффициент k"));
    EXPECT_EQ(opened[1], QStringLiteral("График два года"));
    EXPECT_EQ(opened[2], QStringLiteral("Вывод"));
}

TEST(ResultsWindow, ShowModalHandsChartPointsToTheViews) {
    TFrmRun frm;
    frm.Chart12()->Series(1).AddXY(2, 3);
    frm.CheckChart(14)->AddXY(4, 1, 5);
    std::size_t seen = 0, seenCheck = 0;
    TModalAnswerer answerer;
    answerer.OnModal = [&](QWidget *) {
        seen = static_cast<std::size_t>(frm.Chart12()->Series(1).View()->count());
        seenCheck = static_cast<std::size_t>(frm.CheckChart(14)->View(4)->count());
        frm.close();
    };
    frm.ShowModal();
    EXPECT_EQ(seen, 1u);
    EXPECT_EQ(seenCheck, 1u);
    // The legend lists only the curves drawn.
    const QLegend *legend = frm.CheckChart(14)->chart()->legend();
    EXPECT_TRUE(legend->markers(frm.CheckChart(14)->View(4)).value(0)->isVisible());
    EXPECT_FALSE(legend->markers(frm.CheckChart(14)->View(2)).value(0)->isVisible());
}

TEST(ResultsWindow, LifetimeBracketsTheFormulaFont) {
    {
        TFrmRun frm;
        ASSERT_NE(FormulaFont, nullptr);
        EXPECT_EQ(FormulaFont->Name(), "Comic Sans MS");
    }
    EXPECT_EQ(FormulaFont, nullptr);
}

TEST(ResultsWindow, ANewResultRepaintsEveryPageAsItsOwnRunWouldWithoutAModalStep) {
    auto counts = [](int variant, int population) {
        TCountArray c{};
        for (int m = 1; m <= 10; ++m)
            c[static_cast<size_t>(m - 1)] = VariantCountOf(variant - 1, population, m);
        return c;
    };
    TFrmRun shown, fresh;
    ASSERT_EQ(RunAnalysis(shown.Target(), counts(1, 1), counts(1, 2), SmoothLeastSquares).End,
              TRunEnd::Applied);
    TRunOutcome next = ComputeRun(counts(5, 1), counts(5, 2), SmoothNone);
    ASSERT_TRUE(next.Result);
    shown.ShowRun({std::make_shared<const TRunResult>(std::move(*next.Result)), "", ""});
    ASSERT_EQ(RunAnalysis(fresh.Target(), counts(5, 1), counts(5, 2), SmoothNone).End,
              TRunEnd::Applied);

    EXPECT_FALSE(shown.isVisible());
    ASSERT_NE(shown.ShownResult(), nullptr);
    EXPECT_EQ(shown.ShownResult()->Population[0].Counts, counts(5, 1));
    auto painted = [](TFrmRun &frm, int image) {
        std::string ops;
        for (const TAreaOp &op : frm.Target().Image(image).Log())
            ops += std::to_string(op.Kind) + " " + std::to_string(op.X) + " " +
                   std::to_string(op.Y) + " " + std::to_string(op.Height) + " " + op.Text + "\n";
        return ops;
    };
    for (int image = 1; image <= 11; ++image)
        EXPECT_EQ(painted(shown, image), painted(fresh, image)) << "Image" << image;
    for (int label = 3; label <= 6; ++label)
        EXPECT_EQ(shown.Label(label)->text(), fresh.Label(label)->text()) << "Label" << label;
    for (int chart : TFrmRun::ChartNumbers)
        for (int index = 0; index < TChart::SeriesCount; ++index)
            EXPECT_EQ(shown.Chart(chart)->Series(index).Points(),
                      fresh.Chart(chart)->Series(index).Points())
                << "Chart" << chart << " " << index;
    for (int chart : {13, 14})
        for (int index = 0; index < TCheckChart::SeriesCount; ++index)
            EXPECT_EQ(shown.CheckChart(chart)->Points(index),
                      fresh.CheckChart(chart)->Points(index))
                << "Chart" << chart << " " << index;
}

TEST(ResultsWindow, FitsSmallScreensWithTheButtonRowAndScrollingPages) {
    TFrmRun frm;
    frm.show();
    QApplication::processEvents();
    const auto scrollRange = [&] {
        auto *scroll = qobject_cast<QScrollArea *>(frm.PageControl1()->currentWidget());
        return scroll ? scroll->verticalScrollBar()->maximum() : -1;
    };
    // At its usual size the whole page shows, as it always did.
    EXPECT_EQ(frm.PageControl1()->geometry(), QRect(0, 0, 969, 673));
    EXPECT_EQ(frm.Button1()->geometry(), QRect(744, 680, 217, 33));
    EXPECT_EQ(scrollRange(), 0);

    // 1280 x 720 with a 40 px panel, and a shorter screen still: the window fits within the
    // free area, the row of buttons stays whole inside it and the page scrolls.
    for (const QRect area : {QRect(0, 40, 1280, 680), QRect(0, 0, 1024, 480)}) {
        SCOPED_TRACE(area.height());
        frm.FitInto(area);
        QApplication::processEvents();
        EXPECT_TRUE(area.contains(frm.frameGeometry())) << frm.frameGeometry().height();
        EXPECT_GE(frm.height(), frm.minimumHeight());
        for (QWidget *button : {static_cast<QWidget *>(frm.Button1()),
                                static_cast<QWidget *>(frm.Actions()->Button2())})
            EXPECT_TRUE(frm.rect().contains(button->geometry()));
        EXPECT_LE(frm.PageControl1()->geometry().bottom(), frm.Button1()->geometry().top());
        EXPECT_GT(scrollRange(), 0);
    }
    EXPECT_LE(frm.minimumHeight() + 40, 680);
}

TEST(ResultsWindow, ZoomRepaintsSharpInTheSameLayoutAndCtrl0RestoresThePixels) {
    auto frmPtr = std::make_unique<TFrmRun>();
    TFrmRun &frm = *frmPtr;
    TCountArray c1{}, c2{};
    for (int m = 1; m <= 10; ++m) {
        c1[static_cast<size_t>(m - 1)] = VariantCountOf(0, 1, m);
        c2[static_cast<size_t>(m - 1)] = VariantCountOf(0, 2, m);
    }
    ASSERT_EQ(RunAnalysis(frm.Target(), c1, c2, SmoothLeastSquares).End, TRunEnd::Applied);
    frm.FitInto(QRect(0, 0, 1600, 1000));
    frm.show();
    auto grabPage = [&](int sheet) {
        frm.ShowPage(sheet);
        QApplication::processEvents();
        frm.Target().FlushCharts();
        return frm.CurrentPage()->grab().toImage();
    };
    const QImage chartsBefore = grabPage(6), imagesBefore = grabPage(4);
    const std::vector<TAreaOp> logBefore = frm.Target().Image(2).Log();

    // Ctrl+=, Ctrl+plus and the wheel with Ctrl step 100 -> 125 -> 150 -> 200 %.
    QTest::keyClick(&frm, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(frm.Zoom()->Zoom(), 1.25);
    QTest::keyClick(&frm, Qt::Key_Plus, Qt::ControlModifier);
    TImage *image = frm.Image(2);
    QWheelEvent wheel(QPointF(10, 10), image->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(image, &wheel);
    ASSERT_EQ(frm.Zoom()->Zoom(), 2);
    QApplication::processEvents();

    // Painted again from the log at twice the resolution, every position as it was.
    EXPECT_EQ(image->size(), QSize(477 * 2, 643 * 2));
    const QImage &bitmap = image->Bitmap();
    EXPECT_EQ(bitmap.size(), QSize(477 * 2, 643 * 2));
    const std::vector<TAreaOp> &log = frm.Target().Image(2).Log();
    ASSERT_EQ(log.size(), logBefore.size());
    const TAreaOp *formula = nullptr;
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].X, logBefore[i].X);
        EXPECT_EQ(log[i].Y, logBefore[i].Y);
        EXPECT_EQ(log[i].Width, logBefore[i].Width);
        if (!formula && log[i].Kind == TAreaOp::KFormula &&
            log[i].Text.find('(') != std::string::npos)
            formula = &log[i];
    }
    ASSERT_NE(formula, nullptr);
    // Sharp, not magnified: edges antialiased in many grey levels, and within 2 x 2 device pixels
    // (one pixel before) the ink varies, which a blown-up bitmap never does.
    std::set<int> greys;
    int inked = 0, varied = 0;
    for (int y = formula->Y * 2; y < (formula->Y + formula->Height) * 2; y += 2)
        for (int x = formula->X * 2; x < (formula->X + formula->Width) * 2; x += 2) {
            const QRgb a = bitmap.pixel(x, y), b = bitmap.pixel(x + 1, y),
                       c = bitmap.pixel(x, y + 1), d = bitmap.pixel(x + 1, y + 1);
            for (QRgb p : {a, b, c, d})
                greys.insert(qGray(p));
            if (a == b && b == c && c == d && a == qRgb(255, 255, 255)) continue;
            ++inked;
            if (!(a == b && b == c && c == d)) ++varied;
        }
    EXPECT_GT(greys.size(), 2u);
    ASSERT_GT(inked, 0);
    EXPECT_GT(varied * 2, inked);

    // The keyboard's mark and the mouse find the formula where it is shown.
    auto *focus = image->findChild<TFormulaFocus *>();
    ASSERT_NE(focus, nullptr);
    const QRect shown =
        image->ToWidget(QRect(formula->X, formula->Y, formula->Width, formula->Height));
    EXPECT_EQ(shown,
              QRect(formula->X * 2, formula->Y * 2, formula->Width * 2, formula->Height * 2));
    QTest::mouseClick(image, Qt::LeftButton, Qt::NoModifier, shown.center());
    ASSERT_GE(focus->Current(), 0);
    EXPECT_EQ(image->Mark(), QRect(formula->X, formula->Y, formula->Width, formula->Height));

    // Charts are laid out as at 100 % and drawn scaled; labels take scaled fonts.
    frm.ShowPage(6);
    QApplication::processEvents();
    EXPECT_EQ(frm.Chart3()->size(), QSize(721 * 2, 269 * 2));
    EXPECT_EQ(frm.Chart3()->chart()->size(), QSizeF(721, 269));
    EXPECT_EQ(frm.Label(7)->font().pixelSize(),
              frm.Label(7)->parentWidget()->font().pixelSize() * 2);

    // Ctrl+0: every pixel as before (the mark is not part of the picture).
    image->clearFocus();
    QTest::keyClick(&frm, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(frm.Zoom()->Zoom(), 1);
    EXPECT_EQ(grabPage(6), chartsBefore);
    EXPECT_EQ(grabPage(4), imagesBefore);

    // The next window of this run opens at the zoom the last one left.
    QTest::keyClick(&frm, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(&frm, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(&frm, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(frm.Zoom()->Zoom(), 1.5); // not below 100 %
    frmPtr.reset();
    TFrmRun next;
    EXPECT_EQ(next.Image(2)->Zoom(), 1.5);
    next.Zoom()->SetZoom(1);
}
