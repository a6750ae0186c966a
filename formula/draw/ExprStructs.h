// Fractions, roots, brackets and indices: the constructs that give a formula its
// two-dimensional shape. Brackets and the radical are filled outlines sized from their content.
#pragma once

#include "formula/draw/ExprParents.h"

// Bracket kinds of TExprBracketed.
enum : uint8_t { ebNone = 0, ebRound = 1, ebSquare = 2, ebFigure = 3, ebModule = 4 };

class TExprRatio : public TExprBigParent {
public:
    TExprRatio(PExpr numerator, PExpr denominator)
        : TExprBigParent(std::move(numerator), std::move(denominator)) {}

    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    void Paint(int32_t X, int32_t Y) override;
};

// Son is the radicand, Son2 the degree (may be empty) with a font 0.7 times the root's.
class TExprRoot : public TExprBigParent {
public:
    TExprRoot(PExpr radicand, PExpr degree);

    void PassFontToSon2() override;
    void PassCanvasToSon2() override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    void Paint(int32_t X, int32_t Y) override;
};

// The members of the chain at Son, between a left and a right bracket.
class TExprBracketed : public TExprChain {
public:
    TExprBracketed(PExpr content, uint8_t leftBracket, uint8_t rightBracket);

    uint8_t LeftBracket() const { return FLeftBracket; }
    uint8_t RightBracket() const { return FRightBracket; }
    // Both kinds 0; width, height, cap shifts and cap room become stale.
    void RemoveBrackets();

    // Whether the brackets are shown (added after the operations of TExprParent).
    virtual bool NeedBrackets();

    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcCapDY() override;
    void CalcCapDX(int32_t &Left, int32_t &Right) override;
    uint32_t FactorFlags() override;

protected:
    uint8_t FLeftBracket;
    uint8_t FRightBracket;
};

// Round brackets that are always drawn and never dropped by the builder.
class TExprRound : public TExprBracketed {
public:
    explicit TExprRound(PExpr content) : TExprBracketed(std::move(content), ebRound, ebRound) {}
    uint32_t FactorFlags() override;
};

// The argument of a function: round brackets shown only when needed (or forced).
class TExprArgument : public TExprBracketed {
public:
    explicit TExprArgument(PExpr content) : TExprBracketed(std::move(content), ebRound, ebRound) {}

    bool ForceBrackets() const { return FForceBrackets; }
    void SetForceBrackets();
    bool NeedBrackets() override;

protected:
    bool FForceBrackets = false;
};

// Son is the base, Twin1 the subscript, Twin2 the superscript.
class TExprIndex : public TExprTwinParent {
public:
    TExprIndex(PExpr base, PExpr subscript, PExpr superscript)
        : TExprTwinParent(std::move(base), std::move(subscript), std::move(superscript)) {}

    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcCapDY() override;
    bool ArgAlwaysBracketed() override;
    uint32_t FactorFlags() override;
};
