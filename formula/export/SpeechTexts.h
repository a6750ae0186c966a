// Every word of the speech text, in one table keyed by identifier. Phrases are patterns: %1, %2,
// %3 stand for the parts they join ("%1 в квадрате"), and a counted phrase holds its plural forms
// separated by "|" with %n for the count. The built-in table holds Russian and English; another
// language comes through TSpeechTexts, whose implementation may look the phrases up by their keys.
#pragma once

#include "runtime/Language.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

enum class TSpeechId : uint16_t {
    // Structures.
    Fraction,
    FractionShort,
    FractionEnd,
    SquareRoot,
    CubeRoot,
    NthRoot,
    RootEnd,
    Subscript,
    Squared,
    Cubed,
    Power,
    PowerEnd,
    Prime,
    Primes, // counted
    Dot,
    TwoDots,
    Dots, // counted
    Vector,
    Hat,
    Tilde,
    Overline,
    Function,
    NamedFunction,
    LogBase,
    Limit,
    AtValue,
    Sum,
    Product,
    ContourIntegral,
    Integral,
    DoubleIntegral,
    TripleIntegral,
    MultipleIntegral, // counted
    ManyIntegral,
    OperatorFromTo,
    OperatorFrom,
    OperatorTo,
    OperatorPlain,
    SumEnd,
    ProductEnd,
    IntegralEnd,
    OpenRound,
    CloseRound,
    OpenSquare,
    CloseSquare,
    OpenCurly,
    CloseCurly,
    Bar,
    Abs,
    AbsEnd,
    System,
    SystemEnd,
    Cases,
    CaseLine,
    CasesEnd,
    Matrix,
    MatrixRow,
    MatrixEnd,
    TenPower,
    TenPowerOnly,
    Factorial,
    // Signs.
    Plus,
    Minus,
    PlusMinus,
    MinusPlus,
    Times,
    Divide,
    Slash,
    Equals,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    MuchLess,
    MuchGreater,
    LessSimilar,
    GreaterSimilar,
    Similar,
    AlmostEqual,
    Identical,
    Asymptotic,
    TendsTo,
    Element,
    NotElement,
    Parallel,
    Perpendicular,
    Angle,
    // Symbols.
    Infinity,
    Partial,
    Ellipsis,
    Planck,
    Nabla,
    Asterisk,
    LambdaBar,
    Capital,
    // Function names.
    Sin,
    Cos,
    Tan,
    Cot,
    Sec,
    Csc,
    ArcSin,
    ArcCos,
    ArcTan,
    ArcCot,
    Sinh,
    Cosh,
    Tanh,
    Coth,
    Ln,
    Lg,
    Log,
    Exp,
    Max,
    Min,
    // The small Greek letters, alpha to omega in the alphabet's order.
    Alpha,
    Beta,
    Gamma,
    Delta,
    Epsilon,
    Zeta,
    Eta,
    Theta,
    Iota,
    Kappa,
    Lambda,
    Mu,
    Nu,
    Xi,
    Omicron,
    Pi,
    Rho,
    Sigma,
    Tau,
    Upsilon,
    Phi,
    Chi,
    Psi,
    Omega,
    None, // no phrase: the thing is said as it is written
};

constexpr int SpeechIdCount = static_cast<int>(TSpeechId::None);

// One phrase of the built-in table: a stable key for translators, the Russian and the English
// text (UTF-8).
struct TSpeechPhrase {
    TSpeechId Id;
    const char *Key;
    const char *Russian;
    const char *English;
};

// The phrase of id (id must not be None).
const TSpeechPhrase &SpeechPhrase(TSpeechId id);

class TSpeechTexts {
public:
    virtual ~TSpeechTexts() = default;
    // The pattern of id in UTF-8; for a counted phrase the form for n, %n replaced by n.
    virtual std::string Text(TSpeechId id, long long n = 0) const = 0;
};

// The built-in Russian and English texts, and those of a language.
const TSpeechTexts &RussianSpeech();
const TSpeechTexts &EnglishSpeech();
const TSpeechTexts &SpeechIn(TLanguage language);

// The form of a Russian counted phrase "one|few|many" for n: 1, 21 one; 2 to 4, 22 few; the rest
// many (11 to 14 included). A phrase without "|" is its own form.
std::string RussianPlural(std::string_view forms, long long n);

// The form of an English counted phrase "one|other" for n: one for 1 and -1.
std::string EnglishPlural(std::string_view forms, long long n);

// Walks a pattern: its literal text goes to literal, each %1 to %9 to part with the number; "%%"
// is a literal "%".
template <class TLiteral, class TPart>
void WalkSpeechPattern(std::string_view pattern, TLiteral &&literal, TPart &&part) {
    std::size_t start = 0;
    for (std::size_t k = 0; k + 1 < pattern.size(); ++k) {
        if (pattern[k] != '%') continue;
        const char c = pattern[k + 1];
        if (c != '%' && (c < '1' || c > '9')) continue;
        literal(pattern.substr(start, k - start + (c == '%' ? 1 : 0)));
        if (c != '%') part(c - '0');
        start = k + 2;
        ++k;
    }
    literal(pattern.substr(start));
}

// pattern with %1 to %9 replaced by parts (a missing part is empty).
std::string FillSpeech(std::string_view pattern, std::initializer_list<std::string_view> parts);
