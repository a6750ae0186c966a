#include "formula/draw/ExprParents.h"

#include "formula/draw/ExprLayout.h"

#include "runtime/NumText.h"

#include <algorithm>

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

template <class THand> void TExprParent::StoreChild(PExpr &slot, PExpr child, THand hand) {
    slot.reset();
    slot = std::move(child);
    if (slot) {
        slot->SetParent(this);
        hand();
    }
    FValidMask = vmAllStale;
}

PExpr TExprParent::CutOffChild(PExpr &slot) {
    FValidMask = vmAllStale;
    return std::move(slot);
}

void TExprParent::HandFont(TExprClass *child) {
    if (child) child->InheritFont(*FFont, FPenWidthX, FPenWidthY, FUnitX, FUnitY);
}

void TExprParent::HandCanvas(TExprClass *child) {
    if (child) child->InheritCanvas(FCanvas, FPenWidthX, FPenWidthY, FUnitX, FUnitY);
}

void TExprParent::HandReducedFont(TExprClass *child) {
    if (child) child->SetFont(ReducedFont(*FFont));
}

void TExprParent::HandOwnCanvas(TExprClass *child) {
    if (child) child->SetCanvas(FCanvas);
}

void TExprParent::SetSon(PExpr son) {
    StoreChild(FSon, std::move(son), [this] {
        PassFontToSon();
        PassCanvasToSon();
    });
}

PExpr TExprParent::CutOffSon() {
    return CutOffChild(FSon);
}

void TExprParent::PassFontToSon() {
    HandFont(Son());
}

void TExprParent::PassCanvasToSon() {
    HandCanvas(Son());
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
    StoreChild(FSon2, std::move(son2), [this] {
        PassFontToSon2();
        PassCanvasToSon2();
    });
}

PExpr TExprBigParent::CutOffSon2() {
    return CutOffChild(FSon2);
}

void TExprBigParent::PassFontToSon2() {
    HandFont(Son2());
}

void TExprBigParent::PassCanvasToSon2() {
    HandCanvas(Son2());
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
    StoreChild(slot, std::move(twin), [this, &slot] {
        slot->SetFont(*FFont);
        slot->Font().SetHeight(ScriptHeight(slot->Font().Height()));
        slot->SetCanvas(FCanvas);
    });
}

PExpr TExprTwinParent::CutOffTwin(int index) {
    return CutOffChild(index == 1 ? FTwin1 : FTwin2);
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
    HandOwnCanvas(Twin1());
    HandOwnCanvas(Twin2());
}
