#include "formula/make/ExprClone.h"

#include "formula/draw/ExprDraw.h"

#include <vector>

namespace {

template <class T> const T *As(const TExprClass *n) {
    return dynamic_cast<const T *>(n);
}

// Bracketed kinds other than the constructor's come from RemoveBrackets.
template <class T> PExpr Hidden(std::unique_ptr<T> b, const TExprBracketed *from) {
    if (from->LeftBracket() == ebNone && from->RightBracket() == ebNone) b->RemoveBrackets();
    return b;
}

PExpr CloneOne(const TExprClass *n) {
    // Most derived classes first.
    if (As<TExprAsterix>(n)) return std::make_unique<TExprAsterix>();
    if (auto *s = As<TExprFuncName>(n)) return std::make_unique<TExprFuncName>(s->Text());
    if (auto *s = As<TExprVar>(n)) return std::make_unique<TExprVar>(s->Text());
    if (auto *s = As<TExprSimple>(n)) return std::make_unique<TExprSimple>(s->Text());
    if (auto *e = As<TExprExpNumber>(n))
        return std::make_unique<TExprExpNumber>(e->Value(), e->Precision(), e->Digits(),
                                                e->ExpLimit());
    if (auto *v = As<TExprNumber>(n))
        return std::make_unique<TExprNumber>(v->Value(), v->ExpForm());
    if (As<TExprComma>(n)) return std::make_unique<TExprComma>();
    if (auto *s = As<TExprSign>(n)) return std::make_unique<TExprSign>(s->Code());
    if (As<TExprPlank>(n)) return std::make_unique<TExprPlank>();
    if (As<TExprLambda>(n)) return std::make_unique<TExprLambda>();
    if (As<TExprNabla>(n)) return std::make_unique<TExprNabla>();
    if (auto *s = As<TExprExtSymbol>(n)) return std::make_unique<TExprExtSymbol>(s->Code());
    if (auto *s = As<TExprSpace>(n)) return std::make_unique<TExprSpace>(s->Count());
    if (auto *s = As<TExprStrokes>(n)) return std::make_unique<TExprStrokes>(s->Count());
    if (As<TExprEmpty>(n)) return std::make_unique<TExprEmpty>();
    if (auto *b = As<TExprRound>(n))
        return Hidden(std::make_unique<TExprRound>(CloneExpr(b->Son())), b);
    if (auto *b = As<TExprArgument>(n)) {
        auto a = std::make_unique<TExprArgument>(CloneExpr(b->Son()));
        if (b->ForceBrackets()) a->SetForceBrackets();
        return Hidden(std::move(a), b);
    }
    if (auto *b = As<TExprBase>(n))
        return Hidden(std::make_unique<TExprBase>(CloneExpr(b->Son())), b);
    if (auto *b = As<TExprBracketed>(n))
        return std::make_unique<TExprBracketed>(CloneExpr(b->Son()), b->LeftBracket(),
                                                b->RightBracket());
    if (auto *c = As<TExprChain>(n)) return std::make_unique<TExprChain>(CloneExpr(c->Son()));
    if (auto *r = As<TExprRatio>(n))
        return std::make_unique<TExprRatio>(CloneExpr(r->Son()), CloneExpr(r->Son2()));
    if (auto *r = As<TExprRoot>(n))
        return std::make_unique<TExprRoot>(CloneExpr(r->Son()), CloneExpr(r->Son2()));
    if (auto *i = As<TExprIndex>(n))
        return std::make_unique<TExprIndex>(CloneExpr(i->Son()), CloneExpr(i->Twin1()),
                                            CloneExpr(i->Twin2()));
    if (auto *f = As<TExprFunc>(n)) {
        // The constructor makes a name node from a text; the name part may have been replaced
        // since (an index or an accent on it), so the copy takes the copied part.
        auto g = std::make_unique<TExprFunc>(std::string(), CloneExpr(f->Son2()));
        g->SetSon(CloneExpr(f->Son()));
        return g;
    }
    if (auto *f = As<TExprCommonFunc>(n))
        return std::make_unique<TExprCommonFunc>(CloneExpr(f->Son()), CloneExpr(f->Son2()));
    if (auto *l = As<TExprLim>(n)) return std::make_unique<TExprLim>(CloneExpr(l->Son()));
    if (auto *a = As<TExprAtValue>(n))
        return std::make_unique<TExprAtValue>(CloneExpr(a->Son()), CloneExpr(a->Son2()));
    if (auto *c = As<TExprCap>(n))
        return std::make_unique<TExprCap>(CloneExpr(c->Son()), c->Kind(), c->Count());
    if (auto *s = As<TExprStand>(n))
        return std::make_unique<TExprStand>(CloneExpr(s->Son()), s->Align());
    if (auto *m = As<TExprMatrix>(n))
        return std::make_unique<TExprMatrix>(CloneExpr(m->Son()), m->ColCount(), m->RowCount());
    if (auto *c = As<TExprCase>(n)) return std::make_unique<TExprCase>(CloneExpr(c->Son()));
    if (auto *g = As<TExprSumma>(n))
        return std::make_unique<TExprSumma>(CloneExpr(g->Son()), CloneExpr(g->Twin1()),
                                            CloneExpr(g->Twin2()));
    if (auto *g = As<TExprProd>(n))
        return std::make_unique<TExprProd>(CloneExpr(g->Son()), CloneExpr(g->Twin1()),
                                           CloneExpr(g->Twin2()));
    if (auto *g = As<TExprCirc>(n))
        return std::make_unique<TExprCirc>(CloneExpr(g->Son()), CloneExpr(g->Twin1()),
                                           CloneExpr(g->Twin2()));
    if (auto *g = As<TExprIntegral>(n))
        return std::make_unique<TExprIntegral>(CloneExpr(g->Son()), CloneExpr(g->Twin1()),
                                               CloneExpr(g->Twin2()), g->Count());
    return std::make_unique<TExprClass>();
}

} // namespace

PExpr CloneExpr(const TExprClass *node) {
    PExpr first;
    TExprClass *last = nullptr;
    // Along the siblings iteratively: a row may be long.
    for (const TExprClass *n = node; n; n = n->Next()) {
        PExpr copy = CloneOne(n);
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
