#include "formula/make/ExprMake.h"

#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprClone.h"
#include "runtime/Cp1251.h"
#include "runtime/NumText.h"

#include <array>
#include <cmath>

// Messages

namespace {

std::string FromUtf8(std::string_view utf8) {
    std::string out;
    Utf8ToCp1251(utf8, out);
    return out;
}

} // namespace

#define ZELVANO_MESSAGE(name, text)                                                                \
    const std::string &ExprMessages::name() {                                                      \
        static const std::string s = FromUtf8(text);                                               \
        return s;                                                                                  \
    }

ZELVANO_MESSAGE(InvalidChar, "Недопустимый символ в позиции ")
ZELVANO_MESSAGE(ExpectRound, "Ожидается \")\" в позиции ")
ZELVANO_MESSAGE(ExpectSquare, "Ожидается \"]\" в позиции ")
ZELVANO_MESSAGE(ExpectCurly, "Ожидается \"}\" в позиции ")
ZELVANO_MESSAGE(ExpectBar, "Ожидается \"|\" в позиции ")
ZELVANO_MESSAGE(ExpectDigit, "Ожидается цифра в позиции ")
ZELVANO_MESSAGE(ExpectComma, "Ожидается \",\" в позиции ")
ZELVANO_MESSAGE(ExpectNumber, "Ожидается число в позиции ")
ZELVANO_MESSAGE(ExpectOpening, "Ожидается знак открывающей скобки в позиции ")
ZELVANO_MESSAGE(ExpectClosing, "Ожидается знак закрывающей скобки в позиции ")
ZELVANO_MESSAGE(UnterminatedString, "Незавершённая строка")
ZELVANO_MESSAGE(TooDeep, "Слишком глубокая вложенность в позиции ")
ZELVANO_MESSAGE(TooLarge, "Формула слишком велика")
ZELVANO_MESSAGE(TooLongNumber, "Число длиннее 255 знаков в позиции ")
ZELVANO_MESSAGE(OutOfRange, "Число вне допустимого диапазона в позиции ")
#undef ZELVANO_MESSAGE

EIncorrectExpr::EIncorrectExpr(std::string text, int32_t position)
    : FText(std::move(text)), FPosition(position) {
    FMessage = FText;
    if (FPosition > 0) FMessage += IntToStr(FPosition);
    FUtf8 = Cp1251ToUtf8(FMessage);
}

// Normalization

std::string Normalize(std::string_view s, std::vector<int32_t> *origin) {
    std::string out;
    out.reserve(s.size());
    if (origin) {
        origin->clear();
        origin->reserve(s.size() + 1);
    }
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = s[i];
        // Pairs are looked at only while a character follows, the three-character forms only
        // while two follow.
        const char next = i + 1 < n ? s[i + 1] : '\0';
        const bool two = i + 2 < n;
        char code = c;
        std::size_t take = 1;
        auto pair = [&](char code2) {
            code = code2;
            take = 2;
        };
        switch (c) {
        case ' ':
            if (two && next == '&' && s[i + 2] == ' ') {
                code = '&';
                take = 3;
            }
            break;
        case '.':
            if (two && next == '.' && s[i + 2] == '.') {
                code = ccEllipsis;
                take = 3;
            }
            break;
        case '!':
            if (next == '(') pair(ccForcedRound);
            break;
        case '*':
            if (next == '*')
                pair(ccJoin);
            else if (next == '+')
                pair(ccCross);
            else if (next == '.')
                pair(ccDot);
            break;
        case '+':
            if (next == '-') pair(ccPlusMinus);
            break;
        case '-':
            if (next == '+')
                pair(ccMinusPlus);
            else if (next == '>')
                pair(ccTendsTo);
            break;
        case '/':
            if (next == '+')
                pair(ccDivide);
            else if (next == '/')
                pair(ccSlash);
            break;
        case '<':
            if (next == '<')
                pair(ccMuchLess);
            else if (next == '=')
                pair(ccLessEqual);
            else if (next == '>')
                pair(ccNotEqual);
            else if (next == '~')
                pair(ccLessSim);
            break;
        case '=':
            if (next == '=')
                pair(ccIdentical);
            else if (next == '~')
                pair(ccTildeBar);
            break;
        case '>':
            if (next == '=')
                pair(ccGreaterEqual);
            else if (next == '>')
                pair(ccMuchGreater);
            else if (next == '~')
                pair(ccGreaterSim);
            break;
        case '~':
            if (next == '~') pair(ccApprox);
            break;
        default:
            break;
        }
        out += code;
        if (origin) origin->push_back(static_cast<int32_t>(i));
        i += take;
    }
    if (origin) origin->push_back(static_cast<int32_t>(n));
    return out;
}

// Names

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLatin(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Latin letters and the Cyrillic letters of Windows-1251 (А-я, Ё, ё).
bool IsLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return IsLatin(c) || u >= 0xC0 || u == 0xA8 || u == 0xB8;
}

// A name upper-cased in ASCII, for comparing with the keyword, symbol and Greek names; longer
// names than any of those are left empty and match none.
class TUpperName {
public:
    explicit TUpperName(std::string_view s) {
        if (s.size() > sizeof FText) return;
        for (std::size_t k = 0; k < s.size(); ++k)
            FText[k] = s[k] >= 'a' && s[k] <= 'z' ? static_cast<char>(s[k] - 'a' + 'A') : s[k];
        FSize = s.size();
    }
    bool operator==(std::string_view other) const {
        return std::string_view(FText, FSize) == other;
    }

private:
    char FText[16] = {};
    std::size_t FSize = 0;
};

// Length of the digit run that ends s.
std::size_t TrailingDigits(std::string_view s) {
    std::size_t k = 0;
    while (k < s.size() && IsDigit(s[s.size() - 1 - k]))
        ++k;
    return k;
}

constexpr std::array<const char *, 24> GreekNames = {
    "ALPHA", "BETA",  "GAMMA",  "DELTA",   "EPSILON", "ZETA", "ETA",     "THETA",
    "IOTA",  "KAPPA", "LAMBDA", "MU",      "NU",      "XI",   "OMICRON", "PI",
    "RHO",   "SIGMA", "TAU",    "UPSILON", "PHI",     "CHI",  "PSI",     "OMEGA"};

// A growing sibling chain that remembers its last node, so appending does not walk it.
class TRow {
public:
    explicit TRow(PExpr first = nullptr) { Add(std::move(first)); }
    void Add(PExpr chain) {
        if (!chain) return;
        TExprClass *last = LastInChain(chain.get());
        if (FFirst)
            FLast->SetNext(std::move(chain));
        else
            FFirst = std::move(chain);
        FLast = last;
    }
    template <class T, class... A> void Make(A &&...args) {
        Add(std::make_unique<T>(std::forward<A>(args)...));
    }
    bool Several() const { return FFirst && FFirst->Next(); }
    PExpr Take() {
        FLast = nullptr;
        return std::move(FFirst);
    }

private:
    PExpr FFirst;
    TExprClass *FLast = nullptr;
};

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
    AppendPlain(std::make_unique<TExprSign>(183));
    AppendPlain(std::move(factor));
}

// A row of several sibling nodes becomes one chain node: single-node slots (scripts, accents)
// measure and paint only their first node.
PExpr Single(PExpr node) {
    if (node && node->Next()) return std::make_unique<TExprChain>(std::move(node));
    return node;
}

PExpr Then(PExpr first, PExpr second) {
    LastInChain(first.get())->SetNext(std::move(second));
    return first;
}

PExpr Forced(PExpr node, bool forced) {
    if (!forced) return node;
    if (auto *arg = dynamic_cast<TExprArgument *>(node.get()); arg && !node->Next()) {
        arg->SetForceBrackets();
        return node;
    }
    return std::make_unique<TExprRound>(std::move(node));
}

// Sign codes of the relation characters.
int RelationCode(char c) {
    switch (c) {
    case ccNotEqual:
        return 8800;
    case ccGreaterEqual:
        return 8805;
    case ccLessEqual:
        return 8804;
    case ccMuchGreater:
        return esMuchGreater;
    case ccMuchLess:
        return esMuchLess;
    case ccTendsTo:
        return 8594;
    case ccApprox:
        return 8776;
    case ccIdentical:
        return 8801;
    case ccGreaterSim:
        return esApproxGreater;
    case ccLessSim:
        return esApproxLess;
    case ccTildeBar:
        return esAlmostEqual;
    case '<':
    case '=':
    case '>':
    case '~':
        return static_cast<unsigned char>(c);
    default:
        return 0;
    }
}

// Sign codes of the sum characters (binary and prefix).
int SumCode(char c) {
    switch (c) {
    case ccPlusMinus:
        return esPlusMinus;
    case ccMinusPlus:
        return esMinusPlus;
    case '+':
        return 43;
    case '-':
        return 8722;
    default:
        return 0;
    }
}

} // namespace

int GreekCode(std::string_view name) {
    if (name.empty()) return 0;
    const int base = name[0] >= 'a' && name[0] <= 'z' ? 32 : 0;
    const TUpperName u(name);
    for (std::size_t k = 0; k < GreekNames.size(); ++k) {
        if (u == GreekNames[k]) {
            // The capitals run from 913; 930 (no capital final sigma) is skipped.
            const int capital = 913 + static_cast<int>(k) + (k >= 17 ? 1 : 0);
            return base + capital;
        }
    }
    if (u == "PLAMBDA") return 1;
    if (u == "NABLA") return 2;
    return 0;
}

// Nesting

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

// Scripts and accents

PExpr TExprBuilder::AttachScript(PExpr base, PExpr script, int index) {
    script = Single(std::move(script));
    base = Single(std::move(base));
    if (auto *f = dynamic_cast<TExprCommonFunc *>(base.get())) {
        auto *n = dynamic_cast<TExprIndex *>(f->Son());
        if (n && !n->Twin(index)) {
            n->SetTwin(index, std::move(script));
            return base;
        }
        if (!n) {
            PExpr name = f->CutOffSon();
            PExpr ix =
                index == 1
                    ? std::make_unique<TExprIndex>(std::move(name), std::move(script), nullptr)
                    : std::make_unique<TExprIndex>(std::move(name), nullptr, std::move(script));
            f->SetSon(std::move(ix));
            return base;
        }
    }
    if (auto *ix = dynamic_cast<TExprIndex *>(base.get()); ix && !ix->Twin(index)) {
        ix->SetTwin(index, std::move(script));
        return base;
    }
    if (index == 1)
        return std::make_unique<TExprIndex>(std::move(base), std::move(script), nullptr);
    return std::make_unique<TExprIndex>(std::move(base), nullptr, std::move(script));
}

PExpr TExprBuilder::AttachPower(PExpr base, PExpr sup) {
    return AttachScript(std::move(base), std::move(sup), 2);
}

PExpr TExprBuilder::AttachIndex(PExpr base, PExpr sub) {
    return AttachScript(std::move(base), std::move(sub), 1);
}

PExpr TExprBuilder::AttachCap(PExpr base, uint8_t kind, int32_t count) {
    base = Single(std::move(base));
    if (auto *f = dynamic_cast<TExprCommonFunc *>(base.get())) {
        f->SetSon(AttachCap(f->CutOffSon(), kind, count));
        return base;
    }
    // The accent goes on the letter, not on the letter with its subscript.
    if (auto *ix = dynamic_cast<TExprIndex *>(base.get()); ix && !ix->Twin2()) {
        ix->SetSon(std::make_unique<TExprCap>(Single(ix->CutOffSon()), kind, count));
        return base;
    }
    return std::make_unique<TExprCap>(std::move(base), kind, count);
}

void TExprBuilder::BracketChain(PExpr &node) {
    auto *chain = dynamic_cast<TExprChain *>(node.get());
    if (!chain || !chain->Son() || !chain->Son()->Next()) return;
    // Brackets that are already drawn stay: only rows whose brackets may be hidden are wrapped.
    const bool hideable = typeid(*chain) == typeid(TExprChain) ||
                          dynamic_cast<TExprArgument *>(chain) || dynamic_cast<TExprBase *>(chain);
    if (!hideable) return;
    PExpr content = chain->CutOffSon();
    PExpr rest = node->CutOffNext();
    PExpr bracketed = std::make_unique<TExprBracketed>(std::move(content), ebRound, ebRound);
    bracketed->SetNext(std::move(rest));
    node = std::move(bracketed);
}

// Reading

char TExprBuilder::At(int32_t pos) const {
    return pos >= 1 && static_cast<std::size_t>(pos) <= Text.size() ? Text[pos - 1] : '\0';
}

char TExprBuilder::Cur() const {
    return At(Pos);
}

void TExprBuilder::Fail(const std::string &message, int32_t position) const {
    throw EIncorrectExpr(message, position);
}

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

bool TExprBuilder::SkipComma() {
    if (Cur() != ',') return false;
    ++Pos;
    // The final blank is never passed.
    while (Cur() == ' ' && Pos < static_cast<int32_t>(Text.size()) - 1)
        ++Pos;
    return true;
}

void TExprBuilder::ExpectComma() {
    if (!SkipComma()) Fail(ExprMessages::ExpectComma(), Pos);
}

void TExprBuilder::Expect(char closing, const std::string &message) {
    if (Cur() != closing) Fail(message, Pos);
    ++Pos;
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
    TRow row(ParseSum(compound));
    for (int code = RelationCode(Cur()); code != 0; code = RelationCode(Cur())) {
        ++Pos;
        bool dummy = false;
        PExpr operand = ParseSum(dummy);
        row.Make<TExprSign>(static_cast<uint16_t>(code));
        row.Add(std::move(operand));
    }
    if (row.Several()) compound = true;
    return row.Take();
}

PExpr TExprBuilder::ParseSum(bool &compound) {
    TRow row(ParseProduct(compound));
    for (int code = SumCode(Cur()); code != 0; code = SumCode(Cur())) {
        ++Pos;
        bool dummy = false;
        PExpr operand = ParseProduct(dummy);
        row.Make<TExprSign>(static_cast<uint16_t>(code));
        row.Add(std::move(operand));
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
            sign = 247;
            break;
        case ccCross:
            sign = 215;
            break;
        case ccSlash:
            sign = 47;
            break;
        case ccDot:
            sign = 183;
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

PExpr TExprBuilder::ParseFactor(bool &compound) {
    TDepth depth(*this, FFactorDepth, MaxFactorDepth);
    // Every factor adds at most a few nodes, so checking here bounds the tree.
    if (LiveExprNodes() - FNodesAtStart > MaxNodes) Fail(ExprMessages::TooLarge(), 0);
    compound = false;
    PExpr result;
    const char c = Cur();
    if (const int code = SumCode(c); code != 0) {
        ++Pos;
        PExpr factor = ParseFactor(compound);
        result = Then(std::make_unique<TExprSign>(static_cast<uint16_t>(code)), std::move(factor));
    } else if (c == ccEllipsis) {
        ++Pos;
        result = std::make_unique<TExprExtSymbol>(8230);
    } else if (c == ccForcedRound) {
        ++Pos;
        result = ParseList(TListMode::Round, true);
        Expect(')', ExprMessages::ExpectRound());
    } else if (c == '(') {
        ++Pos;
        result = ParseList(TListMode::Argument, false);
        Expect(')', ExprMessages::ExpectRound());
    } else if (c == '[') {
        ++Pos;
        result = ParseList(TListMode::Square, true);
        Expect(']', ExprMessages::ExpectSquare());
    } else if (c == '{') {
        ++Pos;
        result = ParseList(TListMode::Curly, true);
        Expect('}', ExprMessages::ExpectCurly());
    } else if (c == '|') {
        ++Pos;
        result = ParseList(TListMode::Bars, true);
        Expect('|', ExprMessages::ExpectBar());
    } else if (c == '#') {
        ++Pos;
        if (!IsDigit(Cur())) Fail(ExprMessages::ExpectDigit(), Pos);
        result = std::make_unique<TExprNumber>(ReadNumberLiteral(false), true);
    } else if (IsDigit(c)) {
        result = std::make_unique<TExprNumber>(ReadNumberLiteral(false), false);
    } else if (c == '_') {
        ++Pos;
        result = AttachCap(ParseFactor(compound), ecVector, 0);
    } else if (IsLetter(c)) {
        result = ParseName(compound);
    } else
        Fail(ExprMessages::InvalidChar(), Pos);

    if (!PostfixEnabled) return result;
    // The last node of the result, kept so that a long run of "!" does not walk the row.
    TExprClass *tail = LastInChain(result.get());
    for (;;) {
        const char p = Cur();
        if (p == '!') {
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
        PExpr script;
        if (p == '`') {
            int32_t n = 0;
            while (Cur() == '`') {
                ++Pos;
                ++n;
            }
            script = std::make_unique<TExprStrokes>(n);
        } else {
            ++Pos;
            bool inner = false;
            if (p == '_') {
                // Postfix operators inside an index belong to the indexed factor.
                PostfixEnabled = false;
                script = ParseFactor(inner);
                PostfixEnabled = true;
            } else
                script = ParseFactor(inner);
            if (!script->Next())
                if (auto *arg = dynamic_cast<TExprArgument *>(script.get())) arg->RemoveBrackets();
        }
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
    switch (const int code = GreekCode(name)) {
    case 0:
        break;
    case 1:
        return std::make_unique<TExprLambda>();
    case 2:
        return std::make_unique<TExprNabla>();
    default:
        return std::make_unique<TExprExtSymbol>(static_cast<uint16_t>(code));
    }
    const TUpperName u(name);
    if (u == "PLAMBDA") return std::make_unique<TExprLambda>();
    if (u == "NABLA") return std::make_unique<TExprNabla>();
    if (u == "INF") return std::make_unique<TExprExtSymbol>(8734);
    if (u == "PLANK") return std::make_unique<TExprPlank>();
    if (u == "NIL") return std::make_unique<TExprClass>();
    if (u == "COMMA") return std::make_unique<TExprComma>();
    if (u == "CONST")
        return Then(std::make_unique<TExprSimple>(name), std::make_unique<TExprSpace>(3));
    if (u == "ASTERIX") return std::make_unique<TExprAsterix>();
    if (u == "MINUS") return std::make_unique<TExprExtSymbol>(8722);
    if (u == "PARALLEL") return std::make_unique<TExprSign>(esParallel);
    if (u == "PERPENDICULAR") return std::make_unique<TExprSign>(esPerpendicular);
    if (u == "ANGLE") return std::make_unique<TExprSign>(esAngle);
    if (u == "EMPTY") return std::make_unique<TExprEmpty>();
    if (!name.empty() && IsLatin(name[0])) return std::make_unique<TExprVar>(name);
    return std::make_unique<TExprSimple>(name);
}

// Keyword calls

namespace {

enum TKeyword {
    kwSqrt,
    kwSqr,
    kwLog,
    kwAbs,
    kwPow,
    kwRoot,
    kwInd,
    kwLim,
    kwFunc,
    kwSpace,
    kwDiff,
    kwPDiff,
    kwDiffN,
    kwPDiffN,
    kwDiffR,
    kwPDiffR,
    kwDiffRF,
    kwPDiffRF,
    kwString,
    kwStrokes,
    kwFact,
    kwAt,
    kwLine,
    kwVect,
    kwCap,
    kwTilde,
    kwPoints,
    kwStandL,
    kwStandC,
    kwStandR,
    kwMatrix,
    kwSumma,
    kwProd,
    kwCirc,
    kwInt,
    kwIntM,
    kwCase,
    kwComma,
    kwBrackets,
    kwSystem,
    kwNum,
    kwSymbol,
    kwAngle,
    kwNone
};

constexpr std::array<const char *, kwNone> KeywordNames = {
    "SQRT",   "SQR",     "LOG",      "ABS",    "POW",    "ROOT",   "IND",    "LIM",    "FUNC",
    "SPACE",  "DIFF",    "PDIFF",    "DIFFN",  "PDIFFN", "DIFFR",  "PDIFFR", "DIFFRF", "PDIFFRF",
    "STRING", "STROKES", "FACT",     "AT",     "LINE",   "VECT",   "CAP",    "TILDE",  "POINTS",
    "STANDL", "STANDC",  "STANDR",   "MATRIX", "SUMMA",  "PROD",   "CIRC",   "INT",    "INTM",
    "CASE",   "COMMA",   "BRACKETS", "SYSTEM", "NUM",    "SYMBOL", "ANGLE"};

TKeyword FindKeyword(const TUpperName &upper) {
    for (std::size_t k = 0; k < KeywordNames.size(); ++k)
        if (upper == KeywordNames[k]) return static_cast<TKeyword>(k);
    return kwNone;
}

// "d" or the partial sign.
PExpr DiffLetter(bool partial) {
    if (partial) return std::make_unique<TExprExtSymbol>(8706);
    return std::make_unique<TExprVar>("d");
}

PExpr WithPower(PExpr base, PExpr power) {
    if (!power) return base;
    return std::make_unique<TExprIndex>(Single(std::move(base)), nullptr, Single(std::move(power)));
}

int BracketKind(char c, bool opening) {
    switch (c) {
    case '(':
        return opening ? ebRound : -1;
    case ')':
        return opening ? -1 : ebRound;
    case '[':
        return opening ? ebSquare : -1;
    case ']':
        return opening ? -1 : ebSquare;
    case '{':
        return opening ? ebFigure : -1;
    case '}':
        return opening ? -1 : ebFigure;
    case '|':
        return ebModule;
    case '0':
        return ebNone;
    default:
        return -1;
    }
}

} // namespace

PExpr TExprBuilder::ParseItems() {
    TRow items(ParseList(TListMode::Chain, false));
    while (SkipComma())
        items.Add(ParseList(TListMode::Chain, false));
    return items.Take();
}

PExpr TExprBuilder::ParseKeywordCall(const std::string &name, bool &compound, bool forced) {
    compound = false;
    const TKeyword kw = FindKeyword(TUpperName(name));
    auto asWritten = [this] { return ParseList(TListMode::Chain, false); };
    auto asBase = [this] { return ParseList(TListMode::Base, false); };
    auto asArgument = [this] { return ParseList(TListMode::Argument, false); };
    switch (kw) {
    case kwSqrt:
        return std::make_unique<TExprRoot>(asWritten(), nullptr);
    case kwSqr:
        compound = true;
        return AttachPower(asBase(), std::make_unique<TExprNumber>(2, false));
    case kwLog: {
        PExpr b = asWritten();
        ExpectComma();
        PExpr x = Forced(asArgument(), forced);
        auto head = std::make_unique<TExprIndex>(std::make_unique<TExprFuncName>(name),
                                                 std::move(b), nullptr);
        return std::make_unique<TExprCommonFunc>(std::move(head), std::move(x));
    }
    case kwAbs:
        return ParseList(TListMode::Bars, false);
    case kwPow: {
        PExpr x = asBase();
        ExpectComma();
        PExpr y = asWritten();
        compound = true;
        return AttachPower(std::move(x), std::move(y));
    }
    case kwRoot: {
        PExpr n = asWritten();
        ExpectComma();
        PExpr x = asWritten();
        return std::make_unique<TExprRoot>(std::move(x), std::move(n));
    }
    case kwInd: {
        PExpr x = asBase();
        ExpectComma();
        return AttachIndex(std::move(x), asWritten());
    }
    case kwLim: {
        compound = true;
        PExpr c = Forced(asWritten(), forced);
        ExpectComma();
        PExpr f = asArgument();
        return std::make_unique<TExprCommonFunc>(std::make_unique<TExprLim>(std::move(c)),
                                                 std::move(f));
    }
    case kwFunc: {
        PExpr head = asWritten();
        ExpectComma();
        TRow args(ParseList(TListMode::Plain, false));
        while (SkipComma()) {
            args.Make<TExprComma>();
            args.Add(ParseList(TListMode::Plain, false));
        }
        auto arg = std::make_unique<TExprArgument>(args.Take());
        if (forced) arg->SetForceBrackets();
        return std::make_unique<TExprCommonFunc>(std::move(head), std::move(arg));
    }
    case kwSpace:
        return std::make_unique<TExprSpace>(ReadInteger(false));
    case kwDiff:
    case kwPDiff: {
        PExpr x = asBase();
        if (SkipComma()) x = WithPower(std::move(x), asWritten());
        TRow row(std::make_unique<TExprSpace>(4));
        row.Add(DiffLetter(kw == kwPDiff));
        row.Add(std::move(x));
        return row.Take();
    }
    case kwDiffN:
    case kwPDiffN: {
        PExpr x = asBase();
        PExpr d = DiffLetter(kw == kwPDiffN);
        if (SkipComma()) d = WithPower(std::move(d), asBase());
        TRow row(std::make_unique<TExprSpace>(4));
        row.Add(std::move(d));
        row.Add(std::move(x));
        return row.Take();
    }
    case kwDiffR:
    case kwPDiffR:
    case kwDiffRF:
    case kwPDiffRF: {
        const bool partial = kw == kwPDiffR || kw == kwPDiffRF;
        const bool withF = kw == kwDiffRF || kw == kwPDiffRF;
        PExpr f;
        if (withF) {
            f = asBase();
            ExpectComma();
        }
        PExpr x = asBase();
        PExpr n, n2;
        if (SkipComma()) {
            n = asWritten();
            // Numerator and denominator each need an own copy of the degree; parsing it a
            // second time would double the work at every nesting level.
            const std::size_t size = CountExpr(n.get(), MaxCopiedNodes + 1);
            if (size > MaxCopiedNodes - FCopiedNodes) Fail(ExprMessages::TooLarge(), 0);
            FCopiedNodes += size;
            n2 = CloneExpr(n.get());
        }
        PExpr den = std::make_unique<TExprChain>(
            Then(DiffLetter(partial), WithPower(std::move(x), std::move(n))));
        PExpr num = WithPower(DiffLetter(partial), std::move(n2));
        if (withF) num = std::make_unique<TExprChain>(Then(std::move(num), std::move(f)));
        return std::make_unique<TExprRatio>(std::move(num), std::move(den));
    }
    case kwString:
        return std::make_unique<TExprSimple>(ReadString());
    case kwStrokes: {
        compound = true;
        PExpr x = asBase();
        const int32_t n = SkipComma() ? ReadInteger(false) : 1;
        return AttachPower(std::move(x), std::make_unique<TExprStrokes>(n));
    }
    case kwFact:
        compound = true;
        return Then(asBase(), std::make_unique<TExprSimple>("!"));
    case kwAt: {
        PExpr f = asArgument();
        ExpectComma();
        PExpr c = asWritten();
        return std::make_unique<TExprAtValue>(std::move(f), std::move(c));
    }
    case kwLine:
        return AttachCap(asWritten(), ecLine, 0);
    case kwVect:
        return AttachCap(asWritten(), ecVector, 0);
    case kwCap:
        return AttachCap(asWritten(), ecCap, 0);
    case kwTilde:
        return AttachCap(asWritten(), ecTilde, 0);
    case kwPoints: {
        PExpr x = asWritten();
        const int32_t n = SkipComma() ? ReadInteger(false) : 1;
        return AttachCap(std::move(x), ecPoints, n);
    }
    case kwStandL:
        return std::make_unique<TExprStand>(ParseItems(), 0);
    case kwStandC:
        return std::make_unique<TExprStand>(ParseItems(), 1);
    case kwStandR:
        return std::make_unique<TExprStand>(ParseItems(), 2);
    case kwMatrix: {
        const int32_t cols = ReadInteger(false);
        ExpectComma();
        const int32_t rows = ReadInteger(false);
        TRow cells;
        while (SkipComma())
            cells.Add(asWritten());
        return std::make_unique<TExprMatrix>(cells.Take(), cols, rows);
    }
    case kwSumma:
    case kwProd:
    case kwCirc:
    case kwInt:
    case kwIntM: {
        int32_t count = 1;
        if (kw == kwIntM) {
            count = ReadInteger(false);
            ExpectComma();
        }
        PExpr body = Forced(asArgument(), forced);
        PExpr lower = SkipComma() ? asWritten() : nullptr;
        PExpr upper = SkipComma() ? asWritten() : nullptr;
        switch (kw) {
        case kwSumma:
            return std::make_unique<TExprSumma>(std::move(body), std::move(lower),
                                                std::move(upper));
        case kwProd:
            return std::make_unique<TExprProd>(std::move(body), std::move(lower), std::move(upper));
        case kwCirc:
            return std::make_unique<TExprCirc>(std::move(body), std::move(lower), std::move(upper));
        default:
            return std::make_unique<TExprIntegral>(std::move(body), std::move(lower),
                                                   std::move(upper), count);
        }
    }
    case kwCase:
        return std::make_unique<TExprCase>(ParseItems());
    case kwComma:
        return Then(std::make_unique<TExprComma>(),
                    std::make_unique<TExprSpace>(ReadInteger(false)));
    case kwBrackets: {
        const int opening = BracketKind(Cur(), true);
        if (opening < 0) Fail(ExprMessages::ExpectOpening(), Pos);
        ++Pos;
        if (Pos >= static_cast<int32_t>(Text.size())) Fail(ExprMessages::UnterminatedString(), 0);
        const int closing = BracketKind(Cur(), false);
        if (closing < 0) Fail(ExprMessages::ExpectClosing(), Pos);
        ++Pos;
        ExpectComma();
        return std::make_unique<TExprBracketed>(asWritten(), static_cast<uint8_t>(opening),
                                                static_cast<uint8_t>(closing));
    }
    case kwSystem:
        return std::make_unique<TExprBracketed>(std::make_unique<TExprStand>(ParseItems(), 0),
                                                ebFigure, ebNone);
    case kwNum: {
        const long double v = ReadNumberLiteral(true);
        int32_t p = 4, d = 4, t = 2;
        if (SkipComma()) {
            p = ReadInteger(true);
            if (SkipComma()) {
                d = ReadInteger(true);
                if (SkipComma()) t = ReadInteger(true);
            }
        }
        return std::make_unique<TExprExpNumber>(v, p, d, t);
    }
    case kwSymbol: {
        const int32_t start = Pos;
        const int32_t n = ReadInteger(true);
        // A code the 16-bit symbol cannot hold would show another character.
        if (n < 0 || n > 0xFFFF) Fail(ExprMessages::OutOfRange(), start);
        return std::make_unique<TExprExtSymbol>(static_cast<uint16_t>(n));
    }
    case kwAngle:
        return Then(std::make_unique<TExprSign>(esAngle),
                    std::make_unique<TExprSimple>(ReadString()));
    case kwNone:
        break;
    }
    return ParseGeneralFunction(name, forced);
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
    switch (const int code = GreekCode(rest)) {
    case 0:
        result = std::make_unique<TExprFunc>(rest, std::move(arg));
        break;
    case 1:
        result = std::make_unique<TExprCommonFunc>(std::make_unique<TExprLambda>(), std::move(arg));
        break;
    case 2:
        result = std::make_unique<TExprCommonFunc>(std::make_unique<TExprNabla>(), std::move(arg));
        break;
    default:
        result = std::make_unique<TExprCommonFunc>(
            std::make_unique<TExprExtSymbol>(static_cast<uint16_t>(code)), std::move(arg));
    }
    if (digits > 0)
        result = AttachIndex(std::move(result), std::make_unique<TExprNumber>(v, false));
    return result;
}

// Strings and numbers

std::string TExprBuilder::ReadString() {
    const int32_t last = static_cast<int32_t>(Text.size());
    std::string s;
    // Each character of Text stands for what was typed there: folded pairs come back as typed.
    auto typed = [this, &s](int32_t pos) {
        const std::size_t k = static_cast<std::size_t>(pos - 1);
        if (k + 1 < FOrigin.size())
            s.append(FTyped, FOrigin[k], FOrigin[k + 1] - FOrigin[k]);
        else
            s += Text[k];
    };
    if (Cur() == '"') {
        ++Pos;
        for (;;) {
            if (Pos >= last) Fail(ExprMessages::UnterminatedString(), 0);
            if (Cur() == '"') {
                if (At(Pos + 1) != '"') {
                    ++Pos;
                    break;
                }
                s += '"';
                Pos += 2;
                continue;
            }
            typed(Pos);
            ++Pos;
        }
        return s;
    }
    for (;;) {
        if (Pos >= last) Fail(ExprMessages::UnterminatedString(), 0);
        if (Cur() == ')') break;
        typed(Pos);
        ++Pos;
    }
    return s;
}

long double TExprBuilder::ReadNumberLiteral(bool signAllowed) {
    const int32_t start = Pos;
    const std::string_view rest = std::string_view(Text).substr(Pos - 1);
    std::size_t lead = 0;
    if (signAllowed && !rest.empty() && (rest[0] == '+' || rest[0] == '-')) lead = 1;
    if (lead >= rest.size() || !IsDigit(rest[lead])) Fail(ExprMessages::ExpectNumber(), start);
    long double v = 0;
    // The reader sees a little more than the longest literal, so its work stays bounded; the
    // extra three characters decide an exponent that would begin at the limit.
    const std::string_view view = rest.substr(0, MaxLiteral + 3);
    const int rejected = ValExtended(view, v);
    const int32_t length = rejected > 0 ? rejected - 1 : static_cast<int32_t>(view.size());
    if (length > MaxLiteral) Fail(ExprMessages::TooLongNumber(), start);
    // Beyond the extended range the reader gives an infinity, which no formula means.
    if (std::isinf(v)) Fail(ExprMessages::OutOfRange(), start);
    Pos += length;
    return v;
}

int32_t TExprBuilder::ReadInteger(bool required) {
    const int32_t start = Pos;
    const std::string_view rest = std::string_view(Text).substr(Pos - 1);
    std::size_t i = 0;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) i = 1;
    std::size_t end = i;
    while (end < rest.size() && IsDigit(rest[end]))
        ++end;
    // A sign without digits is no number: nothing is consumed.
    if (end == i) {
        if (required) Fail(ExprMessages::ExpectNumber(), start);
        return 0;
    }
    if (end > static_cast<std::size_t>(MaxLiteral)) Fail(ExprMessages::TooLongNumber(), start);
    int32_t value = 0;
    bool overflow = false;
    ValInt32(rest.substr(0, end), value, &overflow);
    if (overflow) Fail(ExprMessages::OutOfRange(), start);
    Pos += static_cast<int32_t>(end);
    return value;
}
