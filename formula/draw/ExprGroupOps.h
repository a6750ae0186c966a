// Group operators: sum, product, contour integral and integral signs with an operand at
// their right and optional limits below (Twin1) and above (Twin2).
#pragma once

#include "formula/draw/ExprParents.h"

class TExprGroupOp : public TExprTwinParent {
public:
    TExprGroupOp(PExpr son, PExpr lower, PExpr upper)
        : TExprTwinParent(std::move(son), std::move(lower), std::move(upper)) {}

    // Cached under vmUser2 and vmUser1.
    int32_t SymbolHeight();
    int32_t SymbolWidth();

    virtual int32_t CalcSymbolWidth() = 0;
    virtual void PaintBigSymbol(int32_t cx, int32_t cy) = 0;
    virtual void PaintSmallSymbol(int32_t cx, int32_t cy) = 0;

    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;

protected:
    int32_t CalcSymbolHeight();
    // Rows reserved below and above the sign, the width of the sign column, and the ratio of
    // the horizontal to the vertical resolution.
    int64_t LowerPart();
    int64_t UpperPart();
    // Rows by which the lower (upper) limit stands further off the sign than the rows of their
    // boxes alone would put it, so that its ink keeps clear of the sign; 0 without that limit.
    int64_t LowerShift();
    int64_t UpperShift();
    // Rows the lower limit takes below the sign's last row (the upper one above its first row),
    // the shift included; 0 without that limit.
    int64_t LowerReach();
    int64_t UpperReach();
    int64_t ColumnWidth();
    long double ResolutionRatio() const;
    // The small integral stroke (two hooks and a stem) with left column L and top row T.
    void PaintSmallStroke(int64_t L, int64_t T, bool setPenAndBrush);

    int32_t FSymbolHeight = 0;
    int32_t FSymbolWidth = 0;
};

class TExprSumma : public TExprGroupOp {
public:
    using TExprGroupOp::TExprGroupOp;
    int32_t CalcSymbolWidth() override;
    void PaintBigSymbol(int32_t cx, int32_t cy) override;
    void PaintSmallSymbol(int32_t cx, int32_t cy) override;
};

class TExprProd : public TExprGroupOp {
public:
    using TExprGroupOp::TExprGroupOp;
    int32_t CalcSymbolWidth() override;
    void PaintBigSymbol(int32_t cx, int32_t cy) override;
    void PaintSmallSymbol(int32_t cx, int32_t cy) override;
};

class TExprCirc : public TExprGroupOp {
public:
    using TExprGroupOp::TExprGroupOp;
    int32_t CalcSymbolWidth() override;
    void PaintBigSymbol(int32_t cx, int32_t cy) override;
    void PaintSmallSymbol(int32_t cx, int32_t cy) override;
};

// Count integral signs; below 1: two signs, an ellipsis and a last sign.
class TExprIntegral : public TExprGroupOp {
public:
    TExprIntegral(PExpr son, PExpr lower, PExpr upper, int32_t count)
        : TExprGroupOp(std::move(son), std::move(lower), std::move(upper)), FCount(count) {}
    int32_t Count() const { return FCount; }

    int32_t CalcSymbolWidth() override;
    void PaintBigSymbol(int32_t cx, int32_t cy) override;
    void PaintSmallSymbol(int32_t cx, int32_t cy) override;

protected:
    // Both forms place the signs (and the ellipsis) alike; only the sign's drawing differs.
    void PaintSigns(int32_t cx, int32_t cy, bool big);

    int32_t FCount;
};
