// What the three exporters share: the per-kind tables they dispatch on, the outer row of a
// formula, the characters of texts and symbols, and the width of spaces.
#pragma once

#include "formula/draw/ExprClass.h"
#include "formula/export/SpeechTexts.h"

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>
#include <vector>

// How one format writes each node class, found by the node's exact class. A class without a
// rule fails loudly instead of passing for its base class.
template <class TWriter> class TKindTable {
public:
    using TWrite = void (*)(TWriter &, TExprClass &);
    struct TRule {
        const std::type_info *Type;
        TWrite Write;
    };

    TKindTable(const char *format, std::initializer_list<TRule> rules) : FFormat(format) {
        for (const TRule &r : rules)
            FRules.emplace(std::type_index(*r.Type), r.Write);
    }

    TWrite Find(const TExprClass &node) const {
        const auto k = FRules.find(std::type_index(typeid(node)));
        if (k == FRules.end())
            throw std::logic_error(std::string("no ") + FFormat + " for the node class " +
                                   typeid(node).name());
        return k->second;
    }
    bool Covers(const std::type_info &type) const { return FRules.count(std::type_index(type)); }

private:
    const char *FFormat;
    std::unordered_map<std::type_index, TWrite> FRules;
};

// The rule of class T: F(writer, node as T).
template <class T, auto F, class TWriter> typename TKindTable<TWriter>::TRule KindRule() {
    return {&typeid(T), [](TWriter &w, TExprClass &n) { F(w, static_cast<T &>(n)); }};
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
void AppendUtf8(std::string &out, char32_t c);
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
