// Presentation MathML of a node tree. Every node writes one element or, when it shows nothing,
// none; a part that must be one element (a numerator, a script) is wrapped in <mrow> when it
// has several.
#include "formula/draw/ExprDraw.h"
#include "formula/export/ExportCommon.h"
#include "formula/export/ExprExport.h"
#include "formula/export/MarkupRules.h"

#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view MathPunctuation = "!;:?()[]/.+-=<>|*@,";

void Escaped(std::string &out, std::string_view utf8) {
    for (char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

bool Letter(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
           (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x3FF) ||
           (c >= 0x400 && c <= 0x4FF);
}

class TMathML {
public:
    std::string Out;

    // <tag attributes>text</tag>, the text escaped.
    void Token(const char *tag, std::string_view utf8, std::string_view attributes = {}) {
        Open(tag, attributes);
        Escaped(Out, utf8);
        Close(tag);
    }
    void Open(const char *tag, std::string_view attributes = {}) {
        Out += '<';
        Out += tag;
        if (!attributes.empty()) {
            Out += ' ';
            Out += attributes;
        }
        Out += '>';
    }
    void Close(const char *tag) {
        Out += "</";
        Out += tag;
        Out += '>';
    }
    void Node(TExprClass &n);
    // Each member of the chain, one element each.
    void Members(TExprClass *first) {
        for (TExprClass *m = first; m; m = m->Next())
            Node(*m);
    }
    // The chain as exactly one element.
    void Row(TExprClass *first) {
        int shown = 0;
        for (TExprClass *m = first; m && shown < 2; m = m->Next())
            if (!ShowsNothing(*m)) ++shown;
        if (shown == 1) return Members(first);
        if (shown == 0) {
            Out += "<mrow/>";
            return;
        }
        Open("mrow");
        Members(first);
        Close("mrow");
    }
    // A fence drawn at the height of what it encloses.
    void Fence(std::string_view c, bool prefix) {
        Token("mo", c,
              prefix ? R"(fence="true" stretchy="true" form="prefix")"
                     : R"(fence="true" stretchy="true" form="postfix")");
    }
};

void Nothing(TMathML &, TExprClass &) {}

void Empty(TMathML &w, TExprEmpty &) {
    w.Out += "<mrow/>";
}

// Spaces at the ends of a text are kept: a renderer trims ordinary ones.
std::string KeptSpaces(std::string utf8) {
    std::size_t lead = 0;
    while (lead < utf8.size() && utf8[lead] == ' ')
        ++lead;
    std::size_t trail = 0;
    while (trail < utf8.size() - lead && utf8[utf8.size() - 1 - trail] == ' ')
        ++trail;
    std::string out;
    for (std::size_t k = 0; k < lead; ++k)
        out += "\u00A0";
    out += utf8.substr(lead, utf8.size() - lead - trail);
    for (std::size_t k = 0; k < trail; ++k)
        out += "\u00A0";
    return out;
}

void Simple(TMathML &w, TExprSimple &n) {
    const std::string &t = n.Text();
    if (t.size() == 1 && MathPunctuation.find(t[0]) != std::string_view::npos)
        return w.Token("mo", t);
    w.Token("mtext", KeptSpaces(TextUtf8(t)));
}

void Var(TMathML &w, TExprVar &n) {
    const std::string t = TextUtf8(n.Text());
    // One character is italic by default, several are not.
    w.Token("mi", t, n.Text().size() == 1 ? "" : R"(mathvariant="italic")");
}

void FuncName(TMathML &w, TExprFuncName &n) {
    w.Token("mi", TextUtf8(n.Text()), n.Text().size() == 1 ? R"(mathvariant="normal")" : "");
}

// A mantissa or exponent: a leading minus as a sign of its own.
void NumberPart(TMathML &w, const std::string &text) {
    if (!text.empty() && text[0] == '-') {
        w.Open("mrow");
        w.Token("mo", "\u2212");
        w.Token("mn", text.substr(1));
        w.Close("mrow");
        return;
    }
    w.Token("mn", text);
}

void Number(TMathML &w, TExprNumber &n) {
    const TNumberText t = NumberText(n);
    if (t.Exponent.empty()) return NumberPart(w, t.Mantissa);
    const bool one = t.Mantissa == "1";
    if (!one) {
        w.Open("mrow");
        NumberPart(w, t.Mantissa);
        w.Token("mo", "\u00B7");
    }
    w.Open("msup");
    w.Token("mn", "10");
    NumberPart(w, t.Exponent);
    w.Close("msup");
    if (!one) w.Close("mrow");
}

std::string Utf8Of(char32_t c) {
    std::string s;
    AppendUtf8(s, Printable(c));
    return s;
}

void Sign(TMathML &w, TExprSign &n) {
    w.Token("mo", Utf8Of(SymbolCharacter(n)));
}

void Symbol(TMathML &w, TExprClass &n) {
    const char32_t c = Printable(SymbolCharacter(n));
    const TSymbolInfo *s = FindSymbol(c);
    if (s && s->Operator) return w.Token("mo", Utf8Of(c));
    if (c >= U'0' && c <= U'9') return w.Token("mn", Utf8Of(c));
    // Symbols are drawn upright.
    w.Token("mi", Utf8Of(c), Letter(c) || s ? R"(mathvariant="normal")" : "");
}

void Comma(TMathML &w, TExprComma &) {
    w.Token("mo", ",", R"(separator="true")");
}

void Plank(TMathML &w, TExprPlank &) {
    w.Token("mi", "\u0127"); // italic, as drawn
}

void Asterix(TMathML &w, TExprAsterix &) {
    w.Token("mo", "\u2217");
}

void Space(TMathML &w, TExprSpace &n) {
    if (n.Count() == 0) return;
    char width[32];
    std::snprintf(width, sizeof width, "%.3f", n.Count() / SpaceUnitsPerEm);
    std::string s = width;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.') s.pop_back();
    w.Out += "<mspace width=\"" + s + "em\"/>";
}

// Primes as one operator, or their number in brackets when there are very many.
void Primes(TMathML &w, int32_t count) {
    if (count > MaxWrittenMarks) {
        w.Open("mrow");
        w.Token("mo", "(");
        w.Token("mn", std::to_string(count));
        w.Token("mo", ")");
        w.Close("mrow");
        return;
    }
    std::string primes;
    for (int32_t k = 0; k < count; ++k)
        primes += "\u2032";
    w.Token("mo", primes);
}

void Strokes(TMathML &w, TExprStrokes &n) {
    if (n.Count() <= 0) return;
    w.Open("msup");
    w.Out += "<mrow/>";
    Primes(w, n.Count());
    w.Close("msup");
}

void Chain(TMathML &w, TExprChain &n) {
    w.Row(n.Son());
}

const char *FenceCharacter(uint8_t kind, bool left) {
    switch (kind) {
    case ebRound:
        return left ? "(" : ")";
    case ebSquare:
        return left ? "[" : "]";
    case ebFigure:
        return left ? "{" : "}";
    case ebModule:
        return "|";
    default:
        return nullptr;
    }
}

void Bracketed(TMathML &w, TExprBracketed &n) {
    const char *left = FenceCharacter(n.LeftBracket(), true);
    const char *right = FenceCharacter(n.RightBracket(), false);
    if (!n.NeedBrackets() || (!left && !right)) return w.Row(n.Son());
    w.Open("mrow");
    if (left) w.Fence(left, true);
    w.Members(n.Son());
    if (right) w.Fence(right, false);
    w.Close("mrow");
}

void Ratio(TMathML &w, TExprRatio &n) {
    w.Open("mfrac");
    w.Row(n.Son());
    w.Row(n.Son2());
    w.Close("mfrac");
}

void Root(TMathML &w, TExprRoot &n) {
    if (!n.Son2()) {
        w.Open("msqrt");
        w.Members(n.Son());
        w.Close("msqrt");
        return;
    }
    w.Open("mroot");
    w.Row(n.Son());
    w.Row(n.Son2());
    w.Close("mroot");
}

void Superscript(TMathML &w, TExprClass *sup) {
    if (KindOf(*sup) == TKind::Strokes && !sup->Next())
        Primes(w, static_cast<TExprStrokes *>(sup)->Count());
    else
        w.Row(sup);
}

void Index(TMathML &w, TExprIndex &n) {
    const char *tag = n.Twin1() && n.Twin2() ? "msubsup" : n.Twin1() ? "msub" : "msup";
    if (!n.Twin1() && !n.Twin2()) return w.Row(n.Son());
    w.Open(tag);
    w.Row(n.Son());
    if (n.Twin1()) w.Row(n.Twin1());
    if (n.Twin2()) Superscript(w, n.Twin2());
    w.Close(tag);
}

void Function(TMathML &w, TExprCommonFunc &n) {
    if (!n.Son2()) return w.Row(n.Son());
    w.Open("mrow");
    w.Row(n.Son());
    w.Out += "<mo>&#x2061;</mo>"; // function application
    w.Row(n.Son2());
    w.Close("mrow");
}

void Lim(TMathML &w, TExprLim &n) {
    if (!n.Son()) return w.Token("mo", "lim");
    w.Open("munder");
    w.Token("mo", "lim", R"(movablelimits="false")");
    w.Row(n.Son());
    w.Close("munder");
}

void AtValue(TMathML &w, TExprAtValue &n) {
    w.Open("msub");
    w.Open("mrow");
    w.Row(n.Son());
    w.Fence("|", false);
    w.Close("mrow");
    w.Row(n.Son2());
    w.Close("msub");
}

void Cap(TMathML &w, TExprCap &n) {
    std::string mark;
    const char *attributes = R"(stretchy="false")";
    switch (n.Kind()) {
    case ecPoints:
        if (n.Count() == 1) mark = "\u02D9";
        if (n.Count() == 2) mark = "\u00A8";
        for (int32_t k = 0; n.Count() > 2 && k < n.Count() && k < MaxWrittenMarks; ++k)
            mark += "\u02D9";
        break;
    case ecVector:
        mark = "\u2192";
        attributes = R"(stretchy="true")";
        break;
    case ecCap:
        mark = "^";
        break;
    case ecTilde:
        mark = "~";
        break;
    case ecLine:
        mark = "\u00AF";
        attributes = R"(stretchy="true")";
        break;
    default:
        break;
    }
    if (mark.empty()) return w.Row(n.Son());
    w.Open("mover", R"(accent="true")");
    w.Row(n.Son());
    if (n.Kind() == ecPoints && n.Count() > MaxWrittenMarks) {
        Primes(w, n.Count()); // the number of dots in brackets
    } else {
        w.Token("mo", mark, attributes);
    }
    w.Close("mover");
}

void Cell(TMathML &w, TExprClass &item) {
    w.Open("mtd");
    w.Node(item);
    w.Close("mtd");
}

void Stand(TMathML &w, TExprStand &n) {
    w.Open("mtable", n.Align() == 1   ? R"(columnalign="center")"
                     : n.Align() == 2 ? R"(columnalign="right")"
                                      : R"(columnalign="left")");
    for (TExprClass *line = n.Son(); line; line = line->Next()) {
        w.Open("mtr");
        Cell(w, *line);
        w.Close("mtr");
    }
    w.Close("mtable");
}

void Matrix(TMathML &w, TExprMatrix &n) {
    if (n.ColCount() <= 0 || n.RowCount() <= 0 || !n.Son()) {
        w.Out += "<mrow/>";
        return;
    }
    w.Open("mtable");
    TExprClass *item = n.Son();
    for (int32_t row = 0; row < n.RowCount() && item; ++row) {
        w.Open("mtr");
        for (int32_t col = 0; col < n.ColCount() && item; ++col, item = item->Next())
            Cell(w, *item);
        w.Close("mtr");
    }
    w.Close("mtable");
}

void Case(TMathML &w, TExprCase &n) {
    w.Open("mrow");
    w.Fence("{", true);
    w.Open("mtable", R"(columnalign="left right")");
    for (TExprClass *v = n.Son(); v && v->Next(); v = v->Next()->Next()) {
        w.Open("mtr");
        Cell(w, *v);
        Cell(w, *v->Next());
        w.Close("mtr");
    }
    w.Close("mtable");
    w.Close("mrow");
}

std::string Integrals(int32_t count) {
    switch (count) {
    case 1:
        return "\u222B";
    case 2:
        return "\u222C";
    case 3:
        return "\u222D";
    case 4:
        return "\u2A0C";
    default:
        break;
    }
    if (count < 1 || count > MaxWrittenMarks) return "\u222B\u222B\u22EF\u222B";
    std::string signs;
    for (int32_t k = 0; k < count; ++k)
        signs += "\u222B";
    return signs;
}

void GroupOp(TMathML &w, TExprGroupOp &n, const std::string &sign) {
    const char *tag = n.Twin1() && n.Twin2() ? "munderover"
                      : n.Twin1()            ? "munder"
                      : n.Twin2()            ? "mover"
                                             : nullptr;
    w.Open("mrow");
    if (tag) w.Open(tag);
    w.Token("mo", sign, R"(largeop="true" movablelimits="false")");
    if (n.Twin1()) w.Row(n.Twin1());
    if (n.Twin2()) w.Row(n.Twin2());
    if (tag) w.Close(tag);
    w.Members(n.Son());
    w.Close("mrow");
}

void Summa(TMathML &w, TExprSumma &n) {
    GroupOp(w, n, "\u2211");
}
void Prod(TMathML &w, TExprProd &n) {
    GroupOp(w, n, "\u220F");
}
void Circ(TMathML &w, TExprCirc &n) {
    GroupOp(w, n, "\u222E");
}
void Integral(TMathML &w, TExprIntegral &n) {
    GroupOp(w, n, Integrals(n.Count()));
}

const TKindTable<TMathML> &Table() {
    // Signs, commas and the Planck constant are operators and identifiers of their own here.
    static const TKindTable<TMathML> table("MathML", [] {
        std::vector<TKindTable<TMathML>::TRule> rules = MarkupRules<TMathML>();
        rules.push_back(KindRule<TExprSign, Sign, TMathML>());
        rules.push_back(KindRule<TExprComma, Comma, TMathML>());
        rules.push_back(KindRule<TExprPlank, Plank, TMathML>());
        return rules;
    }());
    return table;
}

void TMathML::Node(TExprClass &n) {
    if (!ShowsNothing(n)) Table().Find(n)(*this, n);
}

} // namespace

bool MathMLCovers(const std::type_info &type) {
    return Table().Covers(type);
}

std::string ExprToMathML(TExprClass &root, const TMathMLOptions &options) {
    TMathML w;
    w.Out = R"(<math xmlns="http://www.w3.org/1998/Math/MathML")";
    w.Out += options.Block ? R"( display="block")" : R"( display="inline")";
    if (!options.AltText.empty()) {
        w.Out += R"( alttext=")";
        std::string alt;
        // One line, and nothing an attribute cannot hold.
        for (char c : options.AltText)
            alt += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        Escaped(w.Out, alt);
        w.Out += '"';
    }
    w.Out += '>';
    for (TExprClass *m : OuterMembers(root))
        w.Node(*m);
    w.Out += "</math>";
    return std::move(w.Out);
}
