#include "results/DrawFunc.h"

#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"
#include "formula/make/ExprMake.h"
#include "results/QtCanvas.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <stdexcept>

std::unique_ptr<TExprFont> FormulaFont;
TColor PrefixColor = clBlack;
TColor SuffixColor = clBlack;

void InitFormulaFont() {
    FormulaFont = std::make_unique<TExprFont>();
    FormulaFont->SetName("Comic Sans MS");
    PrefixColor = clBlack;
    SuffixColor = clBlack;
}

void DoneFormulaFont() {
    FormulaFont.reset();
}

void SetFormulaFontSize(int32_t size) {
    if (FormulaFont) FormulaFont->SetSize(size);
}

// Formula pictures

int32_t LastFormulaHeight = 0;

namespace {

// The classic surface every picture was laid out on before it was cropped.
constexpr int FixedSurfaceWidth = 2000;
constexpr int FixedSurfaceHeight = 1000;
// The formula's box starts here on the picture.
constexpr int32_t Margin = 5;

// The frame of DrawFramedFormula, drawn with the canvas's pen on the outermost pixels.
void DrawFrame(TCanvas &canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    canvas.SetPen(TPenStyle::Solid, 1, clBlack);
    canvas.MoveTo(x, y);
    canvas.LineTo(x + w - 1, y);
    canvas.LineTo(x + w - 1, y + h - 1);
    canvas.LineTo(x, y + h - 1);
    canvas.LineTo(x, y);
}

} // namespace

TFormulaPicture::TFormulaPicture(std::string_view prefix, std::string_view formula,
                                 std::string_view suffix) {
    if (!FormulaFont) throw std::logic_error("formula pictures need the formula font");
    TExprBuilder builder;
    PExpr body = builder.BuildExpr(formula);
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
    c->SetColor(PrefixColor);
    d->SetColor(FormulaFont->Color());
    e->SetColor(SuffixColor);
    FChain = std::make_unique<TExprChain>(std::move(head));
    // Measured without a painter; the painter is attached only for painting.
    FCanvas = std::make_unique<TQtCanvas>();
    // The font goes in before the surface: the tree ends up in the same state as with the
    // surface first, but every node measures its line metrics once, in its final font.
    FChain->SetFont(*FormulaFont);
    FChain->SetCanvas(FCanvas.get());
    const int64_t w = static_cast<int64_t>(FChain->Width()) + 4;
    const int64_t h = static_cast<int64_t>(FChain->Height()) + 4;
    if (w > MaxFormulaPictureSide || h > MaxFormulaPictureSide)
        throw EIncorrectExpr(ExprMessages::TooLarge());
    // Negative spaces step back; a formula that steps back beyond its start has no room at all,
    // and gets a picture of one white column rather than none.
    FWidth = static_cast<int32_t>(std::max<int64_t>(w, 1));
    FHeight = static_cast<int32_t>(std::max<int64_t>(h, 1));
}

TFormulaPicture::~TFormulaPicture() {
    // The tree goes before the surface it refers to.
    FChain.reset();
}

void TFormulaPicture::DrawChain(QPainter &painter, int32_t x, int32_t y) {
    FCanvas->SetPainter(&painter);
    FChain->Draw(x + Margin, y + Margin, 0, 0);
    FCanvas->SetPainter(nullptr);
}

void TFormulaPicture::Paint(QPainter &painter, int32_t x, int32_t y, bool framed) {
    painter.save();
    const QRect box(x, y, FWidth, FHeight);
    painter.setClipRect(box, Qt::IntersectClip);
    painter.fillRect(box, Qt::white);
    DrawChain(painter, x, y);
    if (framed) {
        FCanvas->SetPainter(&painter);
        DrawFrame(*FCanvas, x, y, FWidth, FHeight);
        FCanvas->SetPainter(nullptr);
    }
    painter.restore();
}

QImage TFormulaPicture::Bitmap(TPictureSurface surface, bool framed) {
    QImage image;
    if (surface == TPictureSurface::Fixed) {
        QImage full(FixedSurfaceWidth, FixedSurfaceHeight, QImage::Format_RGB32);
        full.fill(Qt::white);
        {
            QPainter painter(&full);
            DrawChain(painter, 0, 0);
        }
        // Resized keeping the top-left part.
        image = full.copy(0, 0, FWidth, FHeight);
    } else {
        image = QImage(FWidth, FHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawChain(painter, 0, 0);
    }
    if (framed) {
        QPainter painter(&image);
        FCanvas->SetPainter(&painter);
        DrawFrame(*FCanvas, 0, 0, FWidth, FHeight);
        FCanvas->SetPainter(nullptr);
    }
    return image;
}

QImage FormulaBitmapEx(std::string_view prefix, std::string_view formula, std::string_view suffix,
                       TPictureSurface surface) {
    TFormulaPicture picture(prefix, formula, suffix);
    return picture.Bitmap(surface);
}

QImage FormulaBitmap(std::string_view formula) {
    return FormulaBitmapEx(" ", formula, " ");
}

int32_t TextHeightOf(TCanvas &dc, std::string_view text) {
    return dc.TextExtent(text).cy;
}

namespace {

void DrawPicture(std::string_view formula, QPainter &canvas, int32_t x, int32_t y, bool framed) {
    TFormulaPicture picture(" ", formula, " ");
    const QImage image = picture.Bitmap(TPictureSurface::Sized, framed);
    canvas.drawImage(x, y, image);
    LastFormulaHeight = image.height();
}

} // namespace

void DrawFormula(std::string_view formula, QPainter &canvas, int32_t x, int32_t y) {
    DrawPicture(formula, canvas, x, y, false);
}

void DrawFramedFormula(std::string_view formula, QPainter &canvas, int32_t x, int32_t y) {
    DrawPicture(formula, canvas, x, y, true);
}
