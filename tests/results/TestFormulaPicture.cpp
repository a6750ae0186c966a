// Formula pictures: sizes, margins, colours, the frame, the sized surface against the classic
// 2000 x 1000 one, painting at a point, errors and two golden pictures.
#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"
#include "formula/draw/ExprPicture.h"
#include "formula/make/ExprMake.h"
#include "results/DrawFunc.h"
#include "results/FontSetup.h"
#include "results/QtCanvas.h"
#include "runtime/Cp1251.h"
#include "tests/results/Golden.h"

#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

std::string Cp(std::string_view utf8) {
    std::string out;
    Utf8ToCp1251(utf8, out);
    return out;
}

class FormulaPicture : public ::testing::Test {
protected:
    void SetUp() override {
        InstallFontSubstitutions();
        InitFormulaFont();
        SetFormulaFontSize(10);
    }
    void TearDown() override { DoneFormulaFont(); }
};

bool AllWhite(const QImage &image, const QRect &r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

// The formula texts of the benchmark: the program's own and a few of every construct.
std::vector<std::string> BenchFormulas() {
    QFile f(QStringLiteral(ZELVANO_SOURCE_DIR "/bench/formulas.txt"));
    std::vector<std::string> out;
    if (!f.open(QIODevice::ReadOnly)) return out;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        if (!line.isEmpty()) out.push_back(Cp(line.toStdString()));
    }
    return out;
}

} // namespace

TEST_F(FormulaPicture, IsTheChainOfFiveNodesPlusFour) {
    // The chain assembled as every picture is, measured on its own surface.
    TExprBuilder builder;
    TPictureLayout layout(" ", builder.BuildExpr("X_i"), " ");
    TQtCanvas canvas;
    layout.Measure(*FormulaFont, &canvas);
    TExprChain &chain = layout.Chain();
    EXPECT_EQ(layout.Width(), chain.Width() + 4);
    EXPECT_EQ(layout.Height(), chain.Height() + 4);
    const QImage image = FormulaBitmap("X_i");
    EXPECT_EQ(image.width(), chain.Width() + 4);
    EXPECT_EQ(image.height(), chain.Height() + 4);
    EXPECT_GT(chain.Width(), 0);
    // Five white columns and rows before the chain's box, which starts with empty nodes and a
    // blank.
    EXPECT_TRUE(AllWhite(image, QRect(0, 0, 5, image.height())));
    EXPECT_TRUE(AllWhite(image, QRect(0, 0, image.width(), 5)));
    EXPECT_FALSE(AllWhite(image, image.rect()));
}

TEST_F(FormulaPicture, FramedAndPlainHaveOneSize) {
    const std::string f = "diff(x)/diff(t)=0.4704*.!(1000-x)";
    TFormulaPicture picture(" ", f, " ");
    const QImage plain = picture.Bitmap();
    const QImage framed = picture.Bitmap(TPictureSurface::Sized, true);
    ASSERT_EQ(plain.size(), framed.size());
    const int w = plain.width(), h = plain.height();
    for (int x = 0; x < w; ++x) {
        EXPECT_EQ(framed.pixel(x, 0), qRgb(0, 0, 0)) << x;
        EXPECT_EQ(framed.pixel(x, h - 1), qRgb(0, 0, 0)) << x;
    }
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(framed.pixel(0, y), qRgb(0, 0, 0)) << y;
        EXPECT_EQ(framed.pixel(w - 1, y), qRgb(0, 0, 0)) << y;
    }
    // Inside the ring the formula's box keeps one blank pixel to it on every side: the plain
    // picture's box moved from (5, 5) to (2, 2), where its last column and row show too.
    EXPECT_TRUE(AllWhite(framed, QRect(1, 1, w - 2, 1)));
    EXPECT_TRUE(AllWhite(framed, QRect(1, h - 2, w - 2, 1)));
    EXPECT_TRUE(AllWhite(framed, QRect(1, 1, 1, h - 2)));
    EXPECT_TRUE(AllWhite(framed, QRect(w - 2, 1, 1, h - 2)));
    EXPECT_EQ(framed.copy(2, 2, w - 5, h - 5), plain.copy(5, 5, w - 5, h - 5));
}

TEST_F(FormulaPicture, SmallerFontGivesSmallerPictures) {
    for (const char *f : {"X_i", "k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))", "x^2^3"}) {
        SetFormulaFontSize(10);
        const QImage big = FormulaBitmap(f);
        SetFormulaFontSize(6);
        const QImage small = FormulaBitmap(f);
        EXPECT_LT(small.width(), big.width()) << f;
        EXPECT_LT(small.height(), big.height()) << f;
    }
}

// The picture exactly as the classic routine makes it: a white 2000 x 1000 surface, the five
// nodes coloured in order, the surface set before the font, painted at (5, 5), then cropped.
static QImage ClassicPicture(const std::string &formula) {
    QImage surface(2000, 1000, QImage::Format_RGB32);
    surface.fill(Qt::white);
    TExprBuilder builder;
    PExpr head = std::make_unique<TExprVar>("");
    head->AddNext(std::make_unique<TExprSimple>(""));
    auto prefix = std::make_unique<TExprVar>(" ");
    TExprClass *c = prefix.get();
    head->AddNext(std::move(prefix));
    PExpr body = builder.BuildExpr(formula);
    TExprClass *d = body.get();
    head->AddNext(std::move(body));
    auto suffix = std::make_unique<TExprVar>(" ");
    TExprClass *e = suffix.get();
    head->AddNext(std::move(suffix));
    c->SetColor(PrefixColor);
    d->SetColor(FormulaFont->Color());
    e->SetColor(SuffixColor);
    TExprChain chain(std::move(head));
    QPainter painter(&surface);
    TQtCanvas canvas(&painter);
    chain.SetCanvas(&canvas);
    chain.SetFont(*FormulaFont);
    chain.Draw(5, 5, 0, 0);
    painter.end();
    return surface.copy(0, 0, chain.Width() + 4, chain.Height() + 4);
}

TEST_F(FormulaPicture, MatchesTheClassicRoutine) {
    std::vector<std::string> formulas = BenchFormulas();
    formulas.push_back("X_i");
    formulas.push_back(Cp("X_i&Space(8)&String(\" - общая численность популяции на данный момент "
                          "времени;\")"));
    for (int points : {6, 8, 10}) {
        SetFormulaFontSize(points);
        for (const std::string &f : formulas)
            EXPECT_EQ(FormulaBitmap(f, TShapeDrawing::Classic), ClassicPicture(f)) << f;
    }
}

TEST_F(FormulaPicture, SizedSurfaceGivesTheClassicPixels) {
    const std::vector<std::string> formulas = BenchFormulas();
    ASSERT_EQ(formulas.size(), 24u);
    for (int points : {6, 10}) {
        SetFormulaFontSize(points);
        for (const std::string &f : formulas) {
            const QImage sized =
                FormulaBitmapEx(" ", f, " ", TPictureSurface::Sized, TShapeDrawing::Classic);
            const QImage fixed =
                FormulaBitmapEx(" ", f, " ", TPictureSurface::Fixed, TShapeDrawing::Classic);
            EXPECT_EQ(sized, fixed) << f;
        }
    }
}

TEST_F(FormulaPicture, PrefixFormulaAndSuffixColours) {
    PrefixColor = 0x0000FF; // red in 0x00BBGGRR
    SuffixColor = 0xFF0000; // blue
    TFormulaPicture picture("AAA", "x", "BBB");
    const QImage image = picture.Bitmap();
    bool red = false, blue = false, black = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            red |= qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
            blue |= qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60;
            black |= qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) < 40;
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
    EXPECT_TRUE(black);
}

TEST_F(FormulaPicture, DrawFormulaPaintsOpaqueAtThePointAndKeepsItsHeight) {
    QImage target(400, 200, QImage::Format_RGB32);
    target.fill(Qt::green);
    LastFormulaHeight = 0;
    {
        QPainter painter(&target);
        DrawFormula("a+b", painter, 30, 40);
    }
    const QImage picture = FormulaBitmap("a+b");
    EXPECT_EQ(LastFormulaHeight, picture.height());
    EXPECT_EQ(target.copy(30, 40, picture.width(), picture.height()), picture);
    EXPECT_EQ(target.pixel(29, 40), QColor(Qt::green).rgb());
    EXPECT_EQ(target.pixel(30 + picture.width(), 40), QColor(Qt::green).rgb());

    // A rejected text paints nothing and leaves the height.
    const QImage before = target;
    {
        QPainter painter(&target);
        EXPECT_THROW(DrawFramedFormula("(a b)", painter, 0, 0), EIncorrectExpr);
    }
    EXPECT_EQ(target, before);
    EXPECT_EQ(LastFormulaHeight, picture.height());

    {
        QPainter painter(&target);
        DrawFramedFormula("a+b", painter, 100, 10);
    }
    EXPECT_EQ(LastFormulaHeight, picture.height());
    EXPECT_EQ(target.copy(100, 10, picture.width(), picture.height()),
              TFormulaPicture(" ", "a+b", " ").Bitmap(TPictureSurface::Sized, true));
}

TEST_F(FormulaPicture, PaintOnAPainterMatchesTheBitmap) {
    TFormulaPicture picture(" ", "Sqrt(a^2+b^2)", " ");
    QImage target(picture.Width() + 20, picture.Height() + 20, QImage::Format_RGB32);
    target.fill(Qt::green);
    {
        QPainter painter(&target);
        picture.Paint(painter, 7, 9, true);
    }
    EXPECT_EQ(target.copy(7, 9, picture.Width(), picture.Height()),
              picture.Bitmap(TPictureSurface::Sized, true));
    EXPECT_EQ(target.pixel(6, 9), QColor(Qt::green).rgb());
    EXPECT_EQ(target.pixel(7 + picture.Width(), 9 + picture.Height()), QColor(Qt::green).rgb());
}

TEST_F(FormulaPicture, HugeFormulasAreRefused) {
    const std::string tooLarge = Cp("Формула слишком велика");
    for (const char *f :
         {"Space(20000)", "Space(2000000000)", "Space(2000000000)&Space(2000000000)",
          "Matrix(1,2000000000,a)", "Intm(100000,x)"}) {
        try {
            FormulaBitmap(f);
            ADD_FAILURE() << f << " gave a picture";
        } catch (const EIncorrectExpr &e) {
            EXPECT_EQ(e.Message(), tooLarge) << f;
        }
    }
    std::string tall = "StandL(a";
    for (int k = 0; k < 2000; ++k)
        tall += ",a";
    EXPECT_THROW(FormulaBitmap(tall + ")"), EIncorrectExpr);
    // Just above the classic surface but below the limit: the whole formula is drawn.
    const QImage wide = FormulaBitmap("a&Space(3000)&b");
    EXPECT_GT(wide.width(), 2000);
    EXPECT_FALSE(AllWhite(wide, QRect(wide.width() - 40, 0, 40, wide.height())));
}

TEST_F(FormulaPicture, FormulasThatStepBackBeyondTheirStartStillGiveAPicture) {
    // A negative space is a backspace; here the row ends up narrower than nothing.
    const QImage image = FormulaBitmap("Space(-2000000000)");
    EXPECT_EQ(image.width(), 1);
    EXPECT_EQ(image.height(), FormulaBitmap("Space(0)").height());
    QImage target(20, 40, QImage::Format_RGB32);
    target.fill(Qt::green);
    {
        QPainter painter(&target);
        DrawFramedFormula("Space(-100)&x", painter, 0, 0);
    }
    EXPECT_EQ(LastFormulaHeight, FormulaBitmap("Space(-100)&x").height());
}

TEST_F(FormulaPicture, TextHeightIsTheCellOfTheSelectedFont) {
    TQtCanvas canvas;
    TFontData font;
    font.Name = "Comic Sans MS";
    font.Height = -13;
    canvas.SetFont(font);
    EXPECT_EQ(TextHeightOf(canvas, "X"), canvas.TextMetrics().Height);
    EXPECT_EQ(TextHeightOf(canvas, "x"), TextHeightOf(canvas, "X"));
    font.Height = -20;
    canvas.SetFont(font);
    EXPECT_GT(TextHeightOf(canvas, "X"), 20);
}

TEST_F(FormulaPicture, Golden) {
    EXPECT_TRUE(MatchesGolden(
        FormulaBitmap("k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.4704", TShapeDrawing::Classic),
        "picture_mean_k"));
    SetFormulaFontSize(8);
    EXPECT_TRUE(MatchesGolden(TFormulaPicture(" ", "diff(x)/diff(t)=0.4704*.!(1000-x)", " ")
                                  .Bitmap(TPictureSurface::Sized, true, TShapeDrawing::Classic),
                              "picture_framed_model"));
}

// The smooth drawing of every kind of outline at the program's size, at device pixel ratios 1
// and 2.
TEST_F(FormulaPicture, SmoothGolden) {
    const struct {
        const char *name, *formula;
    } cases[] = {
        {"brackets", "(1+a/b)*[a/b]+{a/b}+Abs(a/b)"},
        {"root", "Root(3,a+b)+Sqrt(x_i)"},
        {"sum_integral", "Summa(k_i,i=1,n)+Int(f(x)**diff(x),0,1)"},
        {"fraction", "k=(X_(i+1)-X_i)/((S-X_i)*dt)"},
        {"case", "f(x)=Case(x,x>0,-x,x<=0)"},
    };
    for (const auto &c : cases)
        for (int ratio : {1, 2}) {
            TFormulaPicture picture(" ", c.formula, " ");
            const QImage image =
                picture.Bitmap(TPictureSurface::Sized, false, TShapeDrawing::Smooth, ratio);
            EXPECT_EQ(image.size(), QSize(picture.Width(), picture.Height()) * ratio);
            EXPECT_TRUE(MatchesGolden(image, std::string("smooth_") + c.name + "_r" +
                                                 std::to_string(ratio)));
        }
}

namespace {

// The smallest rectangle of the pixels that are not white.
QRect InkBox(const QImage &image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST_F(FormulaPicture, SmoothDrawingKeepsTheClassicGeometryAndCrispStrokes) {
    // Antialiasing may add a faint pixel at an edge, never move an outline.
    for (int points : {6, 10, 16})
        for (const std::string &f : BenchFormulas()) {
            SetFormulaFontSize(points);
            const QRect smooth = InkBox(FormulaBitmap(f, TShapeDrawing::Smooth));
            const QRect classic = InkBox(FormulaBitmap(f, TShapeDrawing::Classic));
            EXPECT_LE((smooth.topLeft() - classic.topLeft()).manhattanLength(), 2) << f;
            EXPECT_LE((smooth.bottomRight() - classic.bottomRight()).manhattanLength(), 2) << f;
        }
    // A fraction bar is whole black rows (one per device pixel of its pen) between white ones,
    // at both ratios: no half-grey row on either side.
    SetFormulaFontSize(10);
    for (int ratio : {1, 2}) {
        TFormulaPicture picture(" ", "a/b", " ");
        const QImage image =
            picture.Bitmap(TPictureSurface::Sized, false, TShapeDrawing::Smooth, ratio);
        auto black = [&](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
        int barTop = -1, barRows = 0, left = 0, right = 0;
        for (int y = 0; y < image.height() && barTop < 0; ++y)
            for (int x = 0; x + 6 * ratio < image.width(); ++x) {
                int end = x;
                while (end < image.width() && black(end, y))
                    ++end;
                if (end - x < 6 * ratio) continue;
                barTop = y;
                left = x;
                right = end - 1;
                break;
            }
        ASSERT_GT(barTop, 0) << ratio;
        while (black(left, barTop + barRows) && black(right, barTop + barRows))
            ++barRows;
        EXPECT_EQ(barRows, ratio);
        for (int x : {left, right}) {
            EXPECT_EQ(image.pixel(x, barTop - 1), qRgb(255, 255, 255)) << ratio;
            EXPECT_EQ(image.pixel(x, barTop + barRows), qRgb(255, 255, 255)) << ratio;
        }
    }
}
