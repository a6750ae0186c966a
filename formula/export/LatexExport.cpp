// LaTeX of a node tree. Brackets grow (\left, \right) where the picture's brackets are taller
// than a line of text; limits of sums, integrals and "lim" stand under and over the sign as in the
// picture (\limits).
#include "formula/draw/ExprDraw.h"
#include "formula/draw/ExprKinds.h"
#include "formula/export/ExportCommon.h"
#include "formula/export/ExprExport.h"
#include "formula/export/MarkupRules.h"

#include <cmath>
#include <string_view>

namespace {

bool AsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool AsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool AsciiAlnum(std::string_view s) {
    for (char c : s)
        if (!AsciiLetter(c) && !AsciiDigit(c)) return false;
    return true;
}

// Characters that stand for themselves in math mode.
constexpr std::string_view MathPunctuation = "!;:?()[]/.+-=<>|*@";

// A UTF-8 text for \text{}: the characters LaTeX reserves are escaped.
std::string TextEscaped(std::string_view utf8) {
    std::string out;
    for (char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\textbackslash{}";
            break;
        case '{':
        case '}':
        case '$':
        case '&':
        case '#':
        case '_':
        case '%':
            out += '\\';
            out += c;
            break;
        case '^':
            out += "\\textasciicircum{}";
            break;
        case '~':
            out += "\\textasciitilde{}";
            break;
        case '<':
            out += "\\textless{}";
            break;
        case '>':
            out += "\\textgreater{}";
            break;
        case '|':
            out += "\\textbar{}";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The LaTeX of a character shown by a symbol or sign node.
std::string SymbolLatex(char32_t code) {
    const char32_t c = Printable(code);
    if (const TSymbolInfo *s = FindSymbol(c); s && s->Latex) return s->Latex;
    if (c < 0x80) {
        const char a = static_cast<char>(c);
        if (AsciiLetter(a)) return std::string("\\mathrm{") + a + "}";
        if (AsciiDigit(a) || MathPunctuation.find(a) != std::string_view::npos)
            return std::string(1, a);
        if (a == '{' || a == '}') return std::string("\\") + a;
    }
    std::string utf8;
    AppendUtf8(utf8, c);
    return "\\text{" + TextEscaped(utf8) + "}";
}

// A mantissa or exponent text of a number.
std::string NumberLatex(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == ',')
            out += "{,}"; // a decimal comma, without the space of a punctuation comma
        else if (AsciiLetter(c))
            return "\\text{" + TextEscaped(text) + "}"; // INF, NAN
        else
            out += c;
    }
    return out;
}

// Whether a piece of LaTeX is one atom a script can follow without braces: a letter or digit, a
// command, or a command with one argument group.
bool Atom(std::string_view s) {
    if (s.size() == 1) return AsciiLetter(s[0]) || AsciiDigit(s[0]);
    if (s.size() < 2 || s[0] != '\\' || !AsciiLetter(s[1])) return false;
    std::size_t k = 1;
    while (k < s.size() && AsciiLetter(s[k]))
        ++k;
    if (k == s.size()) return true;
    if (s[k] != '{' || s.back() != '}') return false;
    int depth = 0;
    for (std::size_t j = k; j < s.size(); ++j) {
        if (s[j] == '\\') {
            ++j;
            continue;
        }
        if (s[j] == '{') ++depth;
        if (s[j] == '}' && --depth == 0 && j + 1 != s.size()) return false;
    }
    return depth == 0;
}

// One letter, digit or command without arguments: what \vec is made for.
bool SingleSymbol(std::string_view s) {
    return Atom(s) && s.back() != '}';
}

// Nodes that make their row taller than a line of text.
bool TallKind(TExprClass &n) {
    const TKind k = KindOf(n);
    return k == TKind::Ratio || k == TKind::Root || GroupOpKind(k) || k == TKind::Matrix ||
           k == TKind::Case || k == TKind::Stand || k == TKind::AtValue || k == TKind::Lim;
}

class TLatex {
public:
    std::string Out;

    // Appends s; a command name followed by a letter gets a blank between them.
    void Put(std::string_view s) {
        if (s.empty()) return;
        if (AsciiLetter(s[0]) && EndsWithCommand()) Out += ' ';
        Out += s;
    }
    void Node(TExprClass &n);
    void Chain(TExprClass *first) {
        for (TExprClass *m = first; m; m = m->Next())
            Node(*m);
    }
    void Group(TExprClass *first) {
        Put("{");
        Chain(first);
        Put("}");
    }
    // The LaTeX of a chain on its own.
    std::string Piece(TExprClass *first) {
        std::string saved = std::move(Out);
        Out.clear();
        Chain(first);
        std::string piece = std::move(Out);
        Out = std::move(saved);
        return piece;
    }
    // A base of scripts or accents, braced unless it is one atom.
    void Base(TExprClass *base) {
        const std::string piece = Piece(base);
        if (Atom(piece) || BothBracketsShown(base)) {
            Put(piece);
        } else {
            Put("{");
            Put(piece);
            Put("}");
        }
    }
    bool Tall(TExprClass *first);

private:
    bool EndsWithCommand() const {
        std::size_t k = Out.size();
        while (k > 0 && AsciiLetter(Out[k - 1]))
            --k;
        if (k == Out.size() || k == 0 || Out[k - 1] != '\\') return false;
        // An odd run of backslashes: the last one begins a command, not "\\".
        std::size_t slashes = 0;
        while (k > slashes && Out[k - 1 - slashes] == '\\')
            ++slashes;
        return slashes % 2 == 1;
    }
    static bool BothBracketsShown(TExprClass *n) {
        if (!n || n->Next() || !BracketedKind(KindOf(*n))) return false;
        auto *b = static_cast<TExprBracketed *>(n);
        return b->NeedBrackets() && b->LeftBracket() >= ebRound && b->LeftBracket() <= ebModule &&
               b->RightBracket() >= ebRound && b->RightBracket() <= ebModule;
    }

    std::unordered_map<TExprClass *, bool> FTall;
};

bool TLatex::Tall(TExprClass *first) {
    for (TExprClass *m = first; m; m = m->Next()) {
        const auto known = FTall.find(m);
        bool tall;
        if (known != FTall.end()) {
            tall = known->second;
        } else {
            tall = TallKind(*m);
            for (const TExprClass *child : ExprChildren(*m))
                if (!tall) tall = Tall(const_cast<TExprClass *>(child));
            FTall.emplace(m, tall);
        }
        if (tall) return true;
    }
    return false;
}

void Nothing(TLatex &, TExprClass &) {}

void Empty(TLatex &w, TExprEmpty &) {
    w.Put("{}");
}

void Simple(TLatex &w, TExprSimple &n) {
    const std::string &t = n.Text();
    if (t.empty()) return;
    if (t == ",") return w.Put("{,}");
    if (t.size() == 1 && MathPunctuation.find(t[0]) != std::string_view::npos) return w.Put(t);
    w.Put("\\text{" + TextEscaped(TextUtf8(t)) + "}");
}

void Var(TLatex &w, TExprVar &n) {
    const std::string &t = n.Text();
    if (t.empty()) return;
    if (t.size() == 1 && AsciiLetter(t[0])) return w.Put(t);
    if (AsciiLetter(t[0]) && AsciiAlnum(t)) return w.Put("\\mathit{" + t + "}");
    w.Put("\\textit{" + TextEscaped(TextUtf8(t)) + "}");
}

void FuncName(TLatex &w, TExprFuncName &n) {
    const std::string &t = n.Text();
    if (t.empty()) return;
    if (const TFunctionName *f = FindFunctionName(t); f && f->Latex) return w.Put(f->Latex);
    if (AsciiAlnum(t)) return w.Put("\\operatorname{" + t + "}");
    w.Put("\\operatorname{\\text{" + TextEscaped(TextUtf8(t)) + "}}");
}

void Number(TLatex &w, TExprNumber &n) {
    const TNumberText t = NumberText(n);
    if (t.Exponent.empty()) return w.Put(NumberLatex(t.Mantissa));
    if (t.Mantissa != "1") {
        w.Put(NumberLatex(t.Mantissa));
        w.Put("\\cdot ");
    }
    w.Put("10^{" + NumberLatex(t.Exponent) + "}");
}

void Symbol(TLatex &w, TExprClass &n) {
    w.Put(SymbolLatex(SymbolCharacter(n)));
}

void Asterix(TLatex &w, TExprAsterix &) {
    w.Put("\\ast");
}

void Space(TLatex &w, TExprSpace &n) {
    const long mu = std::lround(n.Count() * 18.0 / SpaceUnitsPerEm);
    switch (mu) {
    case 0:
        return;
    case 3:
        return w.Put("\\,");
    case 4:
        return w.Put("\\:");
    case 5:
        return w.Put("\\;");
    case -3:
        return w.Put("\\!");
    case 18:
        return w.Put("\\quad");
    case 36:
        return w.Put("\\qquad");
    default:
        // The blank ends the glue, as TeX reads it.
        w.Put("\\mkern" + std::to_string(mu) + "mu ");
    }
}

// A count in round brackets, for marks too many to write one by one.
std::string CountInBrackets(int32_t count) {
    std::string s = "(";
    s += std::to_string(count);
    s += ')';
    return s;
}

std::string Primes(int32_t count) {
    if (count > MaxWrittenMarks) return CountInBrackets(count);
    std::string s;
    for (int32_t k = 0; k < count; ++k)
        s += "\\prime";
    return s;
}

void Strokes(TLatex &w, TExprStrokes &n) {
    if (n.Count() > 0) w.Put("{}^{" + Primes(n.Count()) + "}");
}

void Chain(TLatex &w, TExprChain &n) {
    w.Chain(n.Son());
}

// The delimiter of a bracket kind; growing ones after \left or \right.
std::string Delimiter(uint8_t kind, bool left, bool grow) {
    switch (kind) {
    case ebRound:
        return left ? "(" : ")";
    case ebSquare:
        return left ? "[" : "]";
    case ebFigure:
        return left ? "\\{" : "\\}";
    case ebModule:
        return grow ? "|" : left ? "\\lvert " : "\\rvert ";
    default:
        return grow ? "." : "";
    }
}

void Bracketed(TLatex &w, TExprBracketed &n) {
    const bool shown = n.NeedBrackets() && (Delimiter(n.LeftBracket(), true, false) != "" ||
                                            Delimiter(n.RightBracket(), false, false) != "");
    if (!shown) return w.Chain(n.Son());
    const bool grow = w.Tall(n.Son());
    w.Put((grow ? "\\left" : "") + Delimiter(n.LeftBracket(), true, grow));
    w.Chain(n.Son());
    w.Put((grow ? "\\right" : "") + Delimiter(n.RightBracket(), false, grow));
}

void Ratio(TLatex &w, TExprRatio &n) {
    w.Put("\\frac");
    w.Group(n.Son());
    w.Group(n.Son2());
}

void Root(TLatex &w, TExprRoot &n) {
    w.Put("\\sqrt");
    if (n.Son2()) {
        const std::string degree = w.Piece(n.Son2());
        // A "]" inside the degree would end it early.
        w.Put(degree.find(']') == std::string::npos ? "[" + degree + "]" : "[{" + degree + "}]");
    }
    w.Group(n.Son());
}

void Index(TLatex &w, TExprIndex &n) {
    w.Base(n.Son());
    if (n.Twin1()) {
        w.Put("_");
        w.Group(n.Twin1());
    }
    if (TExprClass *sup = n.Twin2()) {
        w.Put("^");
        if (KindOf(*sup) == TKind::Strokes && !sup->Next())
            w.Put("{" + Primes(static_cast<TExprStrokes *>(sup)->Count()) + "}");
        else
            w.Group(sup);
    }
}

void Function(TLatex &w, TExprCommonFunc &n) {
    w.Chain(n.Son());
    w.Chain(n.Son2());
}

void Lim(TLatex &w, TExprLim &n) {
    w.Put("\\lim");
    if (n.Son()) {
        w.Put("\\limits_");
        w.Group(n.Son());
    }
}

void AtValue(TLatex &w, TExprAtValue &n) {
    w.Put("\\left.");
    w.Chain(n.Son());
    w.Put("\\right|_");
    w.Group(n.Son2());
}

void Cap(TLatex &w, TExprCap &n) {
    std::string accent;
    switch (n.Kind()) {
    case ecPoints:
        if (n.Count() == 1) accent = "\\dot";
        if (n.Count() == 2) accent = "\\ddot";
        if (n.Count() > 2) {
            std::string dots = CountInBrackets(n.Count());
            if (n.Count() <= MaxWrittenMarks) {
                dots.clear();
                for (int32_t k = 0; k < n.Count(); ++k)
                    dots += "\\cdot";
            }
            accent = "\\overset{" + dots + "}";
        }
        break;
    case ecVector: {
        // The arrow spans what it stands over: a letter's arrow is the usual \vec. The piece is
        // written once: nested arrows would otherwise be walked twice at every level.
        const std::string son = w.Piece(n.Son());
        w.Put(SingleSymbol(son) ? "\\vec{" : "\\overrightarrow{");
        w.Put(son);
        w.Put("}");
        return;
    }
    case ecCap:
        accent = "\\hat";
        break;
    case ecTilde:
        accent = "\\tilde";
        break;
    case ecLine:
        accent = "\\overline";
        break;
    default:
        break;
    }
    if (accent.empty()) return w.Chain(n.Son());
    w.Put(accent);
    w.Group(n.Son());
}

// The lines of a stack, the cells of a matrix and the rows of a case distinction are arrays.
void Stand(TLatex &w, TExprStand &n) {
    w.Put(n.Align() == 1   ? "\\begin{array}{c}"
          : n.Align() == 2 ? "\\begin{array}{r}"
                           : "\\begin{array}{l}");
    for (TExprClass *line = n.Son(); line; line = line->Next()) {
        if (line != n.Son()) w.Put("\\\\");
        w.Node(*line);
    }
    w.Put("\\end{array}");
}

void Matrix(TLatex &w, TExprMatrix &n) {
    if (n.ColCount() <= 0 || n.RowCount() <= 0 || !n.Son()) return;
    // Only the cells the picture shows: row by row while items last.
    int32_t columns = 0;
    TExprClass *item = n.Son();
    for (; item && columns < n.ColCount(); item = item->Next())
        ++columns;
    w.Put("\\begin{array}{" + std::string(columns, 'c') + "}");
    item = n.Son();
    for (int32_t row = 0; row < n.RowCount() && item; ++row) {
        if (row > 0) w.Put("\\\\");
        for (int32_t col = 0; col < n.ColCount() && item; ++col, item = item->Next()) {
            if (col > 0) w.Put("&");
            w.Node(*item);
        }
    }
    w.Put("\\end{array}");
}

void Case(TLatex &w, TExprCase &n) {
    w.Put("\\begin{cases}");
    bool first = true;
    // A value without a condition is not shown.
    for (TExprClass *v = n.Son(); v && v->Next(); v = v->Next()->Next()) {
        if (!first) w.Put("\\\\");
        first = false;
        w.Node(*v);
        w.Put("&");
        w.Node(*v->Next());
    }
    w.Put("\\end{cases}");
}

std::string Integrals(int32_t count) {
    switch (count) {
    case 1:
        return "\\int";
    case 2:
        return "\\iint";
    case 3:
        return "\\iiint";
    default:
        break;
    }
    if (count < 1 || count > MaxWrittenMarks) return "\\mathop{\\int\\int\\cdots\\int}";
    std::string signs = "\\mathop{";
    for (int32_t k = 0; k < count; ++k)
        signs += "\\int";
    return signs + "}";
}

void GroupOp(TLatex &w, TExprGroupOp &n, const std::string &sign) {
    w.Put(sign);
    if (n.Twin1() || n.Twin2()) w.Put("\\limits");
    if (n.Twin1()) {
        w.Put("_");
        w.Group(n.Twin1());
    }
    if (n.Twin2()) {
        w.Put("^");
        w.Group(n.Twin2());
    }
    w.Chain(n.Son());
}

void Summa(TLatex &w, TExprSumma &n) {
    GroupOp(w, n, "\\sum");
}
void Prod(TLatex &w, TExprProd &n) {
    GroupOp(w, n, "\\prod");
}
void Circ(TLatex &w, TExprCirc &n) {
    GroupOp(w, n, "\\oint");
}
void Integral(TLatex &w, TExprIntegral &n) {
    GroupOp(w, n, Integrals(n.Count()));
}

const TKindTable<TLatex> &Table() {
    static const TKindTable<TLatex> table("LaTeX", MarkupRules<TLatex>());
    return table;
}

void TLatex::Node(TExprClass &n) {
    Table().Find(n)(*this, n);
}

} // namespace

bool LatexCovers(const std::type_info &type) {
    return Table().Covers(type);
}

std::string ExprToLatex(TExprClass &root) {
    TLatex w;
    for (TExprClass *m : OuterMembers(root))
        w.Node(*m);
    while (!w.Out.empty() && w.Out.back() == ' ' && w.Out.size() > 1 &&
           w.Out[w.Out.size() - 2] != '\\')
        w.Out.pop_back();
    return std::move(w.Out);
}
