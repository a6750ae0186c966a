#include "formula/draw/ExprPicture.h"

#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"

#include <algorithm>

TPictureLayout::TPictureLayout(std::string_view prefix, PExpr body, std::string_view suffix,
                               TColor prefixColor, TColor bodyColor, TColor suffixColor) {
    // Two empty heads, the prefix, the formula and the suffix, appended to the first.
    PExpr head = std::make_unique<TExprVar>("");
    head->AddNext(std::make_unique<TExprSimple>(""));
    auto prefixNode = std::make_unique<TExprVar>(std::string(prefix));
    TExprClass *c = prefixNode.get();
    head->AddNext(std::move(prefixNode));
    TExprClass *d = body.get();
    head->AddNext(std::move(body));
    auto suffixNode = std::make_unique<TExprVar>(std::string(suffix));
    TExprClass *e = suffixNode.get();
    head->AddNext(std::move(suffixNode));
    // SetColor also colours the following siblings, so the order gives each part its colour.
    c->SetColor(prefixColor);
    if (d) d->SetColor(bodyColor);
    e->SetColor(suffixColor);
    FChain = std::make_unique<TExprChain>(std::move(head));
}

TPictureLayout::~TPictureLayout() = default;

void TPictureLayout::Measure(const TExprFont &font, TCanvas *canvas) {
    FCanvas = canvas;
    FChain->SetFont(font);
    FChain->SetCanvas(canvas);
    const int64_t w = int64_t{FChain->Width()} + 4;
    const int64_t h = int64_t{FChain->Height()} + 4;
    FFits = w <= MaxFormulaPictureSide && h <= MaxFormulaPictureSide;
    FWidth = static_cast<int32_t>(std::clamp<int64_t>(w, 1, MaxFormulaPictureSide + 1));
    FHeight = static_cast<int32_t>(std::clamp<int64_t>(h, 1, MaxFormulaPictureSide + 1));
}

void TPictureLayout::Draw(int32_t x, int32_t y, bool framed) {
    const int32_t margin = framed ? FramedPictureMargin : FormulaPictureMargin;
    FChain->Draw(x + margin, y + margin, 0, 0);
}

void TPictureLayout::DrawFrame(int32_t x, int32_t y) {
    FCanvas->SetPen(TPenStyle::Solid, 1, clBlack);
    FCanvas->MoveTo(x, y);
    FCanvas->LineTo(x + FWidth - 1, y);
    FCanvas->LineTo(x + FWidth - 1, y + FHeight - 1);
    FCanvas->LineTo(x, y + FHeight - 1);
    FCanvas->LineTo(x, y);
}
