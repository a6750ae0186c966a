// The tree dump and deep copies. Over every formula of the fuzz corpus and the benchmark (and a
// few that differ in one value each): a copy dumps and paints like its original, and subtrees
// that dump alike paint alike, so the dump shows every value the picture depends on.
#include "formula/draw/ExprDraw.h"
#include "formula/draw/ExprKinds.h"
#include "formula/make/ExprClone.h"
#include "tests/formula_make/ParseHelpers.h"
#include "tests/support/FixedNode.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// Formula texts (Windows-1251) that parse: the fuzz corpus, the benchmark's formulas, and
// formulas whose parts differ in one value each.
std::vector<std::string> SampleFormulas() {
    std::vector<std::string> texts = {
        Cp("Line(x)&Vect(x)&Cap(x)&Tilde(x)&Points(x,2)&Points(x,3)&_x"),
        Cp("StandL(a,b)&StandC(a,b)&StandR(a,b)&Matrix(2,1,a,b)&Matrix(1,2,a,b)"),
        Cp("Brackets([),x)&Brackets((],x)&Brackets(|0,x)&Brackets({},x)&(x)&[x]&{x}&|x|"),
        Cp("Intm(2,f)&Intm(3,f)&Intm(0,f)&Space(2)&Space(3)&Strokes(x,2)&Strokes(x,3)"),
        Cp("f(x)&f!(x)&5&#5&2.5&Num(1.5,3,2,1)&Num(1.5,4,2,1)&Num(1.5,3,3,1)&Num(1.5,3,2,2)"),
        Cp("Symbol(945)&Symbol(946)&String(a)&String(b)&ф&х&sin(x)&sin!(x)&Log(2,x)&Log(3,x)"),
    };
    for (const auto &entry :
         std::filesystem::directory_iterator(ZELVANO_SOURCE_DIR "/tests/fuzz/corpus")) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        texts.push_back(text.str());
    }
    std::ifstream bench(ZELVANO_SOURCE_DIR "/bench/formulas.txt");
    for (std::string line; std::getline(bench, line);)
        if (!line.empty()) texts.push_back(line);
    return texts;
}

PExpr Build(const std::string &cp1251) {
    try {
        TExprBuilder b;
        return b.BuildExpr(cp1251);
    } catch (const EIncorrectExpr &) {
        return nullptr;
    }
}

// What a node paints at a 13-pixel font, as the root of a picture.
std::vector<TCanvasCall> Painting(TExprClass &root) {
    TRecordingCanvas canvas;
    Prepare(root, canvas, -13);
    root.Draw(0, 0, 0, 0);
    return canvas.Calls;
}

void CollectNodes(const TExprClass *chain, std::vector<const TExprClass *> &out) {
    for (const TExprClass *n = chain; n; n = n->Next()) {
        out.push_back(n);
        for (const TExprClass *child : ExprChildren(*n))
            CollectNodes(child, out);
    }
}

} // namespace

TEST(ExprDump, ACopyDumpsAndPaintsLikeItsOriginal) {
    int built = 0;
    for (const std::string &text : SampleFormulas()) {
        PExpr tree = Build(text);
        if (!tree) continue;
        ++built;
        PExpr copy = CloneExpr(tree.get());
        EXPECT_EQ(DumpChain(copy.get()), DumpChain(tree.get())) << text;
        EXPECT_TRUE(Painting(*copy) == Painting(*tree)) << DumpChain(tree.get());
    }
    EXPECT_GT(built, 60);
}

TEST(ExprDump, SubtreesThatDumpAlikePaintAlike) {
    std::map<std::string, std::vector<TCanvasCall>> seen;
    std::vector<PExpr> trees;
    std::vector<const TExprClass *> nodes;
    for (const std::string &text : SampleFormulas())
        if (PExpr tree = Build(text)) {
            CollectNodes(tree.get(), nodes);
            trees.push_back(std::move(tree));
        }
    for (const TExprClass *n : nodes) {
        // The node alone, without its siblings and its parent.
        PExpr alone = ExprKindOf(*n).Clone(*n, CloneExpr);
        const std::string dump = DumpExpr(alone.get());
        std::vector<TCanvasCall> painting = Painting(*alone);
        const auto [at, added] = seen.emplace(dump, std::move(painting));
        if (!added) {
            EXPECT_TRUE(at->second == Painting(*alone)) << dump;
        }
    }
    EXPECT_GT(seen.size(), 300u);
}

TEST(ExprDump, TextsAndNumbers) {
    EXPECT_EQ(DumpExpr(std::make_unique<TExprClass>().get()), "(Class)");
    EXPECT_EQ(Tree("String(\"ф\"\"\\\")"), "(Simple \"ф\\\"\\\\\")");
    EXPECT_EQ(DumpExpr(std::make_unique<TExprNumber>(0.5, true).get()), "(Number 0.5 exp)");
    EXPECT_EQ(DumpExpr(std::make_unique<TExprNumber>(1e20, false).get()), "(Number 1e+20)");
    EXPECT_EQ(DumpExpr(std::make_unique<TExprNumber>(-0.25, false).get()), "(Number -0.25)");
    EXPECT_EQ(Tree("Num(0.00012,3,2,1)"), "(ExpNumber 0.00012 3 2 1)");
    EXPECT_EQ(DumpExpr(std::make_unique<TExprChain>().get()), "(Chain _)");
}

TEST(ExprDump, NodeAloneOrWithItsSiblings) {
    PExpr row = std::make_unique<TExprVar>("a");
    row->SetNext(std::make_unique<TExprSign>(43));
    row->Next()->SetNext(std::make_unique<TExprVar>("b"));
    EXPECT_EQ(DumpExpr(row.get()), "(Var \"a\")");
    EXPECT_EQ(DumpChain(row.get()), "(Var \"a\") (Sign 43) (Var \"b\")");
    EXPECT_EQ(DumpExpr(nullptr), "_");
    EXPECT_EQ(CloneExpr(nullptr), nullptr);
}
