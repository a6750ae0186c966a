#include "formula/make/ExprDump.h"

#include "formula/draw/ExprKinds.h"
#include "runtime/Cp1251.h"

#include <charconv>

namespace {

// Writes a node as its kind describes it.
class TDumper final : public TKindFields {
public:
    std::string Out;

    void Node(const TExprClass *n) {
        const TExprKind &kind = ExprKindOf(*n);
        Out += '(';
        Out += kind.Name();
        kind.Describe(*n, *this);
        Out += ')';
    }
    void Chain(const TExprClass *n) {
        for (const TExprClass *m = n; m; m = m->Next()) {
            if (m != n) Out += ' ';
            Node(m);
        }
    }

    void Int(long long v) override {
        Out += ' ';
        Out += std::to_string(v);
    }
    void Text(const std::string &cp1251) override {
        Out += " \"";
        for (char c : Cp1251ToUtf8(cp1251)) {
            if (c == '"' || c == '\\') Out += '\\';
            Out += c;
        }
        Out += '"';
    }
    void Value(long double v) override {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(v));
        Out += ' ';
        Out.append(buf, r.ptr);
    }
    void Word(const char *word) override {
        Out += ' ';
        Out += word;
    }
    void Slot(const TExprClass *child) override {
        Out += ' ';
        if (!child) {
            Out += '_';
            return;
        }
        Out += '[';
        Chain(child);
        Out += ']';
    }
};

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
