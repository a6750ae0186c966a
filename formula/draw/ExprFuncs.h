// Functions, limits and decorations: function applications, "lim", the base of a power,
// commas and spaces, primes, the value-at bar, accents and stacked lines.
#pragma once

#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprStructs.h"

// Son is the name part, Son2 the argument, on one axis 3 PenWidthX apart.
class TExprCommonFunc : public TExprBigParent {
public:
    TExprCommonFunc(PExpr name, PExpr argument)
        : TExprBigParent(std::move(name), std::move(argument)) {}

    // What the argument asks when it decides on its brackets: the name part's answer.
    bool ArgumentAlwaysBracketed() override;

    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    uint32_t FactorFlags() override;
};

// An upright function name.
class TExprFuncName : public TExprSimple {
public:
    using TExprSimple::TExprSimple;
    bool ArgAlwaysBracketed() override;
    bool IsFuncName() override;
};

// A named function: a one-character name is an italic variable, a longer one a TExprFuncName.
class TExprFunc : public TExprCommonFunc {
public:
    TExprFunc(const std::string &name, PExpr argument);
};

// The base of a power: round brackets exactly when the content is a row of several nodes.
class TExprBase : public TExprBracketed {
public:
    explicit TExprBase(PExpr content) : TExprBracketed(std::move(content), ebRound, ebRound) {}
    bool NeedBrackets() override;
};

class TExprComma : public TExprExtSymbol {
public:
    TExprComma() : TExprExtSymbol(44) {}
    bool ForcesArgBrackets() override;
    int32_t CalcCapDY() override;
};

// "lim" with Son, the condition, beneath it at 0.7 size.
class TExprLim : public TExprParent {
public:
    explicit TExprLim(PExpr condition);

    void Paint(int32_t X, int32_t Y) override;
    bool ArgAlwaysBracketed() override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    void PassFontToSon() override;
    void PassCanvasToSon() override;
};

// An empty space Count PenWidthX wide.
class TExprSpace : public TExprClass {
public:
    explicit TExprSpace(int32_t count) : FCount(count) {}
    int32_t Count() const { return FCount; }
    int32_t CalcWidth() override;

protected:
    int32_t FCount;
};

// Count primes.
class TExprStrokes : public TExprClass {
public:
    explicit TExprStrokes(int32_t count) : FCount(count) {}
    int32_t Count() const { return FCount; }

    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;

protected:
    int32_t FCount;
};

// Son, a vertical bar, and Son2 (the condition, at 0.7 size) at the bar's foot.
class TExprAtValue : public TExprBigParent {
public:
    TExprAtValue(PExpr expression, PExpr condition);

    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    uint32_t FactorFlags() override;
    void PassFontToSon2() override;
    void PassCanvasToSon2() override;
};

// Accent kinds of TExprCap.
enum : uint8_t { ecPoints = 0, ecVector = 1, ecCap = 2, ecTilde = 3, ecLine = 4 };

// An accent over Son; Count is the number of dots of kind ecPoints.
class TExprCap : public TExprParent {
public:
    TExprCap(PExpr son, uint8_t kind, int32_t count)
        : TExprParent(std::move(son)), FKind(kind), FCount(count) {}

    uint8_t Kind() const { return FKind; }
    int32_t Count() const { return FCount; }

    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    int32_t CalcPowerX() override;
    int32_t CalcIndexX() override;
    int32_t CalcPowerY() override;
    int32_t CalcCapDY() override;
    uint32_t FactorFlags() override;

protected:
    uint8_t FKind;
    int32_t FCount;
};

// Lines (Son and its following siblings) stacked top to bottom: 0 left, 1 centred, 2 right.
class TExprStand : public TExprParent {
public:
    TExprStand(PExpr firstLine, uint8_t align) : TExprParent(std::move(firstLine)), FAlign(align) {}
    uint8_t Align() const { return FAlign; }

    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcWidth() override;
    int32_t CalcHeight() override;

protected:
    uint8_t FAlign;
};
