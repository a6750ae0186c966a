#include "formula/export/ExportCommon.h"

#include "formula/draw/ExprDraw.h"
#include "formula/draw/ExprKinds.h"
#include "formula/export/ExprExport.h"
#include "runtime/Cp1251.h"

#include <algorithm>
#include <array>
#include <typeindex>
#include <unordered_map>
#include <utility>

namespace {

// A member the outermost row can do without at its ends.
bool Blank(TExprClass &node) {
    const TKind k = KindOf(node);
    if (ShowsNothing(node) || k == TKind::Empty || k == TKind::Space) return true;
    if (!TextKind(k)) return false;
    const std::string &text = static_cast<TExprSimple &>(node).Text();
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

struct TKindRow {
    const std::type_info *Type;
    TKind Kind;
};

const TKindRow KindRows[] = {
    {&typeid(TExprClass), TKind::Class},
    {&typeid(TExprSimple), TKind::Simple},
    {&typeid(TExprVar), TKind::Var},
    {&typeid(TExprFuncName), TKind::FuncName},
    {&typeid(TExprAsterix), TKind::Asterix},
    {&typeid(TExprNumber), TKind::Number},
    {&typeid(TExprExpNumber), TKind::ExpNumber},
    {&typeid(TExprExtSymbol), TKind::ExtSymbol},
    {&typeid(TExprSign), TKind::Sign},
    {&typeid(TExprComma), TKind::Comma},
    {&typeid(TExprPlank), TKind::Plank},
    {&typeid(TExprLambda), TKind::Lambda},
    {&typeid(TExprNabla), TKind::Nabla},
    {&typeid(TExprEmpty), TKind::Empty},
    {&typeid(TExprSpace), TKind::Space},
    {&typeid(TExprStrokes), TKind::Strokes},
    {&typeid(TExprChain), TKind::Chain},
    {&typeid(TExprBracketed), TKind::Bracketed},
    {&typeid(TExprRound), TKind::Round},
    {&typeid(TExprBase), TKind::Base},
    {&typeid(TExprArgument), TKind::Argument},
    {&typeid(TExprRatio), TKind::Ratio},
    {&typeid(TExprRoot), TKind::Root},
    {&typeid(TExprIndex), TKind::Index},
    {&typeid(TExprCommonFunc), TKind::CommonFunc},
    {&typeid(TExprFunc), TKind::Func},
    {&typeid(TExprLim), TKind::Lim},
    {&typeid(TExprAtValue), TKind::AtValue},
    {&typeid(TExprCap), TKind::Cap},
    {&typeid(TExprStand), TKind::Stand},
    {&typeid(TExprMatrix), TKind::Matrix},
    {&typeid(TExprCase), TKind::Case},
    {&typeid(TExprSumma), TKind::Summa},
    {&typeid(TExprProd), TKind::Prod},
    {&typeid(TExprCirc), TKind::Circ},
    {&typeid(TExprIntegral), TKind::Integral},
};
static_assert(std::size(KindRows) == KindCount, "one row per kind");

using enum TSpeechId;

// The Greek letters in the alphabet's order, as TSpeechId names them from Alpha on: LaTeX of the
// small letter and of the capital (a Latin letter where the capital looks like one).
struct TGreek {
    const char *Small;
    const char *Capital;
};
constexpr std::array<TGreek, 24> Greek = {{
    {"\\alpha", "\\mathrm{A}"},
    {"\\beta", "\\mathrm{B}"},
    {"\\gamma", "\\Gamma"},
    {"\\delta", "\\Delta"},
    {"\\varepsilon", "\\mathrm{E}"},
    {"\\zeta", "\\mathrm{Z}"},
    {"\\eta", "\\mathrm{H}"},
    {"\\theta", "\\Theta"},
    {"\\iota", "\\mathrm{I}"},
    {"\\kappa", "\\mathrm{K}"},
    {"\\lambda", "\\Lambda"},
    {"\\mu", "\\mathrm{M}"},
    {"\\nu", "\\mathrm{N}"},
    {"\\xi", "\\Xi"},
    {"o", "\\mathrm{O}"},
    {"\\pi", "\\Pi"},
    {"\\rho", "\\mathrm{P}"},
    {"\\sigma", "\\Sigma"},
    {"\\tau", "\\mathrm{T}"},
    {"\\upsilon", "\\Upsilon"},
    {"\\varphi", "\\Phi"},
    {"\\chi", "\\mathrm{X}"},
    {"\\psi", "\\Psi"},
    {"\\omega", "\\Omega"},
}};

struct TSymbolRow {
    char32_t Char;
    TSymbolInfo Info;
};

// Signs and symbols the formula language writes, and a few more that SYMBOL may ask for.
const TSymbolRow SymbolRows[] = {
    {U'+', {"+", Plus, false, true}},
    {U'\u2212', {"-", Minus, false, true}},
    {U'-', {"-", Minus, false, true}},
    {U'\u00B1', {"\\pm", PlusMinus, false, true}},
    {U'\u2213', {"\\mp", MinusPlus, false, true}},
    {U'\u00B7', {"\\cdot", Times, false, true}},
    {U'\u00D7', {"\\times", Times, false, true}},
    {U'\u00F7', {"\\div", Divide, false, true}},
    {U'/', {"/", Slash, false, true}},
    {U'=', {"=", Equals, false, true}},
    {U'\u2260', {"\\ne", NotEqual, false, true}},
    {U'<', {"<", Less, false, true}},
    {U'>', {">", Greater, false, true}},
    {U'\u2264', {"\\le", LessEqual, false, true}},
    {U'\u2265', {"\\ge", GreaterEqual, false, true}},
    {U'\u226A', {"\\ll", MuchLess, false, true}},
    {U'\u226B', {"\\gg", MuchGreater, false, true}},
    {U'\u2272', {"\\lesssim", LessSimilar, false, true}},
    {U'\u2273', {"\\gtrsim", GreaterSimilar, false, true}},
    {U'~', {"\\sim", Similar, false, true}},
    {U'\u2248', {"\\approx", AlmostEqual, false, true}},
    {U'\u2261', {"\\equiv", Identical, false, true}},
    {U'\u2243', {"\\simeq", Asymptotic, false, true}},
    {U'\u2192', {"\\to", TendsTo, false, true}},
    {U'\u2208', {"\\in", Element, false, true}},
    {U'\u2209', {"\\notin", NotElement, false, true}},
    {U'\u2225', {"\\parallel", Parallel, false, true}},
    {U'\u22A5', {"\\perp", Perpendicular, false, true}},
    {U'\u2220', {"\\angle", Angle, false, false}},
    {U'\u221E', {"\\infty", Infinity, false, false}},
    {U'\u2202', {"\\partial", Partial, false, true}},
    {U'\u2026', {"\\ldots", Ellipsis, false, false}},
    {U'\u0127', {"\\hbar", Planck, false, false}},
    {U'\u2207', {"\\nabla", Nabla, false, true}},
    {U'\u2217', {"\\ast", Asterisk, false, true}},
    {U'*', {"\\ast", Asterisk, false, true}},
    {U'\u019B', {"\\bar{\\lambda}", LambdaBar, false, false}},
    {U'!', {"!", Factorial, false, true}},
    {U',', {"{,}", None, false, true}},
    {U'\u03C2', {"\\varsigma", Sigma, false, false}},
};

const std::unordered_map<char32_t, TSymbolInfo> &Symbols() {
    static const std::unordered_map<char32_t, TSymbolInfo> table = [] {
        std::unordered_map<char32_t, TSymbolInfo> t;
        for (const TSymbolRow &r : SymbolRows)
            t.emplace(r.Char, r.Info);
        // The capitals are U+0391 to U+03A9 without U+03A2, the small letters 32 above them.
        for (int k = 0; k < 24; ++k) {
            const char32_t capital = U'\u0391' + k + (k >= 17 ? 1 : 0);
            const auto speech = static_cast<TSpeechId>(static_cast<int>(Alpha) + k);
            t.emplace(capital, TSymbolInfo{Greek[k].Capital, speech, true, false});
            t.emplace(capital + 32, TSymbolInfo{Greek[k].Small, speech, false, false});
        }
        return t;
    }();
    return table;
}

const TFunctionName FunctionNames[] = {
    {"sin", "\\sin", Sin},
    {"cos", "\\cos", Cos},
    {"tg", nullptr, Tan},
    {"tan", "\\tan", Tan},
    {"ctg", nullptr, Cot},
    {"cot", "\\cot", Cot},
    {"sec", "\\sec", Sec},
    {"cosec", nullptr, Csc},
    {"csc", "\\csc", Csc},
    {"arcsin", "\\arcsin", ArcSin},
    {"arccos", "\\arccos", ArcCos},
    {"arctg", nullptr, ArcTan},
    {"arctan", "\\arctan", ArcTan},
    {"arcctg", nullptr, ArcCot},
    {"arccot", nullptr, ArcCot},
    {"sh", nullptr, Sinh},
    {"sinh", "\\sinh", Sinh},
    {"ch", nullptr, Cosh},
    {"cosh", "\\cosh", Cosh},
    {"th", nullptr, Tanh},
    {"tanh", "\\tanh", Tanh},
    {"cth", nullptr, Coth},
    {"coth", "\\coth", Coth},
    {"ln", "\\ln", Ln},
    {"lg", "\\lg", Lg},
    {"log", "\\log", Log},
    {"exp", "\\exp", Exp},
    {"max", "\\max", Max},
    {"min", "\\min", Min},
};

} // namespace

std::vector<TExprClass *> ChainMembers(TExprClass *first) {
    std::vector<TExprClass *> members;
    for (TExprClass *m = first; m; m = m->Next())
        members.push_back(m);
    return members;
}

std::vector<TExprClass *> OuterMembers(TExprClass &root) {
    std::vector<TExprClass *> members = ChainMembers(&root);
    for (;;) {
        auto first =
            std::find_if(members.begin(), members.end(), [](TExprClass *m) { return !Blank(*m); });
        auto last = std::find_if(members.rbegin(), members.rend(),
                                 [](TExprClass *m) { return !Blank(*m); });
        if (first == members.end()) return {};
        members = std::vector<TExprClass *>(first, last.base());
        if (members.size() != 1 || KindOf(*members[0]) != TKind::Chain) return members;
        TExprClass *son = static_cast<TExprChain *>(members[0])->Son();
        if (!son) return {};
        members = ChainMembers(son);
    }
}

TKind KindOfType(const std::type_info &type) {
    // A class's type_info is one object in a program linked statically, so its address finds
    // the kind without comparing names; the names decide where it is not.
    static const auto table = [] {
        std::pair<std::unordered_map<const std::type_info *, TKind>,
                  std::unordered_map<std::type_index, TKind>>
            t;
        for (const TKindRow &r : KindRows) {
            t.first.emplace(r.Type, r.Kind);
            t.second.emplace(std::type_index(*r.Type), r.Kind);
        }
        return t;
    }();
    if (const auto a = table.first.find(&type); a != table.first.end()) return a->second;
    const auto k = table.second.find(std::type_index(type));
    return k == table.second.end() ? TKind::Unknown : k->second;
}

bool ShowsNothing(TExprClass &node) {
    const TKind k = KindOf(node);
    if (k == TKind::Class) return true;
    if (k == TKind::Space) return static_cast<TExprSpace &>(node).Count() == 0;
    if (k == TKind::Strokes) return static_cast<TExprStrokes &>(node).Count() <= 0;
    return TextKind(k) && static_cast<TExprSimple &>(node).Text().empty();
}

char32_t Printable(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0xD800 && c < 0xE000) || c == 0xFFFE ||
        c == 0xFFFF || c > 0x10FFFF)
        return U'\uFFFD';
    return c;
}

std::string TextUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size());
    for (char c : cp1251)
        AppendUtf8(out, Printable(Cp1251ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

const TSymbolInfo *FindSymbol(char32_t c) {
    const auto &t = Symbols();
    const auto k = t.find(c);
    return k == t.end() ? nullptr : &k->second;
}

char32_t SignCharacter(uint16_t code) {
    switch (code) {
    case esMuchLess:
        return U'\u226A';
    case esMuchGreater:
        return U'\u226B';
    case esApproxLess:
        return U'\u2272';
    case esApproxGreater:
        return U'\u2273';
    case esPlusMinus:
        return U'\u00B1';
    case esMinusPlus:
        return U'\u2213';
    case esAlmostEqual:
        return U'\u2243';
    case esParallel:
        return U'\u2225';
    case esPerpendicular:
        return U'\u22A5';
    case esAngle:
        return U'\u2220';
    default:
        return code;
    }
}

char32_t SymbolCharacter(TExprClass &node) {
    switch (KindOf(node)) {
    case TKind::Sign:
        return SignCharacter(static_cast<TExprSign &>(node).Code());
    case TKind::Lambda:
        return U'\u019B'; // a lambda with a stroke through it: the letter of its own
    case TKind::Nabla:
        return U'\u2207'; // drawn as a capital delta turned over
    default:
        return static_cast<TExprExtSymbol &>(node).Code();
    }
}

const TFunctionName *FindFunctionName(std::string_view name) {
    for (const TFunctionName &f : FunctionNames)
        if (name == f.Name) return &f;
    return nullptr;
}

TNumberText NumberText(TExprClass &number) {
    auto &n = static_cast<TExprNumber &>(number);
    return {n.Mantissa(), n.Exponent()};
}

std::vector<std::string> KindsWithoutExport(TExportFormat format) {
    std::vector<std::string> missing;
    for (const TExprKind *k : ExprKinds()) {
        const bool covered = format == TExportFormat::Latex    ? LatexCovers(k->Type())
                             : format == TExportFormat::MathML ? MathMLCovers(k->Type())
                                                               : SpeechCovers(k->Type());
        if (!covered) missing.push_back(k->Name());
    }
    return missing;
}
