// Keyword calls: one constexpr table (ExprKeywords.cpp) maps a keyword's name to the shape of
// its arguments, to its handler and to the node class the call builds. The builder reads the
// arguments by the shape, generically; the handler only builds the node. Handlers live in the
// file named after the family of that class, so the file that draws a construct tells the file
// that builds it:
//   KeywordsAtoms.cpp     ExprAtoms     strings, numbers, symbols, angles, the factorial sign
//   KeywordsStructs.cpp   ExprStructs   roots, powers, indices, brackets, systems, derivatives
//   KeywordsFuncs.cpp     ExprFuncs     functions, limits, accents, stands, spaces, commas,
//                                       differentials
//   KeywordsSpecial.cpp   ExprSpecial   matrices and cases
//   KeywordsGroupOps.cpp  ExprGroupOps  sums, products, contour integrals, integrals
// Internal to formula/make.
#pragma once

#include "formula/make/ExprMake.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

// One argument as its shape letter reads it (see ExprKeywords.cpp).
struct TKeywordArg {
    PExpr Node;             // the lists W B A P |
    int32_t Int = 0;        // i I; K: the opening bracket kind
    int32_t Int2 = 0;       // K: the closing bracket kind
    long double Number = 0; // N
    std::string Text;       // S
    int32_t Position = 0;   // where the argument begins in the normalized text
};

// The arguments of one keyword call, in the order written; optional ones that were not written
// are absent, so Count() tells which were.
class TKeywordArgs {
public:
    TKeywordArgs(TExprBuilder &builder, const std::string &name, bool forced)
        : Name(name), Forced(forced), FBuilder(builder) {}

    // The keyword as typed.
    const std::string &Name;
    // Written with "!(": the argument that shows brackets gets them visible.
    const bool Forced;
    std::vector<TKeywordArg> Items;

    std::size_t Count() const { return Items.size(); }
    // The list of argument k (empty when absent), handed over.
    PExpr Take(std::size_t k) { return k < Items.size() ? std::move(Items[k].Node) : nullptr; }
    // The same with the brackets of a forced call.
    PExpr TakeForced(std::size_t k);
    // The lists from argument k on, chained as siblings.
    PExpr TakeRest(std::size_t k);
    // The integer of argument k, or absent when it was not written.
    int32_t Int(std::size_t k, int32_t absent = 0) const {
        return k < Items.size() ? Items[k].Int : absent;
    }
    // A deep copy for a second place (a derivative's degree), counted against the builder's
    // budget of copied nodes; beyond it the formula is too large.
    PExpr Copy(const TExprClass *node);
    [[noreturn]] void Fail(const std::string &message, int32_t position) const;

private:
    TExprBuilder &FBuilder;
};

using TKeywordHandler = PExpr (*)(TKeywordArgs &);

struct TKeyword {
    std::string_view Name;  // upper case
    std::string_view Shape; // the arguments, read by TExprBuilder::ReadArguments
    bool Compound;          // the call counts as compound where it is a base
    TKeywordHandler Handler;
    // The class of the node the call builds: the call's result, or for a call that returns a
    // row, the member of the row it makes itself.
    const std::type_info *Builds;
};

// Every keyword, in the table's order.
std::span<const TKeyword> AllKeywords();

// The keyword of a name (case-insensitive), or null.
const TKeyword *FindKeyword(std::string_view name);

// The handlers, by family.
namespace Keywords {
// KeywordsAtoms.cpp
PExpr String(TKeywordArgs &a);
PExpr Angle(TKeywordArgs &a);
PExpr Num(TKeywordArgs &a);
PExpr Symbol(TKeywordArgs &a);
PExpr Fact(TKeywordArgs &a);
// KeywordsStructs.cpp
PExpr Sqrt(TKeywordArgs &a);
PExpr Root(TKeywordArgs &a);
PExpr Sqr(TKeywordArgs &a);
PExpr Pow(TKeywordArgs &a);
PExpr Ind(TKeywordArgs &a);
PExpr Strokes(TKeywordArgs &a);
PExpr Abs(TKeywordArgs &a);
PExpr Brackets(TKeywordArgs &a);
PExpr System(TKeywordArgs &a);
// DIFFR, PDIFFR (the partial sign), DIFFRF, PDIFFRF (with the function).
template <bool Partial, bool WithF> PExpr Derivative(TKeywordArgs &a);
// KeywordsFuncs.cpp
PExpr Log(TKeywordArgs &a);
PExpr Func(TKeywordArgs &a);
PExpr Lim(TKeywordArgs &a);
PExpr At(TKeywordArgs &a);
PExpr Line(TKeywordArgs &a);
PExpr Vect(TKeywordArgs &a);
PExpr Cap(TKeywordArgs &a);
PExpr Tilde(TKeywordArgs &a);
PExpr Points(TKeywordArgs &a);
PExpr StandL(TKeywordArgs &a);
PExpr StandC(TKeywordArgs &a);
PExpr StandR(TKeywordArgs &a);
PExpr Space(TKeywordArgs &a);
PExpr Comma(TKeywordArgs &a);
// DIFF, PDIFF (the partial sign), DIFFN, PDIFFN (the power on the letter).
template <bool Partial, bool PowerOnD> PExpr Differential(TKeywordArgs &a);
// KeywordsSpecial.cpp
PExpr Matrix(TKeywordArgs &a);
PExpr Case(TKeywordArgs &a);
// KeywordsGroupOps.cpp
PExpr Summa(TKeywordArgs &a);
PExpr Prod(TKeywordArgs &a);
PExpr Circ(TKeywordArgs &a);
PExpr Int(TKeywordArgs &a);
PExpr IntM(TKeywordArgs &a);

// Parts that differentials (KeywordsFuncs.cpp) and derivatives (KeywordsStructs.cpp) share:
// "d" or the partial sign (KeywordsAtoms.cpp), and base with power as its superscript, or base
// alone without one (KeywordsStructs.cpp).
PExpr DiffLetter(bool partial);
PExpr WithPower(PExpr base, PExpr power);
} // namespace Keywords
