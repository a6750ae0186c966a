// What the three exporters share: the node kinds and the per-kind tables they dispatch on, the
// outer row of a formula, the characters of texts and symbols, and the width of spaces.
#pragma once

#include "formula/draw/ExprClass.h"
#include "formula/export/SpeechTexts.h"
#include "runtime/Cp1251.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

// The node classes the exporters know, each by its exact class.
enum class TKind : uint8_t {
    Class,
    Simple,
    Var,
    FuncName,
    Asterix,
    Number,
    ExpNumber,
    ExtSymbol,
    Sign,
    Comma,
    Plank,
    Lambda,
    Nabla,
    Empty,
    Space,
    Strokes,
    Chain,
    Bracketed,
    Round,
    Base,
    Argument,
    Ratio,
    Root,
    Index,
    CommonFunc,
    Func,
    Lim,
    AtValue,
    Cap,
    Stand,
    Matrix,
    Case,
    Summa,
    Prod,
    Circ,
    Integral,
    Unknown, // a class of its own, or a base class alone
};
constexpr std::size_t KindCount = static_cast<std::size_t>(TKind::Unknown);

TKind KindOfType(const std::type_info &type);
inline TKind KindOf(const TExprClass &node) {
    return KindOfType(typeid(node));
}

// Families of kinds.
inline bool TextKind(TKind k) {
    return k == TKind::Simple || k == TKind::Var || k == TKind::FuncName || k == TKind::Asterix;
}
inline bool NumberKind(TKind k) {
    return k == TKind::Number || k == TKind::ExpNumber;
}
inline bool BracketedKind(TKind k) {
    return k == TKind::Bracketed || k == TKind::Round || k == TKind::Base || k == TKind::Argument;
}
inline bool GroupOpKind(TKind k) {
    return k == TKind::Summa || k == TKind::Prod || k == TKind::Circ || k == TKind::Integral;
}

// How one format writes each node kind. A class without a rule fails loudly instead of passing
// for its base class.
template <class TWriter> class TKindTable {
public:
    using TWrite = void (*)(TWriter &, TExprClass &);
    struct TRule {
        TKind Kind;
        TWrite Write;
    };

    // A later rule of a kind replaces an earlier one.
    TKindTable(const char *format, std::initializer_list<TRule> rules)
        : TKindTable(format, std::vector<TRule>(rules)) {}
    TKindTable(const char *format, const std::vector<TRule> &rules) : FFormat(format) {
        for (const TRule &r : rules)
            if (r.Kind != TKind::Unknown) FWrite[static_cast<std::size_t>(r.Kind)] = r.Write;
    }

    TWrite Find(const TExprClass &node) const {
        const TKind k = KindOf(node);
        const TWrite w = k == TKind::Unknown ? nullptr : FWrite[static_cast<std::size_t>(k)];
        if (!w)
            throw std::logic_error(std::string("no ") + FFormat + " for the node class " +
                                   typeid(node).name());
        return w;
    }
    bool Covers(const std::type_info &type) const {
        const TKind k = KindOfType(type);
        return k != TKind::Unknown && FWrite[static_cast<std::size_t>(k)];
    }

private:
    const char *FFormat;
    std::array<TWrite, KindCount> FWrite{};
};

// The rule of class T: F(writer, node as T).
template <class T, auto F, class TWriter> typename TKindTable<TWriter>::TRule KindRule() {
    return {KindOfType(typeid(T)), [](TWriter &w, TExprClass &n) { F(w, static_cast<T &>(n)); }};
}

// Whether each format has a rule for a class (the registry check).
bool LatexCovers(const std::type_info &type);
bool MathMLCovers(const std::type_info &type);
bool SpeechCovers(const std::type_info &type);

// The members of a formula's outermost row: root and its following siblings, without the empty
// nodes, spaces and blank texts at either end (the heads and blanks a picture puts round a
// formula); a row left with one plain row node in it is opened in turn.
std::vector<TExprClass *> OuterMembers(TExprClass &root);

// The members of the chain that begins with first.
std::vector<TExprClass *> ChainMembers(TExprClass *first);

// A node that shows nothing: an empty node, a space of no width, no primes, an empty text.
bool ShowsNothing(TExprClass &node);

// A character that can stand in every output: controls, surrogate halves and non-characters
// become U+FFFD.
char32_t Printable(char32_t c);
// A Windows-1251 node text in UTF-8, its controls replaced.
std::string TextUtf8(std::string_view cp1251);

// What the exporters know of a character that a symbol or sign node shows.
struct TSymbolInfo {
    const char *Latex = nullptr;        // math-mode LaTeX; null: written as text
    TSpeechId Speech = TSpeechId::None; // None: said as written
    bool Capital = false;               // a capital Greek letter: said with TSpeechId::Capital
    bool Operator = false;              // an operator or relation: <mo> in MathML
};
// Null for a character the tables do not hold.
const TSymbolInfo *FindSymbol(char32_t c);
// The character a sign shows: the private codes of TExprSign stand for Unicode signs.
char32_t SignCharacter(uint16_t code);
// The character a symbol node shows.
char32_t SymbolCharacter(TExprClass &node);

// The known function names (as typed, Latin): the LaTeX command and the spoken name; null
// when the name is not one of them.
struct TFunctionName {
    const char *Name;
    const char *Latex; // null: \operatorname
    TSpeechId Speech;
};
const TFunctionName *FindFunctionName(std::string_view name);

// A space of count units (pen widths) in ems: a pen width is 1/13 of the em of the program's
// 13-pixel formula font, and of any size the fonts scale to.
constexpr double SpaceUnitsPerEm = 13;

// Number texts as the picture shows them: the mantissa (decimal comma) and the exponent of the
// power of ten (empty without one).
struct TNumberText {
    std::string Mantissa;
    std::string Exponent;
};
TNumberText NumberText(TExprClass &number);

// Accent marks and primes are written one by one up to this count, and by their number above it.
constexpr int32_t MaxWrittenMarks = 64;
