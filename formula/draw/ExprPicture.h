// A formula picture as the program assembles it, without any drawing toolkit: the chain of two
// empty heads, the prefix, the formula and the suffix, each part in its colour; the picture's
// size (the chain plus 4), the margin the formula's box starts at and the size limit. The
// results window paints it on Qt surfaces, the fuzzer and the tests on the recording canvas.
#pragma once

#include "formula/draw/Canvas.h"
#include "formula/draw/ExprClass.h"
#include "formula/draw/ExprFont.h"

#include <cstdint>
#include <memory>
#include <string_view>

class TExprChain;

// The longest side of a formula picture; a larger one is refused ("Формула слишком велика").
constexpr int32_t MaxFormulaPictureSide = 16384;
// The formula's box starts this far from the picture's top-left corner in both directions.
constexpr int32_t FormulaPictureMargin = 5;
// In a framed picture it starts this far in instead: the picture, the box plus 4, then leaves
// one blank pixel between the box and the frame on every side, where the plain picture's margin
// would put the frame on the box's own last column and row.
constexpr int32_t FramedPictureMargin = 2;

class TPictureLayout {
public:
    // body: the parsed formula, owned from now on. The colours are those of the prefix, the
    // formula and the suffix.
    TPictureLayout(std::string_view prefix, PExpr body, std::string_view suffix,
                   TColor prefixColor = clBlack, TColor bodyColor = clBlack,
                   TColor suffixColor = clBlack);
    ~TPictureLayout();
    TPictureLayout(const TPictureLayout &) = delete;
    TPictureLayout &operator=(const TPictureLayout &) = delete;

    // Lays the chain out in font on canvas (which must outlive this layout). The font goes in
    // before the surface: the tree ends up in the same state as with the surface first, but
    // every node measures its line metrics once, in its final font.
    void Measure(const TExprFont &font, TCanvas *canvas);

    // After Measure: whether the picture is within MaxFormulaPictureSide both ways.
    bool Fits() const { return FFits; }
    // The picture: the chain's width and height plus 4. Negative spaces step back; a formula
    // that steps back beyond its start has no room at all and gets one white column or row.
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }

    // Paints the chain for a picture whose top-left corner is at (x, y), placed for a frame
    // around it when framed.
    void Draw(int32_t x, int32_t y, bool framed = false);
    // The one-pixel frame on the picture's outermost pixels, with the canvas's pen.
    void DrawFrame(int32_t x, int32_t y);

    TExprChain &Chain() { return *FChain; }

private:
    std::unique_ptr<TExprChain> FChain;
    TCanvas *FCanvas = nullptr;
    int32_t FWidth = 0, FHeight = 0;
    bool FFits = false;
};
