#include "formula/draw/ExprClass.h"

#include "runtime/NumText.h"

#include <deque>
#include <variant>

namespace {

struct TFontPass {
    TExprClass *Node;
    TExprFont Font;
    int32_t PenWidthX, PenWidthY;
    long double UnitX, UnitY;
};

struct TCanvasPass {
    TExprClass *Node;
    TCanvas *Canvas;
    int32_t PenWidthX, PenWidthY;
    long double UnitX, UnitY;
};

using TPass = std::variant<TFontPass, TCanvasPass>;

// Hand-ons along Next waiting to run. Only one drain loop runs at a time; passes queued while
// it runs are taken by it, so the stack depth does not grow with the length of a row.
thread_local std::deque<TPass> PendingPasses;
thread_local bool Draining = false;

bool DebugBoxes = false;
thread_local TExprDrawObserver *DrawObserver = nullptr;

thread_local std::size_t LiveNodes = 0;

void RunPass(TPass &pass) {
    if (auto *f = std::get_if<TFontPass>(&pass))
        f->Node->InheritFont(f->Font, f->PenWidthX, f->PenWidthY, f->UnitX, f->UnitY);
    else {
        auto &c = std::get<TCanvasPass>(pass);
        c.Node->InheritCanvas(c.Canvas, c.PenWidthX, c.PenWidthY, c.UnitX, c.UnitY);
    }
}

void QueuePass(TPass pass) {
    PendingPasses.push_back(std::move(pass));
    if (Draining) return;
    Draining = true;
    while (!PendingPasses.empty()) {
        TPass p = std::move(PendingPasses.front());
        PendingPasses.pop_front();
        RunPass(p);
    }
    Draining = false;
}

} // namespace

void SetExprDebugBoxes(bool on) {
    DebugBoxes = on;
}

bool ExprDebugBoxes() {
    return DebugBoxes;
}

void SetExprDrawObserver(TExprDrawObserver *observer) {
    DrawObserver = observer;
}

std::size_t LiveExprNodes() {
    return LiveNodes;
}

TExprClass *LastInChain(TExprClass *node) {
    if (!node) return nullptr;
    while (node->Next())
        node = node->Next();
    return node;
}

TExprClass::TExprClass() : FFont(std::make_unique<TExprFont>()) {
    ++LiveNodes;
    TFontData d;
    d.Name = "Times New Roman";
    d.Charset = RUSSIAN_CHARSET;
    FFont->Assign(d, 96);
    FFont->OnChange = [this] { FontNotify(); };
}

TExprClass::~TExprClass() {
    --LiveNodes;
    // Free the rest of the chain iteratively: a long row would otherwise nest one destructor
    // call per member.
    PExpr n = std::move(FNext);
    while (n) {
        PExpr after = std::move(n->FNext);
        n.reset();
        n = std::move(after);
    }
}

void TExprClass::SetParent(TExprClass *parent) {
    // Every link operation gives the members of a chain one parent, so the walk ends at the
    // first member that has it already: rows that grow one factor at a time stay linear.
    for (TExprClass *n = this; n && n->FParent != parent; n = n->FNext.get())
        n->FParent = parent;
}

TColor TExprClass::GetColor() const {
    for (const TExprClass *n = this; n; n = n->FParent)
        if (n->FColor != clInherit) return n->FColor;
    return clBlack;
}

void TExprClass::SetColor(TColor color) {
    for (TExprClass *n = this; n && n->FColor != color; n = n->FNext.get())
        n->FColor = color;
}

void TExprClass::SetCanvas(TCanvas *canvas) {
    if (canvas == FCanvas) return;
    FCanvas = canvas;
    if (FCanvas) {
        FValidMask = vmAllStale;
        CalcLineMetrics();
    } else
        FValidMask = vmAllValid;
    CanvasChanged();
}

void TExprClass::SetFont(const TExprFont &font) {
    const bool wasStale = FValidMask == vmAllStale;
    const TFontData before = FFont->Data();
    const int32_t pwx = FPenWidthX, pwy = FPenWidthY;
    const long double ux = FUnitX, uy = FUnitY;
    FFont->Assign(font);
    if (FCanvas) CalcLineMetrics();
    // Nothing changed for a node whose dependents were all told already: stop here, or every
    // level of a nested tree would multiply the work.
    if (wasStale && before == FFont->Data() && MetricsEqual(pwx, pwy, ux, uy)) return;
    FontChanged();
}

void TExprClass::FontNotify() {
    if (FCanvas) CalcLineMetrics();
    FontChanged();
}

void TExprClass::CalcLineMetrics() {
    if (!FCanvas) return;
    AssignFont();
    FUnitX = static_cast<long double>(FCanvas->TextHeight("+")) / 27.6L;
    const long double dpiX = FCanvas->DpiX(), dpiY = FCanvas->DpiY();
    FUnitY = dpiX != 0 ? FUnitX * dpiY / dpiX : FUnitX;
    TGlyphMetrics gm;
    if (!FCanvas->GlyphMetrics('_', gm)) gm = TGlyphMetrics{};
    FPenWidthY = static_cast<int32_t>(gm.BlackBoxY);
    FPenWidthX = dpiY != 0 ? Round32(FPenWidthY * dpiX / dpiY) : FPenWidthY;
}

void TExprClass::AddNext(PExpr node) {
    if (!node) return;
    TExprClass *added = node.get();
    LastInChain(this)->FNext = std::move(node);
    added->SetParent(FParent);
    added->SetFont(*FFont);
    added->SetCanvas(FCanvas);
}

void TExprClass::SetNext(PExpr node) {
    FNext.reset(); // frees the old rest of the chain (iteratively, through the destructor)
    FNext = std::move(node);
    if (FNext) FNext->SetParent(FParent);
}

PExpr TExprClass::CutOffNext() {
    return std::move(FNext);
}

void TExprClass::SetPenAndBrush() {
    if (!FCanvas) return;
    const TColor c = GetColor();
    FCanvas->SetPen(TPenStyle::Solid, 1, c);
    FCanvas->SetBrush(TBrushStyle::Solid, c);
}

void TExprClass::AlignToTopLeft(int32_t &X, int32_t &Y, int HAlign, int VAlign) {
    if (HAlign == 1)
        X = SatSub(X, Width() / 2);
    else if (HAlign == 2)
        X = SatSub(X, int64_t{Width()} - 1);
    if (VAlign == 1)
        Y = SatSub(Y, MidLineUp());
    else if (VAlign == 2)
        Y = SatSub(Y, int64_t{Height()} - 1);
}

void TExprClass::Draw(int32_t X, int32_t Y, int HAlign, int VAlign) {
    if (!FCanvas) return;
    AlignToTopLeft(X, Y, HAlign, VAlign);
    TExprDrawObserver *observer = DrawObserver;
    if (observer) observer->BeginDraw(*this, X, Y);
    // The surface always writes text transparently with its cell's top-left at the point.
    AssignFont();
    Paint(X, Y);
    if (observer) observer->EndDraw(*this);
    if (DebugBoxes) {
        const int32_t w = Width(), h = Height();
        const int32_t axis = SatAdd(Y, MidLineUp());
        FCanvas->SetBrush(TBrushStyle::Clear, clDebugBox);
        FCanvas->SetPen(TPenStyle::Solid, 1, clDebugAxis);
        FCanvas->MoveTo(X, axis);
        FCanvas->LineTo(SatAdd(X, w), axis);
        FCanvas->SetPen(TPenStyle::Solid, 1, clDebugBox);
        FCanvas->Rectangle(X, Y, SatAdd(X, w), SatAdd(Y, h));
    }
}

bool TExprClass::MetricsEqual(int32_t penWidthX, int32_t penWidthY, long double unitX,
                              long double unitY) const {
    return FPenWidthX == penWidthX && FPenWidthY == penWidthY && FUnitX == unitX && FUnitY == unitY;
}

void TExprClass::SetMetrics(int32_t penWidthX, int32_t penWidthY, long double unitX,
                            long double unitY) {
    FPenWidthX = penWidthX;
    FPenWidthY = penWidthY;
    FUnitX = unitX;
    FUnitY = unitY;
}

void TExprClass::InheritFont(const TExprFont &font, int32_t penWidthX, int32_t penWidthY,
                             long double unitX, long double unitY) {
    // A node that already holds this font and these metrics and is entirely stale has handed
    // them on already; repeating it would only multiply the work along rows and down trees.
    if (FValidMask == vmAllStale && FFont->Data() == font.Data() &&
        MetricsEqual(penWidthX, penWidthY, unitX, unitY))
        return;
    FFont->Assign(font);
    SetMetrics(penWidthX, penWidthY, unitX, unitY);
    FontChanged();
}

void TExprClass::InheritCanvas(TCanvas *canvas, int32_t penWidthX, int32_t penWidthY,
                               long double unitX, long double unitY) {
    if (canvas == FCanvas) return;
    FCanvas = canvas;
    FValidMask = canvas ? vmAllStale : vmAllValid;
    SetMetrics(penWidthX, penWidthY, unitX, unitY);
    CanvasChanged();
}

// Cached getters.

#define ZELVANO_CACHED(getter, field, bit, calc)                                                   \
    int32_t TExprClass::getter() {                                                                 \
        if (NeedsCalc(bit)) {                                                                      \
            field = calc;                                                                          \
            MarkValid(bit);                                                                        \
        }                                                                                          \
        return field;                                                                              \
    }

ZELVANO_CACHED(Width, FWidth, vmWidth, CalcWidth())
ZELVANO_CACHED(Height, FHeight, vmHeight, CalcHeight())
ZELVANO_CACHED(MidLineUp, FMidLineUp, vmMidLineUp, CalcMidLine(false))
ZELVANO_CACHED(MidLineDn, FMidLineDn, vmMidLineDn, CalcMidLine(true))
ZELVANO_CACHED(PowerX, FPowerX, vmPowerX, CalcPowerX())
ZELVANO_CACHED(PowerY, FPowerY, vmPowerY, CalcPowerY())
ZELVANO_CACHED(IndexX, FIndexX, vmIndexX, CalcIndexX())
ZELVANO_CACHED(IndexY, FIndexY, vmIndexY, CalcIndexY())
ZELVANO_CACHED(CapDY, FCapDY, vmCapDY, CalcCapDY())
#undef ZELVANO_CACHED

int32_t TExprClass::CapDXLeft() {
    if (NeedsCalc(vmCapDX)) {
        CalcCapDX(FCapDXLeft, FCapDXRight);
        MarkValid(vmCapDX);
    }
    return FCapDXLeft;
}

int32_t TExprClass::CapDXRight() {
    CapDXLeft();
    return FCapDXRight;
}

// Dynamic operations: the defaults.

void TExprClass::FontChanged() {
    FValidMask = vmAllStale;
    if (FNext)
        QueuePass(
            TFontPass{FNext.get(), TExprFont(*FFont), FPenWidthX, FPenWidthY, FUnitX, FUnitY});
}

void TExprClass::CanvasChanged() {
    if (FNext) QueuePass(TCanvasPass{FNext.get(), FCanvas, FPenWidthX, FPenWidthY, FUnitX, FUnitY});
}

void TExprClass::AssignFont() {
    if (!FCanvas) return;
    TFontData d = FFont->Data();
    d.Color = GetColor();
    FCanvas->SetFont(d);
}

void TExprClass::Paint(int32_t, int32_t) {}

bool TExprClass::ForcesArgBrackets() {
    return false;
}

bool TExprClass::ArgAlwaysBracketed() {
    return true;
}

int32_t TExprClass::CalcWidth() {
    return 0;
}

int32_t TExprClass::CalcHeight() {
    return 0;
}

int32_t TExprClass::CalcMidLine(bool Down) {
    const int64_t h = Height();
    return Down ? Sat32(-((h - 1) / 2)) : Sat32(h / 2);
}

int32_t TExprClass::CalcPowerX() {
    return Width();
}

int32_t TExprClass::CalcIndexX() {
    return Width();
}

int32_t TExprClass::CalcPowerY() {
    AssignFont();
    return FCanvas->TextHeight("A") / 2;
}

int32_t TExprClass::CalcIndexY() {
    AssignFont();
    return Sat32(static_cast<int64_t>(Height()) - FCanvas->TextHeight("A") / 2 - 2);
}

int32_t TExprClass::CalcCapDY() {
    return 0;
}

void TExprClass::CalcCapDX(int32_t &Left, int32_t &Right) {
    Left = Right = 0;
}

uint32_t TExprClass::FactorFlags() {
    return efLeft | efRight;
}

bool TExprClass::ArgumentAlwaysBracketed() {
    return false;
}

bool TExprClass::IsFuncName() {
    return false;
}
