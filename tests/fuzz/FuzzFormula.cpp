// libFuzzer target: parses arbitrary bytes as a formula text and lays out and paints whatever
// parses, as a formula picture does, on the recording canvas, and exports it as LaTeX, MathML and
// speech. Besides the sanitizers' findings it checks that a deep copy of the tree dumps like the
// tree and that no export holds a control character.
#include "formula/draw/ExprDraw.h"
#include "formula/draw/ExprPicture.h"
#include "formula/export/ExprExport.h"
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

    // The picture as the program assembles it, on the recording canvas.
    TPictureLayout picture(" ", std::move(body), " ");
    TRecordingCanvas canvas;
    TExprFont font;
    font.SetName("Comic Sans MS");
    // The program's three sizes, chosen by the input so every size gets exercised.
    font.SetSize(size % 3 == 0 ? 10 : size % 3 == 1 ? 8 : 6);
    picture.Measure(font, &canvas);
    // A picture beyond the limit is refused before anything is painted.
    if (picture.Fits()) {
        SetExprDebugBoxes(size % 2 == 0);
        picture.Draw(0, 0);
    }
    for (const std::string &out : {ExprToLatex(picture.Chain()), ExprToMathML(picture.Chain()),
                                   ExprToSpeech(picture.Chain())})
        for (unsigned char c : out)
            if (c < 0x20) {
                std::fprintf(stderr, "a control character in an export of %s\n", dump.c_str());
                std::abort();
            }
    return 0;
}
