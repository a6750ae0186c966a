// The registry of node kinds: every node class declared in formula/draw is registered under its
// own name, once; copies and child slots follow the exact class.
#include "formula/draw/ExprDraw.h"
#include "formula/draw/ExprKinds.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The classes that only share code with their descendants; no node is made of them alone.
const std::set<std::string> BaseClasses = {"TExprParent", "TExprBigParent", "TExprTwinParent",
                                           "TExprGroupOp"};

// Every "class TExprX [final] : public TExprY" of the folder's headers, as X -> Y. A scan of
// words rather than std::regex, whose inlined code GCC 12 reports as uninitialized under the
// sanitizers.
std::map<std::string, std::string> DeclaredNodeClasses() {
    std::map<std::string, std::string> parents;
    auto isNodeName = [](const std::string &w) { return w.size() > 5 && w.starts_with("TExpr"); };
    for (const auto &entry :
         std::filesystem::directory_iterator(ZELVANO_SOURCE_DIR "/formula/draw")) {
        if (entry.path().extension() != ".h") continue;
        std::ifstream in(entry.path());
        // The words and colons of the header, in order.
        std::vector<std::string> t(1);
        for (char c; in.get(c);) {
            if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
                t.back() += c;
                continue;
            }
            if (!t.back().empty()) t.emplace_back();
            if (c == ':') {
                t.back() = ":";
                t.emplace_back();
            }
        }
        for (std::size_t i = 0; i + 4 < t.size(); ++i) {
            if (t[i] != "class" || !isNodeName(t[i + 1])) continue;
            const std::size_t j = t[i + 2] == "final" ? i + 3 : i + 2;
            if (j + 2 < t.size() && t[j] == ":" && t[j + 1] == "public" && isNodeName(t[j + 2]))
                parents[t[i + 1]] = t[j + 2];
        }
    }
    return parents;
}

bool IsNodeClass(const std::map<std::string, std::string> &parents, std::string name) {
    while (name != "TExprClass") {
        const auto p = parents.find(name);
        if (p == parents.end()) return false;
        name = p->second;
    }
    return true;
}

} // namespace

TEST(ExprKinds, EveryNodeClassIsRegistered) {
    std::set<std::string> registered;
    for (const TExprKind *k : ExprKinds())
        EXPECT_TRUE(registered.insert(std::string("TExpr") + k->Name()).second) << k->Name();
    const auto parents = DeclaredNodeClasses();
    ASSERT_GT(parents.size(), 30u);
    EXPECT_TRUE(registered.count("TExprClass"));
    for (const auto &[name, parent] : parents) {
        if (!IsNodeClass(parents, name) || BaseClasses.count(name)) continue;
        EXPECT_TRUE(registered.count(name)) << name << " is not in formula/draw/ExprKinds.cpp";
    }
    for (const std::string &name : registered)
        EXPECT_TRUE(name == "TExprClass" || parents.count(name)) << name << " is declared nowhere";
}

TEST(ExprKinds, FoundByExactClass) {
    const TExprVar var("x");
    const TExprSimple simple("x");
    const TExprFuncName name("sin");
    EXPECT_STREQ(ExprKindOf(var).Name(), "Var");
    EXPECT_STREQ(ExprKindOf(simple).Name(), "Simple");
    EXPECT_STREQ(ExprKindOf(name).Name(), "FuncName");
    // A class of its own is not its base class: it is not registered, and says so.
    class TUnregistered : public TExprVar {
    public:
        TUnregistered() : TExprVar("u") {}
    };
    const TUnregistered unregistered;
    EXPECT_EQ(FindExprKind(unregistered), nullptr);
    EXPECT_THROW(ExprKindOf(unregistered), std::logic_error);
}

TEST(ExprKinds, CopiesWithTheirChildren) {
    const TExprRatio ratio(std::make_unique<TExprVar>("a"),
                           std::make_unique<TExprNumber>(2, false));
    EXPECT_EQ(ExprChildren(ratio).size(), 2u);
    auto copyChain = [](const TExprClass *chain) -> PExpr {
        return chain ? ExprKindOf(*chain).Clone(*chain, nullptr) : nullptr;
    };
    const PExpr copy = ExprKindOf(ratio).Clone(ratio, copyChain);
    // typeid of a plain reference: clang warns where the operand is a call.
    const TExprClass &copied = *copy;
    ASSERT_EQ(typeid(copied), typeid(TExprRatio));
    const std::vector<const TExprClass *> children = ExprChildren(copied);
    ASSERT_EQ(children.size(), 2u);
    const TExprClass &first = *children[0];
    EXPECT_EQ(typeid(first), typeid(TExprVar));
    EXPECT_EQ(static_cast<const TExprVar *>(children[0])->Text(), "a");
    EXPECT_EQ(static_cast<const TExprNumber *>(children[1])->Value(), 2);
}
