// No line of any page runs out of its area: in both languages, over the built-in variants and a
// few hundred random counts a user could type, every text and formula painted by a run, measured
// with the real fonts, stays inside the image area it was painted on.
#include "analysis/MainData.h"
#include "analysis/Report.h"
#include "results/Language.h"
#include "results/QtCanvas.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"

#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// The lines of the areas that leave them, one text each; empty when all stay inside.
std::vector<std::string> LinesOutside(TFrmRunTarget &target) {
    std::vector<std::string> out;
    for (int n = 1; n <= 11; ++n) {
        const TQtImageArea &area = target.Image(n);
        for (const TAreaOp &op : area.Log()) {
            int32_t width = op.Width, height = op.Height;
            if (op.Kind == TAreaOp::KText) {
                TQtCanvas canvas;
                canvas.SetFont(op.Font);
                const QString text = op.Utf8 ? QString::fromStdString(op.Text)
                                             : QString::fromStdU16String(Cp1251ToUtf16(op.Text));
                const TSize size = canvas.TextExtentW(std::u16string_view(
                    reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())));
                width = size.cx;
                height = size.cy;
            } else if (op.Kind != TAreaOp::KFormula) {
                continue;
            }
            if (op.X + width > area.Width() || op.Y + height > area.Height())
                out.push_back("Image" + std::to_string(n) + " " + std::to_string(op.X) + "+" +
                              std::to_string(width) + " " + std::to_string(op.Y) + "+" +
                              std::to_string(height) + " " +
                              (op.Utf8 ? op.Text : Cp1251ToUtf8(op.Text)));
        }
    }
    return out;
}

// Counts of the kinds a lesson meets: growth by a factor, growth towards a limit, and noise,
// at magnitudes from tens to about the largest 32-bit count; never negative (typing allows
// digits only).
TCountArray RandomCounts(std::mt19937 &random) {
    std::uniform_real_distribution<double> unit(0, 1);
    const double scale = std::pow(10.0, 1 + 8 * unit(random));
    const int kind = static_cast<int>(random() % 3);
    TCountArray counts{};
    const double factor = 1 + 3 * unit(random), start = 1 + scale * unit(random) / 100;
    for (int i = 0; i < 10; ++i) {
        double v = 0;
        if (kind == 0)
            v = start * std::pow(factor, i);
        else if (kind == 1)
            v = scale / (1 + (scale / start - 1) * std::pow(factor, -i));
        else
            v = scale * unit(random);
        counts[static_cast<std::size_t>(i)] =
            static_cast<int32_t>(std::clamp(std::round(v), 0.0, 2147483647.0));
    }
    return counts;
}

class PageLines : public testing::TestWithParam<TLanguage> {
protected:
    void SetUp() override { ASSERT_TRUE(InstallLanguage(GetParam())); }
    void TearDown() override { InstallLanguage(TLanguage::Russian); }
};

} // namespace

TEST_P(PageLines, EveryLineOfEveryPageStaysInsideItsArea) {
    TFrmRun frmRun;
    TFrmRunTarget &target = frmRun.Target();
    for (int v = 0; v < VariantCount; ++v) {
        TCountArray c1{}, c2{};
        for (int m = 1; m <= 10; ++m) {
            c1[m - 1] = VariantCountOf(v, 1, m);
            c2[m - 1] = VariantCountOf(v, 2, m);
        }
        ASSERT_EQ(RunAnalysis(target, c1, c2, SmoothLeastSquares).End, TRunEnd::Applied);
        EXPECT_EQ(LinesOutside(target), std::vector<std::string>()) << "variant " << v + 1;
    }
    std::mt19937 random(26);
    int accepted = 0;
    for (int tries = 0; accepted < 200 && tries < 2000; ++tries) {
        const TCountArray c1 = RandomCounts(random), c2 = RandomCounts(random);
        if (RunAnalysis(target, c1, c2, static_cast<int32_t>(tries % 3)).End != TRunEnd::Applied)
            continue;
        ++accepted;
        const std::vector<std::string> outside = LinesOutside(target);
        if (!outside.empty()) {
            std::string counts;
            for (int32_t c : c1)
                counts += std::to_string(c) + " ";
            counts += "/ ";
            for (int32_t c : c2)
                counts += std::to_string(c) + " ";
            ADD_FAILURE() << counts << "\n"
                          << outside.front() << " (and " << outside.size() - 1 << " more)";
        }
    }
    EXPECT_EQ(accepted, 200);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, PageLines,
                         testing::Values(TLanguage::Russian, TLanguage::English),
                         [](const auto &info) {
                             return info.param == TLanguage::English ? "English" : "Russian";
                         });
