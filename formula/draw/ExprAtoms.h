// Text atoms and symbols: the leaves of a formula tree. Texts are Windows-1251; symbol codes
// are UTF-16 code units or the private sign codes 1 to 12 of TExprSign.
#pragma once

#include "formula/draw/ExprClass.h"

#include <string>

class TExprSimple : public TExprClass {
public:
    explicit TExprSimple(std::string text);
    const std::string &Text() const { return FText; }

    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcCapDY() override;

protected:
    std::string FText;
};

// An italic variable name.
class TExprVar : public TExprSimple {
public:
    using TExprSimple::TExprSimple;

    void AssignFont() override;
    void CalcCapDX(int32_t &Left, int32_t &Right) override;
    int32_t CalcPowerX() override;
    int32_t CalcIndexX() override;
};

class TExprNumber : public TExprClass {
public:
    TExprNumber(long double value, bool expForm);

    long double Value() const { return FValue; }
    bool ExpForm() const { return FExpForm; }
    const std::string &Mantissa() {
        SplitText();
        return FMantissa;
    }
    const std::string &Exponent() { // empty: no power of ten
        SplitText();
        return FExponent;
    }
    void SetValue(long double value);

    // Formats Value for display (added after the sixteen operations of the base).
    virtual std::string BuildText();

    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    int32_t CalcMidLine(bool Down) override;
    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcCapDY() override;
    uint32_t FactorFlags() override;

protected:
    // For descendants whose BuildText must already be theirs when the first value is set:
    // they call InitValue from their own constructor.
    explicit TExprNumber(bool expForm);
    void InitValue(long double value);

    long double FValue = 0;
    std::string FMantissa;
    std::string FExponent;
    bool FExpForm = false;

private:
    // Formats Value into mantissa and exponent when they are stale. Only values that are
    // measured, painted or asked for get formatted, not each value a product of many numbers
    // passes through while it is built (an exact decimal text of a huge value is costly).
    void SplitText();
    bool FTextStale = false;
};

// A number whose format is chosen by precision and magnitude ("NUM").
class TExprExpNumber : public TExprNumber {
public:
    TExprExpNumber(long double value, int32_t precision, int32_t digits, int32_t expLimit);

    int32_t Precision() const { return FPrecision; }
    int32_t Digits() const { return FDigits; }
    int32_t ExpLimit() const { return FExpLimit; }

    std::string BuildText() override;

protected:
    int32_t FPrecision, FDigits, FExpLimit;
};

// One character given by its UTF-16 code.
class TExprExtSymbol : public TExprClass {
public:
    explicit TExprExtSymbol(uint16_t code);
    uint16_t Code() const { return FCode; }

    int32_t CalcWidth() override;
    int32_t CalcHeight() override;
    void Paint(int32_t X, int32_t Y) override;
    int32_t CalcCapDY() override;
    void CalcCapDX(int32_t &Left, int32_t &Right) override;
    int32_t CalcPowerX() override;

protected:
    uint16_t FCode;
};

// The reduced Planck constant, italic.
class TExprPlank : public TExprExtSymbol {
public:
    TExprPlank();

    void AssignFont() override;
    int32_t CalcCapDY() override;
    void CalcCapDX(int32_t &Left, int32_t &Right) override;
};

// Operator and relation signs, with a margin of 2 PenWidthX on each side. Codes 1 to 12 are
// private composed signs (much less, much greater, less/greater or similar, plus-minus,
// minus-plus, tilde over a bar, parallel, perpendicular, angle); any other code is a character.
class TExprSign : public TExprExtSymbol {
public:
    using TExprExtSymbol::TExprExtSymbol;

    int32_t CalcWidth() override;
    void Paint(int32_t X, int32_t Y) override;
    bool ForcesArgBrackets() override;
    uint32_t FactorFlags() override;
    int32_t CalcCapDY() override;
};

// Unicode code points that the parser writes and the atoms treat by name.
enum : uint16_t {
    ucMiddleDot = 183,     // the product dot "*."
    ucTimes = 215,         // "*+"
    ucDivide = 247,        // "/+"
    ucPlank = 295,         // h with stroke
    ucAlpha = 913,         // the first Greek capital
    ucEllipsis = 8230,     // "..."
    ucRightArrow = 8594,   // "->"
    ucPartial = 8706,      // the partial sign of PDIFF and its kin
    ucMinus = 8722,        // the minus sign of "-"
    ucInfinity = 8734,     // INF
    ucAlmostEqual = 8776,  // "~~"
    ucNotEqual = 8800,     // "<>"
    ucIdentical = 8801,    // "=="
    ucLessEqual = 8804,    // "<="
    ucGreaterEqual = 8805, // ">="
};

// Private sign codes of TExprSign.
enum : uint16_t {
    esMuchLess = 1,
    esMuchGreater = 2,
    esApproxLess = 3,
    esApproxGreater = 4,
    esPlusMinus = 5,
    esMinusPlus = 6,
    esAlmostEqual = 7,
    esParallel = 10,
    esPerpendicular = 11,
    esAngle = 12,
};
