// The grammar: lists, relations, sums, products and factors with their postfix scripts.
// Names and keyword calls continue in ExprNames.cpp and ExprKeywords.cpp.
#include "formula/make/ExprMake.h"

#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprNames.h"
#include "formula/make/ExprRow.h"

using namespace ExprChars;
using namespace ExprRows;

namespace {

// One side of a fraction while a product is read: the factors joined by the rules of "*".
class TProduct {
public:
    bool Empty() const { return !FFirst; }
    bool Several() const { return FFirst && FFirst->Next(); }
    PExpr Take() { return std::move(FFirst); }
    void AppendPlain(PExpr chain) {
        TExprClass *last = LastInChain(chain.get());
        if (FFirst)
            FLast->SetNext(std::move(chain));
        else {
            FFirst = std::move(chain);
            FScanFrom = FFirst.get();
        }
        FLast = last;
    }
    void AppendFactor(PExpr factor);

private:
    PExpr FFirst;
    TExprClass *FLast = nullptr;
    // No pair (N, Next) before this node lets a factor be juxtaposed between them, so the search
    // of step 5 starts here; only nodes put in front of the product can invalidate it.
    TExprClass *FScanFrom = nullptr;
};

void TProduct::AppendFactor(PExpr factor) {
    if (!factor) return;
    if (!FFirst) {
        AppendPlain(std::move(factor));
        return;
    }
    TExprClass *firstF = factor.get();
    TExprClass *lastF = LastInChain(firstF);
    // Juxtaposition: «a*b» gives ab.
    if ((FLast->FactorFlags() & efRight) && (firstF->FactorFlags() & efLeft)) {
        AppendPlain(std::move(factor));
        return;
    }
    // The new factor goes in front: «x*2» gives 2x.
    if ((lastF->FactorFlags() & efRight) && (FFirst->FactorFlags() & efLeft)) {
        lastF->SetNext(std::move(FFirst));
        FFirst = std::move(factor);
        FScanFrom = FFirst.get();
        return;
    }
    // Two numbers meet: one number holding their product.
    auto *numP = dynamic_cast<TExprNumber *>(FFirst.get());
    auto *numF = dynamic_cast<TExprNumber *>(lastF);
    if (numP && numF) {
        numF->SetValue(numF->Value() * numP->Value());
        PExpr old = std::move(FFirst);
        PExpr rest = old->CutOffNext();
        if (!rest) FLast = numF;
        numF->SetNext(std::move(rest));
        old.reset();
        FFirst = std::move(factor);
        FScanFrom = FFirst.get();
        return;
    }
    // A factor that joins on both sides goes into the first gap that takes it.
    if ((firstF->FactorFlags() & efLeft) && (lastF->FactorFlags() & efRight)) {
        for (TExprClass *n = FScanFrom; n->Next(); n = n->Next()) {
            if ((n->FactorFlags() & efRight) && (n->Next()->FactorFlags() & efLeft)) {
                lastF->SetNext(n->CutOffNext());
                n->SetNext(std::move(factor));
                FScanFrom = n;
                return;
            }
        }
        FScanFrom = FLast;
    }
    AppendPlain(std::make_unique<TExprSign>(ucMiddleDot));
    AppendPlain(std::move(factor));
}

// The sign code of an operator character.
struct TSignCode {
    char Char;
    int Code;
};

// The relation characters (binary) and the sum characters (binary and prefix).
constexpr TSignCode RelationSigns[] = {
    {ccNotEqual, ucNotEqual},
    {ccGreaterEqual, ucGreaterEqual},
    {ccLessEqual, ucLessEqual},
    {ccMuchGreater, esMuchGreater},
    {ccMuchLess, esMuchLess},
    {ccTendsTo, ucRightArrow},
    {ccApprox, ucAlmostEqual},
    {ccIdentical, ucIdentical},
    {ccGreaterSim, esApproxGreater},
    {ccLessSim, esApproxLess},
    {ccTildeBar, esAlmostEqual},
    {'<', '<'},
    {'=', '='},
    {'>', '>'},
    {'~', '~'},
};
constexpr TSignCode SumSigns[] = {
    {ccPlusMinus, esPlusMinus}, {ccMinusPlus, esMinusPlus}, {'+', '+'}, {'-', ucMinus}};

// The sign code of c in signs, 0 for none.
template <std::size_t N> int CodeOf(const TSignCode (&signs)[N], char c) {
    for (const TSignCode &s : signs)
        if (s.Char == c) return s.Code;
    return 0;
}

int RelationCode(char c) {
    return CodeOf(RelationSigns, c);
}

int SumCode(char c) {
    return CodeOf(SumSigns, c);
}

} // namespace

// Counts one active level of a recursive operation; the level beyond the limit is refused.
class TExprBuilder::TDepth {
public:
    TDepth(const TExprBuilder &b, int &count, int limit) : FCount(count), FLimit(limit) {
        if (FCount >= FLimit) b.Fail(ExprMessages::TooDeep(), b.Pos);
        ++FCount;
    }
    ~TDepth() { FCount -= 1 + FExtra; }
    // One more level for the rest of this operation (a script applied in a postfix loop nests
    // the tree as deeply as a recursive call would).
    void Deeper(const TExprBuilder &b, int32_t position) {
        if (FCount >= FLimit) b.Fail(ExprMessages::TooDeep(), position);
        ++FCount;
        ++FExtra;
    }
    TDepth(const TDepth &) = delete;
    TDepth &operator=(const TDepth &) = delete;

private:
    int &FCount;
    int FLimit;
    int FExtra = 0;
};

PExpr TExprBuilder::BuildExpr(std::string_view formula) {
    // Refused before anything is allocated for it.
    if (formula.size() > MaxFormulaLength) throw EIncorrectExpr(ExprMessages::TooLarge());
    FNodesAtStart = LiveExprNodes();
    FTyped.assign(formula);
    Text = Normalize(formula, &FOrigin);
    Text += ' ';
    Pos = 1;
    // A call that failed earlier may have left these behind.
    PostfixEnabled = true;
    FListDepth = 0;
    FFactorDepth = 0;
    FCopiedNodes = 0;
    return ParseList(TListMode::Chain, true);
}

PExpr TExprBuilder::ParseList(TListMode mode, bool commas) {
    TDepth depth(*this, FListDepth, MaxListDepth);
    bool compound = false;
    TRow list(ParseRelation(compound));
    for (;;) {
        const char c = Cur();
        if (c == '&') {
            ++Pos;
            bool dummy = false;
            list.Add(ParseRelation(dummy));
        } else if (c == ',' && commas) {
            SkipComma();
            bool dummy = false;
            PExpr item = ParseRelation(dummy);
            list.Make<TExprComma>();
            list.Make<TExprSpace>(7);
            list.Add(std::move(item));
        } else
            break;
    }
    const bool several = list.Several();
    PExpr result = list.Take();
    switch (mode) {
    case TListMode::Plain:
        return result;
    case TListMode::Chain:
        return several ? std::make_unique<TExprChain>(std::move(result)) : std::move(result);
    case TListMode::Round:
        return std::make_unique<TExprRound>(std::move(result));
    case TListMode::Argument:
        return several ? std::make_unique<TExprArgument>(std::move(result)) : std::move(result);
    case TListMode::Base:
        if (several) return std::make_unique<TExprBase>(std::move(result));
        if (compound) return std::make_unique<TExprBracketed>(std::move(result), ebRound, ebRound);
        return result;
    case TListMode::Bars:
        return std::make_unique<TExprBracketed>(std::move(result), ebModule, ebModule);
    case TListMode::Square:
        return std::make_unique<TExprBracketed>(std::move(result), ebSquare, ebSquare);
    case TListMode::Curly:
        return std::make_unique<TExprBracketed>(std::move(result), ebFigure, ebFigure);
    }
    return result;
}

PExpr TExprBuilder::ParseRelation(bool &compound) {
    return ParseSignedRow(compound, RelationCode, &TExprBuilder::ParseSum);
}

PExpr TExprBuilder::ParseSum(bool &compound) {
    return ParseSignedRow(compound, SumCode, &TExprBuilder::ParseProduct);
}

PExpr TExprBuilder::ParseSignedRow(bool &compound, int (*code)(char),
                                   PExpr (TExprBuilder::*operand)(bool &)) {
    TRow row((this->*operand)(compound));
    for (int sign = code(Cur()); sign != 0; sign = code(Cur())) {
        ++Pos;
        bool dummy = false;
        PExpr next = (this->*operand)(dummy);
        row.Make<TExprSign>(static_cast<uint16_t>(sign));
        row.Add(std::move(next));
    }
    if (row.Several()) compound = true;
    return row.Take();
}

PExpr TExprBuilder::ParseProduct(bool &compound) {
    TProduct numerator, denominator;
    bool last = false;
    numerator.AppendPlain(ParseFactor(last));
    for (;;) {
        const char c = Cur();
        int sign = 0;
        switch (c) {
        case ccDivide:
            sign = ucDivide;
            break;
        case ccCross:
            sign = ucTimes;
            break;
        case ccSlash:
            sign = '/';
            break;
        case ccDot:
            sign = ucMiddleDot;
            break;
        default:
            break;
        }
        if (sign != 0) {
            ++Pos;
            PExpr factor = ParseFactor(last);
            numerator.AppendPlain(std::make_unique<TExprSign>(static_cast<uint16_t>(sign)));
            numerator.AppendPlain(std::move(factor));
        } else if (c == ccJoin) {
            ++Pos;
            numerator.AppendPlain(ParseFactor(last));
        } else if (c == '*') {
            ++Pos;
            numerator.AppendFactor(ParseFactor(last));
        } else if (c == '/') {
            ++Pos;
            denominator.AppendFactor(ParseFactor(last));
        } else
            break;
    }
    if (denominator.Empty()) {
        compound = !numerator.Several() && last;
        return numerator.Take();
    }
    auto side = [](TProduct &p) {
        PExpr s = p.Several() ? std::make_unique<TExprChain>(p.Take()) : p.Take();
        // Round brackets that only group the side are dropped: the fraction groups it.
        const uint32_t flags = s->FactorFlags();
        if ((flags & efRoundBrackets) && (flags & efBrackets))
            if (auto *b = dynamic_cast<TExprBracketed *>(s.get())) b->RemoveBrackets();
        return s;
    };
    PExpr num = side(numerator);
    PExpr den = side(denominator);
    compound = true;
    return std::make_unique<TExprRatio>(std::move(num), std::move(den));
}

void TExprBuilder::CheckNodeBudget() {
    if (LiveExprNodes() - FNodesAtStart > MaxNodes) Fail(ExprMessages::TooLarge(), 0);
}

PExpr TExprBuilder::ParseFactor(bool &compound) {
    TDepth depth(*this, FFactorDepth, MaxFactorDepth);
    // Every factor adds at most a few nodes, so checking here bounds the tree.
    CheckNodeBudget();
    compound = false;
    PExpr result = ParseOperand(compound);
    if (!PostfixEnabled) return result;
    return ParsePostfix(std::move(result), compound, depth);
}

PExpr TExprBuilder::ParseOperand(bool &compound) {
    const char c = Cur();
    // A bracketed list: its mode and the closing character with its message.
    auto bracketed = [&](TListMode mode, bool commas, char closing, const std::string &message) {
        ++Pos;
        PExpr list = ParseList(mode, commas);
        Expect(closing, message);
        return list;
    };
    if (const int code = SumCode(c); code != 0) {
        ++Pos;
        PExpr factor = ParseFactor(compound);
        return Then(std::make_unique<TExprSign>(static_cast<uint16_t>(code)), std::move(factor));
    }
    switch (c) {
    case ccEllipsis:
        ++Pos;
        return std::make_unique<TExprExtSymbol>(ucEllipsis);
    case ccForcedRound:
        return bracketed(TListMode::Round, true, ')', ExprMessages::ExpectRound());
    case '(':
        return bracketed(TListMode::Argument, false, ')', ExprMessages::ExpectRound());
    case '[':
        return bracketed(TListMode::Square, true, ']', ExprMessages::ExpectSquare());
    case '{':
        return bracketed(TListMode::Curly, true, '}', ExprMessages::ExpectCurly());
    case '|':
        return bracketed(TListMode::Bars, true, '|', ExprMessages::ExpectBar());
    case '#':
        ++Pos;
        if (!IsDigit(Cur())) Fail(ExprMessages::ExpectDigit(), Pos);
        return std::make_unique<TExprNumber>(ReadNumberLiteral(false), true);
    case '_': {
        // An arrowed factor, like any accent, is not compound, whatever stands under the arrow.
        ++Pos;
        bool inner = false;
        return AttachCap(ParseFactor(inner), ecVector, 0);
    }
    default:
        break;
    }
    if (IsDigit(c)) return std::make_unique<TExprNumber>(ReadNumberLiteral(false), false);
    if (IsLetter(c)) return ParseName(compound);
    Fail(ExprMessages::InvalidChar(), Pos);
}

PExpr TExprBuilder::ParsePostfix(PExpr result, bool &compound, TDepth &depth) {
    // The last node of the result, kept so that a long run of "!" does not walk the row.
    TExprClass *tail = LastInChain(result.get());
    for (;;) {
        const char p = Cur();
        if (p == '!') {
            // A run of "!" adds a node each without a factor: it counts against the budget too.
            CheckNodeBudget();
            ++Pos;
            const bool single = !result->Next();
            BracketChain(result);
            if (single) tail = result.get();
            auto bang = std::make_unique<TExprSimple>("!");
            TExprClass *added = bang.get();
            tail->SetNext(std::move(bang));
            tail = added;
            continue;
        }
        if (p != '^' && p != '_' && p != '`') break;
        depth.Deeper(*this, Pos);
        PExpr script = ParseScript(p);
        result = Single(std::move(result));
        BracketChain(result);
        if (p == '_')
            result = AttachIndex(std::move(result), std::move(script));
        else
            result = AttachPower(std::move(result), std::move(script));
        tail = result.get();
        if (p == '^') compound = true;
    }
    return result;
}

PExpr TExprBuilder::ParseScript(char p) {
    if (p == '`') {
        int32_t n = 0;
        while (Cur() == '`') {
            ++Pos;
            ++n;
        }
        return std::make_unique<TExprStrokes>(n);
    }
    ++Pos;
    bool inner = false;
    PExpr script;
    if (p == '_') {
        // Postfix operators inside an index belong to the indexed factor.
        PostfixEnabled = false;
        script = ParseFactor(inner);
        PostfixEnabled = true;
    } else
        script = ParseFactor(inner);
    if (!script->Next())
        if (auto *arg = dynamic_cast<TExprArgument *>(script.get())) arg->RemoveBrackets();
    return script;
}
