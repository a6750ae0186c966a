// No ink collides: in every formula picture of every page of the built-in variants, the ink of
// one node keeps clear of another node's ink where the layout sets them apart. A limit and its
// sign, a fraction's parts and its bar, brackets and what they hold leave a blank pixel between
// them; a script may sit against its base but not on it; a frame keeps three blank pixels to
// the formula inside. Neighbours in a row are left to the fonts' side bearings. The ink is what
// the real fonts and shapes of the Qt surface cover, pixel by pixel, at the screen's resolution.
#include "analysis/Report.h"
#include "formula/draw/ExprKinds.h"
#include "formula/draw/ExprParents.h"
#include "formula/draw/ExprPicture.h"
#include "formula/draw/ExprStructs.h"
#include "formula/make/ExprMake.h"
#include "results/DrawFunc.h"
#include "results/QtCanvas.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"
#include "runtime/Cp1251.h"
#include "tests/analysis/Variants.h"

#include <QImage>
#include <QPainter>
#include <QRect>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace {

// One piece of ink: the pixels one drawing call inks, as coverage (alpha) over a rectangle of
// the picture, and the node that made the call (null for the frame, which the picture draws
// around the formula).
struct TInk {
    QImage Coverage; // Format_ARGB32_Premultiplied, at Origin
    QPoint Origin;
    QRect Box; // the inked pixels' bounds, in picture pixels
    const TExprClass *Owner;
    bool Inked(QPoint p) const {
        const QPoint q = p - Origin;
        return Box.contains(p) && qAlpha(Coverage.pixel(q)) >= InkAlpha;
    }
    // A pixel counts as ink from a quarter of full coverage on: fainter fringes of smoothed
    // edges do not show as touching.
    static constexpr int InkAlpha = 64;
};

// Measures on the real Qt surface and, for every drawing call, paints just that call alone to
// keep the pixels it inks, with the node that made it.
class TInkCanvas : public TCanvas, public TExprDrawObserver {
public:
    TInkCanvas() { FQt.SetDrawing(TShapeDrawing::Smooth); }

    std::vector<TInk> Ink;
    // Which node drew which: the node that was drawing when each node began.
    std::map<const TExprClass *, const TExprClass *> DrawnBy;

    void BeginDraw(TExprClass &node, int32_t, int32_t) override {
        DrawnBy[&node] = FDrawing.empty() ? nullptr : FDrawing.back();
        FDrawing.push_back(&node);
    }
    void EndDraw(TExprClass &) override { FDrawing.pop_back(); }

    const TFontData &Font() const override { return FQt.Font(); }
    void SetFont(const TFontData &font) override { FQt.SetFont(font); }
    TSize TextExtent(std::string_view text) override { return FQt.TextExtent(text); }
    TSize TextExtentW(std::u16string_view text) override { return FQt.TextExtentW(text); }
    bool CharABCWidths(uint32_t code, TABC &abc) override { return FQt.CharABCWidths(code, abc); }
    bool GlyphMetrics(uint32_t code, TGlyphMetrics &gm) override {
        return FQt.GlyphMetrics(code, gm);
    }
    TTextMetrics TextMetrics() override { return FQt.TextMetrics(); }
    TOutlineTextMetrics OutlineTextMetrics() override { return FQt.OutlineTextMetrics(); }
    int32_t DpiX() const override { return FQt.DpiX(); }
    int32_t DpiY() const override { return FQt.DpiY(); }

    void TextOut(int32_t x, int32_t y, std::string_view text) override {
        Paint(TextArea(x, y, FQt.TextExtent(text)), [&] { FQt.TextOut(x, y, text); });
    }
    void TextOutW(int32_t x, int32_t y, std::u16string_view text) override {
        Paint(TextArea(x, y, FQt.TextExtentW(text)), [&] { FQt.TextOutW(x, y, text); });
    }
    void SetPen(TPenStyle style, int32_t width, TColor color) override {
        FQt.SetPen(style, width, color);
    }
    void SetBrush(TBrushStyle style, TColor color) override { FQt.SetBrush(style, color); }
    void FillRect(int32_t l, int32_t t, int32_t r, int32_t b) override {
        Paint(Around({{l, t}, {r, b}}), [&] { FQt.FillRect(l, t, r, b); });
    }
    void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override {
        Paint(Around({{l, t}, {r, b}}), [&] { FQt.Rectangle(l, t, r, b); });
    }
    void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override {
        Paint(Around({{l, t}, {r, b}}), [&] { FQt.Ellipse(l, t, r, b); });
    }
    void Polygon(std::span<const TPoint> points) override {
        if (FInPath) {
            FPathPoints.insert(FPathPoints.end(), points.begin(), points.end());
            FQt.Polygon(points);
            return;
        }
        Paint(Around(points), [&] { FQt.Polygon(points); });
    }
    void MoveTo(int32_t x, int32_t y) override {
        if (FInPath) FPathPoints.push_back({x, y});
        FAt = {x, y};
        FQt.MoveTo(x, y);
    }
    void LineTo(int32_t x, int32_t y) override {
        const TPoint from = FAt;
        FAt = {x, y};
        if (FInPath) {
            FPathPoints.push_back({x, y});
            FQt.LineTo(x, y);
            return;
        }
        Paint(Around({from, FAt}), [&] {
            FQt.MoveTo(from.X, from.Y);
            FQt.LineTo(x, y);
        });
    }
    void BeginPath() override {
        FInPath = true;
        FPathPoints.clear();
        FQt.BeginPath();
    }
    void PolyBezier(std::span<const TPoint> points) override {
        if (!FInPath) {
            Paint(Around(points), [&] { FQt.PolyBezier(points); });
            return;
        }
        FPathPoints.insert(FPathPoints.end(), points.begin(), points.end());
        FQt.PolyBezier(points);
    }
    void CloseFigure() override { FQt.CloseFigure(); }
    void EndPath() override {
        FInPath = false;
        FQt.EndPath();
    }
    void StrokeAndFillPath() override {
        Paint(Around(FPathPoints), [&] { FQt.StrokeAndFillPath(); });
        FPathPoints.clear();
    }

private:
    // A rectangle that holds all a call's ink: its points with a margin for the pen.
    static QRect Around(std::span<const TPoint> points) {
        QRect r;
        for (const TPoint &p : points)
            r |= QRect(p.X, p.Y, 1, 1);
        return r.adjusted(-3, -3, 3, 3);
    }
    static QRect Around(std::initializer_list<TPoint> points) {
        return Around(std::span<const TPoint>(points.begin(), points.size()));
    }
    // A text's cell with a margin of a cell's height all round, for overhangs and turned text.
    static QRect TextArea(int32_t x, int32_t y, TSize extent) {
        const int32_t m = extent.cy + 2;
        return QRect(x - m - extent.cx, y - m - extent.cy, 2 * extent.cx + 2 * m,
                     2 * extent.cy + 2 * m);
    }
    template <class TCall> void Paint(const QRect &area, TCall call) {
        TInk ink{QImage(area.size(), QImage::Format_ARGB32_Premultiplied),
                 area.topLeft(),
                 {},
                 FDrawing.empty() ? nullptr : FDrawing.back()};
        ink.Coverage.fill(Qt::transparent);
        {
            QPainter painter(&ink.Coverage);
            painter.translate(-area.topLeft());
            FQt.SetPainter(&painter);
            call();
            FQt.SetPainter(nullptr);
        }
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                if (qAlpha(ink.Coverage.pixel(x, y)) >= TInk::InkAlpha)
                    ink.Box |= QRect(area.left() + x, area.top() + y, 1, 1);
        if (!ink.Box.isEmpty()) Ink.push_back(std::move(ink));
    }

    TQtCanvas FQt;
    std::vector<const TExprClass *> FDrawing;
    bool FInPath = false;
    std::vector<TPoint> FPathPoints;
    TPoint FAt;
};

// Blank pixels between two pieces of ink (the smallest over both directions, diagonals
// included), counted up to limit: -1 when they share a pixel, 0 when they touch.
int Clearance(const TInk &a, const TInk &b, int limit) {
    if (!a.Box.adjusted(-limit, -limit, limit, limit).intersects(b.Box)) return limit;
    int best = limit;
    for (int y = b.Box.top(); y <= b.Box.bottom(); ++y)
        for (int x = b.Box.left(); x <= b.Box.right(); ++x) {
            if (!b.Inked({x, y})) continue;
            // Rings of growing distance around the pixel, as far as could still beat best.
            for (int d = 0; d <= best; ++d) {
                bool hit = false;
                for (int dy = -d; dy <= d && !hit; ++dy)
                    for (int dx = -d; dx <= d && !hit; ++dx)
                        hit = (std::abs(dx) == d || std::abs(dy) == d) && a.Inked({x + dx, y + dy});
                if (hit) {
                    best = d - 1;
                    break;
                }
            }
        }
    return best;
}

// How close two nodes' ink may come, by what the layout means them to be.
enum class TRule {
    Free,      // neighbours in a row: the fonts' own side bearings space them
    NoOverlap, // a script and its base: it may sit against the base's slant, not on it
    Apart,     // a limit and its sign, a fraction's parts and its bar, brackets and content
    Frame,     // a frame and the formula it holds
};
// Blank pixels each rule asks for.
int Needed(TRule rule) {
    switch (rule) {
    case TRule::Free:
        return -2;
    case TRule::NoOverlap:
        return 0;
    case TRule::Apart:
        return 1;
    case TRule::Frame:
        return 3;
    }
    return 0;
}

// The part of parent that holds child (one of its child chains, or a member of its row).
const char *PartOf(const TExprClass &parent, const TExprClass *child) {
    auto in = [child](const TExprClass *first) {
        for (const TExprClass *c = first; c; c = c->Next())
            if (c == child) return true;
        return false;
    };
    if (auto *twins = dynamic_cast<const TExprTwinParent *>(&parent))
        return in(twins->Twin1()) ? "Twin1" : in(twins->Twin2()) ? "Twin2" : "Son";
    if (auto *two = dynamic_cast<const TExprBigParent *>(&parent))
        return in(two->Son2()) ? "Son2" : "Son";
    return "member";
}

struct TPair {
    TRule Rule;
    std::string What;
};

// The rule for two pieces of ink of different nodes, and how to name them: found from the
// nearest node that drew both.
TPair RuleFor(const TInkCanvas &ink, const TInk &a, const TInk &b) {
    if (!a.Owner || !b.Owner) return {TRule::Frame, "the frame and the ink it holds"};
    std::vector<const TExprClass *> path;
    for (const TExprClass *n = a.Owner; n; n = ink.DrawnBy.at(n))
        path.push_back(n);
    const TExprClass *common = b.Owner;
    while (common && std::find(path.begin(), path.end(), common) == path.end())
        common = ink.DrawnBy.at(common);
    if (!common) return {TRule::Apart, "two unrelated nodes"};
    // The child of common through which owner was drawn, and the part of common holding it.
    auto part = [&](const TExprClass *owner) -> std::string {
        if (owner == common) return "its own ink";
        const TExprClass *c = owner;
        while (ink.DrawnBy.at(c) != common)
            c = ink.DrawnBy.at(c);
        return std::string(PartOf(*common, c)) + " (" + ExprKindOf(*owner).Name() + ")";
    };
    const std::string what =
        std::string(ExprKindOf(*common).Name()) + ": " + part(a.Owner) + ", " + part(b.Owner);
    if (a.Owner != common && b.Owner != common && dynamic_cast<const TExprChain *>(common))
        return {TRule::Free, what};
    if (dynamic_cast<const TExprIndex *>(common)) return {TRule::NoOverlap, what};
    return {TRule::Apart, what};
}

// One kind of collision: where it is (the nodes, the rule, the font size), where it was seen
// first and how many pictures show it.
struct TFound {
    std::string First;
    int Pictures = 0;
};

// Adds the collisions of one picture as the program paints it to found, one entry per kind.
void Collisions(const std::string &formula, int32_t fontHeight, bool framed,
                const std::string &where, std::map<std::string, TFound> &found) {
    TExprFont font(*FormulaFont);
    font.SetHeight(fontHeight);
    TExprBuilder builder;
    TInkCanvas ink;
    TPictureLayout layout(" ", builder.BuildExpr(formula), " ");
    layout.Measure(font, &ink);
    SetExprDrawObserver(&ink);
    layout.Draw(0, 0, framed);
    SetExprDrawObserver(nullptr);
    if (framed) layout.DrawFrame(0, 0);
    std::set<std::string> kinds;
    for (std::size_t i = 0; i < ink.Ink.size(); ++i)
        for (std::size_t j = i + 1; j < ink.Ink.size(); ++j) {
            const TInk &a = ink.Ink[i], &b = ink.Ink[j];
            if (a.Owner == b.Owner) continue;
            const TPair pair = RuleFor(ink, a, b);
            const int needed = Needed(pair.Rule);
            if (needed < -1) continue;
            const int clearance = Clearance(a, b, needed + 1);
            if (clearance >= needed) continue;
            const std::string kind = pair.What + " at " + std::to_string(-fontHeight) +
                                     " px: " + std::to_string(clearance) + " blank pixels, " +
                                     std::to_string(needed) + " needed";
            if (!kinds.insert(kind).second) continue;
            TFound &f = found[kind];
            if (f.Pictures++ == 0) f.First = where + " " + Cp1251ToUtf8(formula);
        }
}

} // namespace

TEST(InkCollisions, NoInkRunsIntoInkItIsMeantToStayClearOf) {
    TFrmRun frmRun;
    TFrmRunTarget &target = frmRun.Target();
    std::set<std::string> seen;
    std::map<std::string, TFound> found;
    for (std::size_t v = 0; v < TestVariants.size(); ++v) {
        const auto &[c1, c2] = TestVariants[v];
        ASSERT_EQ(RunAnalysis(target, c1, c2, SmoothLeastSquares).End, TRunEnd::Applied);
        for (int n = 1; n <= 11; ++n)
            for (const TAreaOp &op : target.Image(n).Log()) {
                const std::string key =
                    std::to_string(op.FontHeight) + (op.Framed ? "F" : "P") + op.Text;
                if (op.Kind != TAreaOp::KFormula || !seen.insert(key).second) continue;
                const std::string where =
                    "variant " + std::to_string(v + 1) + " Image" + std::to_string(n);
                Collisions(op.Text, op.FontHeight, op.Framed, where, found);
            }
    }
    for (const auto &[kind, f] : found)
        ADD_FAILURE() << kind << "\n  in " << f.Pictures << " pictures, first " << f.First;
}
