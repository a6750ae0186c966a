// Keyword handlers that build functions, limits and decorations (formula/draw/ExprFuncs): named
// functions and logarithms, limits, the value at a point, accents, stands, spaces, commas and
// differentials (a thin space, d and the variable).
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprKeywords.h"
#include "formula/make/ExprRow.h"

using ExprRows::TRow;

namespace {

PExpr AccentOn(TKeywordArgs &a, uint8_t kind, int32_t count) {
    return TExprBuilder::AttachCap(a.Take(0), kind, count);
}

} // namespace

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
    TRow args(a.Take(1));
    for (std::size_t k = 2; k < a.Count(); ++k) {
        args.Make<TExprComma>();
        args.Add(a.Take(k));
    }
    auto arg = std::make_unique<TExprArgument>(args.Take());
    if (a.Forced) arg->SetForceBrackets();
    return std::make_unique<TExprCommonFunc>(std::move(head), std::move(arg));
}

PExpr Lim(TKeywordArgs &a) {
    PExpr under = a.TakeForced(0);
    return std::make_unique<TExprCommonFunc>(std::make_unique<TExprLim>(std::move(under)),
                                             a.Take(1));
}

PExpr At(TKeywordArgs &a) {
    PExpr f = a.Take(0);
    return std::make_unique<TExprAtValue>(std::move(f), a.Take(1));
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

PExpr StandL(TKeywordArgs &a) {
    return std::make_unique<TExprStand>(a.TakeRest(0), 0);
}

PExpr StandC(TKeywordArgs &a) {
    return std::make_unique<TExprStand>(a.TakeRest(0), 1);
}

PExpr StandR(TKeywordArgs &a) {
    return std::make_unique<TExprStand>(a.TakeRest(0), 2);
}

PExpr Space(TKeywordArgs &a) {
    return std::make_unique<TExprSpace>(a.Int(0));
}

PExpr Comma(TKeywordArgs &a) {
    return ExprRows::Then(std::make_unique<TExprComma>(), std::make_unique<TExprSpace>(a.Int(0)));
}

// DIFF(x[, n]): a thin space, d and x to the power n; DIFFN(x[, n]): d to the power n and x.
template <bool Partial, bool PowerOnD> PExpr Differential(TKeywordArgs &a) {
    PExpr x = a.Take(0);
    PExpr n = a.Take(1);
    PExpr d = DiffLetter(Partial);
    if (PowerOnD)
        d = WithPower(std::move(d), std::move(n));
    else
        x = WithPower(std::move(x), std::move(n));
    TRow row(std::make_unique<TExprSpace>(4));
    row.Add(std::move(d));
    row.Add(std::move(x));
    return row.Take();
}

template PExpr Differential<false, false>(TKeywordArgs &);
template PExpr Differential<true, false>(TKeywordArgs &);
template PExpr Differential<false, true>(TKeywordArgs &);
template PExpr Differential<true, true>(TKeywordArgs &);

} // namespace Keywords
