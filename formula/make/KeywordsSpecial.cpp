// Keyword handlers that build matrices and case distinctions (formula/draw/ExprSpecial).
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprKeywords.h"

namespace Keywords {

// MATRIX(columns, rows, cells...).
PExpr Matrix(TKeywordArgs &a) {
    return std::make_unique<TExprMatrix>(a.TakeRest(2), a.Int(0), a.Int(1));
}

PExpr Case(TKeywordArgs &a) {
    return std::make_unique<TExprCase>(a.TakeRest(0));
}

} // namespace Keywords
