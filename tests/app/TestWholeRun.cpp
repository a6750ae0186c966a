// The whole run behind "Делать", from the grids to the painted results window.
#include "analysis/MainData.h"
#include "app/Unit1.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"
#include "runtime/Cp1251.h"
#include "tests/app/FormFixture.h"
#include "tests/results/ModalHelper.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QXYSeries>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

// Everything a run leaves in the results window.
struct TWindowState {
    std::array<QImage, 10> Images;
    std::map<std::pair<int, int>, QList<QPointF>> Points;
    QStringList Labels;
    bool operator==(const TWindowState &) const = default;
};

class WholeRun : public TFormFixture {
protected:
    void ChooseVariant(int variant) {
        FForm->ComboBox1()->setEditText(QString::number(variant));
        ASSERT_EQ(VariantIndex, variant - 1);
    }
    TWindowState State() const {
        TWindowState s;
        for (int n = 1; n <= 9; ++n)
            s.Images[n] = FFrmRun.Image(n)->Bitmap().copy();
        for (int chart : TFrmRun::ChartNumbers)
            for (int index = 0; index < 2; ++index)
                s.Points[{chart, index}] = FFrmRun.Chart(chart)->Series(index).Points();
        for (int n = 3; n <= 6; ++n)
            s.Labels << FFrmRun.Label(n)->text();
        return s;
    }
};

// True when the rectangle holds a dark pixel: something was painted there.
bool HasInk(const QImage &image, QRect box) {
    box &= image.rect();
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

} // namespace

TEST_F(WholeRun, EveryAreaHoldsPaintedFormulasAndEveryChartItsPoints) {
    ChooseVariant(1);
    // Month line points for no smoothing, Lagrange and least squares.
    const int monthLine[] = {10, 1001, 51};
    for (int smoothing = 0; smoothing <= 2; ++smoothing) {
        SCOPED_TRACE(smoothing);
        FForm->RadioGroup1()->SetItemIndex(smoothing);
        Press();
        ASSERT_EQ(FAnswerer.Records.size(), 1u);
        EXPECT_EQ(Shown("TFrmRun"), 1);

        for (int n = 1; n <= 9; ++n) {
            SCOPED_TRACE(n);
            const QImage &bitmap = FFrmRun.Image(n)->Bitmap();
            int formulas = 0;
            for (const TAreaOp &op : FForm->RunTarget()->Image(n).Log()) {
                if (op.Kind != TAreaOp::KFormula) continue;
                ++formulas;
                // Inside the picture's 5-pixel margin and its outermost ring (a frame's place).
                EXPECT_TRUE(HasInk(bitmap, QRect(op.X + 5, op.Y + 5, op.Width - 6, op.Height - 6)))
                    << Cp1251ToUtf8(op.Text);
            }
            EXPECT_GT(formulas, 0);
        }

        // Chart, points of series 0, points of series 1.
        const int counts[][3] = {{1, monthLine[smoothing], 10},
                                 {2, monthLine[smoothing], 10},
                                 {3, 9, 8},
                                 {4, 9, 8},
                                 {6, 24, 0},
                                 {5, 24, 0},
                                 {12, 35, 1},
                                 {11, 36, 0}};
        for (const auto &[chart, line, dots] : counts) {
            SCOPED_TRACE(chart);
            TChart *view = FFrmRun.Chart(chart);
            EXPECT_EQ(view->Series(0).Count(), line);
            EXPECT_EQ(view->Series(1).Count(), dots);
            // Handed to the views before the window showed.
            EXPECT_EQ(view->Series(0).View()->points(), view->Series(0).Points());
            EXPECT_EQ(view->Series(1).View()->points(), view->Series(1).Points());
        }
    }
    // The run's Windows-1251 texts reach the labels.
    EXPECT_EQ(FFrmRun.Label5()->text(),
              QStringLiteral("Максимальное знаяение роста популяции S = 1000"));
    EXPECT_EQ(FFrmRun.Label6()->text(), QString());
}

TEST_F(WholeRun, TwoPressesGiveTheSamePicturesAndCharts) {
    ChooseVariant(5);
    Press();
    const TWindowState first = State();
    Press();
    EXPECT_EQ(Shown("TFrmRun"), 1);
    EXPECT_TRUE(State() == first);
}

TEST_F(WholeRun, ABadCellInMonth7OfGrid2LeavesThePreviousRun) {
    ChooseVariant(1);
    Press();
    const TWindowState before = State();
    ChooseVariant(2);
    FForm->StringGrid2()->SetCells(6, 1, QString());
    Press();
    ASSERT_EQ(FAnswerer.Records.size(), 1u);
    EXPECT_EQ(FAnswerer.Records[0].Text,
              QStringLiteral("Вы ввели неверные данные\nПопуляция №2, месяц 7: нет числа"));
    EXPECT_TRUE(State() == before);
    EXPECT_EQ(Counts2[6], 0);
    EXPECT_EQ(Counts1[1], VariantCountOf(1, 1, 2));
}

TEST_F(WholeRun, ARefusedRunSaysWhyAndKeepsEverything) {
    ChooseVariant(1);
    Press();
    const TWindowState before = State();

    // Population 2 is exponential: a 0 among its first nine months would divide by zero.
    FForm->StringGrid2()->SetCells(4, 1, QStringLiteral("0"));
    Press();
    ASSERT_EQ(FAnswerer.Records.size(), 1u);
    const TModalRecord &box = FAnswerer.Records[0];
    EXPECT_EQ(box.Title, QStringLiteral("Ошибка ввода"));
    EXPECT_EQ(box.Icon, QMessageBox::Critical);
    EXPECT_EQ(box.Text, QStringLiteral("Численность экспоненциальной популяции в месяцах 1–9 не "
                                       "должна быть равна 0 (популяция №2)"));
    EXPECT_TRUE(State() == before);
}

TEST_F(WholeRun, EveryVariantAndExtremeCountsRunThroughTheFormulaEngine) {
    // Each formula text of a run must parse: a rejected one would show its own message instead
    // of the results window.
    for (int variant = 1; variant <= VariantCount; ++variant) {
        ChooseVariant(variant);
        Press();
        ASSERT_EQ(FAnswerer.Records.size(), 1u) << variant;
        EXPECT_EQ(FAnswerer.Records[0].ClassName, QStringLiteral("TFrmRun")) << variant;
    }
    const QString refusals[] = {
        QStringLiteral("Прогноз выходит за пределы представимых чисел"),
        QStringLiteral("Численность экспоненциальной популяции в месяцах 1–9 не должна быть "
                       "равна 0 (популяция №1)"),
        QStringLiteral("Численность экспоненциальной популяции в месяцах 1–9 не должна быть "
                       "равна 0 (популяция №2)")};
    const char *const rows[][2] = {
        {"2147483647", "-2147483648"},
        {"-2147483648", "2147483647"},
        {"1", "-2147483648"},
        {"-2147483648", "1"},
    };
    for (const auto &row : rows) {
        for (int c = 0; c < 10; ++c) {
            // Alternating extremes give runaway steps and exponent-form numbers.
            FForm->StringGrid1()->SetCells(c, 1, QString::fromLatin1(row[c % 2]));
            FForm->StringGrid2()->SetCells(c, 1, QString::fromLatin1(row[(c / 3) % 2]));
        }
        Press();
        ASSERT_EQ(FAnswerer.Records.size(), 1u);
        const TModalRecord &r = FAnswerer.Records[0];
        SCOPED_TRACE(r.Text.toStdString());
        EXPECT_TRUE(r.ClassName == QStringLiteral("TFrmRun") ||
                    std::find(std::begin(refusals), std::end(refusals), r.Text) !=
                        std::end(refusals));
    }
}
