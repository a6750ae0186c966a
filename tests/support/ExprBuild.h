// Small helpers that build formula trees by hand in tests.
#pragma once

#include "formula/draw/ExprDraw.h"

#include <memory>
#include <vector>

inline PExpr Var(const char *name) {
    return std::make_unique<TExprVar>(name);
}
inline PExpr Num(long double v) {
    return std::make_unique<TExprNumber>(v, false);
}
inline PExpr Sign(uint16_t code) {
    return std::make_unique<TExprSign>(code);
}

// The nodes linked as siblings, the first owning the rest.
inline PExpr Siblings(std::vector<PExpr> nodes) {
    PExpr first = std::move(nodes.front());
    TExprClass *last = first.get();
    for (size_t i = 1; i < nodes.size(); ++i) {
        last->SetNext(std::move(nodes[i]));
        last = last->Next();
    }
    return first;
}

// A sibling chain not wrapped in a row node, as matrix and case items are given.
template <class... T> PExpr ChainOf(T... nodes) {
    std::vector<PExpr> v;
    (v.push_back(std::move(nodes)), ...);
    return Siblings(std::move(v));
}

// A row node of the given members.
template <class... T> PExpr RowOf(T... nodes) {
    return std::make_unique<TExprChain>(ChainOf(std::move(nodes)...));
}
