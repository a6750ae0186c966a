// Keyword handlers that build group operators (formula/draw/ExprGroupOps): sums, products,
// contour integrals and integrals.
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprKeywords.h"

namespace {

// The body, then the lower and upper limits when written.
template <class TGroup, class... TCount>
PExpr Group(TKeywordArgs &a, std::size_t body, TCount... count) {
    PExpr b = a.TakeForced(body);
    PExpr lower = a.Take(body + 1);
    return std::make_unique<TGroup>(std::move(b), std::move(lower), a.Take(body + 2), count...);
}

} // namespace

namespace Keywords {

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

} // namespace Keywords
