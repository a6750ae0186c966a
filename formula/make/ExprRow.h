// Building rows of sibling nodes while the parser reads (internal to formula/make).
#pragma once

#include "formula/draw/ExprDraw.h"

#include <utility>

namespace ExprRows {

// A growing sibling chain that remembers its last node, so appending does not walk it.
class TRow {
public:
    explicit TRow(PExpr first = nullptr) { Add(std::move(first)); }
    void Add(PExpr chain) {
        if (!chain) return;
        TExprClass *last = LastInChain(chain.get());
        if (FFirst)
            FLast->SetNext(std::move(chain));
        else
            FFirst = std::move(chain);
        FLast = last;
    }
    template <class T, class... A> void Make(A &&...args) {
        Add(std::make_unique<T>(std::forward<A>(args)...));
    }
    bool Several() const { return FFirst && FFirst->Next(); }
    PExpr Take() {
        FLast = nullptr;
        return std::move(FFirst);
    }

private:
    PExpr FFirst;
    TExprClass *FLast = nullptr;
};

// A row of several sibling nodes becomes one chain node: single-node slots (scripts, accents)
// measure and paint only their first node.
inline PExpr Single(PExpr node) {
    if (node && node->Next()) return std::make_unique<TExprChain>(std::move(node));
    return node;
}

// first with second appended after its last sibling.
inline PExpr Then(PExpr first, PExpr second) {
    LastInChain(first.get())->SetNext(std::move(second));
    return first;
}

// A call written with "!(": its argument gets visible round brackets.
inline PExpr Forced(PExpr node, bool forced) {
    if (!forced) return node;
    if (auto *arg = dynamic_cast<TExprArgument *>(node.get()); arg && !node->Next()) {
        arg->SetForceBrackets();
        return node;
    }
    return std::make_unique<TExprRound>(std::move(node));
}

} // namespace ExprRows
