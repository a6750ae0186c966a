// Matrices, case distinctions and special symbols.
#pragma once

#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"

// Son is the first cell item; the items are read row by row. The cell size (held under
// vmUser1) is taken over all items, painted or not.
class TExprMatrix : public TExprParent {
public:
    TExprMatrix(PExpr items, int32_t colCount, int32_t rowCount)
        : TExprParent(std::move(items)), FColCount(colCount), FRowCount(rowCount) {}

    int32_t ColCount() const { return FColCount; }
    int32_t RowCount() const { return FRowCount; }
    int32_t CellWidth();
    int32_t CellHeight();

    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;

protected:
    void CalcCellSize();

    int32_t FColCount, FRowCount;
    int32_t FCellWidth = 0, FCellHeight = 0;
};

// Items in pairs (value, condition, ...) right of a curly brace.
class TExprCase : public TExprParent {
public:
    explicit TExprCase(PExpr items) : TExprParent(std::move(items)) {}

    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
};

// A small lambda with a horizontal stroke.
class TExprLambda : public TExprExtSymbol {
public:
    TExprLambda() : TExprExtSymbol(955) {}
    void Paint(int32_t X, int32_t Y) override;
};

// Nabla: the capital delta written upside down in its own box.
class TExprNabla : public TExprExtSymbol {
public:
    TExprNabla() : TExprExtSymbol(916) {}
    void Paint(int32_t X, int32_t Y) override;
};

// An asterisk lowered by 8 vertical units.
class TExprAsterix : public TExprSimple {
public:
    TExprAsterix() : TExprSimple("*") {}
    void Paint(int32_t X, int32_t Y) override;
};

// No width, the height of a letter, nothing painted.
class TExprEmpty : public TExprClass {
public:
    int32_t CalcHeight() override;
};
