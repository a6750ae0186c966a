#include "results/DrawFunc.h"

#include "formula/draw/ExprPicture.h"
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

} // namespace

TFormulaPicture::TFormulaPicture(std::string_view prefix, std::string_view formula,
                                 std::string_view suffix) {
    if (!FormulaFont) throw std::logic_error("formula pictures need the formula font");
    TExprBuilder builder;
    FLayout = std::make_unique<TPictureLayout>(prefix, builder.BuildExpr(formula), suffix,
                                               PrefixColor, FormulaFont->Color(), SuffixColor);
    // Measured without a painter; the painter is attached only for painting.
    FCanvas = std::make_unique<TQtCanvas>();
    FLayout->Measure(*FormulaFont, FCanvas.get());
    if (!FLayout->Fits()) throw EIncorrectExpr(ExprMessages::TooLarge());
    FWidth = FLayout->Width();
    FHeight = FLayout->Height();
}

TFormulaPicture::~TFormulaPicture() {
    // The tree goes before the surface it refers to.
    FLayout.reset();
}

TExprChain &TFormulaPicture::Chain() {
    return FLayout->Chain();
}

void TFormulaPicture::DrawChain(QPainter &painter, int32_t x, int32_t y) {
    FCanvas->SetPainter(&painter);
    FLayout->Draw(x, y);
    FCanvas->SetPainter(nullptr);
}

void TFormulaPicture::DrawFrame(QPainter &painter, int32_t x, int32_t y) {
    FCanvas->SetPainter(&painter);
    FLayout->DrawFrame(x, y);
    FCanvas->SetPainter(nullptr);
}

void TFormulaPicture::Paint(QPainter &painter, int32_t x, int32_t y, bool framed) {
    painter.save();
    const QRect box(x, y, FWidth, FHeight);
    painter.setClipRect(box, Qt::IntersectClip);
    painter.fillRect(box, Qt::white);
    DrawChain(painter, x, y);
    if (framed) DrawFrame(painter, x, y);
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
        DrawFrame(painter, 0, 0);
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
