// The Qt drawing surface: metrics from the font tables, the classic pixel coverage of shapes,
// text placement and colour, and the formula engine's line metrics on it. The formula faces
// resolve to DejaVu Sans / DejaVu Serif (FontSetup); DejaVu Sans has 2048 units per em,
// usWinAscent 1901, usWinDescent 483, sTypoAscender 1556, sTypoDescender -492.
#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"
#include "formula/draw/ExprStructs.h"
#include "results/FontSetup.h"
#include "results/QtCanvas.h"
#include "results/QtShapeTiles.h"
#include "runtime/NumText.h"
#include "tests/results/Golden.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TFontData Face(int32_t height, uint8_t style = 0, const char *name = "Comic Sans MS") {
    TFontData d;
    d.Name = name;
    d.Height = height;
    d.Style = style;
    return d;
}

int32_t HalfUp(long double x) {
    return static_cast<int32_t>(std::floor(x + 0.5L));
}

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The box of every pixel that is not the background colour; empty when there is none.
QRect InkBox(const QImage &image, QRgb background = qRgb(255, 255, 255)) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

int CountColour(const QImage &image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

struct QtCanvasTest : ::testing::Test {
    void SetUp() override { InstallFontSubstitutions(); }
};

} // namespace

TEST_F(QtCanvasTest, TextMetricsComeFromTheFontTables) {
    TQtCanvas canvas;
    EXPECT_EQ(canvas.DpiX(), 96);
    EXPECT_EQ(canvas.DpiY(), 96);
    for (int32_t em : {8, 11, 13, 40}) {
        canvas.SetFont(Face(-em));
        const TTextMetrics tm = canvas.TextMetrics();
        EXPECT_EQ(tm.Ascent, HalfUp(1901.0L * em / 2048)) << em;
        EXPECT_EQ(tm.Descent, HalfUp(483.0L * em / 2048)) << em;
        EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
        EXPECT_EQ(tm.InternalLeading, tm.Height - em);
        const TOutlineTextMetrics om = canvas.OutlineTextMetrics();
        EXPECT_EQ(om.Ascent, HalfUp(1556.0L * em / 2048)) << em;
        EXPECT_EQ(om.Descent, HalfUp(-492.0L * em / 2048)) << em;
        EXPECT_EQ(om.EmSquare, 2048u);
        // The extent's height is the cell whatever the text, even for no text.
        EXPECT_EQ(canvas.TextExtent("x").cy, tm.Height);
        EXPECT_EQ(canvas.TextExtent("").cy, tm.Height);
        EXPECT_EQ(canvas.TextExtent("").cx, 0);
        EXPECT_EQ(canvas.TextExtentW(u"\u222B").cy, tm.Height);
    }
    // A positive height is the cell: ascent + descent come out at it (to rounding).
    for (int32_t cell = 8; cell <= 60; ++cell) {
        canvas.SetFont(Face(cell));
        EXPECT_NEAR(canvas.TextMetrics().Height, cell, 1) << cell;
    }
    // The serif face has its own tables.
    canvas.SetFont(Face(-13, 0, "Times New Roman"));
    EXPECT_GT(canvas.TextMetrics().Height, 13);
}

TEST_F(QtCanvasTest, TextWidthsAndTheTwoEncodings) {
    TQtCanvas canvas;
    canvas.SetFont(Face(-13));
    const int32_t x = canvas.TextWidth("x"), xx = canvas.TextWidth("xxxxxxxxxx");
    EXPECT_GT(x, 0);
    EXPECT_NEAR(xx, 10 * x, 10); // fractional advances add up along a text
    // The same text as Windows-1251 bytes and as UTF-16 measures the same.
    EXPECT_EQ(canvas.TextWidth("\xC0\xE1\xB7"), canvas.TextExtentW(u"Аб·").cx);
    EXPECT_GT(canvas.TextExtentW(u"\u03B1\u03B2").cx, 0);
    // Bold and bigger fonts are wider; the colour changes no measurement.
    const int32_t plain = canvas.TextWidth("Width");
    canvas.SetFont(Face(-13, fsBold));
    EXPECT_GT(canvas.TextWidth("Width"), plain);
    TFontData red = Face(-13);
    red.Color = 0x0000FF;
    canvas.SetFont(red);
    EXPECT_EQ(canvas.TextWidth("Width"), plain);
    canvas.SetFont(Face(-26));
    EXPECT_GT(canvas.TextWidth("Width"), plain);
    // A fresh cache measures the same.
    ClearQtFontCache();
    canvas.SetFont(Face(-13));
    EXPECT_EQ(canvas.TextWidth("Width"), plain);
}

TEST_F(QtCanvasTest, ABCWidthsAreBearings) {
    TQtCanvas canvas;
    for (uint8_t style : {uint8_t{0}, uint8_t{fsItalic}, uint8_t{fsBold | fsItalic}}) {
        canvas.SetFont(Face(-20, style));
        for (unsigned char c : std::string("AfxW_+<\xC0\xDF\xE9")) {
            TABC abc;
            ASSERT_TRUE(canvas.CharABCWidths(c, abc)) << int(c);
            EXPECT_EQ(abc.A + static_cast<int32_t>(abc.B) + abc.C,
                      canvas.TextWidth(std::string(1, static_cast<char>(c))))
                << int(c) << " style " << int(style);
            EXPECT_GT(abc.B, 0u) << int(c);
        }
    }
    // The italic f overhangs to the right: the case the atoms correct for.
    canvas.SetFont(Face(-20, fsItalic));
    TABC f;
    ASSERT_TRUE(canvas.CharABCWidths('f', f));
    EXPECT_LT(f.C, 0);

    // The 8-bit query knows only bytes; the unassigned byte fails too.
    TABC abc;
    EXPECT_FALSE(canvas.CharABCWidths(256, abc));
    EXPECT_FALSE(canvas.CharABCWidths(945, abc));
    EXPECT_FALSE(canvas.CharABCWidths(0x98, abc));
    TGlyphMetrics gm;
    EXPECT_FALSE(canvas.GlyphMetrics(8722, gm));
}

TEST_F(QtCanvasTest, GlyphBoxesAreTheInk) {
    TQtCanvas canvas;
    for (int32_t em : {13, 30}) {
        canvas.SetFont(Face(-em));
        const int32_t ascent = canvas.TextMetrics().Ascent;
        for (char c : std::string("+_H")) {
            TGlyphMetrics gm;
            ASSERT_TRUE(canvas.GlyphMetrics(static_cast<unsigned char>(c), gm));
            EXPECT_GT(gm.BlackBoxX, 0u);
            EXPECT_GT(gm.BlackBoxY, 0u);
            // The box is exactly the painted ink (baseline at the cell top + ascent).
            QImage image = White(3 * em, 3 * em);
            {
                QPainter p(&image);
                canvas.SetPainter(&p);
                canvas.TextOut(em, em, std::string(1, c));
                canvas.SetPainter(nullptr);
            }
            const QRect ink = InkBox(image);
            const QRect box(em + gm.GlyphOrigin.X, em + ascent - gm.GlyphOrigin.Y,
                            static_cast<int>(gm.BlackBoxX), static_cast<int>(gm.BlackBoxY));
            EXPECT_EQ(box, ink) << c << " em " << em;
        }
        // "+" sits on the baseline, "_" below it.
        TGlyphMetrics plus, low;
        canvas.GlyphMetrics('+', plus);
        canvas.GlyphMetrics('_', low);
        EXPECT_GT(plus.GlyphOrigin.Y, 0);
        EXPECT_LE(low.GlyphOrigin.Y, 0);
    }
}

TEST_F(QtCanvasTest, LineMetricsOfTheFormulaFont) {
    TQtCanvas canvas;
    for (int points : {6, 8, 10}) {
        TExprFont font;
        font.SetName("Comic Sans MS");
        font.SetSize(points);
        EXPECT_EQ(font.Height(), -MulDiv(points, 96, 72));
        TExprSimple node("x");
        node.SetCanvas(&canvas);
        node.SetFont(font);
        EXPECT_GT(node.PenWidthY(), 0) << points;
        EXPECT_GT(node.PenWidthX(), 0) << points;
        canvas.SetFont(font.Data());
        const long double plus = canvas.TextHeight("+");
        EXPECT_EQ(node.UnitX(), plus / 27.6L) << points;
        EXPECT_EQ(node.UnitY(), node.UnitX());
    }
    // At another resolution the vertical unit and the vertical strokes follow it.
    TQtCanvas dense(nullptr, 96, 192);
    TExprSimple node("x");
    node.SetCanvas(&dense);
    node.SetFont(TExprFont(Face(-40)));
    EXPECT_EQ(node.UnitY(), 2 * node.UnitX());
    EXPECT_EQ(node.PenWidthX(), Round32(node.PenWidthY() / 2.0L));
}

TEST_F(QtCanvasTest, ShapesHaveTheClassicCoverage) {
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    QImage image = White(20, 16);
    QPainter p(&image);
    TQtCanvas canvas(&p);

    // FillRect: columns 2..6, rows 3..5, brush only.
    canvas.SetPen(TPenStyle::Solid, 1, 0xFF0000);
    canvas.SetBrush(TBrushStyle::Solid, 0x0000FF);
    canvas.FillRect(2, 3, 7, 6);
    EXPECT_EQ(InkBox(image), QRect(QPoint(2, 3), QPoint(6, 5)));
    EXPECT_EQ(CountColour(image, red), 15);
    canvas.FillRect(7, 3, 7, 9); // empty
    canvas.FillRect(9, 3, 8, 9); // inverted: nothing, as the classic call
    EXPECT_EQ(CountColour(image, red), 15);

    // Rectangle: the one-pixel frame in the pen colour inside the same cover.
    image.fill(Qt::white);
    canvas.Rectangle(2, 3, 8, 8);
    EXPECT_EQ(InkBox(image), QRect(QPoint(2, 3), QPoint(7, 7)));
    EXPECT_EQ(CountColour(image, blue), 2 * 6 + 2 * 3);
    EXPECT_EQ(CountColour(image, red), 4 * 3);
    EXPECT_EQ(image.pixel(2, 3), blue);
    EXPECT_EQ(image.pixel(3, 4), red);
    // A frame with no fill.
    image.fill(Qt::white);
    canvas.SetBrush(TBrushStyle::Clear, 0);
    canvas.Rectangle(2, 3, 8, 8);
    EXPECT_EQ(CountColour(image, blue), 18);
    EXPECT_EQ(image.pixel(4, 5), qRgb(255, 255, 255));
    canvas.FillRect(0, 0, 20, 16); // a clear brush fills nothing
    EXPECT_EQ(CountColour(image, blue), 18);

    // Ellipse: the same box, outline and fill.
    image.fill(Qt::white);
    canvas.SetBrush(TBrushStyle::Solid, 0x0000FF);
    canvas.Ellipse(1, 2, 12, 10);
    EXPECT_EQ(InkBox(image), QRect(QPoint(1, 2), QPoint(11, 9)));
    EXPECT_EQ(image.pixel(6, 6), red);
    EXPECT_EQ(image.pixel(1, 2), qRgb(255, 255, 255)); // corners stay free
    // Without a pen it still covers the same box.
    image.fill(Qt::white);
    canvas.SetPen(TPenStyle::Clear, 1, 0);
    canvas.Ellipse(1, 2, 12, 10);
    EXPECT_EQ(InkBox(image), QRect(QPoint(1, 2), QPoint(11, 9)));

    // Polygon: filled with the outline through its vertices.
    image.fill(Qt::white);
    canvas.SetPen(TPenStyle::Solid, 1, 0xFF0000);
    const TPoint triangle[] = {{2, 2}, {12, 2}, {2, 12}};
    canvas.Polygon(triangle);
    EXPECT_EQ(InkBox(image), QRect(QPoint(2, 2), QPoint(12, 12)));
    EXPECT_EQ(image.pixel(3, 3), red);
    EXPECT_EQ(image.pixel(11, 11), qRgb(255, 255, 255));

    // A line leaves its end point out; a line to its start draws nothing.
    image.fill(Qt::white);
    canvas.MoveTo(1, 1);
    canvas.LineTo(6, 1);
    canvas.LineTo(6, 1);
    canvas.MoveTo(3, 5);
    canvas.LineTo(3, 9);
    EXPECT_EQ(CountColour(image, blue), 5 + 4);
    EXPECT_EQ(image.pixel(6, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 9), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 5), blue);
}

TEST_F(QtCanvasTest, BezierPathsFillWithTheAlternateRule) {
    const QRgb red = qRgb(255, 0, 0);
    QImage image = White(30, 30);
    QPainter p(&image);
    TQtCanvas canvas(&p);
    canvas.SetPen(TPenStyle::Solid, 1, 0x0000FF);
    canvas.SetBrush(TBrushStyle::Solid, 0x0000FF);
    // Two nested squares of straight Bezier segments: the inner one is a hole.
    auto square = [](int32_t l, int32_t t, int32_t r, int32_t b) {
        std::vector<TPoint> pts = {{l, t}};
        const TPoint corners[] = {{r, t}, {r, b}, {l, b}, {l, t}};
        TPoint from{l, t};
        for (const TPoint &to : corners) {
            pts.push_back(from);
            pts.push_back(to);
            pts.push_back(to);
            from = to;
        }
        return pts;
    };
    canvas.BeginPath();
    auto outer = square(2, 2, 27, 27), inner = square(10, 10, 19, 19);
    canvas.PolyBezier(outer);
    canvas.CloseFigure();
    canvas.PolyBezier(inner);
    canvas.CloseFigure();
    canvas.EndPath();
    EXPECT_EQ(CountColour(image, red), 0); // nothing painted before StrokeAndFillPath
    canvas.StrokeAndFillPath();
    EXPECT_EQ(image.pixel(5, 5), red);
    EXPECT_EQ(image.pixel(14, 14), qRgb(255, 255, 255));
    EXPECT_EQ(InkBox(image), QRect(QPoint(2, 2), QPoint(27, 27)));
    // The path is gone afterwards.
    image.fill(Qt::white);
    canvas.StrokeAndFillPath();
    EXPECT_EQ(CountColour(image, red), 0);
}

TEST_F(QtCanvasTest, TextIsTransparentAtTheCellTopInItsColour) {
    const QRgb green = qRgb(0, 255, 0), red = qRgb(255, 0, 0);
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(green);
    QPainter p(&image);
    TQtCanvas canvas(&p);
    TFontData d = Face(-40);
    d.Color = 0x0000FF;
    canvas.SetFont(d);
    canvas.TextOut(10, 5, "HI");
    const QRect ink = InkBox(image, green);
    const TSize extent = canvas.TextExtent("HI");
    TGlyphMetrics h;
    canvas.GlyphMetrics('H', h);
    // Ink only inside the text's cell; the cell's blank stays the background.
    EXPECT_TRUE(QRect(10, 5, extent.cx, extent.cy).contains(ink));
    EXPECT_NEAR(ink.top(), 5 + canvas.TextMetrics().Ascent - h.GlyphOrigin.Y, 1);
    EXPECT_EQ(image.pixel(10, 5), green);
    // The stems of "H" are solid in the font colour.
    EXPECT_GT(CountColour(image, red), 40);
    // Aliasing of shapes does not leak into text: text keeps its grey levels.
    int mixed = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            mixed += c != green && c != red;
        }
    EXPECT_GT(mixed, 0);
}

TEST_F(QtCanvasTest, EscapementTurnsTextAboutItsPoint) {
    QImage image = White(200, 120);
    QPainter p(&image);
    TQtCanvas canvas(&p);
    TFontData d = Face(-30);
    d.Escapement = 1800;
    canvas.SetFont(d);
    const TSize extent = canvas.TextExtent("Ly");
    canvas.TextOut(100, 60, "Ly");
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    // Upside down about (100, 60): the cell lies left of and above the point.
    EXPECT_TRUE(QRect(100 - extent.cx, 60 - extent.cy, extent.cx + 1, extent.cy + 1).contains(ink));
    // The descender of "y" now points up: it is in the upper part of the cell.
    EXPECT_LT(ink.top(), 60 - canvas.TextMetrics().Ascent + 2);
    // The same text unturned lies right of and below.
    image.fill(Qt::white);
    d.Escapement = 0;
    canvas.SetFont(d);
    canvas.TextOut(100, 60, "Ly");
    EXPECT_TRUE(QRect(100, 60, extent.cx, extent.cy).contains(InkBox(image)));
}

TEST_F(QtCanvasTest, BadInputIsHarmless) {
    QImage image = White(40, 40);
    QPainter p(&image);
    TQtCanvas canvas(&p);
    const int32_t big = std::numeric_limits<int32_t>::max(),
                  low = std::numeric_limits<int32_t>::min();
    canvas.SetBrush(TBrushStyle::Solid, 0x000000);
    canvas.SetPen(TPenStyle::Solid, 1, 0x000000);
    canvas.FillRect(low, low, big, big);
    EXPECT_EQ(CountColour(image, qRgb(0, 0, 0)), 40 * 40); // clipped to the image
    canvas.Rectangle(big, big, low, low);
    canvas.Ellipse(low, low, big, big);
    const TPoint far[] = {{low, low}, {big, low}, {big, big}};
    canvas.Polygon(far);
    canvas.MoveTo(low, low);
    canvas.LineTo(big, big);
    canvas.BeginPath();
    const TPoint curve[] = {{low, 0}, {big, 0}, {0, big}, {0, low}, {5, 5}}; // one point extra
    canvas.PolyBezier(curve);
    canvas.StrokeAndFillPath();
    canvas.Polygon(std::span<const TPoint>());
    canvas.PolyBezier(std::span<const TPoint>());

    // Fonts far outside any sensible size, empty and unknown faces.
    for (int32_t h : {low, -1, 0, 1, big}) {
        canvas.SetFont(Face(h));
        EXPECT_GT(canvas.TextMetrics().Height, 0) << h;
        canvas.TextOut(big, low, "x");
        canvas.TextOutW(0, 0, u"\xD800"); // a lone surrogate
    }
    canvas.SetFont(Face(-13, 0, ""));
    EXPECT_GT(canvas.TextWidth("x"), 0);
    canvas.SetFont(Face(-13, 0, "\xCD\xE5\xF2 \xF2\xE0\xEA\xEE\xE3\xEE")); // Cyrillic name
    EXPECT_GT(canvas.TextWidth("x"), 0);
    canvas.TextOut(0, 0, std::string("\0\x98\n\t", 4));

    // Without a painter only measuring works.
    TQtCanvas measuring;
    measuring.SetFont(Face(-13));
    measuring.TextOut(0, 0, "x");
    measuring.FillRect(0, 0, 10, 10);
    EXPECT_GT(measuring.TextWidth("x"), 0);
}

TEST_F(QtCanvasTest, PaintsOnPdfAndSvg) {
    TExprChain chain(std::make_unique<TExprVar>("x"));
    chain.Son()->AddNext(std::make_unique<TExprSign>(esPlusMinus));
    chain.Son()->AddNext(std::make_unique<TExprNumber>(1500, true));
    const TExprFont font(Face(-20));
    auto paintOn = [&](QPaintDevice &device) {
        QPainter p(&device);
        TQtCanvas canvas(&p);
        chain.SetCanvas(&canvas);
        chain.SetFont(font);
        chain.Draw(10, 10, 0, 0);
        chain.SetCanvas(nullptr);
    };

    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        paintOn(writer);
    }
    EXPECT_TRUE(pdf.startsWith("%PDF"));

    QByteArray svg;
    {
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(96);
        generator.setSize(QSize(300, 100));
        paintOn(generator);
    }
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_GT(svg.size(), 500);
}

// x² + 1,5·10⁻³ − αβ: the atoms, a superscript and the signs in one row.
TEST_F(QtCanvasTest, GoldenIssueChain) {
    auto power = std::make_unique<TExprIndex>(std::make_unique<TExprVar>("x"), nullptr,
                                              std::make_unique<TExprNumber>(2, false));
    TExprChain chain(std::move(power));
    TExprClass *first = chain.Son();
    first->AddNext(std::make_unique<TExprSign>('+'));
    first->AddNext(std::make_unique<TExprNumber>(0.0015L, true));
    first->AddNext(std::make_unique<TExprSign>(8722));
    first->AddNext(std::make_unique<TExprExtSymbol>(945));
    first->AddNext(std::make_unique<TExprExtSymbol>(946));
    EXPECT_TRUE(MatchesGolden(RenderExpr(chain, 10), "atoms_chain"));
}

// Every composed sign between letters, large enough to check the strokes by eye.
TEST_F(QtCanvasTest, GoldenSigns) {
    TExprChain chain(std::make_unique<TExprVar>("a"));
    const uint16_t codes[] = {esMuchLess,      esMuchGreater, esApproxLess,  esApproxGreater,
                              esPlusMinus,     esMinusPlus,   esAlmostEqual, esParallel,
                              esPerpendicular, esAngle,       8800,          8734};
    char letter = 'b';
    for (uint16_t code : codes) {
        chain.Son()->AddNext(std::make_unique<TExprSign>(code));
        chain.Son()->AddNext(std::make_unique<TExprVar>(std::string(1, letter++)));
    }
    chain.Son()->AddNext(std::make_unique<TExprPlank>());
    EXPECT_TRUE(MatchesGolden(RenderExpr(chain, 16), "atoms_signs"));
}

TEST_F(QtCanvasTest, GoldenMismatchWritesActualAndDiff) {
    TExprSimple text("Ab");
    QImage image = RenderExpr(text, 10);
    const std::string dir = ZELVANO_TEST_OUTPUT_DIR;
    QDir().mkpath(QString::fromStdString(dir));
    const std::string golden = dir + "/golden_probe.png";
    ASSERT_TRUE(image.save(QString::fromStdString(golden), "PNG"));
    EXPECT_TRUE(MatchesGoldenFile(image, golden, "golden_probe"));

    QFile::remove(QString::fromStdString(dir + "/golden_probe.diff.png"));
    QImage changed = image;
    changed.setPixel(1, 2, qRgb(0, 0, 0));
    EXPECT_FALSE(MatchesGoldenFile(changed, golden, "golden_probe"));
    QImage diff(QString::fromStdString(dir + "/golden_probe.diff.png"));
    ASSERT_FALSE(diff.isNull());
    EXPECT_EQ(diff.pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(CountColour(diff, qRgb(255, 0, 0)), 1);
    EXPECT_EQ(QImage(QString::fromStdString(dir + "/golden_probe.actual.png"))
                  .convertToFormat(QImage::Format_RGB32),
              changed);

    // Another size is a mismatch too; a missing golden fails.
    EXPECT_FALSE(MatchesGoldenFile(image.copy(0, 0, 5, 5), golden, "golden_probe"));
    EXPECT_FALSE(MatchesGoldenFile(image, dir + "/no_such_golden.png", "golden_probe"));
}

// The tile cache keeps the tiles used last and never holds more bytes than its bound.
TEST(ShapeTiles, TheLeastRecentlyUsedGoFirstAndTheBytesStayBounded) {
    auto tile = [](int side) {
        QImage t(side, side, QImage::Format_ARGB32_Premultiplied);
        t.fill(Qt::red);
        return t;
    };
    const qsizetype bytes = tile(16).sizeInBytes();
    TTileCache cache(3 * bytes + bytes / 2); // room for three
    ASSERT_NE(cache.Insert("a", tile(16)), nullptr);
    cache.Insert("b", tile(16));
    cache.Insert("c", tile(16));
    ASSERT_NE(cache.Find("a"), nullptr); // used again: b is now the oldest
    cache.Insert("d", tile(16));
    EXPECT_EQ(cache.Find("b"), nullptr);
    for (const char *kept : {"a", "c", "d"})
        EXPECT_NE(cache.Find(kept), nullptr) << kept;
    EXPECT_EQ(cache.Bytes(), 3 * bytes);

    // A tile larger than the whole bound is not kept and pushes nothing out.
    EXPECT_EQ(cache.Insert("huge", tile(64)), nullptr);
    EXPECT_EQ(cache.Bytes(), 3 * bytes);

    // Many tiles of mixed sizes: the bound holds throughout, and the newest tile is always there.
    for (int i = 0; i < 500; ++i) {
        const QByteArray key = QByteArray::number(i);
        const QImage *kept = cache.Insert(key, tile(4 + i % 13));
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->width(), 4 + i % 13);
        EXPECT_LE(cache.Bytes(), cache.MaxBytes());
    }
}
