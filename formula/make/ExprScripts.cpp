// Where a superscript, subscript or accent goes, and the round brackets a row gets before a
// script is attached to it.
#include "formula/make/ExprMake.h"

#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprRow.h"

#include <typeinfo>

using ExprRows::Single;

PExpr TExprBuilder::AttachScript(PExpr base, PExpr script, int index) {
    script = Single(std::move(script));
    base = Single(std::move(base));
    if (auto *f = dynamic_cast<TExprCommonFunc *>(base.get())) {
        auto *n = dynamic_cast<TExprIndex *>(f->Son());
        if (n && !n->Twin(index)) {
            n->SetTwin(index, std::move(script));
            return base;
        }
        if (!n) {
            PExpr name = f->CutOffSon();
            PExpr ix =
                index == 1
                    ? std::make_unique<TExprIndex>(std::move(name), std::move(script), nullptr)
                    : std::make_unique<TExprIndex>(std::move(name), nullptr, std::move(script));
            f->SetSon(std::move(ix));
            return base;
        }
    }
    if (auto *ix = dynamic_cast<TExprIndex *>(base.get()); ix && !ix->Twin(index)) {
        ix->SetTwin(index, std::move(script));
        return base;
    }
    if (index == 1)
        return std::make_unique<TExprIndex>(std::move(base), std::move(script), nullptr);
    return std::make_unique<TExprIndex>(std::move(base), nullptr, std::move(script));
}

PExpr TExprBuilder::AttachPower(PExpr base, PExpr sup) {
    return AttachScript(std::move(base), std::move(sup), 2);
}

PExpr TExprBuilder::AttachIndex(PExpr base, PExpr sub) {
    return AttachScript(std::move(base), std::move(sub), 1);
}

PExpr TExprBuilder::AttachCap(PExpr base, uint8_t kind, int32_t count) {
    base = Single(std::move(base));
    if (auto *f = dynamic_cast<TExprCommonFunc *>(base.get())) {
        f->SetSon(AttachCap(f->CutOffSon(), kind, count));
        return base;
    }
    // The accent goes on the letter, not on the letter with its subscript.
    if (auto *ix = dynamic_cast<TExprIndex *>(base.get()); ix && !ix->Twin2()) {
        ix->SetSon(std::make_unique<TExprCap>(Single(ix->CutOffSon()), kind, count));
        return base;
    }
    return std::make_unique<TExprCap>(std::move(base), kind, count);
}

void TExprBuilder::BracketChain(PExpr &node) {
    auto *chain = dynamic_cast<TExprChain *>(node.get());
    if (!chain || !chain->Son() || !chain->Son()->Next()) return;
    // Brackets that are already drawn stay: only rows whose brackets may be hidden are wrapped.
    const bool hideable = typeid(*chain) == typeid(TExprChain) ||
                          dynamic_cast<TExprArgument *>(chain) || dynamic_cast<TExprBase *>(chain);
    if (!hideable) return;
    PExpr content = chain->CutOffSon();
    PExpr rest = node->CutOffNext();
    PExpr bracketed = std::make_unique<TExprBracketed>(std::move(content), ebRound, ebRound);
    bracketed->SetNext(std::move(rest));
    node = std::move(bracketed);
}
