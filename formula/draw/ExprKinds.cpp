#include "formula/draw/ExprKinds.h"

#include "formula/draw/ExprDraw.h"

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
    // A kind without fields or children, made by its default constructor.
    template <class T> void AddPlain(const char *name) {
        Add<T>(
            name, [](const T &, TCopyChain) -> PExpr { return std::make_unique<T>(); },
            [](const T &, TKindFields &) {});
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
    // A kind made from its children alone; Links are the accessors of its child slots, in the
    // order of its constructor's arguments and of the dump.
    template <class T, auto... Links> void AddLinks(const char *name) {
        Add<T>(
            name,
            [](const T &n, TCopyChain copy) -> PExpr {
                return std::make_unique<T>(copy((n.*Links)())...);
            },
            [](const T &n, TKindFields &out) { (out.Slot((n.*Links)()), ...); });
    }
    // A kind made from its content (Son) and the values of Fields, which the dump writes
    // before the content.
    template <class T, auto... Fields> void AddContent(const char *name) {
        Add<T>(
            name,
            [](const T &n, TCopyChain copy) -> PExpr {
                return std::make_unique<T>(copy(n.Son()), (n.*Fields)()...);
            },
            [](const T &n, TKindFields &out) {
                (out.Int((n.*Fields)()), ...);
                out.Slot(n.Son());
            });
    }
    // A kind made from a text.
    template <class T> void AddText(const char *name) {
        Add<T>(
            name, [](const T &n, TCopyChain) -> PExpr { return std::make_unique<T>(n.Text()); },
            [](const T &n, TKindFields &out) { out.Text(n.Text()); });
    }
    // A kind made from its code (a symbol) or its count (spaces, strokes).
    template <class T> void AddCode(const char *name) {
        Add<T>(
            name, [](const T &n, TCopyChain) -> PExpr { return std::make_unique<T>(n.Code()); },
            [](const T &n, TKindFields &out) { out.Int(n.Code()); });
    }
    template <class T> void AddCount(const char *name) {
        Add<T>(
            name, [](const T &n, TCopyChain) -> PExpr { return std::make_unique<T>(n.Count()); },
            [](const T &n, TKindFields &out) { out.Int(n.Count()); });
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
    AddPlain<TExprClass>("Class");
    AddText<TExprSimple>("Simple");
    AddText<TExprVar>("Var");
    AddText<TExprFuncName>("FuncName");
    AddPlain<TExprAsterix>("Asterix");
    Add<TExprNumber>(
        "Number",
        [](const TExprNumber &n, TCopyChain) -> PExpr {
            return std::make_unique<TExprNumber>(n.Value(), n.ExpForm());
        },
        [](const TExprNumber &n, TKindFields &out) {
            out.Value(n.Value());
            if (n.ExpForm()) out.Word("exp");
        });
    Add<TExprExpNumber>(
        "ExpNumber",
        [](const TExprExpNumber &n, TCopyChain) -> PExpr {
            return std::make_unique<TExprExpNumber>(n.Value(), n.Precision(), n.Digits(),
                                                    n.ExpLimit());
        },
        [](const TExprExpNumber &n, TKindFields &out) {
            out.Value(n.Value());
            out.Int(n.Precision());
            out.Int(n.Digits());
            out.Int(n.ExpLimit());
        });
    AddCode<TExprExtSymbol>("ExtSymbol");
    AddCode<TExprSign>("Sign");
    AddCount<TExprSpace>("Space");
    AddCount<TExprStrokes>("Strokes");
    AddPlain<TExprComma>("Comma");
    AddPlain<TExprPlank>("Plank");
    AddPlain<TExprLambda>("Lambda");
    AddPlain<TExprNabla>("Nabla");
    AddPlain<TExprEmpty>("Empty");
}

void TRegistry::AddStructures() {
    AddLinks<TExprChain, Son>("Chain");
    Add<TExprBracketed>(
        "Bracketed",
        [](const TExprBracketed &n, TCopyChain copy) -> PExpr {
            return std::make_unique<TExprBracketed>(copy(n.Son()), n.LeftBracket(),
                                                    n.RightBracket());
        },
        [](const TExprBracketed &n, TKindFields &out) {
            out.Int(n.LeftBracket());
            out.Int(n.RightBracket());
            out.Slot(n.Son());
        });
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
    AddLinks<TExprRatio, Son, Son2>("Ratio");
    AddLinks<TExprRoot, Son, Son2>("Root");
    AddLinks<TExprIndex, Son, Twin1, Twin2>("Index");
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
    AddLinks<TExprCommonFunc, Son, Son2>("CommonFunc");
    AddLinks<TExprLim, Son>("Lim");
    AddLinks<TExprAtValue, Son, Son2>("AtValue");
    AddContent<TExprCap, &TExprCap::Kind, &TExprCap::Count>("Cap");
    AddContent<TExprStand, &TExprStand::Align>("Stand");
    AddContent<TExprMatrix, &TExprMatrix::ColCount, &TExprMatrix::RowCount>("Matrix");
    AddLinks<TExprCase, Son>("Case");
    AddLinks<TExprSumma, Son, Twin1, Twin2>("Summa");
    AddLinks<TExprProd, Son, Twin1, Twin2>("Prod");
    AddLinks<TExprCirc, Son, Twin1, Twin2>("Circ");
    Add<TExprIntegral>(
        "Integral",
        [](const TExprIntegral &n, TCopyChain copy) -> PExpr {
            return std::make_unique<TExprIntegral>(copy(n.Son()), copy(n.Twin1()), copy(n.Twin2()),
                                                   n.Count());
        },
        [](const TExprIntegral &n, TKindFields &out) {
            out.Int(n.Count());
            out.Slot(n.Son());
            out.Slot(n.Twin1());
            out.Slot(n.Twin2());
        });
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
