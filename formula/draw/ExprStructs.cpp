#include "formula/draw/ExprStructs.h"

#include "formula/draw/ExprLayout.h"
#include "runtime/NumText.h"

#include <algorithm>
#include <vector>

using namespace ExprLayout;

namespace {

// Kinds outside 1..4 are not defined; they draw nothing and take no room, like kind 0.
bool Visible(uint8_t kind) {
    return kind >= ebRound && kind <= ebModule;
}

} // namespace

// TExprRatio

int32_t TExprRatio::CalcWidth() {
    return Sat32(std::max(W(Son()), W(Son2())) + 8 * static_cast<int64_t>(PenWidthX()));
}

int32_t TExprRatio::CalcHeight() {
    return Sat32(H(Son()) + 3 * static_cast<int64_t>(PenWidthY()) + H(Son2()));
}

int32_t TExprRatio::CalcMidLine(bool Down) {
    const int64_t w = PenWidthY();
    // For an even w the two values span one row more than the height: the bar's centre row
    // counts on both sides.
    return Down ? Sat32(-(H(Son2()) + w + w / 2)) : Sat32(H(Son()) + w + w / 2);
}

void TExprRatio::Paint(int32_t X, int32_t Y) {
    const int64_t v = PenWidthX(), w = PenWidthY();
    const int64_t a = static_cast<int64_t>(Y) + MidLineUp();
    const int64_t c = static_cast<int64_t>(X) + Width() / 2;
    if (Son()) Son()->Draw(Sat32(c), Sat32(a - w - w / 2), 1, 2);
    if (Son2()) Son2()->Draw(Sat32(c), Sat32(a + w + w / 2), 1, 0);
    SetPenAndBrush();
    Canvas()->FillRect(Sat32(X + 3 * v), Sat32(a - w / 2),
                       Sat32(X + static_cast<int64_t>(Width()) - 3 * v + 1),
                       Sat32(a + w / 2 + w % 2));
}

// TExprRoot

TExprRoot::TExprRoot(PExpr radicand, PExpr degree) {
    // Stored here, not by the base constructor, so that the degree gets the reduced font of
    // this class's PassFontToSon2.
    SetSon(std::move(radicand));
    SetSon2(std::move(degree));
}

void TExprRoot::PassFontToSon2() {
    HandReducedFont(Son2());
}

void TExprRoot::PassCanvasToSon2() {
    HandOwnCanvas(Son2());
}

namespace {

// The degree's overhang to the left of and above the radical sign.
void DegreeShift(TExprRoot &r, int64_t &dx, int64_t &dy) {
    dx = dy = 0;
    if (!r.Son2()) return;
    dx = std::max<int64_t>(0, W(r.Son2()) - 5 * static_cast<int64_t>(r.PenWidthX()));
    dy = std::max<int64_t>(0, H(r.Son2()) - 4 * static_cast<int64_t>(r.PenWidthY()));
}

// Width of the sign's slanted part, which grows with the radicand.
int64_t SlantWidth(TExprRoot &r) {
    return Round((H(r.Son()) + static_cast<long double>(r.PenWidthY())) / 2);
}

} // namespace

int32_t TExprRoot::CalcWidth() {
    int64_t dx, dy;
    DegreeShift(*this, dx, dy);
    return Sat32(W(Son()) + 8 * static_cast<int64_t>(PenWidthX()) + SlantWidth(*this) + dx);
}

int32_t TExprRoot::CalcHeight() {
    int64_t dx, dy;
    DegreeShift(*this, dx, dy);
    return Sat32(H(Son()) + 3 * static_cast<int64_t>(PenWidthY()) + dy);
}

int32_t TExprRoot::CalcMidLine(bool Down) {
    if (Down) return Son() ? Son()->MidLineDn() : 0;
    const int64_t up = Son() ? Son()->MidLineUp() : 0;
    const int64_t w = PenWidthY();
    if (Son2() && H(Son2()) > 4 * w) return Sat32(up + H(Son2()) - w);
    return Sat32(up + 3 * w);
}

void TExprRoot::Paint(int32_t X, int32_t Y) {
    const int64_t v = PenWidthX(), w = PenWidthY();
    const int64_t wr = W(Son());
    const int64_t T = H(Son()) + 3 * w;
    const int64_t E = X + wr + 8 * v + SlantWidth(*this);
    int64_t dx, dy;
    DegreeShift(*this, dx, dy);
    const int64_t x0 = static_cast<int64_t>(X) + dx, y0 = static_cast<int64_t>(Y) + dy;
    const int64_t Ex = E + dx;
    const TPoint pts[12] = {
        Pt(x0 + v, y0 + 6 * w),
        Pt(x0 + 6 * v - 1, y0 + 6 * w),
        Pt(x0 + 6 * v - 1, y0 + Round(T - 5.196152422706632L * w)),
        Pt(Ex - 3 * v - wr - v / 2 - 1, y0 + w),
        Pt(Ex - v - 1, y0 + w),
        Pt(Ex - v - 1, y0 + 4 * w - 1),
        Pt(Ex - 2 * v, y0 + 4 * w - 1),
        Pt(Ex - 2 * v, y0 + 2 * w - 1),
        Pt(Ex - 3 * v - wr - 1, y0 + 2 * w - 1),
        Pt(x0 + 4 * v, y0 + T),
        Pt(x0 + 4 * v, y0 + 7 * w - 1),
        Pt(x0 + v, y0 + 7 * w - 1),
    };
    // The degree's bottom-right corner sits just above the tick.
    if (Son2()) Son2()->Draw(pts[1].X, Sat32(static_cast<int64_t>(pts[1].Y) - w), 2, 2);
    if (Son()) Son()->Draw(pts[8].X, Sat32(static_cast<int64_t>(pts[8].Y) + w), 0, 0);
    SetPenAndBrush();
    Canvas()->Polygon(pts);
}

// TExprBracketed

TExprBracketed::TExprBracketed(PExpr content, uint8_t leftBracket, uint8_t rightBracket)
    : TExprChain(std::move(content)), FLeftBracket(leftBracket), FRightBracket(rightBracket) {}

void TExprBracketed::RemoveBrackets() {
    FLeftBracket = ebNone;
    FRightBracket = ebNone;
    Invalidate(vmWidth | vmHeight | vmCapDX | vmCapDY);
}

bool TExprBracketed::NeedBrackets() {
    return true;
}

namespace {

// Whether a curly bracket is shown: it needs a height of the same parity as w, so that its
// point is symmetric about the middle row.
bool CurlyShown(TExprBracketed &b) {
    return b.NeedBrackets() && (b.LeftBracket() == ebFigure || b.RightBracket() == ebFigure);
}

// Bracket width for the bracketed node's own height.
int64_t BracketWidth(uint8_t kind, int64_t height, int64_t v) {
    switch (kind) {
    case ebRound:
        return Round(0.191192L * height) + 2 * v;
    case ebSquare:
        return 5 * v;
    case ebFigure:
        return 7 * v;
    case ebModule:
        return 3 * v;
    default:
        return 0;
    }
}

// The extra row that gives a curly-bracketed node its parity, or 0.
int64_t CurlyExtraRow(TExprBracketed &b, int64_t chainHeight) {
    const int64_t w = b.PenWidthY();
    return CurlyShown(b) && ((chainHeight + 2 * w - w) & 1) != 0 ? 1 : 0;
}

} // namespace

int32_t TExprBracketed::CalcWidth() {
    int64_t width = TExprChain::CalcWidth();
    if (NeedBrackets()) {
        const int64_t h = Height(), v = PenWidthX();
        width += BracketWidth(FLeftBracket, h, v) + BracketWidth(FRightBracket, h, v);
    }
    return Sat32(width);
}

int32_t TExprBracketed::CalcHeight() {
    const int64_t chain = TExprChain::CalcHeight();
    return Sat32(chain + 2 * static_cast<int64_t>(PenWidthY()) + CurlyExtraRow(*this, chain));
}

int32_t TExprBracketed::CalcMidLine(bool Down) {
    const int64_t w = PenWidthY();
    if (!Down) return Sat32(static_cast<int64_t>(TExprChain::CalcMidLine(false)) + w);
    // The row added for a curly bracket's parity lies below the axis, exactly when the height
    // got it, so that Height = MidLineUp - MidLineDn + 1 holds for every bracketed node.
    return Sat32(static_cast<int64_t>(TExprChain::CalcMidLine(true)) - w -
                 CurlyExtraRow(*this, TExprChain::CalcHeight()));
}

int32_t TExprBracketed::CalcCapDY() {
    if (NeedBrackets() && (Visible(FLeftBracket) || Visible(FRightBracket))) return 0;
    return TExprChain::CalcCapDY();
}

void TExprBracketed::CalcCapDX(int32_t &Left, int32_t &Right) {
    if (NeedBrackets() && (Visible(FLeftBracket) || Visible(FRightBracket))) {
        Left = Right = 0;
        return;
    }
    TExprChain::CalcCapDX(Left, Right);
}

uint32_t TExprBracketed::FactorFlags() {
    if (NeedBrackets() && Visible(FLeftBracket) && Visible(FRightBracket)) {
        if (FLeftBracket == ebRound && FRightBracket == ebRound)
            return efLeft | efRight | efRoundBrackets | efBrackets;
        return efLeft | efRight | efBrackets;
    }
    return TExprChain::FactorFlags();
}

namespace {

// One bracket outline: the upper half of a symmetric shape (or the whole round one), as a
// start point followed by Bezier segments of three points.
class TBracketOutline {
public:
    TBracketOutline(int64_t y, int64_t h) : FY(y), FH(h) {}
    void Add(int64_t x, int64_t y, int times = 1) {
        for (int i = 0; i < times; ++i)
            FPoints.push_back({x, y});
    }
    // Appends the listed points in reverse order, reflected about the middle row.
    void Mirror() {
        const size_t n = FPoints.size();
        for (size_t i = n; i-- > 0;)
            FPoints.push_back({FPoints[i].x, 2 * FY + FH - 1 - FPoints[i].y});
    }
    void Draw(TExprClass &node) {
        std::vector<TPoint> pts;
        pts.reserve(FPoints.size());
        for (const auto &p : FPoints)
            pts.push_back(Pt(p.x, p.y));
        FillBezierFigure(node, pts, true);
    }

private:
    struct TP {
        int64_t x, y;
    };
    int64_t FY, FH;
    std::vector<TP> FPoints;
};

// Builds and draws one bracket of the given kind in a node of height H at top row Y: a left
// bracket starts at column X, a right bracket right after the content, at column R.
void DrawBracket(TExprClass &node, uint8_t kind, bool left, int64_t X, int64_t R, int64_t Y,
                 int64_t H) {
    const int64_t v = node.PenWidthX(), w = node.PenWidthY();
    TBracketOutline o(Y, H);
    switch (kind) {
    case ebRound: {
        const int64_t L = Round(0.191192L * H), a = Round(0.156491L * H), b = Round(0.294316L * H),
                      c = Round(0.273051L * H);
        if (left) {
            o.Add(X + L, Y + w);
            o.Add(X + L - a, Y + w + b);
            o.Add(X + L - a, Y + H - w - b - 1);
            o.Add(X + L, Y + H - w - 1);
            o.Add(X, Y + H - w - c - 1);
            o.Add(X, Y + w + c);
            o.Add(X + L, Y + w);
        } else {
            const int64_t J = R + 2 * v;
            o.Add(J - 1, Y + w);
            o.Add(J - 1 + a, Y + w + b);
            o.Add(J - 1 + a, Y + H - w - b - 1);
            o.Add(J - 1, Y + H - w - 1);
            o.Add(J - 1 + L, Y + H - w - c - 1);
            o.Add(J - 1 + L, Y + w + c);
            o.Add(J - 1, Y + w);
        }
        break;
    }
    case ebSquare:
        if (left) {
            o.Add(X + v, Y + w, 2);
            o.Add(X + 5 * v - 1, Y + w, 3);
            o.Add(X + 5 * v - 1, Y + 2 * w - 1, 2);
            o.Add(X + 3 * v + 2, Y + 2 * w - 1);
            o.Add(X + 3 * v - 1, Y + 2 * w - 2);
            o.Add(X + 3 * v - 1, Y + 3 * w - 1, 2);
        } else {
            o.Add(R + 4 * v - 1, Y + w, 2);
            o.Add(R, Y + w, 3);
            o.Add(R, Y + 2 * w - 1, 2);
            o.Add(R + 2 * v - 3, Y + 2 * w - 1);
            o.Add(R + 2 * v, Y + 2 * w - 2);
            o.Add(R + 2 * v, Y + 3 * w - 1, 2);
        }
        o.Mirror();
        break;
    case ebFigure:
        FillBezierFigure(node, CurlyOutline(left ? X : R, Y, H, v, w, left), true);
        return;
    case ebModule:
        if (left) {
            o.Add(X + v, Y + w, 2);
            o.Add(X + 2 * v - 1, Y + w, 3);
        } else {
            o.Add(R + v, Y + w, 2);
            o.Add(R + 2 * v - 1, Y + w, 3);
        }
        o.Mirror();
        break;
    default:
        return;
    }
    o.Draw(node);
}

} // namespace

void TExprBracketed::Paint(int32_t X, int32_t Y) {
    if (!NeedBrackets() || (!Visible(FLeftBracket) && !Visible(FRightBracket))) {
        TExprChain::Paint(X, Y);
        return;
    }
    const int64_t h = Height(), v = PenWidthX();
    const int64_t leftWidth = BracketWidth(FLeftBracket, h, v);
    if (Visible(FLeftBracket)) DrawBracket(*this, FLeftBracket, true, X, 0, Y, h);
    // The chain's painting puts the members' axis on this node's axis row, w lower than in a
    // bare row.
    TExprChain::Paint(Sat32(X + leftWidth), Y);
    const int64_t R = X + leftWidth + TExprChain::CalcWidth();
    if (Visible(FRightBracket)) DrawBracket(*this, FRightBracket, false, X, R, Y, h);
}

// TExprRound

uint32_t TExprRound::FactorFlags() {
    return efLeft | efRight | efBrackets;
}

// TExprArgument

void TExprArgument::SetForceBrackets() {
    FForceBrackets = true;
    Invalidate(vmAllStale);
}

bool TExprArgument::NeedBrackets() {
    if (FForceBrackets) return true;
    if (Parent() && Parent()->ArgumentAlwaysBracketed()) return true;
    for (TExprClass *m = Son(); m; m = m->Next())
        if (m->ForcesArgBrackets()) return true;
    return false;
}

// TExprIndex

namespace {

// How far the superscript rises above the base (up) and the subscript hangs below it (dn).
void IndexOverhang(TExprIndex &n, int64_t &up, int64_t &dn) {
    up = dn = 0;
    TExprClass *b = n.Son();
    if (!b) return;
    if (TExprClass *p = n.Twin2()) up = std::max<int64_t>(0, H(p) - b->PowerY());
    if (TExprClass *s = n.Twin1())
        dn = std::max<int64_t>(0, H(s) + b->IndexY() - static_cast<int64_t>(b->Height()));
}

} // namespace

int32_t TExprIndex::CalcWidth() {
    TExprClass *b = Son();
    if (!b) return 0;
    int64_t width = b->Width();
    if (Twin1()) width = std::max(width, b->IndexX() + W(Twin1()));
    if (Twin2()) width = std::max(width, b->PowerX() + W(Twin2()));
    return Sat32(width);
}

int32_t TExprIndex::CalcHeight() {
    int64_t up, dn;
    IndexOverhang(*this, up, dn);
    return Sat32(H(Son()) + dn + up);
}

int32_t TExprIndex::CalcMidLine(bool Down) {
    TExprClass *b = Son();
    if (!b) return 0;
    int64_t up, dn;
    IndexOverhang(*this, up, dn);
    return Down ? Sat32(b->MidLineDn() - dn) : Sat32(up + b->MidLineUp());
}

void TExprIndex::Paint(int32_t X, int32_t Y) {
    TExprClass *b = Son();
    if (!b) return;
    int64_t up, dn;
    IndexOverhang(*this, up, dn);
    const int64_t top = Y + up;
    if (Twin2()) Twin2()->Draw(SatAdd(X, b->PowerX()), Sat32(top + b->PowerY()), 0, 2);
    b->Draw(X, Sat32(top), 0, 0);
    if (Twin1()) Twin1()->Draw(SatAdd(X, b->IndexX()), Sat32(top + b->IndexY()), 0, 0);
}

int32_t TExprIndex::CalcCapDY() {
    if (Twin2()) return Twin2()->CapDY();
    return Son() ? Son()->CapDY() : 0;
}

bool TExprIndex::ArgAlwaysBracketed() {
    return !Son() || !Son()->IsFuncName();
}

uint32_t TExprIndex::FactorFlags() {
    return (Son() ? Son()->FactorFlags() : TExprClass::FactorFlags()) | efRight;
}
