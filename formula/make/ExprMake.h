// The formula text parser: normalization of the typed text and TExprBuilder, a recursive-descent
// parser that builds the node tree while it reads and makes the typesetting decisions that depend
// on neighbouring constructs (signs between factors, fractions, where scripts and accents go).
// Formula texts and messages are Windows-1251.
#pragma once

#include "formula/draw/ExprClass.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

// A formula text error: a Russian message, with the 1-based position in the normalized text
// (with its appended blank) written directly after it when the message has one.
class EIncorrectExpr : public std::exception {
public:
    // position 0: the message has no position.
    explicit EIncorrectExpr(std::string text, int32_t position = 0);

    // The whole message in Windows-1251, position included.
    const std::string &Message() const { return FMessage; }
    // The message text without the position.
    const std::string &Text() const { return FText; }
    int32_t Position() const { return FPosition; }
    // The whole message in UTF-8.
    const char *what() const noexcept override { return FUtf8.c_str(); }

private:
    std::string FText, FMessage, FUtf8;
    int32_t FPosition;
};

// The message texts, in Windows-1251. Those ending in a blank take a position.
namespace ExprMessages {
const std::string &InvalidChar();  // "Недопустимый символ в позиции "
const std::string &ExpectRound();  // "Ожидается ")" в позиции "
const std::string &ExpectSquare(); // "Ожидается "]" в позиции "
const std::string &ExpectCurly();  // "Ожидается "}" в позиции "
const std::string &ExpectBar();    // "Ожидается "|" в позиции "
const std::string &ExpectDigit();  // "Ожидается цифра в позиции "
const std::string &ExpectComma();  // "Ожидается "," в позиции "
const std::string &ExpectNumber(); // "Ожидается число в позиции "
const std::string &ExpectOpening(); // "Ожидается знак открывающей скобки в позиции "
const std::string &ExpectClosing(); // "Ожидается знак закрывающей скобки в позиции "
const std::string &UnterminatedString(); // "Незавершённая строка"
const std::string &TooDeep(); // "Слишком глубокая вложенность в позиции "
const std::string &TooLarge();      // "Формула слишком велика"
const std::string &TooLongNumber(); // "Число длиннее 255 знаков в позиции "
const std::string &OutOfRange(); // "Число вне допустимого диапазона в позиции "
} // namespace ExprMessages

// Code characters of the normalized text: each stands for a pair (or the ellipsis) as typed.
enum : char {
    ccNotEqual = 1,     // <>
    ccGreaterEqual = 2, // >=
    ccLessEqual = 3,    // <=
    ccMuchGreater = 4,  // >>
    ccMuchLess = 5,     // <<
    ccTendsTo = 6,      // ->
    ccApprox = 7,       // ~~
    ccPlusMinus = 8,    // +-
    ccMinusPlus = 9,    // -+
    ccIdentical = 10,   // ==
    ccDivide = 11,      // /+
    ccCross = 12,       // *+
    ccEllipsis = 13,    // ...
    ccGreaterSim = 14,  // >~
    ccLessSim = 15,     // <~
    ccSlash = 16,       // //
    ccForcedRound = 17, // !(
    ccDot = 18,         // *.
    ccJoin = 19,        // **
    ccTildeBar = 20,    // =~
};

// Folds every operator pair, the ellipsis and the spaced ampersand into one character, left to
// right, blind to quotes. origin, when given, receives for each character of the result the
// index in text of the first character it came from, plus text.size() at the end.
std::string Normalize(std::string_view text, std::vector<int32_t> *origin = nullptr);

struct TKeywordArg;
class TKeywordArgs;

// The parser, in files by construct: ExprGrammar.cpp (lists, relations, sums, products,
// factors), ExprScripts.cpp (attaching scripts and accents), ExprNames.cpp (names and general
// functions), ExprKeywords.cpp (the keyword table and argument reader; handlers in
// Keywords*.cpp), ExprLiterals.cpp (the cursor, strings and numbers), ExprNormalize.cpp and
// ExprMessages.cpp.
class TExprBuilder {
public:
    // How ParseList wraps the list it read.
    enum class TListMode { Plain, Chain, Round, Argument, Base, Bars, Square, Curly };

    // Longest formula text. Building takes time and memory in proportion to the length, and
    // this bounds both (about a second and a few hundred megabytes at worst).
    static constexpr std::size_t MaxFormulaLength = std::size_t{1} << 20;
    // Most nodes of one tree: some constructs take more than one node per character, and a
    // node with its font takes about 300 bytes.
    static constexpr std::size_t MaxNodes = std::size_t{1} << 19;
    // Nesting limits: beyond them the parser's stack (and every recursive walk of the tree)
    // could overflow.
    static constexpr int MaxListDepth = 256;
    static constexpr int MaxFactorDepth = 1024;
    // Longest number literal or integer argument.
    static constexpr int MaxLiteral = 255;
    // Nodes copied for derivative degrees: each copy doubles a nested degree, so without a
    // bound a short text could ask for an exponentially large tree.
    static constexpr std::size_t MaxCopiedNodes = 1 << 16;

    TExprBuilder() = default;
    TExprBuilder(const TExprBuilder &) = delete;
    TExprBuilder &operator=(const TExprBuilder &) = delete;

    // Parses one formula text into a new tree owned by the caller. Text after the top-level
    // list is ignored. Throws EIncorrectExpr.
    PExpr BuildExpr(std::string_view formula);

    // The normalized formula text with one blank appended, and the 1-based current position.
    std::string Text;
    int32_t Pos = 1;
    bool SplitFuncDigits = true;
    bool SplitNameDigits = true;
    // False only while the factor after a postfix "_" is read.
    bool PostfixEnabled = true;

    // Where a superscript, subscript or accent goes: on a function it lands on the function's
    // name, on an index without that script it joins the index. Each returns the node that now
    // carries the script.
    static PExpr AttachPower(PExpr base, PExpr sup);
    static PExpr AttachIndex(PExpr base, PExpr sub);
    static PExpr AttachCap(PExpr base, uint8_t kind, int32_t count);
    // Replaces a row whose brackets may be hidden (a plain chain, an argument or a base of
    // several members) by visible round brackets; the siblings after it stay.
    static void BracketChain(PExpr &node);

private:
    friend class TKeywordArgs;
    class TDepth;
    static PExpr AttachScript(PExpr base, PExpr script, int index);

    PExpr ParseList(TListMode mode, bool commas);
    PExpr ParseRelation(bool &compound);
    PExpr ParseSum(bool &compound);
    // Operands joined by the signs that code finds (0: no sign): relations and sums.
    PExpr ParseSignedRow(bool &compound, int (*code)(char), PExpr (TExprBuilder::*operand)(bool &));
    PExpr ParseProduct(bool &compound);
    PExpr ParseFactor(bool &compound);
    // Fails with "too large" once the tree has more than MaxNodes nodes.
    void CheckNodeBudget();
    // The factor without its postfix operators: a prefix sign, a bracketed list, a number, an
    // arrowed factor or a name.
    PExpr ParseOperand(bool &compound);
    // The postfix "!", "^", "_" and "`" after a factor.
    PExpr ParsePostfix(PExpr result, bool &compound, TDepth &depth);
    PExpr ParseScript(char postfix);
    PExpr ParseName(bool &compound);
    PExpr ParseKeywordCall(const std::string &name, bool &compound, bool forced);
    PExpr ParseGeneralFunction(const std::string &name, bool forced);
    PExpr ResolveName(const std::string &name);

    // The arguments of a keyword call by their shape (ExprKeywords.cpp).
    void ReadArguments(std::string_view shape, TKeywordArgs &args);
    TKeywordArg ReadArgument(char letter);
    void ReadBracketPair(int32_t &opening, int32_t &closing);

    bool SkipComma();
    void ExpectComma();
    void Expect(char closing, const std::string &message);
    std::string ReadString();
    long double ReadNumberLiteral(bool signAllowed);
    // An optional sign and digits; none there gives 0 (or the missing-number error when
    // required) and consumes nothing.
    int32_t ReadInteger(bool required);

    char Cur() const;
    char At(int32_t pos) const;
    [[noreturn]] void Fail(const std::string &message, int32_t position) const;

    // The formula as typed and, for each character of Text, where it came from: strings show
    // what was typed, not the folded code characters.
    std::string FTyped;
    std::vector<int32_t> FOrigin;
    int FListDepth = 0;
    int FFactorDepth = 0;
    std::size_t FCopiedNodes = 0;
    std::size_t FNodesAtStart = 0;
};

// Greek letter code of a name (case-insensitive; a small Latin first letter gives the small
// letter), 1 for PLAMBDA, 2 for NABLA, 0 for anything else.
int GreekCode(std::string_view name);
