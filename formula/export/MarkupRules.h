// The node kinds that LaTeX and MathML write alike: by the same families of kinds, one handler
// a family. Each format's file gives the handlers under the family names (Simple(writer, node),
// Symbol(writer, node), ...); they are found for the writer's type, so one list serves both.
#pragma once

#include "formula/draw/ExprDraw.h"
#include "formula/export/ExportCommon.h"

#include <vector>

// The rule of class T: call(writer, node as T).
template <class T, class TWriter, class TCall>
typename TKindTable<TWriter>::TRule FamilyRule(TCall) {
    return {KindOfType(typeid(T)),
            [](TWriter &w, TExprClass &n) { TCall{}(w, static_cast<T &>(n)); }};
}

// Every kind with its family. A format adds rules after these for kinds it writes its own way.
template <class W> std::vector<typename TKindTable<W>::TRule> MarkupRules() {
    return {
        FamilyRule<TExprClass, W>([](W &w, TExprClass &n) { Nothing(w, n); }),
        FamilyRule<TExprEmpty, W>([](W &w, TExprEmpty &n) { Empty(w, n); }),
        FamilyRule<TExprSimple, W>([](W &w, TExprSimple &n) { Simple(w, n); }),
        FamilyRule<TExprVar, W>([](W &w, TExprVar &n) { Var(w, n); }),
        FamilyRule<TExprFuncName, W>([](W &w, TExprFuncName &n) { FuncName(w, n); }),
        FamilyRule<TExprAsterix, W>([](W &w, TExprAsterix &n) { Asterix(w, n); }),
        FamilyRule<TExprNumber, W>([](W &w, TExprNumber &n) { Number(w, n); }),
        FamilyRule<TExprExpNumber, W>([](W &w, TExprExpNumber &n) { Number(w, n); }),
        FamilyRule<TExprExtSymbol, W>([](W &w, TExprExtSymbol &n) { Symbol(w, n); }),
        FamilyRule<TExprSign, W>([](W &w, TExprSign &n) { Symbol(w, n); }),
        FamilyRule<TExprComma, W>([](W &w, TExprComma &n) { Symbol(w, n); }),
        FamilyRule<TExprPlank, W>([](W &w, TExprPlank &n) { Symbol(w, n); }),
        FamilyRule<TExprLambda, W>([](W &w, TExprLambda &n) { Symbol(w, n); }),
        FamilyRule<TExprNabla, W>([](W &w, TExprNabla &n) { Symbol(w, n); }),
        FamilyRule<TExprSpace, W>([](W &w, TExprSpace &n) { Space(w, n); }),
        FamilyRule<TExprStrokes, W>([](W &w, TExprStrokes &n) { Strokes(w, n); }),
        FamilyRule<TExprChain, W>([](W &w, TExprChain &n) { Chain(w, n); }),
        FamilyRule<TExprBracketed, W>([](W &w, TExprBracketed &n) { Bracketed(w, n); }),
        FamilyRule<TExprRound, W>([](W &w, TExprRound &n) { Bracketed(w, n); }),
        FamilyRule<TExprBase, W>([](W &w, TExprBase &n) { Bracketed(w, n); }),
        FamilyRule<TExprArgument, W>([](W &w, TExprArgument &n) { Bracketed(w, n); }),
        FamilyRule<TExprRatio, W>([](W &w, TExprRatio &n) { Ratio(w, n); }),
        FamilyRule<TExprRoot, W>([](W &w, TExprRoot &n) { Root(w, n); }),
        FamilyRule<TExprIndex, W>([](W &w, TExprIndex &n) { Index(w, n); }),
        FamilyRule<TExprCommonFunc, W>([](W &w, TExprCommonFunc &n) { Function(w, n); }),
        FamilyRule<TExprFunc, W>([](W &w, TExprFunc &n) { Function(w, n); }),
        FamilyRule<TExprLim, W>([](W &w, TExprLim &n) { Lim(w, n); }),
        FamilyRule<TExprAtValue, W>([](W &w, TExprAtValue &n) { AtValue(w, n); }),
        FamilyRule<TExprCap, W>([](W &w, TExprCap &n) { Cap(w, n); }),
        FamilyRule<TExprStand, W>([](W &w, TExprStand &n) { Stand(w, n); }),
        FamilyRule<TExprMatrix, W>([](W &w, TExprMatrix &n) { Matrix(w, n); }),
        FamilyRule<TExprCase, W>([](W &w, TExprCase &n) { Case(w, n); }),
        FamilyRule<TExprSumma, W>([](W &w, TExprSumma &n) { Summa(w, n); }),
        FamilyRule<TExprProd, W>([](W &w, TExprProd &n) { Prod(w, n); }),
        FamilyRule<TExprCirc, W>([](W &w, TExprCirc &n) { Circ(w, n); }),
        FamilyRule<TExprIntegral, W>([](W &w, TExprIntegral &n) { Integral(w, n); }),
    };
}
