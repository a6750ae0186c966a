// Keyword handlers that build text atoms and symbols (formula/draw/ExprAtoms): strings, formatted
// numbers, symbols by code, angles and the factorial sign.
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprKeywords.h"
#include "formula/make/ExprRow.h"

namespace Keywords {

PExpr String(TKeywordArgs &a) {
    return std::make_unique<TExprSimple>(a.Items[0].Text);
}

PExpr Angle(TKeywordArgs &a) {
    return ExprRows::Then(std::make_unique<TExprSign>(esAngle),
                          std::make_unique<TExprSimple>(a.Items[0].Text));
}

// NUM(v[, precision[, digits[, exponent limit]]]).
PExpr Num(TKeywordArgs &a) {
    return std::make_unique<TExprExpNumber>(a.Items[0].Number, a.Int(1, 4), a.Int(2, 4),
                                            a.Int(3, 2));
}

PExpr Symbol(TKeywordArgs &a) {
    const int32_t n = a.Int(0);
    // A code the 16-bit symbol cannot hold would show another character.
    if (n < 0 || n > 0xFFFF) a.Fail(ExprMessages::OutOfRange(), a.Items[0].Position);
    return std::make_unique<TExprExtSymbol>(static_cast<uint16_t>(n));
}

PExpr Fact(TKeywordArgs &a) {
    return ExprRows::Then(a.Take(0), std::make_unique<TExprSimple>("!"));
}

// "d" or the partial sign of a differential or a derivative.
PExpr DiffLetter(bool partial) {
    if (partial) return std::make_unique<TExprExtSymbol>(ucPartial);
    return std::make_unique<TExprVar>("d");
}

} // namespace Keywords
