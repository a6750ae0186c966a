// Handing formulas on from the results window: the copy menu, the keyboard's formula mark and
// the clipboard formats, what a screen reader reads through QAccessible, and the HTML lesson.
#include "analysis/MainData.h"
#include "analysis/Report.h"
#include "results/CheckChart.h"
#include "results/FormulaFocus.h"
#include "results/HelpWindow.h"
#include "results/HtmlLesson.h"
#include "results/Language.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QRegularExpression>
#include <QTabWidget>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// A window that shows variant 5's run.
class Share : public ::testing::Test {
protected:
    void SetUp() override {
        TCountArray c1{}, c2{};
        for (int m = 1; m <= 10; ++m) {
            c1[static_cast<size_t>(m - 1)] = VariantCountOf(4, 1, m);
            c2[static_cast<size_t>(m - 1)] = VariantCountOf(4, 2, m);
        }
        TAnalysisRun run = RunAnalysis(FFrm.Target(), c1, c2, SmoothLeastSquares);
        ASSERT_EQ(run.End, TRunEnd::Applied);
        FResult = std::make_shared<const TRunResult>(std::move(*run.Result));
        FFrm.KeepRun({FResult, QStringLiteral("вариант 5"), QStringLiteral("zelvano-вариант-5")});
    }
    TFormulaFocus &Focus(int image) { return *FFrm.Image(image)->findChild<TFormulaFocus *>(); }

    static bool IsMathML(const QByteArray &xml) {
        QXmlStreamReader reader(xml);
        bool root = false;
        while (!reader.atEnd())
            if (reader.readNext() == QXmlStreamReader::StartElement && !root)
                root = reader.name() == u"math" &&
                       reader.namespaceUri() == u"http://www.w3.org/1998/Math/MathML";
        return root && !reader.hasError();
    }

    TFrmRun FFrm;
    std::shared_ptr<const TRunResult> FResult;
};

} // namespace

TEST_F(Share, EachCopyPutsItsFormatsOnTheClipboard) {
    TFormulaFocus &focus = Focus(2);
    ASSERT_GT(focus.Formulas().size(), 3u);
    const TAreaOp &op = *focus.Formulas()[0];

    std::unique_ptr<QMimeData> all(focus.MimeData(0, TFormulaFocus::TCopy::All));
    ASSERT_TRUE(all);
    // The picture at twice the screen's resolution, as a PNG.
    QImage png;
    ASSERT_TRUE(png.loadFromData(all->data(QStringLiteral("image/png")), "PNG"));
    EXPECT_EQ(png.size(), QSize(2 * op.Width, 2 * op.Height));
    EXPECT_FALSE(all->text().isEmpty());
    EXPECT_FALSE(all->text().contains(u'<'));
    EXPECT_TRUE(IsMathML(all->data(QStringLiteral("application/mathml+xml"))));
    EXPECT_TRUE(all->html().contains(QStringLiteral("<math")));

    // Each menu entry gives only its own kind, so a paste takes what was asked for.
    std::unique_ptr<QMimeData> picture(focus.MimeData(0, TFormulaFocus::TCopy::Picture));
    EXPECT_TRUE(picture->hasImage());
    EXPECT_FALSE(picture->hasText());
    std::unique_ptr<QMimeData> latex(focus.MimeData(0, TFormulaFocus::TCopy::Latex));
    EXPECT_EQ(latex->text(), all->text());
    EXPECT_FALSE(latex->hasImage() || latex->hasHtml());
    std::unique_ptr<QMimeData> mathml(focus.MimeData(0, TFormulaFocus::TCopy::MathML));
    EXPECT_TRUE(IsMathML(mathml->text().toUtf8()));
    EXPECT_FALSE(mathml->hasImage());

    EXPECT_EQ(focus.MimeData(-1, TFormulaFocus::TCopy::All), nullptr);
    EXPECT_EQ(focus.MimeData(int(focus.Formulas().size()), TFormulaFocus::TCopy::All), nullptr);
}

TEST_F(Share, TheKeyboardAndTheMouseFindTheFormulas) {
    TFormulaFocus &focus = Focus(2);
    TImage *image = FFrm.Image(2);
    const int count = int(focus.Formulas().size());
    // Reading order: each formula starts below or right of the one before.
    for (int i = 1; i < count; ++i) {
        const TAreaOp &a = *focus.Formulas()[size_t(i - 1)], &b = *focus.Formulas()[size_t(i)];
        EXPECT_TRUE(b.Y >= a.Y + a.Height || (b.Y < a.Y + a.Height && b.X > a.X)) << i;
    }
    auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(image, &event);
    };
    focus.SetCurrent(0);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(focus.Current(), 2);
    press(Qt::Key_Up);
    EXPECT_EQ(focus.Current(), 1);
    const TAreaOp &marked = *focus.Formulas()[1];
    EXPECT_EQ(image->Mark(), QRect(marked.X, marked.Y, marked.Width, marked.Height));
    press(Qt::Key_End);
    EXPECT_EQ(focus.Current(), count - 1);
    press(Qt::Key_Down);
    EXPECT_EQ(focus.Current(), count - 1);
    press(Qt::Key_Home);
    EXPECT_EQ(focus.Current(), 0);

    // Ctrl+C copies the marked formula in every format.
    QApplication::clipboard()->clear();
    press(Qt::Key_C, Qt::ControlModifier);
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(copied);
    EXPECT_TRUE(copied->hasFormat(QStringLiteral("application/mathml+xml")));
    EXPECT_TRUE(copied->hasFormat(QStringLiteral("image/png")));

    // A right-click opens the menu of the formula under the mouse and marks it; elsewhere none.
    std::vector<int> menus;
    focus.ShowMenu = [&](int index, QPoint) { menus.push_back(index); };
    const QPoint inside(marked.X + marked.Width / 2, marked.Y + marked.Height / 2);
    QContextMenuEvent onFormula(QContextMenuEvent::Mouse, inside, image->mapToGlobal(inside));
    QApplication::sendEvent(image, &onFormula);
    const QPoint outside(image->width() - 2, image->height() - 2);
    QContextMenuEvent offFormula(QContextMenuEvent::Mouse, outside, image->mapToGlobal(outside));
    QApplication::sendEvent(image, &offFormula);
    EXPECT_EQ(menus, std::vector<int>{1});
    EXPECT_EQ(focus.Current(), 1);
    press(Qt::Key_Down);
    press(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(menus, (std::vector<int>{1, 2}));
}

TEST_F(Share, AScreenReaderReadsTheAreasAndTheCharts) {
    QAccessibleInterface *area = QAccessible::queryAccessibleInterface(FFrm.Image(2));
    ASSERT_TRUE(area);
    const std::vector<const TAreaOp *> formulas = Focus(2).Formulas();
    int equations = 0;
    QStringList names;
    for (int i = 0; i < area->childCount(); ++i) {
        QAccessibleInterface *item = area->child(i);
        ASSERT_TRUE(item && item->isValid()) << i;
        EXPECT_EQ(item->parent(), area);
        EXPECT_EQ(area->indexOfChild(item), i);
        EXPECT_FALSE(item->text(QAccessible::Name).isEmpty()) << i;
        equations += item->role() == QAccessible::Equation;
        names << item->text(QAccessible::Name);
    }
    EXPECT_EQ(equations, int(formulas.size()));
    // Formulas are spoken, not spelled out as formula text.
    const QString spoken = names.join(u'\n');
    EXPECT_TRUE(spoken.contains(QStringLiteral("дробь"))) << spoken.toStdString();
    EXPECT_FALSE(spoken.contains(QStringLiteral("Summa(")));
    EXPECT_EQ(area->text(QAccessible::Description), spoken);

    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(FFrm.CheckChart(13));
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    const QString summary = chart->text(QAccessible::Description);
    EXPECT_TRUE(summary.contains(FFrm.CheckChart(13)->AxisX()->titleText()))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral(" от "))) << summary.toStdString();
}

TEST_F(Share, TheHtmlLessonHoldsEveryPageFormulaChartAndTable) {
    const QString html = QString::fromUtf8(LessonHtml(*FFrm.PageControl1(), FFrm.Target(),
                                                      FResult.get(), QStringLiteral("вариант 5")));
    // Every report page in tab order with its title; the exploring page is not one.
    const QTabWidget &tabs = *FFrm.PageControl1();
    qsizetype at = 0;
    for (int i = 0; i < 12; ++i) {
        at = html.indexOf(
            QStringLiteral("<h2 id=\"title-%1\">%2</h2>").arg(i + 1).arg(tabs.tabText(i).trimmed()),
            at);
        EXPECT_GE(at, 0) << i;
    }
    // Every formula of every area as SVG with its speech text, drawn without a font.
    int formulas = 0;
    for (int n = 1; n <= 11; ++n)
        for (const TAreaOp &op : FFrm.Target().Image(n).Log())
            formulas += op.Kind == TAreaOp::KFormula;
    EXPECT_EQ(html.count(QStringLiteral("<svg role=\"math\" aria-label=\"")), formulas);
    EXPECT_EQ(html.count(QRegularExpression(QStringLiteral("role=\"math\" aria-label=\"\""))), 0);
    EXPECT_EQ(html.count(QStringLiteral("<span class=\"mathml\"")), formulas);
    const qsizetype firstFormula = html.indexOf(QStringLiteral("<svg role=\"math\""));
    EXPECT_EQ(
        html.mid(firstFormula, html.indexOf(QStringLiteral("</svg>"), firstFormula) - firstFormula)
            .indexOf(QStringLiteral("<text")),
        -1);
    EXPECT_EQ(html.count(QStringLiteral("<svg role=\"img\"")), 10);
    // Letters drawn once and used again are defined.
    const QRegularExpression use(QStringLiteral("<use href=\"#(g\\d+)\"/>"));
    ASSERT_TRUE(use.match(html).hasMatch());
    for (auto m = use.globalMatch(html); m.hasNext();) {
        const QString id = m.next().captured(1);
        ASSERT_TRUE(html.contains(QStringLiteral("<path id=\"%1\"").arg(id))) << id.toStdString();
    }
    // The check page's fits as tables; nothing from elsewhere.
    EXPECT_EQ(html.count(QStringLiteral("<table>")), 2);
    EXPECT_FALSE(html.contains(QRegularExpression(QStringLiteral("(src|href)=\"(?!#|data:)"))));
}

// Texts read once and kept (the help window's, the exploring page's) and the lesson's own words
// must follow the language installed at start, not the Russian they are written in.
TEST(ShareInEnglish, TheLessonAboutBoxAndExploringPageSpeakEnglish) {
    struct TRussianAfter {
        ~TRussianAfter() { InstallLanguage(TLanguage::Russian); }
    } restore;
    ASSERT_TRUE(InstallLanguage(TLanguage::English));
    TFrmRun frm;
    TCountArray c1{}, c2{};
    for (int m = 1; m <= 10; ++m) {
        c1[static_cast<size_t>(m - 1)] = VariantCountOf(4, 1, m);
        c2[static_cast<size_t>(m - 1)] = VariantCountOf(4, 2, m);
    }
    TAnalysisRun run = RunAnalysis(frm.Target(), c1, c2, SmoothLeastSquares);
    ASSERT_EQ(run.End, TRunEnd::Applied);
    auto result = std::make_shared<const TRunResult>(std::move(*run.Result));
    frm.KeepRun({result, QStringLiteral("variant 5"), QStringLiteral("zelvano-variant-5")});

    const QString html = QString::fromUtf8(
        LessonHtml(*frm.PageControl1(), frm.Target(), result.get(), QStringLiteral("variant 5")));
    EXPECT_TRUE(html.contains(QStringLiteral("<html lang=\"en\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<nav aria-label=\"Pages\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<caption>Population 1: model fits</caption>")));
    // The formulas and charts described in English, numbers with the decimal point.
    EXPECT_TRUE(html.contains(QStringLiteral("aria-label=\"the fraction with numerator d X and "
                                             "denominator d t, end of fraction, equals")));
    static const QRegularExpression label(QStringLiteral("aria-label=\"([^\"]*)\""));
    static const QRegularExpression russian(QStringLiteral("[\\x{0400}-\\x{04FF}]|\\d,\\d"));
    for (auto m = label.globalMatch(html); m.hasNext();) {
        const QString text = m.next().captured(1);
        EXPECT_FALSE(text.contains(russian)) << text.toStdString();
    }

    EXPECT_TRUE(AboutText().contains(QStringLiteral("Licence: GNU GPL version 3")));
    const QTabWidget &tabs = *frm.PageControl1();
    EXPECT_EQ(tabs.tabText(tabs.count() - 1).trimmed(), QStringLiteral("Explore"));
    for (const QLabel *label : frm.findChildren<QLabel *>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("Популяция №")))
            << label->text().toStdString();
}
