// Text atoms, numbers, symbols and signs on the recording canvas. Expected values are worked
// out from the recording canvas's fixed metrics (see RecordingCanvas.h): a font of height -52
// has em 52, ascent 52, descent 13, cell 65, every character 26 wide, PenWidthY 4.
#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"
#include "tests/support/FixedNode.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace {

constexpr int32_t H = -52;
constexpr int32_t Cell = 65;
constexpr int32_t Adv = 26;
constexpr int32_t Ascent = 52;
constexpr int32_t Descent = 13;

// Banker's rounding of the expected values, independent of the code under test.
int32_t R(long double x) {
    return static_cast<int32_t>(std::nearbyint(x));
}

// Prepares a node as a picture's root is prepared: canvas, then font.
template <class T> T &Prepare(T &node, TRecordingCanvas &canvas, int32_t height = H) {
    node.SetCanvas(&canvas);
    node.SetFont(TestFont(height));
    return node;
}

std::u16string U(const char16_t *s) {
    return s;
}

} // namespace

TEST(ExprAtoms, SimpleTextWidthKeepsOverhangsInside) {
    TRecordingCanvas canvas;
    TExprSimple plain("abc");
    Prepare(plain, canvas);
    EXPECT_EQ(plain.Width(), 3 * Adv);
    EXPECT_EQ(plain.Height(), Cell);
    EXPECT_EQ(plain.MidLineUp(), Cell / 2);

    // An overhang on the left widens the box and moves the text right; one on the right only
    // widens the box.
    canvas.SetABC('a', TABC{-3, 29, 0});
    canvas.SetABC('c', TABC{0, 28, -2});
    TExprSimple slanted("abc");
    Prepare(slanted, canvas);
    EXPECT_EQ(slanted.Width(), 3 * Adv + 3 + 2);
    canvas.Clear();
    slanted.Draw(100, 40, 0, 0);
    auto out = canvas.CallsOf("TextOut");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Args, (std::vector<int32_t>{103, 40}));
    EXPECT_EQ(out[0].Text, U(u"abc"));

    // Positive bearings are not corrections.
    canvas.SetABC('x', TABC{2, 20, 4});
    TExprSimple positive("x");
    Prepare(positive, canvas);
    EXPECT_EQ(positive.Width(), Adv);

    // A character whose query fails (0x98 is unassigned) gets no correction.
    TExprSimple unassigned("\x98");
    Prepare(unassigned, canvas);
    EXPECT_EQ(unassigned.Width(), Adv);
}

TEST(ExprAtoms, EmptyTextPaintsNothing) {
    TRecordingCanvas canvas;
    TExprSimple simple("");
    TExprVar var("");
    Prepare(simple, canvas);
    Prepare(var, canvas);
    EXPECT_EQ(simple.Width(), 0);
    EXPECT_EQ(var.Width(), 0);
    EXPECT_EQ(simple.CapDY(), 0);
    EXPECT_EQ(var.CapDXLeft(), 0);
    EXPECT_EQ(var.CapDXRight(), 0);
    EXPECT_EQ(var.PowerX(), 0);
    EXPECT_EQ(var.IndexX(), 0);
    canvas.Clear();
    simple.Draw(0, 0, 0, 0);
    var.Draw(0, 0, 0, 0);
    EXPECT_TRUE(canvas.CallsOf("TextOut").empty());
}

// The room an accent may take above a letter follows the letter's shape: capitals and letters
// with ascenders leave the least (and those with a mark above even less), x-height letters the
// most, Latin, Cyrillic and Greek alike; only the first character counts, and anything but a
// letter leaves none.
TEST(ExprAtoms, RoomAboveLettersFollowsTheirShape) {
    TRecordingCanvas canvas;
    auto room = [&](const std::string &text) {
        TExprSimple s(text);
        Prepare(s, canvas);
        return s.CapDY();
    };
    auto greek = [&](uint16_t code) {
        TExprExtSymbol s(code);
        Prepare(s, canvas);
        return s.CapDY();
    };
    const int32_t capital = room("A"), xHeight = room("a");
    EXPECT_GT(capital, 0);
    EXPECT_GT(xHeight, capital);
    for (int c = 1; c < 256; ++c) {
        const std::string ch(1, static_cast<char>(c));
        const bool letter = std::isalpha(c) || c == 0xA8 || c == 0xB8 || c >= 0xC0;
        EXPECT_EQ(room(ch) > 0, letter) << c;
        EXPECT_EQ(room(ch + "xÉ"), room(ch)) << c;
    }
    // Case pairs: Latin, Cyrillic, and Ё/ё.
    std::vector<std::pair<int, int>> pairs = {{0xA8, 0xB8}};
    for (int c = 'A'; c <= 'Z'; ++c)
        pairs.emplace_back(c, c + 32);
    for (int c = 0xC0; c <= 0xDF; ++c)
        pairs.emplace_back(c, c + 32);
    for (const auto &[upper, lower] : pairs) {
        const std::string u(1, static_cast<char>(upper)), l(1, static_cast<char>(lower));
        const bool markAbove = upper == 0xA8 || upper == 0xC9; // Ё, Й
        EXPECT_EQ(room(u) < capital, markAbove) << upper;
        EXPECT_GE(room(l), room(u)) << lower;
        const bool ascender = std::string_view("bdfhkl").find(char(lower)) != std::string::npos;
        EXPECT_EQ(room(l) == capital, ascender) << lower;
    }
    // Greek: the capitals as the Latin ones, each small letter at least as much as its capital.
    for (uint16_t code = 913; code <= 937; ++code) {
        if (code == 930) continue; // no capital final sigma
        EXPECT_EQ(greek(code), capital) << code;
        EXPECT_GE(greek(code + 32), greek(code)) << code + 32;
    }
}

TEST(ExprAtoms, VarIsItalic) {
    TRecordingCanvas canvas;
    TExprVar f("f");
    f.SetColor(0x0000FF);
    Prepare(f, canvas);
    const long double ux = f.UnitX();
    EXPECT_EQ(f.CapDXLeft(), R(5 * ux));
    EXPECT_EQ(f.CapDXRight(), R(5.5L * ux));
    EXPECT_EQ(f.PowerX(), f.Width() + R(2 * ux));
    EXPECT_EQ(f.IndexX(), f.Width() - R(3 * ux));
    EXPECT_EQ(f.CapDY(), R(4 * f.UnitY())); // the upright table of TExprSimple
    canvas.Clear();
    f.Draw(0, 0, 0, 0);
    auto out = canvas.CallsOf("TextOut");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(out[0].Font.Style & fsItalic);
    EXPECT_EQ(out[0].Font.Color, 0x0000FFu);
    EXPECT_FALSE(f.Font().Style() & fsItalic); // the node's own font stays upright
}

// The accent shifts and script positions of an italic name: the left shift by its first
// character, the right one and the scripts by its last; a subscript starts under the letter and a
// superscript at or after its end; shifts stay within the letter, and outside "A".."z" there are
// none.
TEST(ExprAtoms, VarScriptsAndAccentsFollowTheEndCharacters) {
    TRecordingCanvas canvas;
    struct TPlace {
        int32_t Left, Right, Power, Index;
    };
    auto place = [&](const std::string &text) {
        TExprVar v(text);
        Prepare(v, canvas);
        return TPlace{v.CapDXLeft(), v.CapDXRight(), v.PowerX() - v.Width(),
                      v.IndexX() - v.Width()};
    };
    for (int c = 1; c < 256; ++c) {
        const std::string ch(1, static_cast<char>(c));
        const TPlace p = place(ch);
        EXPECT_LT(p.Index, 0) << c;
        EXPECT_GE(p.Power, 0) << c;
        for (int32_t shift : {p.Left, p.Right, p.Power, p.Index})
            EXPECT_LT(std::abs(shift), Adv) << c;
        if (c < 'A' || c > 'z') {
            EXPECT_EQ(p.Left, 0) << c;
            EXPECT_EQ(p.Right, 0) << c;
        }
        for (const char *other : {"A", "x", "1"}) {
            const TPlace first = place(ch + other), last = place(other + ch);
            EXPECT_EQ(first.Left, p.Left) << c << other;
            EXPECT_EQ(last.Right, p.Right) << other << c;
            EXPECT_EQ(last.Power, p.Power) << other << c;
            EXPECT_EQ(last.Index, p.Index) << other << c;
        }
    }
}

TEST(ExprAtoms, NumberTextsSplitIntoMantissaAndExponent) {
    struct TCase {
        long double Value;
        bool ExpForm;
        const char *Mantissa, *Exponent;
    };
    const TCase cases[] = {
        {1500, true, "1,5", "3"},      {1000, true, "1", "3"},
        {0.00001L, true, "1", "-5"},   {-1500, true, "-1,5", "3"},
        {5, true, "5", "0"},           {0, true, "0", "0"},
        {2.5L, false, "2,5", ""},      {0, false, "0", ""},
        {123456, false, "123456", ""}, {1e20L, false, "1", "20"},
        {1.5e-6L, false, "1,5", "-6"}, {-2.25e-7L, false, "-2,25", "-7"},
    };
    for (const TCase &c : cases) {
        TExprNumber n(c.Value, c.ExpForm);
        EXPECT_EQ(n.Mantissa(), c.Mantissa) << static_cast<double>(c.Value);
        EXPECT_EQ(n.Exponent(), c.Exponent) << static_cast<double>(c.Value);
        EXPECT_EQ(n.Value(), c.Value);
    }

    // Values the formats cannot write as digits keep their text and do not break anything.
    TExprNumber inf(std::numeric_limits<long double>::infinity(), false);
    EXPECT_EQ(inf.Mantissa(), "INF");
    TExprNumber nan(std::numeric_limits<long double>::quiet_NaN(), true);
    EXPECT_FALSE(nan.Mantissa().empty());
    TRecordingCanvas canvas;
    Prepare(nan, canvas);
    EXPECT_GT(nan.Width(), 0);
}

TEST(ExprAtoms, NumberSetValueRebuildsAndInvalidates) {
    TRecordingCanvas canvas;
    TExprNumber n(2, false);
    Prepare(n, canvas);
    EXPECT_EQ(n.Width(), Adv);
    EXPECT_EQ(n.MidLineUp(), Cell / 2);
    EXPECT_EQ(n.CapDY(), R(8 * n.UnitY()));
    const uint32_t before = n.ValidMask();
    ASSERT_EQ(before & (vmWidth | vmHeight | vmCapDY), 0u);

    n.SetValue(2); // the value already held: nothing is rebuilt, nothing becomes stale
    EXPECT_EQ(n.ValidMask(), before);

    n.SetValue(6);
    EXPECT_EQ(n.Mantissa(), "6");
    EXPECT_NE(n.ValidMask() & vmWidth, 0u);
    EXPECT_NE(n.ValidMask() & vmHeight, 0u);
    EXPECT_NE(n.ValidMask() & vmCapDY, 0u);

    // A product that needs a power of ten: the axis row and the height follow the new text.
    n.SetValue(3e21L);
    EXPECT_EQ(n.Exponent(), "21");
    EXPECT_EQ(n.Height(), R(1.2L * Cell));
    EXPECT_EQ(n.MidLineUp(), R(0.2L * Cell) + Cell / 2);
    EXPECT_EQ(n.CapDY(), R(3 * n.UnitY()));
}

TEST(ExprAtoms, NumberWithPowerOfTenGeometry) {
    TRecordingCanvas canvas;
    TExprNumber plain(15, false);
    TExprNumber n(1500, true);
    Prepare(plain, canvas);
    Prepare(n, canvas);
    const int32_t d = R(0.2L * Cell);  // 13: how far the power of ten is lowered
    const int32_t small = R(H * 0.7L); // -36: the exponent's font
    const int32_t smallAdv = TRecordingCanvas::Advance(small);

    EXPECT_EQ(plain.Height(), Cell);
    EXPECT_EQ(n.Height(), R(1.2L * Cell));
    EXPECT_EQ(n.MidLineUp(), d + Cell / 2);
    EXPECT_EQ(n.MidLineDn(), -((Cell - 1) / 2));
    EXPECT_EQ(n.Height(), n.MidLineUp() - n.MidLineDn() + 1);
    EXPECT_EQ(n.MidLineUp() - plain.MidLineUp(), d); // the axis is lowered with the digits
    EXPECT_EQ(n.Width(), 6 * Adv + smallAdv);        // "1,5·10" and "3"

    canvas.Clear();
    n.Draw(10, 20, 0, 0);
    auto out = canvas.CallsOf("TextOut");
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].Text, U(u"1,5\u00B710"));
    EXPECT_EQ(out[0].Args, (std::vector<int32_t>{10, 20 + d}));
    EXPECT_EQ(out[0].Font.Height, H);
    EXPECT_EQ(out[1].Text, U(u"3"));
    EXPECT_EQ(out[1].Args, (std::vector<int32_t>{10 + 6 * Adv, 20}));
    EXPECT_EQ(out[1].Font.Height, small);

    // A mantissa of 1 shows only the power of ten.
    TExprNumber thousand(1000, true);
    Prepare(thousand, canvas);
    EXPECT_EQ(thousand.Width(), 2 * Adv + smallAdv);
    canvas.Clear();
    thousand.Draw(0, 0, 0, 0);
    out = canvas.CallsOf("TextOut");
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].Text, U(u"10"));
    EXPECT_EQ(out[1].Text, U(u"3"));
    EXPECT_EQ(out[1].Args[0], 2 * Adv);

    // In a row the plain number's axis meets the lowered one.
    TExprChain row(std::make_unique<TExprNumber>(15, false));
    row.Son()->AddNext(std::make_unique<TExprNumber>(1500, true));
    Prepare(row, canvas);
    canvas.Clear();
    row.Draw(0, 0, 0, 0);
    out = canvas.CallsOf("TextOut");
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].Args[1], d); // "15" moved down to the common axis
    EXPECT_EQ(out[1].Args[1], d); // "1,5·10" lowered within its box at the top
    EXPECT_EQ(out[2].Args[1], 0); // the exponent at the top of the row
    EXPECT_EQ(row.Height(), n.Height());
}

TEST(ExprAtoms, NumberFactorFlags) {
    EXPECT_EQ(TExprNumber(3, false).FactorFlags(), 2u);
    EXPECT_EQ(TExprNumber(0, false).FactorFlags(), 2u);
    EXPECT_EQ(TExprNumber(-3, false).FactorFlags(), 6u);
    EXPECT_EQ(TExprNumber(-1e-30L, true).FactorFlags(), 6u);
}

TEST(ExprAtoms, ExpNumberChoosesItsFormByMagnitude) {
    struct TCase {
        long double Value;
        int32_t Precision, Digits, ExpLimit;
        const char *Mantissa, *Exponent;
    };
    const TCase cases[] = {
        {0.0005L, 4, 4, 3, "5", "-4"},                              // log10 = -3.3 <= -3
        {0.005L, 4, 4, 3, "0,005", ""},                             // fixed "0,0050", read back
        {0.00099L, 4, 4, 3, "9,9", "-4"},                           // just below the limit
        {-0.0005L, 4, 4, 3, "-5", "-4"},     {0, 4, 4, 2, "0", ""}, // 0 is always fixed
        {123.456789L, 4, 4, 2, "123,5", ""}, {3.14159L, 3, 1, 2, "3,1", ""},
        {123456, 4, 4, 2, "1,235", "5"},    // too many digits for the precision
        {0.012345L, 3, 2, 1, "1,23", "-2"}, // ExpLimit 1: below 0.1 in exponent form
    };
    for (const TCase &c : cases) {
        TExprExpNumber n(c.Value, c.Precision, c.Digits, c.ExpLimit);
        EXPECT_EQ(n.Mantissa(), c.Mantissa) << static_cast<double>(c.Value);
        EXPECT_EQ(n.Exponent(), c.Exponent) << static_cast<double>(c.Value);
        EXPECT_EQ(n.Precision(), c.Precision);
        EXPECT_EQ(n.ExpLimit(), c.ExpLimit);
    }
    // SetValue goes through the same format.
    TExprExpNumber n(1, 4, 4, 3);
    n.SetValue(0.0002L);
    EXPECT_EQ(n.Mantissa(), "2");
    EXPECT_EQ(n.Exponent(), "-4");

    // Arguments beyond the formats' ranges are clamped, not passed on.
    for (int32_t p : {-5, 0, 100})
        for (int32_t t :
             {std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max()}) {
            TExprExpNumber e(0.000123L, p, 1000, t);
            EXPECT_FALSE(e.Mantissa().empty());
        }
}

TEST(ExprAtoms, ExtSymbolMeasuresItsCode) {
    TRecordingCanvas canvas;
    TExprExtSymbol alpha(945);
    Prepare(alpha, canvas);
    EXPECT_EQ(alpha.Width(), Adv);
    EXPECT_EQ(alpha.Height(), Cell);
    canvas.Clear();
    alpha.Draw(7, 8, 0, 0);
    auto out = canvas.CallsOf("TextOutW");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Text, U(u"\u03B1"));
    EXPECT_EQ(out[0].Args, (std::vector<int32_t>{7, 8}));

    // Codes up to 255 go through the 8-bit ABC query and get its overhang corrections.
    canvas.SetABC('f', TABC{-4, 30, -5});
    TExprExtSymbol f('f');
    Prepare(f, canvas);
    EXPECT_EQ(f.Width(), Adv + 4 + 5);
    canvas.Clear();
    f.Draw(0, 0, 0, 0);
    EXPECT_EQ(canvas.CallsOf("TextOutW")[0].Args[0], 4);
}

TEST(ExprAtoms, ExtSymbolPartialSignAndEllipsis) {
    TRecordingCanvas canvas;
    TExprExtSymbol partial(8706);
    Prepare(partial, canvas);
    EXPECT_EQ(partial.PowerX(), partial.Width() + R(2 * partial.UnitX()));

    // The ellipsis sets no limit worth speaking of: as close to the integer range as it gets.
    TExprExtSymbol ellipsis(8230);
    Prepare(ellipsis, canvas);
    EXPECT_EQ(ellipsis.CapDY(), R(MaxInt - ellipsis.UnitY()));
    TExprExtSymbol tiny(8230);
    Prepare(tiny, canvas, 0); // a zero-height font: UnitY 0
    EXPECT_EQ(tiny.UnitY(), 0);
    EXPECT_EQ(tiny.CapDY(), MaxInt);
}

TEST(ExprAtoms, PlankIsItalicHBar) {
    TRecordingCanvas canvas;
    TExprPlank h;
    EXPECT_EQ(h.Code(), 295);
    Prepare(h, canvas);
    EXPECT_EQ(h.CapDY(), R(4 * h.UnitY()));
    EXPECT_EQ(h.CapDXLeft(), R(h.UnitX()));
    EXPECT_EQ(h.CapDXRight(), R(h.UnitX()));
    canvas.Clear();
    h.Draw(0, 0, 0, 0);
    auto out = canvas.CallsOf("TextOutW");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Text, U(u"\u0127"));
    EXPECT_TRUE(out[0].Font.Style & fsItalic);
}

namespace {

// Signs are tested on a surface twice as dense horizontally, so that PenWidthX (8) and
// PenWidthY (4), UnitX and UnitY all differ and a mix-up shows.
struct TSignTest : ::testing::Test {
    TRecordingCanvas Canvas{192, 96};
    const int32_t V = 8, W = 4;

    TExprSign &Sign(uint16_t code) {
        Node = std::make_unique<TExprSign>(code);
        Node->SetColor(0x00AA00);
        Prepare(*Node, Canvas);
        EXPECT_EQ(Node->PenWidthX(), V);
        EXPECT_EQ(Node->PenWidthY(), W);
        return *Node;
    }
    // Paints s at (x, y); then Of and One read the calls of a kind it made.
    void Paint(TExprSign &s, int32_t x, int32_t y) {
        Canvas.Clear();
        s.Draw(x, y, 0, 0);
    }
    std::vector<TCanvasCall> Of(const char *kind) const { return Canvas.CallsOf(kind); }
    TCanvasCall One(const char *kind) const {
        const auto calls = Canvas.CallsOf(kind);
        EXPECT_EQ(calls.size(), 1u) << kind;
        return calls.empty() ? TCanvasCall{} : calls[0];
    }
    std::unique_ptr<TExprSign> Node;
};

} // namespace

TEST_F(TSignTest, CharacterSignsCarryTheirMargins) {
    TExprSign &eq = Sign('=');
    EXPECT_EQ(eq.Width(), Adv + 4 * V);
    EXPECT_EQ(eq.Height(), Cell);
    EXPECT_EQ(eq.MidLineUp(), Cell / 2);
    EXPECT_EQ(eq.CapDY(), MaxInt);
    Paint(eq, 100, 10);
    const TCanvasCall out = One("TextOutW");
    EXPECT_EQ(out.Args, (std::vector<int32_t>{100 + 2 * V, 10}));
    EXPECT_EQ(out.Font.Color, 0x00AA00u);

    // Bracket forcing and factor flags.
    struct TCase {
        uint16_t Code;
        bool Forces;
        uint32_t Flags;
    };
    const TCase cases[] = {
        {'+', true, 0},  {8722, true, 4},        {esPlusMinus, true, 4}, {esMinusPlus, true, 4},
        {'=', false, 0}, {esMuchLess, false, 0}, {183, false, 0},        {'-', false, 0},
    };
    for (const TCase &c : cases) {
        TExprSign s(c.Code);
        EXPECT_EQ(s.ForcesArgBrackets(), c.Forces) << c.Code;
        EXPECT_EQ(s.FactorFlags(), c.Flags) << c.Code;
    }
}

TEST_F(TSignTest, MuchLessAndMuchGreater) {
    for (uint16_t code : {esMuchLess, esMuchGreater}) {
        TExprSign &s = Sign(code);
        EXPECT_EQ(s.Width(), R(1.7L * Adv) + 4 * V);
        Paint(s, 0, 5);
        const auto out = Of("TextOut");
        ASSERT_EQ(out.size(), 2u);
        const char16_t *glyph = code == esMuchLess ? u"<" : u">";
        EXPECT_EQ(out[0].Text, glyph);
        EXPECT_EQ(out[1].Text, glyph);
        EXPECT_EQ(out[0].Args, (std::vector<int32_t>{2 * V, 5}));
        EXPECT_EQ(out[1].Args, (std::vector<int32_t>{2 * V + R(0.7L * Adv), 5}));
    }
}

TEST_F(TSignTest, ApproximateRelations) {
    for (uint16_t code : {esApproxLess, esApproxGreater}) {
        TExprSign &s = Sign(code);
        EXPECT_EQ(s.Width(), Adv + 4 * V);
        Paint(s, 3, 5);
        const auto out = Of("TextOut");
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[0].Text, code == esApproxLess ? U(u"<") : U(u">"));
        EXPECT_EQ(out[0].Args, (std::vector<int32_t>{3 + 2 * V, 5}));
        EXPECT_EQ(out[1].Text, U(u"~"));
        EXPECT_EQ(out[1].Args, (std::vector<int32_t>{3 + 2 * V, 5 + R(7 * s.UnitY())}));
    }
}

TEST_F(TSignTest, PlusMinusBarIsOnePenBelowTheInk) {
    // The recording canvas's "+" has its ink box 24 wide and 34 high, origin (1, 34).
    const int32_t bw = Adv - 2, bh = 52 * 2 / 3, ox = 1, oy = bh;
    TExprSign &pm = Sign(esPlusMinus);
    EXPECT_EQ(pm.Width(), Adv + 4 * V);
    Paint(pm, 10, 20);
    const int32_t x0 = 10 + 2 * V;
    EXPECT_EQ(One("TextOut").Args, (std::vector<int32_t>{x0, 20 - W}));
    const int32_t inkBottom = 20 - W + Ascent - oy + bh; // first row below the "+" ink
    const TCanvasCall bar = One("FillRect");
    EXPECT_EQ(bar.Args,
              (std::vector<int32_t>{x0 + ox, inkBottom + W, x0 + ox + bw, inkBottom + 2 * W}));
    EXPECT_EQ(bar.BrushColor, 0x00AA00u);
    EXPECT_EQ(bar.BrushStyle, TBrushStyle::Solid);
    EXPECT_EQ(bar.PenColor, 0x00AA00u);

    Paint(Sign(esMinusPlus), 10, 20);
    EXPECT_EQ(One("TextOut").Args, (std::vector<int32_t>{x0, 20 + W}));
    const int32_t inkTop = 20 + W + Ascent - oy;
    EXPECT_EQ(One("FillRect").Args,
              (std::vector<int32_t>{x0 + ox, inkTop - 2 * W, x0 + ox + bw, inkTop - W}));
}

TEST_F(TSignTest, TildeOverBar) {
    TExprSign &s = Sign(esAlmostEqual);
    const int32_t width = Adv + 4 * V;
    EXPECT_EQ(s.Width(), width);
    Paint(s, 10, 20);
    const TCanvasCall out = One("TextOut");
    EXPECT_EQ(out.Text, U(u"~"));
    EXPECT_EQ(out.Args, (std::vector<int32_t>{10 + 2 * V, 20 - R(4.5L * s.UnitY())}));
    const int32_t t = 20 + R(15.5L * s.UnitY());
    EXPECT_EQ(One("FillRect").Args,
              (std::vector<int32_t>{10 + 2 * V + R(0.5L * s.UnitX()), t,
                                    10 + width - 2 * V - R(0.6L * s.UnitX()), t + W}));
}

TEST_F(TSignTest, ParallelIsEightPensWide) {
    TExprSign &s = Sign(esParallel);
    EXPECT_EQ(s.Width(), 8 * V);
    Paint(s, 10, 20);
    const auto bars = Of("FillRect");
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].Args,
              (std::vector<int32_t>{10 + 2 * V, 20 + Descent, 10 + 3 * V, 20 + Ascent + 1}));
    EXPECT_EQ(bars[1].Args,
              (std::vector<int32_t>{10 + 5 * V, 20 + Descent, 10 + 6 * V, 20 + Ascent + 1}));
    // Whatever the font: only the pen width counts.
    for (int32_t h : {-13, -100}) {
        TExprSign p(esParallel);
        Prepare(p, Canvas, h);
        EXPECT_EQ(p.Width(), 8 * p.PenWidthX()) << h;
    }
}

TEST_F(TSignTest, PerpendicularStemIsCentred) {
    // "_" is 26 wide; with an even pen the base keeps 26, with an odd one it grows to 27.
    struct TCase {
        int32_t DpiX, Pen, Base;
    };
    for (const TCase c : {TCase{192, 8, 26}, TCase{120, 5, 27}}) {
        Canvas.SetDpi(c.DpiX, 96);
        TExprSign s(esPerpendicular);
        Prepare(s, Canvas);
        ASSERT_EQ(s.PenWidthX(), c.Pen);
        const int32_t v = c.Pen, width = c.Base + 4 * v;
        EXPECT_EQ(s.Width(), width);
        Canvas.Clear();
        s.Draw(10, 20, 0, 0);
        auto bars = Canvas.CallsOf("FillRect");
        ASSERT_EQ(bars.size(), 2u);
        const int32_t bottom = 20 + Ascent + 1;
        EXPECT_EQ(bars[0].Args,
                  (std::vector<int32_t>{10 + 2 * v, bottom - W, 10 + width - 2 * v, bottom}));
        const int32_t stem = 10 + (width - v) / 2;
        EXPECT_EQ(bars[1].Args,
                  (std::vector<int32_t>{stem, 20 + Descent + R(4 * s.UnitY()), stem + v, bottom}));
        // As much base to the left of the stem as to the right.
        EXPECT_EQ(bars[1].Args[0] - bars[0].Args[0], bars[0].Args[2] - bars[1].Args[2]);
    }
}

TEST_F(TSignTest, AngleIsBaseAndSlantedStroke) {
    TExprSign &s = Sign(esAngle);
    const int32_t width = Adv + 4 * V;
    EXPECT_EQ(s.Width(), width);
    Paint(s, 10, 20);
    const int32_t bottom = 20 + Ascent + 1, x0 = 10 + 2 * V;
    EXPECT_EQ(One("FillRect").Args,
              (std::vector<int32_t>{x0, bottom - W, 10 + width - 2 * V, bottom}));
    const int32_t m = 10 + width / 2, u = 20 + Descent + R(4 * s.UnitY());
    const TCanvasCall poly = One("Polygon");
    EXPECT_EQ(poly.Points,
              (std::vector<TPoint>{{x0, bottom - W}, {m, u}, {m, u + W - 1}, {x0, 20 + Ascent}}));
    EXPECT_EQ(poly.BrushColor, 0x00AA00u);
    EXPECT_EQ(poly.PenColor, 0x00AA00u);
}

TEST(ExprAtoms, ColourComesFromTheParentUnlessOwn) {
    TRecordingCanvas canvas;
    TExprChain row(std::make_unique<TExprSimple>("a"));
    row.Son()->AddNext(std::make_unique<TExprVar>("b"));
    row.Son()->SetParent(&row);
    row.Son()->Next()->SetColor(0x112233);
    Prepare(row, canvas);
    canvas.Clear();
    row.Draw(0, 0, 0, 0);
    auto out = canvas.CallsOf("TextOut");
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].Font.Color, clBlack); // nobody has a colour: black
    EXPECT_EQ(out[1].Font.Color, 0x112233u);
    row.SetColor(0x0000FF);
    canvas.Clear();
    row.Draw(0, 0, 0, 0);
    out = canvas.CallsOf("TextOut");
    EXPECT_EQ(out[0].Font.Color, 0x0000FFu); // inherited from the row
    EXPECT_EQ(out[1].Font.Color, 0x112233u); // its own
}

TEST(ExprAtoms, NoCanvasMeansZeroAndNoPainting) {
    TExprNumber n(1500, true);
    TExprSign s(esAngle);
    TExprVar v("f");
    EXPECT_EQ(n.Width(), 0);
    EXPECT_EQ(n.MidLineUp(), 0);
    EXPECT_EQ(s.Width(), 0);
    EXPECT_EQ(v.PowerX(), 0);
    EXPECT_EQ(v.CapDXLeft(), 0);
    n.Draw(0, 0, 0, 0);
    s.Draw(0, 0, 0, 0);
    v.Draw(0, 0, 0, 0);
}

TEST(ExprAtoms, HugeCoordinatesSaturate) {
    // Painting far out must stay defined (the sanitizer build checks the arithmetic).
    TRecordingCanvas canvas;
    const uint16_t codes[] = {esPlusMinus, esMinusPlus, esAlmostEqual, esParallel, esPerpendicular,
                              esAngle,     '='};
    for (uint16_t code : codes) {
        TExprSign s(code);
        Prepare(s, canvas, -300000000);
        s.Draw(MaxInt - 5, MaxInt - 5, 0, 0);
        s.Draw(-MaxInt, -MaxInt, 2, 2);
        EXPECT_GE(s.Width(), 0) << code;
    }
    TExprNumber n(1500, true);
    Prepare(n, canvas, -300000000);
    n.Draw(MaxInt, MaxInt, 0, 0);
    EXPECT_GT(n.Height(), 0);
}
