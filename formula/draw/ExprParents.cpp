#include "formula/draw/ExprParents.h"

#include "formula/draw/ExprLayout.h"

#include "runtime/NumText.h"

#include <algorithm>

using ExprLayout::SatAdd;
using ExprLayout::SatSub;

TExprFont ReducedFont(const TExprFont &font) {
    TExprFont reduced(font);
    reduced.SetHeight(ScriptHeight(reduced.Height()));
    return reduced;
}

// TExprParent

TExprParent::TExprParent(PExpr son) {
    SetSon(std::move(son));
}

TExprParent::~TExprParent() {
    FSon.reset();
}

void TExprParent::SetSon(PExpr son) {
    FSon.reset();
    FSon = std::move(son);
    if (FSon) {
        FSon->SetParent(this);
        PassFontToSon();
        PassCanvasToSon();
    }
    FValidMask = vmAllStale;
}

PExpr TExprParent::CutOffSon() {
    FValidMask = vmAllStale;
    return std::move(FSon);
}

void TExprParent::PassFontToSon() {
    if (FSon) FSon->InheritFont(*FFont, FPenWidthX, FPenWidthY, FUnitX, FUnitY);
}

void TExprParent::PassCanvasToSon() {
    if (FSon) FSon->InheritCanvas(FCanvas, FPenWidthX, FPenWidthY, FUnitX, FUnitY);
}

void TExprParent::FontChanged() {
    TExprClass::FontChanged();
    PassFontToSon();
}

void TExprParent::CanvasChanged() {
    TExprClass::CanvasChanged();
    PassCanvasToSon();
}

// TExprBigParent

TExprBigParent::TExprBigParent(PExpr son, PExpr son2) : TExprParent(std::move(son)) {
    SetSon2(std::move(son2));
}

TExprBigParent::~TExprBigParent() {
    FSon2.reset();
    FSon.reset();
}

void TExprBigParent::SetSon2(PExpr son2) {
    FSon2.reset();
    FSon2 = std::move(son2);
    if (FSon2) {
        FSon2->SetParent(this);
        PassFontToSon2();
        PassCanvasToSon2();
    }
    FValidMask = vmAllStale;
}

PExpr TExprBigParent::CutOffSon2() {
    FValidMask = vmAllStale;
    return std::move(FSon2);
}

void TExprBigParent::PassFontToSon2() {
    if (FSon2) FSon2->InheritFont(*FFont, FPenWidthX, FPenWidthY, FUnitX, FUnitY);
}

void TExprBigParent::PassCanvasToSon2() {
    if (FSon2) FSon2->InheritCanvas(FCanvas, FPenWidthX, FPenWidthY, FUnitX, FUnitY);
}

void TExprBigParent::FontChanged() {
    TExprParent::FontChanged();
    PassFontToSon2();
}

void TExprBigParent::CanvasChanged() {
    TExprParent::CanvasChanged();
    PassCanvasToSon2();
}

// TExprChain

void TExprChain::RowExtent(int64_t &Up, int64_t &Down) {
    const ExprLayout::TRowExtent extent = ExprLayout::RowExtentOf(Son());
    Up = extent.Up;
    Down = extent.Down;
}

int32_t TExprChain::CalcWidth() {
    int64_t w = 0;
    for (TExprClass *m = Son(); m; m = m->Next())
        w += m->Width();
    return Sat32(w);
}

int32_t TExprChain::CalcHeight() {
    int64_t up, down;
    RowExtent(up, down);
    return Sat32(up + down);
}

int32_t TExprChain::CalcMidLine(bool Down) {
    int64_t up, down;
    RowExtent(up, down);
    return Down ? Sat32(-down) : Sat32(up - 1);
}

void TExprChain::Paint(int32_t X, int32_t Y) {
    const int32_t axis = SatAdd(Y, MidLineUp());
    int64_t x = X;
    for (TExprClass *m = Son(); m; m = m->Next()) {
        m->Draw(Sat32(x), axis, 0, 1);
        x += m->Width();
    }
}

int32_t TExprChain::CalcCapDY() {
    int32_t d = MaxInt;
    for (TExprClass *m = Son(); m; m = m->Next())
        d = std::min(d, m->CapDY());
    return d;
}

void TExprChain::CalcCapDX(int32_t &Left, int32_t &Right) {
    // An empty row has no slant to follow.
    if (!Son()) {
        Left = Right = 0;
        return;
    }
    Left = Son()->CapDXLeft();
    Right = LastInChain(Son())->CapDXRight();
}

uint32_t TExprChain::FactorFlags() {
    // An empty row joins like the base node.
    if (!Son()) return TExprClass::FactorFlags();
    const uint32_t first = Son()->FactorFlags();
    const uint32_t last = LastInChain(Son())->FactorFlags();
    return (first & efLeft) | (last & efRight) | (first & efNegative);
}

// TExprTwinParent

TExprTwinParent::TExprTwinParent(PExpr son, PExpr twin1, PExpr twin2)
    : TExprParent(std::move(son)) {
    SetTwin(1, std::move(twin1));
    SetTwin(2, std::move(twin2));
}

TExprTwinParent::~TExprTwinParent() {
    FTwin1.reset();
    FTwin2.reset();
    FSon.reset();
}

void TExprTwinParent::SetTwin(int index, PExpr twin) {
    PExpr &slot = index == 1 ? FTwin1 : FTwin2;
    slot.reset();
    slot = std::move(twin);
    if (slot) {
        slot->SetParent(this);
        slot->SetFont(*FFont);
        slot->Font().SetHeight(ScriptHeight(slot->Font().Height()));
        slot->SetCanvas(FCanvas);
    }
    FValidMask = vmAllStale;
}

PExpr TExprTwinParent::CutOffTwin(int index) {
    FValidMask = vmAllStale;
    return std::move(index == 1 ? FTwin1 : FTwin2);
}

void TExprTwinParent::FontChanged() {
    TExprParent::FontChanged();
    if (!FTwin1 && !FTwin2) return;
    const TExprFont reduced = ReducedFont(*FFont);
    if (FTwin1) FTwin1->SetFont(reduced);
    if (FTwin2) FTwin2->SetFont(reduced);
}

void TExprTwinParent::CanvasChanged() {
    TExprParent::CanvasChanged();
    if (FTwin1) FTwin1->SetCanvas(FCanvas);
    if (FTwin2) FTwin2->SetCanvas(FCanvas);
}
