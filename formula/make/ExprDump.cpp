#include "formula/make/ExprDump.h"

#include "formula/draw/ExprDraw.h"
#include "runtime/Cp1251.h"

#include <charconv>

namespace {

template <class T> const T *As(const TExprClass *n) {
    return dynamic_cast<const T *>(n);
}

class TDumper {
public:
    std::string Out;

    void Node(const TExprClass *n);
    void Chain(const TExprClass *n) {
        for (const TExprClass *m = n; m; m = m->Next()) {
            if (m != n) Out += ' ';
            Node(m);
        }
    }

private:
    void Open(const char *name) {
        Out += '(';
        Out += name;
    }
    void Close() { Out += ')'; }
    void Slot(const TExprClass *child) {
        Out += ' ';
        if (!child) {
            Out += '_';
            return;
        }
        Out += '[';
        Chain(child);
        Out += ']';
    }
    void Int(long long v) {
        Out += ' ';
        Out += std::to_string(v);
    }
    void Text(const std::string &cp1251) {
        Out += " \"";
        for (char c : Cp1251ToUtf8(cp1251)) {
            if (c == '"' || c == '\\') Out += '\\';
            Out += c;
        }
        Out += '"';
    }
    void Value(long double v) {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(v));
        Out += ' ';
        Out.append(buf, r.ptr);
    }
    void Kinds(const TExprBracketed *b) {
        Int(b->LeftBracket());
        Int(b->RightBracket());
    }
    void Group(const char *name, const TExprTwinParent *g) {
        Open(name);
        Slot(g->Son());
        Slot(g->Twin1());
        Slot(g->Twin2());
        Close();
    }
};

void TDumper::Node(const TExprClass *n) {
    // Most derived classes first.
    if (As<TExprAsterix>(n)) {
        Open("Asterix");
    } else if (auto *s = As<TExprFuncName>(n)) {
        Open("FuncName");
        Text(s->Text());
    } else if (auto *s = As<TExprVar>(n)) {
        Open("Var");
        Text(s->Text());
    } else if (auto *s = As<TExprSimple>(n)) {
        Open("Simple");
        Text(s->Text());
    } else if (auto *e = As<TExprExpNumber>(n)) {
        Open("ExpNumber");
        Value(e->Value());
        Int(e->Precision());
        Int(e->Digits());
        Int(e->ExpLimit());
    } else if (auto *v = As<TExprNumber>(n)) {
        Open("Number");
        Value(v->Value());
        if (v->ExpForm()) Out += " exp";
    } else if (As<TExprComma>(n)) {
        Open("Comma");
    } else if (auto *s = As<TExprSign>(n)) {
        Open("Sign");
        Int(s->Code());
    } else if (As<TExprPlank>(n)) {
        Open("Plank");
    } else if (As<TExprLambda>(n)) {
        Open("Lambda");
    } else if (As<TExprNabla>(n)) {
        Open("Nabla");
    } else if (auto *s = As<TExprExtSymbol>(n)) {
        Open("ExtSymbol");
        Int(s->Code());
    } else if (auto *s = As<TExprSpace>(n)) {
        Open("Space");
        Int(s->Count());
    } else if (auto *s = As<TExprStrokes>(n)) {
        Open("Strokes");
        Int(s->Count());
    } else if (As<TExprEmpty>(n)) {
        Open("Empty");
    } else if (auto *b = As<TExprRound>(n)) {
        Open("Round");
        Kinds(b);
        Slot(b->Son());
    } else if (auto *b = As<TExprArgument>(n)) {
        Open("Argument");
        Kinds(b);
        Int(b->ForceBrackets() ? 1 : 0);
        Slot(b->Son());
    } else if (auto *b = As<TExprBase>(n)) {
        Open("Base");
        Kinds(b);
        Slot(b->Son());
    } else if (auto *b = As<TExprBracketed>(n)) {
        Open("Bracketed");
        Kinds(b);
        Slot(b->Son());
    } else if (auto *c = As<TExprChain>(n)) {
        Open("Chain");
        Slot(c->Son());
    } else if (auto *r = As<TExprRatio>(n)) {
        Open("Ratio");
        Slot(r->Son());
        Slot(r->Son2());
    } else if (auto *r = As<TExprRoot>(n)) {
        Open("Root");
        Slot(r->Son());
        Slot(r->Son2());
    } else if (auto *i = As<TExprIndex>(n)) {
        Open("Index");
        Slot(i->Son());
        Slot(i->Twin1());
        Slot(i->Twin2());
    } else if (auto *f = As<TExprFunc>(n)) {
        Open("Func");
        Slot(f->Son());
        Slot(f->Son2());
    } else if (auto *f = As<TExprCommonFunc>(n)) {
        Open("CommonFunc");
        Slot(f->Son());
        Slot(f->Son2());
    } else if (auto *l = As<TExprLim>(n)) {
        Open("Lim");
        Slot(l->Son());
    } else if (auto *a = As<TExprAtValue>(n)) {
        Open("AtValue");
        Slot(a->Son());
        Slot(a->Son2());
    } else if (auto *c = As<TExprCap>(n)) {
        Open("Cap");
        Int(c->Kind());
        Int(c->Count());
        Slot(c->Son());
    } else if (auto *s = As<TExprStand>(n)) {
        Open("Stand");
        Int(s->Align());
        Slot(s->Son());
    } else if (auto *m = As<TExprMatrix>(n)) {
        Open("Matrix");
        Int(m->ColCount());
        Int(m->RowCount());
        Slot(m->Son());
    } else if (auto *c = As<TExprCase>(n)) {
        Open("Case");
        Slot(c->Son());
    } else if (auto *g = As<TExprSumma>(n)) {
        return Group("Summa", g);
    } else if (auto *g = As<TExprProd>(n)) {
        return Group("Prod", g);
    } else if (auto *g = As<TExprCirc>(n)) {
        return Group("Circ", g);
    } else if (auto *g = As<TExprIntegral>(n)) {
        Open("Integral");
        Int(g->Count());
        Slot(g->Son());
        Slot(g->Twin1());
        Slot(g->Twin2());
    } else {
        Open("Class");
    }
    Close();
}

} // namespace

std::string DumpExpr(const TExprClass *node) {
    if (!node) return "_";
    TDumper d;
    d.Node(node);
    return d.Out;
}

std::string DumpChain(const TExprClass *node) {
    if (!node) return "_";
    TDumper d;
    d.Chain(node);
    return d.Out;
}
