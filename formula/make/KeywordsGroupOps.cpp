// Keyword handlers: differentials and derivatives, limits, sums, products, contour integrals,
// integrals and the value at a point.
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprKeywords.h"
#include "formula/make/ExprRow.h"

using ExprRows::Single;
using ExprRows::Then;
using ExprRows::TRow;

namespace {

// "d" or the partial sign.
PExpr DiffLetter(bool partial) {
    if (partial) return std::make_unique<TExprExtSymbol>(ucPartial);
    return std::make_unique<TExprVar>("d");
}

PExpr WithPower(PExpr base, PExpr power) {
    if (!power) return base;
    return std::make_unique<TExprIndex>(Single(std::move(base)), nullptr, Single(std::move(power)));
}

// DIFF(x[, n]): a thin space, d and x to the power n.
PExpr Differential(TKeywordArgs &a, bool partial) {
    PExpr x = a.Take(0);
    x = WithPower(std::move(x), a.Take(1));
    TRow row(std::make_unique<TExprSpace>(4));
    row.Add(DiffLetter(partial));
    row.Add(std::move(x));
    return row.Take();
}

// DIFFN(x[, n]): a thin space, d to the power n, and x.
PExpr DifferentialN(TKeywordArgs &a, bool partial) {
    PExpr x = a.Take(0);
    PExpr d = WithPower(DiffLetter(partial), a.Take(1));
    TRow row(std::make_unique<TExprSpace>(4));
    row.Add(std::move(d));
    row.Add(std::move(x));
    return row.Take();
}

// DIFFR(x[, n]) and DIFFRF(f, x[, n]): d^n (f) over d x^n.
PExpr Derivative(TKeywordArgs &a, bool partial, bool withF) {
    const std::size_t first = withF ? 1 : 0;
    PExpr f = withF ? a.Take(0) : nullptr;
    PExpr x = a.Take(first);
    PExpr n = a.Take(first + 1);
    // Numerator and denominator each need an own copy of the degree.
    PExpr n2 = n ? a.Copy(n.get()) : nullptr;
    PExpr den = std::make_unique<TExprChain>(
        Then(DiffLetter(partial), WithPower(std::move(x), std::move(n))));
    PExpr num = WithPower(DiffLetter(partial), std::move(n2));
    if (withF) num = std::make_unique<TExprChain>(Then(std::move(num), std::move(f)));
    return std::make_unique<TExprRatio>(std::move(num), std::move(den));
}

// SUMMA, PROD, CIRC, INT: the body, then the lower and upper limits when written.
template <class TGroup, class... TCount>
PExpr Group(TKeywordArgs &a, std::size_t body, TCount... count) {
    PExpr b = a.TakeForced(body);
    PExpr lower = a.Take(body + 1);
    return std::make_unique<TGroup>(std::move(b), std::move(lower), a.Take(body + 2), count...);
}

} // namespace

namespace Keywords {

PExpr Diff(TKeywordArgs &a) {
    return Differential(a, false);
}

PExpr PDiff(TKeywordArgs &a) {
    return Differential(a, true);
}

PExpr DiffN(TKeywordArgs &a) {
    return DifferentialN(a, false);
}

PExpr PDiffN(TKeywordArgs &a) {
    return DifferentialN(a, true);
}

PExpr DiffR(TKeywordArgs &a) {
    return Derivative(a, false, false);
}

PExpr PDiffR(TKeywordArgs &a) {
    return Derivative(a, true, false);
}

PExpr DiffRF(TKeywordArgs &a) {
    return Derivative(a, false, true);
}

PExpr PDiffRF(TKeywordArgs &a) {
    return Derivative(a, true, true);
}

PExpr Lim(TKeywordArgs &a) {
    PExpr under = a.TakeForced(0);
    return std::make_unique<TExprCommonFunc>(std::make_unique<TExprLim>(std::move(under)),
                                             a.Take(1));
}

PExpr Summa(TKeywordArgs &a) {
    return Group<TExprSumma>(a, 0);
}

PExpr Prod(TKeywordArgs &a) {
    return Group<TExprProd>(a, 0);
}

PExpr Circ(TKeywordArgs &a) {
    return Group<TExprCirc>(a, 0);
}

PExpr Int(TKeywordArgs &a) {
    return Group<TExprIntegral>(a, 0, int32_t{1});
}

// INTM(count, body[, lower[, upper]]): a multiple integral.
PExpr IntM(TKeywordArgs &a) {
    return Group<TExprIntegral>(a, 1, a.Int(0));
}

PExpr At(TKeywordArgs &a) {
    PExpr f = a.Take(0);
    return std::make_unique<TExprAtValue>(std::move(f), a.Take(1));
}

} // namespace Keywords
