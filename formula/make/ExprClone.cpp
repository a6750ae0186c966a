#include "formula/make/ExprClone.h"

#include "formula/draw/ExprKinds.h"
#include "formula/draw/ExprParents.h"

#include <vector>

PExpr CloneExpr(const TExprClass *node) {
    PExpr first;
    TExprClass *last = nullptr;
    // Along the siblings iteratively: a row may be long.
    for (const TExprClass *n = node; n; n = n->Next()) {
        PExpr copy = ExprKindOf(*n).Clone(*n, CloneExpr);
        TExprClass *added = copy.get();
        if (last)
            last->SetNext(std::move(copy));
        else
            first = std::move(copy);
        last = added;
    }
    return first;
}

std::size_t CountExpr(const TExprClass *node, std::size_t limit) {
    std::size_t count = 0;
    std::vector<const TExprClass *> pending;
    if (node) pending.push_back(node);
    while (!pending.empty() && count < limit) {
        const TExprClass *n = pending.back();
        pending.pop_back();
        ++count;
        if (n->Next()) pending.push_back(n->Next());
        if (auto *p = dynamic_cast<const TExprParent *>(n)) {
            if (p->Son()) pending.push_back(p->Son());
            if (auto *b = dynamic_cast<const TExprBigParent *>(n); b && b->Son2())
                pending.push_back(b->Son2());
            if (auto *t = dynamic_cast<const TExprTwinParent *>(n)) {
                if (t->Twin1()) pending.push_back(t->Twin1());
                if (t->Twin2()) pending.push_back(t->Twin2());
            }
        }
    }
    return count;
}
