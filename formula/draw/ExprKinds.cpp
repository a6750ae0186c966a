#include "formula/draw/ExprKinds.h"

#include "formula/draw/ExprDraw.h"

#include <concepts>
#include <memory>
#include <stdexcept>
#include <typeindex>
#include <unordered_map>

namespace {

template <class T> class TKindOf final : public TExprKind {
public:
    using TClone = PExpr (*)(const T &, TCopyChain);
    using TDescribe = void (*)(const T &, TKindFields &);
    TKindOf(const char *name, TClone clone, TDescribe describe)
        : FName(name), FClone(clone), FDescribe(describe) {}

    const std::type_info &Type() const override { return typeid(T); }
    const char *Name() const override { return FName; }
    PExpr Clone(const TExprClass &node, TCopyChain copy) const override {
        return FClone(static_cast<const T &>(node), copy);
    }
    void Describe(const TExprClass &node, TKindFields &out) const override {
        FDescribe(static_cast<const T &>(node), out);
    }

private:
    const char *FName;
    TClone FClone;
    TDescribe FDescribe;
};

// The accessors of the child slots.
constexpr auto Son = &TExprParent::Son;
constexpr auto Son2 = &TExprBigParent::Son2;
constexpr auto Twin1 = &TExprTwinParent::Twin1;
constexpr auto Twin2 = &TExprTwinParent::Twin2;

// What a kind is made from: the accessors of its child slots, and those of its values.
template <auto... Accessors> struct TSlots {};
template <auto... Accessors> struct TValues {};
constexpr TSlots<> NoSlots;
constexpr TValues<> NoValues;

// A value as the dump writes it.
void Put(TKindFields &out, const std::string &text) {
    out.Text(text);
}
void Put(TKindFields &out, long double value) {
    out.Value(value);
}
void Put(TKindFields &out, std::integral auto value) {
    out.Int(value);
}

class TRegistry {
public:
    TRegistry();
    std::vector<const TExprKind *> All;
    std::unordered_map<std::type_index, const TExprKind *> ByType;

private:
    template <class T>
    void Add(const char *name, typename TKindOf<T>::TClone clone,
             typename TKindOf<T>::TDescribe describe) {
        FOwned.push_back(std::make_unique<TKindOf<T>>(name, clone, describe));
        All.push_back(FOwned.back().get());
        ByType.emplace(std::type_index(typeid(T)), FOwned.back().get());
    }
    // A kind its constructor makes from copies of its child slots followed by its values; the
    // dump writes the values, then the slots.
    template <class T, auto... Slots, auto... Values>
    void AddMade(const char *name, TSlots<Slots...>, TValues<Values...>) {
        Add<T>(
            name,
            []([[maybe_unused]] const T &n, [[maybe_unused]] TCopyChain copy) -> PExpr {
                return std::make_unique<T>(copy((n.*Slots)())..., (n.*Values)()...);
            },
            []([[maybe_unused]] const T &n, [[maybe_unused]] TKindFields &out) {
                (Put(out, (n.*Values)()), ...);
                (out.Slot((n.*Slots)()), ...);
            });
    }
    // A bracketed kind made from its content; kinds other than the constructor's come from
    // RemoveBrackets.
    template <class T> void AddBracketed(const char *name) {
        Add<T>(
            name,
            [](const T &n, TCopyChain copy) -> PExpr {
                auto b = std::make_unique<T>(copy(n.Son()));
                if (n.LeftBracket() == ebNone && n.RightBracket() == ebNone) b->RemoveBrackets();
                return b;
            },
            [](const T &n, TKindFields &out) {
                out.Int(n.LeftBracket());
                out.Int(n.RightBracket());
                out.Slot(n.Son());
            });
    }
    void AddAtoms();
    void AddStructures();

    std::vector<std::unique_ptr<TExprKind>> FOwned;
};

TRegistry::TRegistry() {
    AddAtoms();
    AddStructures();
}

void TRegistry::AddAtoms() {
    AddMade<TExprClass>("Class", NoSlots, NoValues);
    AddMade<TExprSimple>("Simple", NoSlots, TValues<&TExprSimple::Text>());
    AddMade<TExprVar>("Var", NoSlots, TValues<&TExprVar::Text>());
    AddMade<TExprFuncName>("FuncName", NoSlots, TValues<&TExprFuncName::Text>());
    AddMade<TExprAsterix>("Asterix", NoSlots, NoValues);
    Add<TExprNumber>(
        "Number",
        [](const TExprNumber &n, TCopyChain) -> PExpr {
            return std::make_unique<TExprNumber>(n.Value(), n.ExpForm());
        },
        [](const TExprNumber &n, TKindFields &out) {
            out.Value(n.Value());
            if (n.ExpForm()) out.Word("exp");
        });
    AddMade<TExprExpNumber>("ExpNumber", NoSlots,
                            TValues<&TExprExpNumber::Value, &TExprExpNumber::Precision,
                                    &TExprExpNumber::Digits, &TExprExpNumber::ExpLimit>());
    AddMade<TExprExtSymbol>("ExtSymbol", NoSlots, TValues<&TExprExtSymbol::Code>());
    AddMade<TExprSign>("Sign", NoSlots, TValues<&TExprSign::Code>());
    AddMade<TExprSpace>("Space", NoSlots, TValues<&TExprSpace::Count>());
    AddMade<TExprStrokes>("Strokes", NoSlots, TValues<&TExprStrokes::Count>());
    AddMade<TExprComma>("Comma", NoSlots, NoValues);
    AddMade<TExprPlank>("Plank", NoSlots, NoValues);
    AddMade<TExprLambda>("Lambda", NoSlots, NoValues);
    AddMade<TExprNabla>("Nabla", NoSlots, NoValues);
    AddMade<TExprEmpty>("Empty", NoSlots, NoValues);
}

void TRegistry::AddStructures() {
    AddMade<TExprChain>("Chain", TSlots<Son>(), NoValues);
    AddMade<TExprBracketed>("Bracketed", TSlots<Son>(),
                            TValues<&TExprBracketed::LeftBracket, &TExprBracketed::RightBracket>());
    AddBracketed<TExprRound>("Round");
    AddBracketed<TExprBase>("Base");
    Add<TExprArgument>(
        "Argument",
        [](const TExprArgument &n, TCopyChain copy) -> PExpr {
            auto a = std::make_unique<TExprArgument>(copy(n.Son()));
            if (n.ForceBrackets()) a->SetForceBrackets();
            if (n.LeftBracket() == ebNone && n.RightBracket() == ebNone) a->RemoveBrackets();
            return a;
        },
        [](const TExprArgument &n, TKindFields &out) {
            out.Int(n.LeftBracket());
            out.Int(n.RightBracket());
            out.Int(n.ForceBrackets() ? 1 : 0);
            out.Slot(n.Son());
        });
    AddMade<TExprRatio>("Ratio", TSlots<Son, Son2>(), NoValues);
    AddMade<TExprRoot>("Root", TSlots<Son, Son2>(), NoValues);
    AddMade<TExprIndex>("Index", TSlots<Son, Twin1, Twin2>(), NoValues);
    Add<TExprFunc>(
        "Func",
        [](const TExprFunc &n, TCopyChain copy) -> PExpr {
            // The constructor makes a name node from a text; the name part may have been
            // replaced since (an index or an accent on it), so the copy takes the copied part.
            auto g = std::make_unique<TExprFunc>(std::string(), copy(n.Son2()));
            g->SetSon(copy(n.Son()));
            return g;
        },
        [](const TExprFunc &n, TKindFields &out) {
            out.Slot(n.Son());
            out.Slot(n.Son2());
        });
    AddMade<TExprCommonFunc>("CommonFunc", TSlots<Son, Son2>(), NoValues);
    AddMade<TExprLim>("Lim", TSlots<Son>(), NoValues);
    AddMade<TExprAtValue>("AtValue", TSlots<Son, Son2>(), NoValues);
    AddMade<TExprCap>("Cap", TSlots<Son>(), TValues<&TExprCap::Kind, &TExprCap::Count>());
    AddMade<TExprStand>("Stand", TSlots<Son>(), TValues<&TExprStand::Align>());
    AddMade<TExprMatrix>("Matrix", TSlots<Son>(),
                         TValues<&TExprMatrix::ColCount, &TExprMatrix::RowCount>());
    AddMade<TExprCase>("Case", TSlots<Son>(), NoValues);
    AddMade<TExprSumma>("Summa", TSlots<Son, Twin1, Twin2>(), NoValues);
    AddMade<TExprProd>("Prod", TSlots<Son, Twin1, Twin2>(), NoValues);
    AddMade<TExprCirc>("Circ", TSlots<Son, Twin1, Twin2>(), NoValues);
    AddMade<TExprIntegral>("Integral", TSlots<Son, Twin1, Twin2>(),
                           TValues<&TExprIntegral::Count>());
}

const TRegistry &Registry() {
    static const TRegistry registry;
    return registry;
}

// Collects the child slots.
class TChildren final : public TKindFields {
public:
    std::vector<const TExprClass *> Out;
    void Int(long long) override {}
    void Text(const std::string &) override {}
    void Value(long double) override {}
    void Word(const char *) override {}
    void Slot(const TExprClass *child) override {
        if (child) Out.push_back(child);
    }
};

} // namespace

const TExprKind *FindExprKind(const TExprClass &node) {
    const TRegistry &r = Registry();
    const auto k = r.ByType.find(std::type_index(typeid(node)));
    return k == r.ByType.end() ? nullptr : k->second;
}

const TExprKind &ExprKindOf(const TExprClass &node) {
    if (const TExprKind *k = FindExprKind(node)) return *k;
    throw std::logic_error(std::string("node class not registered: ") + typeid(node).name());
}

const std::vector<const TExprKind *> &ExprKinds() {
    return Registry().All;
}

std::vector<const TExprClass *> ExprChildren(const TExprClass &node) {
    TChildren children;
    ExprKindOf(node).Describe(node, children);
    return std::move(children.Out);
}
