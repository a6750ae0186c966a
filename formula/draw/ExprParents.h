// Containers: nodes that own child chains. TExprParent holds one child chain, TExprBigParent
// two, TExprTwinParent a main child and two reduced-size children, and TExprChain lays its
// child chain out as one row aligned on the axis row.
//
// C++ constructors do not dispatch to overrides of a class still being built, so a descendant
// that redefines PassFontToSon / PassFontToSon2 (or their canvas twins) stores its children
// with SetSon / SetSon2 in its own constructor body.
#pragma once

#include "formula/draw/ExprClass.h"

class TExprParent : public TExprClass {
public:
    explicit TExprParent(PExpr son = nullptr);
    ~TExprParent() override;

    TExprClass *Son() const { return FSon.get(); }
    // Frees the present Son; the node passed must not be Son or a member of its chain.
    void SetSon(PExpr son);
    PExpr CutOffSon();

    virtual void PassFontToSon();
    virtual void PassCanvasToSon();

    void FontChanged() override;
    void CanvasChanged() override;

protected:
    // Frees what slot holds and stores child there with this node as its parent; hand then
    // gives it font and canvas. Every measurement of this node becomes stale.
    template <class THand> void StoreChild(PExpr &slot, PExpr child, THand hand);
    PExpr CutOffChild(PExpr &slot);
    // A child in this node's units: this node's font (or canvas) and its four metrics.
    void HandFont(TExprClass *child);
    void HandCanvas(TExprClass *child);
    // A reduced child (a degree, a condition): the reduced font and the canvas, from which it
    // computes units of its own.
    void HandReducedFont(TExprClass *child);
    void HandOwnCanvas(TExprClass *child);

    PExpr FSon;
};

class TExprBigParent : public TExprParent {
public:
    explicit TExprBigParent(PExpr son = nullptr, PExpr son2 = nullptr);
    ~TExprBigParent() override;

    TExprClass *Son2() const { return FSon2.get(); }
    void SetSon2(PExpr son2);
    PExpr CutOffSon2();

    virtual void PassFontToSon2();
    virtual void PassCanvasToSon2();

    void FontChanged() override;
    void CanvasChanged() override;

protected:
    PExpr FSon2;
};

// A row: Son is the first member, the members follow through Next.
class TExprChain : public TExprParent {
public:
    explicit TExprChain(PExpr firstMember = nullptr) : TExprParent(std::move(firstMember)) {}

    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcCapDY() override;
    void CalcCapDX(int32_t &Left, int32_t &Right) override;
    uint32_t FactorFlags() override;

protected:
    // Rows from the top through the axis row (Up) and below it (Down), over all members.
    void RowExtent(int64_t &Up, int64_t &Down);
};

// Twins carry a font 0.7 times the owner's and compute their own metrics from it. In an index
// Twin1 is the subscript and Twin2 the superscript.
class TExprTwinParent : public TExprParent {
public:
    TExprTwinParent(PExpr son = nullptr, PExpr twin1 = nullptr, PExpr twin2 = nullptr);
    ~TExprTwinParent() override;

    TExprClass *Twin1() const { return FTwin1.get(); }
    TExprClass *Twin2() const { return FTwin2.get(); }
    TExprClass *Twin(int index) const { return index == 1 ? Twin1() : Twin2(); }
    void SetTwin(int index, PExpr twin);
    PExpr CutOffTwin(int index);

    void FontChanged() override;
    void CanvasChanged() override;

protected:
    PExpr FTwin1;
    PExpr FTwin2;
};

// The reduced font of twins, root degrees, limit and at-value conditions: a copy of font with
// its signed height multiplied by 0.7 and rounded.
TExprFont ReducedFont(const TExprFont &font);
