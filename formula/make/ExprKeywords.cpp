// The keyword table and the generic reader of keyword arguments.
#include "formula/make/ExprKeywords.h"

#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprClone.h"
#include "formula/make/ExprNames.h"
#include "formula/make/ExprRow.h"

#include <array>
#include <utility>

// An argument shape is read left to right:
//   W  a list as written (a chain when it has several members)
//   B  a list used as a base: several members, or a compound one, get brackets
//   A  a list as a function argument (brackets hidden unless needed)
//   P  a plain list, unwrapped
//   |  a list between modulus bars
//   i  an integer, 0 when none is written; I  an integer that must be there
//   N  a number literal with an optional sign
//   S  a string: in double quotes, or everything up to the closing round bracket
//   K  two bracket characters: the opening and the closing one
//   ,  a comma that must be there ("," error at its position)
//   [,…]  an optional tail: read when a comma follows
//   {,…}  a repeated tail: read while a comma follows
namespace {

using namespace Keywords;

// The class a row names.
template <class T> constexpr const std::type_info *Node = &typeid(T);

// Grouped by the handlers' files; found by name. Compound: POW, SQR, STROKES, FACT and LIM.
constexpr std::array<TKeyword, 43> KeywordTable = {{
    {"STRING", "S", false, String, Node<TExprSimple>},
    {"ANGLE", "S", false, Angle, Node<TExprSign>},
    {"NUM", "N[,I[,I[,I]]]", false, Num, Node<TExprExpNumber>},
    {"SYMBOL", "I", false, Symbol, Node<TExprExtSymbol>},
    {"FACT", "B", true, Fact, Node<TExprSimple>},

    {"SQRT", "W", false, Sqrt, Node<TExprRoot>},
    {"ROOT", "W,W", false, Root, Node<TExprRoot>},
    {"SQR", "B", true, Sqr, Node<TExprIndex>},
    {"POW", "B,W", true, Pow, Node<TExprIndex>},
    {"IND", "B,W", false, Ind, Node<TExprIndex>},
    {"STROKES", "B[,i]", true, Strokes, Node<TExprIndex>},
    {"ABS", "|", false, Abs, Node<TExprBracketed>},
    {"BRACKETS", "K,W", false, Brackets, Node<TExprBracketed>},
    {"SYSTEM", "W{,W}", false, System, Node<TExprBracketed>},
    {"DIFFR", "B[,W]", false, Derivative<false, false>, Node<TExprRatio>},
    {"PDIFFR", "B[,W]", false, Derivative<true, false>, Node<TExprRatio>},
    {"DIFFRF", "B,B[,W]", false, Derivative<false, true>, Node<TExprRatio>},
    {"PDIFFRF", "B,B[,W]", false, Derivative<true, true>, Node<TExprRatio>},

    {"LOG", "W,A", false, Log, Node<TExprCommonFunc>},
    {"FUNC", "W,P{,P}", false, Func, Node<TExprCommonFunc>},
    {"LIM", "W,A", true, Lim, Node<TExprCommonFunc>},
    {"AT", "A,W", false, At, Node<TExprAtValue>},
    {"LINE", "W", false, Line, Node<TExprCap>},
    {"VECT", "W", false, Vect, Node<TExprCap>},
    {"CAP", "W", false, Cap, Node<TExprCap>},
    {"TILDE", "W", false, Tilde, Node<TExprCap>},
    {"POINTS", "W[,i]", false, Points, Node<TExprCap>},
    {"STANDL", "W{,W}", false, StandL, Node<TExprStand>},
    {"STANDC", "W{,W}", false, StandC, Node<TExprStand>},
    {"STANDR", "W{,W}", false, StandR, Node<TExprStand>},
    {"SPACE", "i", false, Space, Node<TExprSpace>},
    {"COMMA", "i", false, Comma, Node<TExprComma>},
    {"DIFF", "B[,W]", false, Differential<false, false>, Node<TExprSpace>},
    {"PDIFF", "B[,W]", false, Differential<true, false>, Node<TExprSpace>},
    {"DIFFN", "B[,B]", false, Differential<false, true>, Node<TExprSpace>},
    {"PDIFFN", "B[,B]", false, Differential<true, true>, Node<TExprSpace>},

    {"MATRIX", "i,i,W{,W}", false, Matrix, Node<TExprMatrix>},
    {"CASE", "W{,W}", false, Case, Node<TExprCase>},

    {"SUMMA", "A[,W[,W]]", false, Summa, Node<TExprSumma>},
    {"PROD", "A[,W[,W]]", false, Prod, Node<TExprProd>},
    {"CIRC", "A[,W[,W]]", false, Circ, Node<TExprCirc>},
    {"INT", "A[,W[,W]]", false, Int, Node<TExprIntegral>},
    {"INTM", "i,A[,W[,W]]", false, IntM, Node<TExprIntegral>},
}};

// The bracket kind of a character of BRACKETS' first argument, or -1.
int BracketKind(char c, bool opening) {
    switch (c) {
    case '(':
    case '[':
    case '{':
        if (!opening) return -1;
        return c == '(' ? ebRound : c == '[' ? ebSquare : ebFigure;
    case ')':
    case ']':
    case '}':
        if (opening) return -1;
        return c == ')' ? ebRound : c == ']' ? ebSquare : ebFigure;
    case '|':
        return ebModule;
    case '0':
        return ebNone;
    default:
        return -1;
    }
}

// The position of the bracket that closes the group opening at shape[open].
std::size_t GroupEnd(std::string_view shape, std::size_t open) {
    int depth = 0;
    for (std::size_t k = open; k < shape.size(); ++k) {
        if (shape[k] == '[' || shape[k] == '{') ++depth;
        if ((shape[k] == ']' || shape[k] == '}') && --depth == 0) return k;
    }
    return shape.size();
}

} // namespace

std::span<const TKeyword> AllKeywords() {
    return KeywordTable;
}

const TKeyword *FindKeyword(std::string_view name) {
    const ExprChars::TUpperName upper(name);
    for (const TKeyword &k : KeywordTable)
        if (upper == k.Name) return &k;
    return nullptr;
}

PExpr TKeywordArgs::TakeForced(std::size_t k) {
    return ExprRows::Forced(Take(k), Forced);
}

PExpr TKeywordArgs::TakeRest(std::size_t k) {
    ExprRows::TRow row;
    for (; k < Items.size(); ++k)
        row.Add(Take(k));
    return row.Take();
}

PExpr TKeywordArgs::Copy(const TExprClass *node) {
    // Parsing the text a second time instead would double the work at every nesting level.
    const std::size_t size = CountExpr(node, TExprBuilder::MaxCopiedNodes + 1);
    if (size > TExprBuilder::MaxCopiedNodes - FBuilder.FCopiedNodes)
        Fail(ExprMessages::TooLarge(), 0);
    FBuilder.FCopiedNodes += size;
    return CloneExpr(node);
}

void TKeywordArgs::Fail(const std::string &message, int32_t position) const {
    FBuilder.Fail(message, position);
}

PExpr TExprBuilder::ParseKeywordCall(const std::string &name, bool &compound, bool forced) {
    compound = false;
    const TKeyword *keyword = FindKeyword(name);
    if (!keyword) return ParseGeneralFunction(name, forced);
    TKeywordArgs args(*this, name, forced);
    ReadArguments(keyword->Shape, args);
    compound = keyword->Compound;
    return keyword->Handler(args);
}

void TExprBuilder::ReadArguments(std::string_view shape, TKeywordArgs &args) {
    for (std::size_t k = 0; k < shape.size(); ++k) {
        const char s = shape[k];
        if (s == '[' || s == '{') {
            // The group's own leading comma is the one looked for here.
            const std::size_t end = GroupEnd(shape, k);
            const std::string_view inner = shape.substr(k + 2, end - k - 2);
            if (s == '[') {
                if (SkipComma()) ReadArguments(inner, args);
            } else {
                while (SkipComma())
                    ReadArguments(inner, args);
            }
            k = end;
        } else if (s == ',') {
            ExpectComma();
        } else {
            args.Items.push_back(ReadArgument(s));
        }
    }
}

TKeywordArg TExprBuilder::ReadArgument(char letter) {
    // The list letters and the modes of their lists.
    static constexpr std::array<std::pair<char, TListMode>, 5> ListLetters = {{
        {'W', TListMode::Chain},
        {'B', TListMode::Base},
        {'A', TListMode::Argument},
        {'P', TListMode::Plain},
        {'|', TListMode::Bars},
    }};
    TKeywordArg a;
    a.Position = Pos;
    for (const auto &[list, mode] : ListLetters) {
        if (letter != list) continue;
        a.Node = ParseList(mode, false);
        return a;
    }
    switch (letter) {
    case 'i':
    case 'I':
        a.Int = ReadInteger(letter == 'I');
        break;
    case 'N':
        a.Number = ReadNumberLiteral(true);
        break;
    case 'S':
        a.Text = ReadString();
        break;
    case 'K':
        ReadBracketPair(a.Int, a.Int2);
        break;
    default:
        break;
    }
    return a;
}

void TExprBuilder::ReadBracketPair(int32_t &opening, int32_t &closing) {
    opening = BracketKind(Cur(), true);
    if (opening < 0) Fail(ExprMessages::ExpectOpening(), Pos);
    ++Pos;
    if (Pos >= static_cast<int32_t>(Text.size())) Fail(ExprMessages::UnterminatedString(), 0);
    closing = BracketKind(Cur(), false);
    if (closing < 0) Fail(ExprMessages::ExpectClosing(), Pos);
    ++Pos;
}
