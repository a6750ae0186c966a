// Keyword handlers: roots, powers, indices, accents, strokes, the factorial and the modulus.
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprKeywords.h"
#include "formula/make/ExprRow.h"

namespace {

PExpr AccentOn(TKeywordArgs &a, uint8_t kind, int32_t count) {
    return TExprBuilder::AttachCap(a.Take(0), kind, count);
}

} // namespace

namespace Keywords {

PExpr Sqrt(TKeywordArgs &a) {
    return std::make_unique<TExprRoot>(a.Take(0), nullptr);
}

PExpr Sqr(TKeywordArgs &a) {
    return TExprBuilder::AttachPower(a.Take(0), std::make_unique<TExprNumber>(2, false));
}

PExpr Pow(TKeywordArgs &a) {
    PExpr x = a.Take(0);
    return TExprBuilder::AttachPower(std::move(x), a.Take(1));
}

// ROOT(n, x): the degree is written first.
PExpr Root(TKeywordArgs &a) {
    PExpr n = a.Take(0);
    return std::make_unique<TExprRoot>(a.Take(1), std::move(n));
}

PExpr Ind(TKeywordArgs &a) {
    PExpr x = a.Take(0);
    return TExprBuilder::AttachIndex(std::move(x), a.Take(1));
}

PExpr Abs(TKeywordArgs &a) {
    return a.Take(0);
}

PExpr Strokes(TKeywordArgs &a) {
    PExpr x = a.Take(0);
    return TExprBuilder::AttachPower(std::move(x), std::make_unique<TExprStrokes>(a.Int(1, 1)));
}

PExpr Fact(TKeywordArgs &a) {
    return ExprRows::Then(a.Take(0), std::make_unique<TExprSimple>("!"));
}

PExpr Line(TKeywordArgs &a) {
    return AccentOn(a, ecLine, 0);
}

PExpr Vect(TKeywordArgs &a) {
    return AccentOn(a, ecVector, 0);
}

PExpr Cap(TKeywordArgs &a) {
    return AccentOn(a, ecCap, 0);
}

PExpr Tilde(TKeywordArgs &a) {
    return AccentOn(a, ecTilde, 0);
}

PExpr Points(TKeywordArgs &a) {
    return AccentOn(a, ecPoints, a.Int(1, 1));
}

} // namespace Keywords
