// Keyword handlers: named functions, brackets of any kind, stands, systems, matrices and cases.
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprKeywords.h"
#include "formula/make/ExprRow.h"

namespace Keywords {

// LOG(b, x): the name with the base as its index, then the argument.
PExpr Log(TKeywordArgs &a) {
    PExpr b = a.Take(0);
    PExpr x = a.TakeForced(1);
    auto head = std::make_unique<TExprIndex>(std::make_unique<TExprFuncName>(a.Name), std::move(b),
                                             nullptr);
    return std::make_unique<TExprCommonFunc>(std::move(head), std::move(x));
}

// FUNC(head, a1, a2, ...): any head with the arguments separated by commas.
PExpr Func(TKeywordArgs &a) {
    PExpr head = a.Take(0);
    ExprRows::TRow args(a.Take(1));
    for (std::size_t k = 2; k < a.Count(); ++k) {
        args.Make<TExprComma>();
        args.Add(a.Take(k));
    }
    auto arg = std::make_unique<TExprArgument>(args.Take());
    if (a.Forced) arg->SetForceBrackets();
    return std::make_unique<TExprCommonFunc>(std::move(head), std::move(arg));
}

PExpr StandL(TKeywordArgs &a) {
    return std::make_unique<TExprStand>(a.TakeRest(0), 0);
}

PExpr StandC(TKeywordArgs &a) {
    return std::make_unique<TExprStand>(a.TakeRest(0), 1);
}

PExpr StandR(TKeywordArgs &a) {
    return std::make_unique<TExprStand>(a.TakeRest(0), 2);
}

// MATRIX(columns, rows, cells...).
PExpr Matrix(TKeywordArgs &a) {
    return std::make_unique<TExprMatrix>(a.TakeRest(2), a.Int(0), a.Int(1));
}

PExpr Case(TKeywordArgs &a) {
    return std::make_unique<TExprCase>(a.TakeRest(0));
}

// SYSTEM(...): a left-aligned stand behind an opening curly bracket.
PExpr System(TKeywordArgs &a) {
    return std::make_unique<TExprBracketed>(std::make_unique<TExprStand>(a.TakeRest(0), 0),
                                            ebFigure, ebNone);
}

PExpr Brackets(TKeywordArgs &a) {
    const auto opening = static_cast<uint8_t>(a.Items[0].Int);
    const auto closing = static_cast<uint8_t>(a.Items[0].Int2);
    return std::make_unique<TExprBracketed>(a.Take(1), opening, closing);
}

} // namespace Keywords
