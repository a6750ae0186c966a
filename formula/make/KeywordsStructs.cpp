// Keyword handlers that build fractions, roots, brackets and indices (formula/draw/ExprStructs):
// roots, powers and indices, the modulus, brackets of any kind, systems and derivatives.
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprKeywords.h"
#include "formula/make/ExprRow.h"

using ExprRows::Then;

namespace Keywords {

PExpr Sqrt(TKeywordArgs &a) {
    return std::make_unique<TExprRoot>(a.Take(0), nullptr);
}

// ROOT(n, x): the degree is written first.
PExpr Root(TKeywordArgs &a) {
    PExpr n = a.Take(0);
    return std::make_unique<TExprRoot>(a.Take(1), std::move(n));
}

PExpr Sqr(TKeywordArgs &a) {
    return TExprBuilder::AttachPower(a.Take(0), std::make_unique<TExprNumber>(2, false));
}

PExpr Pow(TKeywordArgs &a) {
    PExpr x = a.Take(0);
    return TExprBuilder::AttachPower(std::move(x), a.Take(1));
}

PExpr Ind(TKeywordArgs &a) {
    PExpr x = a.Take(0);
    return TExprBuilder::AttachIndex(std::move(x), a.Take(1));
}

PExpr Strokes(TKeywordArgs &a) {
    PExpr x = a.Take(0);
    return TExprBuilder::AttachPower(std::move(x), std::make_unique<TExprStrokes>(a.Int(1, 1)));
}

// The argument shape has put the list between modulus bars already.
PExpr Abs(TKeywordArgs &a) {
    return a.Take(0);
}

PExpr Brackets(TKeywordArgs &a) {
    const auto opening = static_cast<uint8_t>(a.Items[0].Int);
    const auto closing = static_cast<uint8_t>(a.Items[0].Int2);
    return std::make_unique<TExprBracketed>(a.Take(1), opening, closing);
}

// SYSTEM(...): a left-aligned stand behind an opening curly bracket.
PExpr System(TKeywordArgs &a) {
    return std::make_unique<TExprBracketed>(std::make_unique<TExprStand>(a.TakeRest(0), 0),
                                            ebFigure, ebNone);
}

// base with power as its superscript; base alone without one.
PExpr WithPower(PExpr base, PExpr power) {
    if (!power) return base;
    return std::make_unique<TExprIndex>(ExprRows::Single(std::move(base)), nullptr,
                                        ExprRows::Single(std::move(power)));
}

// DIFFR(x[, n]) and DIFFRF(f, x[, n]): d^n (f) over d x^n.
template <bool Partial, bool WithF> PExpr Derivative(TKeywordArgs &a) {
    const std::size_t first = WithF ? 1 : 0;
    PExpr f = WithF ? a.Take(0) : nullptr;
    PExpr x = a.Take(first);
    PExpr n = a.Take(first + 1);
    // Numerator and denominator each need an own copy of the degree.
    PExpr n2 = n ? a.Copy(n.get()) : nullptr;
    PExpr den = std::make_unique<TExprChain>(
        Then(DiffLetter(Partial), WithPower(std::move(x), std::move(n))));
    PExpr num = WithPower(DiffLetter(Partial), std::move(n2));
    if (WithF) num = std::make_unique<TExprChain>(Then(std::move(num), std::move(f)));
    return std::make_unique<TExprRatio>(std::move(num), std::move(den));
}

template PExpr Derivative<false, false>(TKeywordArgs &);
template PExpr Derivative<true, false>(TKeywordArgs &);
template PExpr Derivative<false, true>(TKeywordArgs &);
template PExpr Derivative<true, true>(TKeywordArgs &);

} // namespace Keywords
