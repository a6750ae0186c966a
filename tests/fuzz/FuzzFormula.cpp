// libFuzzer target: parses arbitrary bytes as a formula text and lays out and paints whatever
// parses, as a formula picture does, on the recording canvas. Besides the sanitizers' findings it
// checks that a deep copy of the tree dumps like the tree.
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprClone.h"
#include "formula/make/ExprDump.h"
#include "formula/make/ExprMake.h"
#include "tests/support/RecordingCanvas.h"

#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    TExprBuilder builder;
    PExpr body;
    try {
        body = builder.BuildExpr(text);
    } catch (const EIncorrectExpr &) {
        return 0;
    }
    const std::string dump = DumpExpr(body.get());
    if (DumpChain(CloneExpr(body.get()).get()) != dump) {
        std::fprintf(stderr, "copy differs from the tree: %s\n", dump.c_str());
        std::abort();
    }

    // The picture's chain: two empty heads, the prefix, the formula and the suffix.
    PExpr head = std::make_unique<TExprVar>("");
    head->AddNext(std::make_unique<TExprSimple>(""));
    head->AddNext(std::make_unique<TExprVar>(" "));
    head->AddNext(std::move(body));
    head->AddNext(std::make_unique<TExprVar>(" "));
    TExprChain chain(std::move(head));
    TRecordingCanvas canvas;
    TExprFont font;
    font.SetName("Comic Sans MS");
    // The program's three sizes, chosen by the input so every size gets exercised.
    font.SetSize(size % 3 == 0 ? 10 : size % 3 == 1 ? 8 : 6);
    chain.SetCanvas(&canvas);
    chain.SetFont(font);
    const int64_t w = int64_t{chain.Width()} + 4, h = int64_t{chain.Height()} + 4;
    // A picture beyond the limit is refused before anything is painted.
    if (w <= 16384 && h <= 16384) {
        SetExprDebugBoxes(size % 2 == 0);
        chain.Draw(5, 5, 0, 0);
    }
    return 0;
}
