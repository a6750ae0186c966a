// The spoken description of a node tree, the way a teacher reads a formula aloud: structures
// are named before their parts ("дробь, в числителе …"), simple cases get short forms ("X в
// квадрате", "корень из …"), and a structure that something else follows says where it ends.
// Every word comes from the phrase table (SpeechTexts.h).
#include "formula/draw/ExprDraw.h"
#include "formula/export/ExportCommon.h"
#include "formula/export/ExprExport.h"

#include <functional>
#include <string_view>
#include <utility>

namespace {

using enum TSpeechId;

// One node that is said in a word or two: a letter, a name, a number without a power of ten, a
// symbol.
bool Leaf(TExprClass *first) {
    if (!first || first->Next()) return false;
    TExprClass &n = *first;
    const TKind k = KindOf(n);
    if (k == TKind::Chain) return Leaf(static_cast<TExprChain &>(n).Son());
    if (NumberKind(k)) return NumberText(n).Exponent.empty();
    if (TextKind(k)) return !static_cast<TExprSimple &>(n).Text().empty();
    return k == TKind::ExtSymbol || k == TKind::Plank || k == TKind::Lambda || k == TKind::Nabla;
}

// A number node showing exactly value, without a power of ten.
bool NumberIs(TExprClass *n, const char *value) {
    if (!n || n->Next()) return false;
    if (!NumberKind(KindOf(*n))) return false;
    const TNumberText t = NumberText(*n);
    return t.Exponent.empty() && t.Mantissa == value;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The spoken word of a function name, or None.
TSpeechId NameWord(TExprClass *name) {
    if (!name) return None;
    if (KindOf(*name) == TKind::Index) return NameWord(static_cast<TExprIndex *>(name)->Son());
    if (KindOf(*name) != TKind::FuncName) return None;
    const TFunctionName *f = FindFunctionName(Lower(static_cast<TExprFuncName *>(name)->Text()));
    return f ? f->Speech : None;
}

bool Relation(TSpeechId id) {
    switch (id) {
    case Equals:
    case NotEqual:
    case Less:
    case Greater:
    case LessEqual:
    case GreaterEqual:
    case MuchLess:
    case MuchGreater:
    case LessSimilar:
    case GreaterSimilar:
    case Similar:
    case AlmostEqual:
    case Identical:
    case Asymptotic:
    case TendsTo:
    case Element:
    case NotElement:
        return true;
    default:
        return false;
    }
}

// A system: a curly brace on the left only, round stacked lines.
bool IsSystem(TExprBracketed &b) {
    return b.NeedBrackets() && b.LeftBracket() == ebFigure && b.RightBracket() == ebNone &&
           b.Son() && !b.Son()->Next() && KindOf(*b.Son()) == TKind::Stand;
}

// A structure long enough that a relation before it is followed by a colon.
bool Structure(TExprClass &n) {
    const TKind k = KindOf(n);
    if (k == TKind::Ratio) {
        auto &r = static_cast<TExprRatio &>(n);
        return !(Leaf(r.Son()) && Leaf(r.Son2()));
    }
    if (BracketedKind(k)) return IsSystem(static_cast<TExprBracketed &>(n));
    return GroupOpKind(k) || k == TKind::Matrix || k == TKind::Case;
}

// Nodes that say nothing.
bool Silent(TExprClass &n) {
    const TKind k = KindOf(n);
    return k == TKind::Space || k == TKind::Empty || ShowsNothing(n);
}

class TSpeech {
public:
    explicit TSpeech(const TSpeechTexts &texts) : Texts(texts) {}

    const TSpeechTexts &Texts;
    std::string Out;
    // Nothing of the whole description follows the node being said.
    bool Last = true;

    void Word(std::string_view s) {
        Out += ' ';
        Out += s;
    }
    void Word(TSpeechId id) { Word(Texts.Text(id)); }
    // The phrase of id with its parts said where its pattern puts them.
    void Say(TSpeechId id, std::initializer_list<std::function<void()>> parts, long long n = 0) {
        Out += ' ';
        WalkSpeechPattern(
            Texts.Text(id, n), [this](std::string_view s) { Out += s; },
            [&](int k) {
                if (static_cast<std::size_t>(k) > parts.size()) return;
                Out += ' ';
                parts.begin()[k - 1]();
                Out += ' ';
            });
    }
    // The end of a structure, when more follows.
    void End(TSpeechId id) {
        if (Last) return;
        Out += ", ";
        Word(id);
        Out += ", ";
    }
    void Node(TExprClass &n, bool last) {
        const bool saved = Last;
        Last = last;
        TableFind(n)(*this, n);
        Last = saved;
    }
    void Row(const std::vector<TExprClass *> &members, bool last);
    void Chain(TExprClass *first, bool last) { Row(ChainMembers(first), last); }

private:
    static TKindTable<TSpeech>::TWrite TableFind(TExprClass &n);
};

void TSpeech::Row(const std::vector<TExprClass *> &members, bool last) {
    std::size_t final = members.size();
    for (std::size_t k = members.size(); k-- > 0;)
        if (!Silent(*members[k])) {
            final = k;
            break;
        }
    for (std::size_t k = 0; k < members.size(); ++k) {
        TExprClass &m = *members[k];
        Node(m, last && k >= final);
        // "k равно: дробь, …"
        if (KindOf(m) != TKind::Sign) continue;
        const TSymbolInfo *s = FindSymbol(Printable(SymbolCharacter(m)));
        if (!s || !Relation(s->Speech)) continue;
        for (std::size_t j = k + 1; j < members.size(); ++j) {
            if (Silent(*members[j])) continue;
            if (Structure(*members[j])) Out += ':';
            break;
        }
    }
}

void Nothing(TSpeech &, TExprClass &) {}

void SaySimple(TSpeech &w, TExprSimple &n) {
    if (n.Text() == "!") return w.Word(Factorial);
    w.Word(TextUtf8(n.Text()));
}

void SayFuncName(TSpeech &w, TExprFuncName &n) {
    const TSpeechId word = NameWord(&n);
    if (word != None) return w.Word(word);
    w.Word(TextUtf8(n.Text()));
}

void SayAsterix(TSpeech &w, TExprAsterix &) {
    w.Word(Asterisk);
}

void NumberPart(TSpeech &w, const std::string &text) {
    if (!text.empty() && text[0] == '-') {
        w.Word(Minus);
        w.Word(text.substr(1));
    } else {
        w.Word(text);
    }
}

void SayNumber(TSpeech &w, TExprNumber &n) {
    const TNumberText t = NumberText(n);
    if (t.Exponent.empty()) return NumberPart(w, t.Mantissa);
    if (t.Mantissa == "1") return w.Say(TenPowerOnly, {[&] { NumberPart(w, t.Exponent); }});
    w.Say(TenPower, {[&] { NumberPart(w, t.Mantissa); }, [&] { NumberPart(w, t.Exponent); }});
}

void SaySymbol(TSpeech &w, TExprClass &n) {
    const char32_t c = Printable(SymbolCharacter(n));
    const TSymbolInfo *s = FindSymbol(c);
    if (!s || s->Speech == None) {
        std::string utf8;
        AppendUtf8(utf8, c);
        return w.Word(utf8);
    }
    if (!s->Capital) return w.Word(s->Speech);
    w.Say(Capital, {[&] { w.Word(s->Speech); }});
}

void SayStrokes(TSpeech &w, TExprStrokes &n) {
    if (n.Count() == 1) return w.Say(Prime, {});
    w.Say(Primes, {}, n.Count());
}

void SayChain(TSpeech &w, TExprChain &n) {
    w.Chain(n.Son(), w.Last);
}

// The words of a bracket kind, opening and closing; None for a kind that is not said.
std::pair<TSpeechId, TSpeechId> BracketWords(uint8_t kind) {
    switch (kind) {
    case ebRound:
        return {OpenRound, CloseRound};
    case ebSquare:
        return {OpenSquare, CloseSquare};
    case ebFigure:
        return {OpenCurly, CloseCurly};
    case ebModule:
        return {Bar, Bar};
    default:
        return {None, None};
    }
}

// The lines of a stack, each said in turn.
void Lines(TSpeech &w, TExprClass *first, bool last) {
    for (TExprClass *line = first; line; line = line->Next()) {
        if (line != first) w.Out += ';';
        w.Node(*line, last && !line->Next());
    }
}

void SayBracketed(TSpeech &w, TExprBracketed &n) {
    const TSpeechId open = BracketWords(n.LeftBracket()).first,
                    close = BracketWords(n.RightBracket()).second;
    if (!n.NeedBrackets() || (open == None && close == None)) return w.Chain(n.Son(), w.Last);
    if (n.LeftBracket() == ebModule && n.RightBracket() == ebModule) {
        w.Say(Abs, {[&] { w.Chain(n.Son(), w.Last); }});
        return w.End(AbsEnd);
    }
    if (IsSystem(n)) {
        auto &stand = static_cast<TExprStand &>(*n.Son());
        w.Say(System, {[&] { Lines(w, stand.Son(), w.Last); }});
        return w.End(SystemEnd);
    }
    if (open != None) w.Word(open);
    w.Chain(n.Son(), close != None || w.Last);
    if (close != None) w.Word(close);
}

void SayRatio(TSpeech &w, TExprRatio &n) {
    if (Leaf(n.Son()) && Leaf(n.Son2()))
        return w.Say(FractionShort,
                     {[&] { w.Chain(n.Son(), true); }, [&] { w.Chain(n.Son2(), w.Last); }});
    w.Say(Fraction, {[&] { w.Chain(n.Son(), true); }, [&] { w.Chain(n.Son2(), w.Last); }});
    w.End(FractionEnd);
}

void SayRoot(TSpeech &w, TExprRoot &n) {
    auto radicand = [&] { w.Chain(n.Son(), w.Last); };
    if (!n.Son2() || NumberIs(n.Son2(), "2"))
        w.Say(SquareRoot, {radicand});
    else if (NumberIs(n.Son2(), "3"))
        w.Say(CubeRoot, {radicand});
    else
        w.Say(NthRoot, {[&] { w.Chain(n.Son2(), true); }, radicand});
    if (!Leaf(n.Son())) w.End(RootEnd);
}

void SayIndex(TSpeech &w, TExprIndex &n) {
    TExprClass *sub = n.Twin1(), *sup = n.Twin2();
    // The base with its subscript.
    auto base = [&] {
        if (!sub) return w.Chain(n.Son(), true);
        if (NameWord(n.Son()) == Log)
            return w.Say(LogBase, {[&] { w.Chain(sub, !sup && w.Last); }});
        w.Say(Subscript, {[&] { w.Chain(n.Son(), true); }, [&] { w.Chain(sub, !sup && w.Last); }});
    };
    if (!sup) return base();
    if (KindOf(*sup) == TKind::Strokes && !sup->Next()) {
        const int32_t count = static_cast<TExprStrokes *>(sup)->Count();
        if (count <= 0) return base();
        return count == 1 ? w.Say(Prime, {base}) : w.Say(Primes, {base}, count);
    }
    if (NumberIs(sup, "2")) return w.Say(Squared, {base});
    if (NumberIs(sup, "3")) return w.Say(Cubed, {base});
    w.Say(Power, {base, [&] { w.Chain(sup, w.Last); }});
    if (!Leaf(sup)) w.End(PowerEnd);
}

void SayFunction(TSpeech &w, TExprCommonFunc &n) {
    TExprClass *arg = n.Son2();
    auto argument = [&] {
        // The brackets of a one-word argument go without saying after "от".
        if (KindOf(*arg) == TKind::Argument && !arg->Next()) {
            TExprClass *content = static_cast<TExprArgument *>(arg)->Son();
            if (Leaf(content)) return w.Chain(content, w.Last);
        }
        w.Chain(arg, w.Last);
    };
    if (!arg) return w.Chain(n.Son(), w.Last);
    w.Say(NameWord(n.Son()) != None ? NamedFunction : Function,
          {[&] { w.Chain(n.Son(), true); }, argument});
}

void SayLim(TSpeech &w, TExprLim &n) {
    w.Say(Limit, {[&] { w.Chain(n.Son(), true); }});
}

void SayAtValue(TSpeech &w, TExprAtValue &n) {
    w.Say(AtValue, {[&] { w.Chain(n.Son(), true); }, [&] { w.Chain(n.Son2(), w.Last); }});
}

void SayCap(TSpeech &w, TExprCap &n) {
    auto son = [&] { w.Chain(n.Son(), true); };
    switch (n.Kind()) {
    case ecPoints:
        if (n.Count() <= 0) return w.Chain(n.Son(), w.Last);
        if (n.Count() == 1) return w.Say(Dot, {son});
        if (n.Count() == 2) return w.Say(TwoDots, {son});
        return w.Say(Dots, {son}, n.Count());
    case ecVector:
        return w.Say(Vector, {[&] { w.Chain(n.Son(), w.Last); }});
    case ecCap:
        return w.Say(Hat, {son});
    case ecTilde:
        return w.Say(Tilde, {son});
    case ecLine:
        return w.Say(Overline, {son});
    default:
        return w.Chain(n.Son(), w.Last);
    }
}

void SayStand(TSpeech &w, TExprStand &n) {
    Lines(w, n.Son(), w.Last);
}

void SayMatrix(TSpeech &w, TExprMatrix &n) {
    if (n.ColCount() <= 0 || n.RowCount() <= 0 || !n.Son()) return;
    auto rows = [&] {
        TExprClass *item = n.Son();
        for (int32_t row = 0; row < n.RowCount() && item; ++row) {
            if (row > 0) w.Out += ';';
            w.Say(MatrixRow, {[&] { w.Word(std::to_string(row + 1)); },
                              [&] {
                                  for (int32_t col = 0; col < n.ColCount() && item;
                                       ++col, item = item->Next()) {
                                      if (col > 0) w.Out += ',';
                                      w.Node(*item, true);
                                  }
                              }});
        }
    };
    w.Say(Matrix, {[&] { w.Word(std::to_string(n.RowCount())); },
                   [&] { w.Word(std::to_string(n.ColCount())); }, rows});
    w.End(MatrixEnd);
}

void SayCase(TSpeech &w, TExprCase &n) {
    w.Say(Cases, {[&] {
              for (TExprClass *v = n.Son(); v && v->Next(); v = v->Next()->Next()) {
                  if (v != n.Son()) w.Out += ';';
                  w.Say(CaseLine, {[&] { w.Node(*v, true); }, [&] { w.Node(*v->Next(), true); }});
              }
          }});
    w.End(CasesEnd);
}

void GroupOp(TSpeech &w, TExprGroupOp &n, TSpeechId sign, long long count, TSpeechId end) {
    auto op = [&] { w.Word(w.Texts.Text(sign, count)); };
    auto lower = [&] { w.Chain(n.Twin1(), true); };
    auto upper = [&] { w.Chain(n.Twin2(), true); };
    auto body = [&] { w.Chain(n.Son(), w.Last); };
    if (n.Twin1() && n.Twin2())
        w.Say(OperatorFromTo, {op, lower, upper, body});
    else if (n.Twin1())
        w.Say(OperatorFrom, {op, lower, body});
    else if (n.Twin2())
        w.Say(OperatorTo, {op, upper, body});
    else
        w.Say(OperatorPlain, {op, body});
    w.End(end);
}

void SaySumma(TSpeech &w, TExprSumma &n) {
    GroupOp(w, n, Sum, 0, SumEnd);
}
void SayProd(TSpeech &w, TExprProd &n) {
    GroupOp(w, n, Product, 0, ProductEnd);
}
void SayCirc(TSpeech &w, TExprCirc &n) {
    GroupOp(w, n, ContourIntegral, 0, IntegralEnd);
}
void SayIntegral(TSpeech &w, TExprIntegral &n) {
    const int32_t c = n.Count();
    const TSpeechId sign = c == 1   ? Integral
                           : c == 2 ? DoubleIntegral
                           : c == 3 ? TripleIntegral
                           : c < 1  ? ManyIntegral
                                    : MultipleIntegral;
    GroupOp(w, n, sign, c, IntegralEnd);
}

template <class T, auto F> TKindTable<TSpeech>::TRule Rule() {
    return KindRule<T, F, TSpeech>();
}

const TKindTable<TSpeech> &Table() {
    static const TKindTable<TSpeech> table("speech", {
                                                         Rule<TExprClass, Nothing>(),
                                                         Rule<TExprEmpty, Nothing>(),
                                                         Rule<TExprSimple, SaySimple>(),
                                                         Rule<TExprVar, SaySimple>(),
                                                         Rule<TExprFuncName, SayFuncName>(),
                                                         Rule<TExprAsterix, SayAsterix>(),
                                                         Rule<TExprNumber, SayNumber>(),
                                                         Rule<TExprExpNumber, SayNumber>(),
                                                         Rule<TExprExtSymbol, SaySymbol>(),
                                                         Rule<TExprSign, SaySymbol>(),
                                                         Rule<TExprComma, SaySymbol>(),
                                                         Rule<TExprPlank, SaySymbol>(),
                                                         Rule<TExprLambda, SaySymbol>(),
                                                         Rule<TExprNabla, SaySymbol>(),
                                                         Rule<TExprSpace, Nothing>(),
                                                         Rule<TExprStrokes, SayStrokes>(),
                                                         Rule<TExprChain, SayChain>(),
                                                         Rule<TExprBracketed, SayBracketed>(),
                                                         Rule<TExprRound, SayBracketed>(),
                                                         Rule<TExprBase, SayBracketed>(),
                                                         Rule<TExprArgument, SayBracketed>(),
                                                         Rule<TExprRatio, SayRatio>(),
                                                         Rule<TExprRoot, SayRoot>(),
                                                         Rule<TExprIndex, SayIndex>(),
                                                         Rule<TExprCommonFunc, SayFunction>(),
                                                         Rule<TExprFunc, SayFunction>(),
                                                         Rule<TExprLim, SayLim>(),
                                                         Rule<TExprAtValue, SayAtValue>(),
                                                         Rule<TExprCap, SayCap>(),
                                                         Rule<TExprStand, SayStand>(),
                                                         Rule<TExprMatrix, SayMatrix>(),
                                                         Rule<TExprCase, SayCase>(),
                                                         Rule<TExprSumma, SaySumma>(),
                                                         Rule<TExprProd, SayProd>(),
                                                         Rule<TExprCirc, SayCirc>(),
                                                         Rule<TExprIntegral, SayIntegral>(),
                                                     });
    return table;
}

TKindTable<TSpeech>::TWrite TSpeech::TableFind(TExprClass &n) {
    return Table().Find(n);
}

bool Punctuation(char c) {
    return c == ',' || c == ';' || c == ':';
}
int Strength(char c) {
    return c == ':' ? 3 : c == ';' ? 2 : 1;
}

// One blank between words, none before punctuation, one mark where several meet (the
// strongest), nothing at the ends.
std::string Tidy(const std::string &s) {
    std::string out;
    bool blank = false;
    for (char c : s) {
        if (c == ' ') {
            blank = true;
            continue;
        }
        // Punctuation between words (not the comma inside "0,5").
        if (Punctuation(c) && (blank || out.empty() || Punctuation(out.back()))) {
            if (out.empty()) continue;
            if (Punctuation(out.back())) {
                if (Strength(c) > Strength(out.back())) out.back() = c;
            } else {
                out += c;
            }
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += ' ';
        blank = false;
        out += c;
    }
    while (!out.empty() && Punctuation(out.back()))
        out.pop_back();
    return out;
}

} // namespace

bool SpeechCovers(const std::type_info &type) {
    return Table().Covers(type);
}

std::string ExprToSpeech(TExprClass &root, const TSpeechTexts &texts) {
    TSpeech w(texts);
    w.Row(OuterMembers(root), true);
    return Tidy(w.Out);
}
