// Names: Greek letters, the named symbols, variables, names with trailing digits, and calls of
// functions that are not keywords.
#include "formula/make/ExprMake.h"

#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprNames.h"
#include "formula/make/ExprRow.h"
#include "runtime/NumText.h"

#include <array>

using namespace ExprChars;
using namespace ExprRows;

namespace {

constexpr std::array<const char *, 24> GreekNames = {
    "ALPHA", "BETA",  "GAMMA",  "DELTA",   "EPSILON", "ZETA", "ETA",     "THETA",
    "IOTA",  "KAPPA", "LAMBDA", "MU",      "NU",      "XI",   "OMICRON", "PI",
    "RHO",   "SIGMA", "TAU",    "UPSILON", "PHI",     "CHI",  "PSI",     "OMEGA"};

// The node of a name that GreekCode knows (code not 0): a Greek letter or a special symbol.
PExpr GreekNode(int code) {
    if (code == 1) return std::make_unique<TExprLambda>();
    if (code == 2) return std::make_unique<TExprNabla>();
    return std::make_unique<TExprExtSymbol>(static_cast<uint16_t>(code));
}

} // namespace

int GreekCode(std::string_view name) {
    if (name.empty()) return 0;
    const int base = name[0] >= 'a' && name[0] <= 'z' ? 32 : 0;
    const TUpperName u(name);
    for (std::size_t k = 0; k < GreekNames.size(); ++k) {
        if (u == GreekNames[k]) {
            // The capitals run from Alpha; 930 (no capital final sigma) is skipped.
            const int capital = ucAlpha + static_cast<int>(k) + (k >= 17 ? 1 : 0);
            return base + capital;
        }
    }
    if (u == "PLAMBDA") return 1;
    if (u == "NABLA") return 2;
    return 0;
}

PExpr TExprBuilder::ParseName(bool &compound) {
    compound = false;
    const int32_t start = Pos;
    while (IsLetter(Cur()) || IsDigit(Cur()))
        ++Pos;
    const std::string name = Text.substr(start - 1, Pos - start);
    if (Cur() == '(' || Cur() == ccForcedRound) {
        const bool forced = Cur() == ccForcedRound;
        ++Pos;
        PExpr result = ParseKeywordCall(name, compound, forced);
        Expect(')', ExprMessages::ExpectRound());
        return result;
    }
    std::size_t digits = SplitNameDigits ? TrailingDigits(name) : 0;
    const std::string rest = name.substr(0, name.size() - digits);
    int32_t n = 0;
    if (digits > 0) {
        bool overflow = false;
        ValInt32(std::string_view(name).substr(rest.size()), n, &overflow);
        if (overflow) Fail(ExprMessages::OutOfRange(), start + static_cast<int32_t>(rest.size()));
    }
    PExpr result = ResolveName(rest);
    if (digits > 0)
        result = std::make_unique<TExprIndex>(Single(std::move(result)),
                                              std::make_unique<TExprNumber>(n, false), nullptr);
    return result;
}

PExpr TExprBuilder::ResolveName(const std::string &name) {
    // GreekCode also knows PLAMBDA and NABLA.
    if (const int code = GreekCode(name); code != 0) return GreekNode(code);
    const TUpperName u(name);
    if (u == "INF") return std::make_unique<TExprExtSymbol>(ucInfinity);
    if (u == "PLANK") return std::make_unique<TExprPlank>();
    if (u == "NIL") return std::make_unique<TExprClass>();
    if (u == "COMMA") return std::make_unique<TExprComma>();
    if (u == "CONST")
        return Then(std::make_unique<TExprSimple>(name), std::make_unique<TExprSpace>(3));
    if (u == "ASTERIX") return std::make_unique<TExprAsterix>();
    if (u == "MINUS") return std::make_unique<TExprExtSymbol>(ucMinus);
    if (u == "PARALLEL") return std::make_unique<TExprSign>(esParallel);
    if (u == "PERPENDICULAR") return std::make_unique<TExprSign>(esPerpendicular);
    if (u == "ANGLE") return std::make_unique<TExprSign>(esAngle);
    if (u == "EMPTY") return std::make_unique<TExprEmpty>();
    if (!name.empty() && IsLatin(name[0])) return std::make_unique<TExprVar>(name);
    return std::make_unique<TExprSimple>(name);
}

PExpr TExprBuilder::ParseGeneralFunction(const std::string &name, bool forced) {
    const int32_t nameStart = Pos - 1 - static_cast<int32_t>(name.size());
    auto arg = std::make_unique<TExprArgument>(ParseList(TListMode::Plain, true));
    if (forced) arg->SetForceBrackets();
    const std::size_t digits = SplitFuncDigits ? TrailingDigits(name) : 0;
    const std::string rest = name.substr(0, name.size() - digits);
    long double v = 0;
    if (digits > 0) {
        if (digits > static_cast<std::size_t>(MaxLiteral))
            Fail(ExprMessages::TooLongNumber(), nameStart + static_cast<int32_t>(rest.size()));
        ValExtended(std::string_view(name).substr(rest.size()), v);
    }
    PExpr result;
    if (const int code = GreekCode(rest); code != 0)
        result = std::make_unique<TExprCommonFunc>(GreekNode(code), std::move(arg));
    else
        result = std::make_unique<TExprFunc>(rest, std::move(arg));
    if (digits > 0)
        result = AttachIndex(std::move(result), std::make_unique<TExprNumber>(v, false));
    return result;
}
