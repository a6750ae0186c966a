#include "results/DrawFunc.h"

#include "formula/draw/ExprPicture.h"
#include "formula/make/ExprMake.h"
#include "results/QtCanvas.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
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
    FOverhang = static_cast<int32_t>(std::clamp<int64_t>(
        2 * std::abs(int64_t{FormulaFont->Height()}), 8, 4 * MaxFormulaPictureSide));
}

TFormulaPicture::~TFormulaPicture() {
    // The tree goes before the surface it refers to.
    FLayout.reset();
}

TExprChain &TFormulaPicture::Chain() {
    return FLayout->Chain();
}

void TFormulaPicture::DrawChain(QPainter &painter, int32_t x, int32_t y, TShapeDrawing drawing,
                                bool framed) {
    FCanvas->SetPainter(&painter);
    FCanvas->SetDrawing(drawing);
    FLayout->Draw(x, y, framed);
    FCanvas->SetPainter(nullptr);
}

void TFormulaPicture::DrawFrame(QPainter &painter, int32_t x, int32_t y) {
    FCanvas->SetPainter(&painter);
    FLayout->DrawFrame(x, y);
    FCanvas->SetPainter(nullptr);
}

void TFormulaPicture::Paint(QPainter &painter, int32_t x, int32_t y, bool framed,
                            TShapeDrawing drawing) {
    painter.save();
    const QRect box(x, y, FWidth, FHeight);
    painter.setClipRect(box, Qt::IntersectClip);
    painter.fillRect(box, Qt::white);
    DrawChain(painter, x, y, drawing, framed);
    if (framed) DrawFrame(painter, x, y);
    painter.restore();
}

void TFormulaPicture::PaintInk(QPainter &painter, int32_t x, int32_t y, bool framed,
                               TShapeDrawing drawing) {
    painter.save();
    DrawChain(painter, x, y, drawing, framed);
    if (framed) DrawFrame(painter, x, y);
    painter.restore();
}

QImage TFormulaPicture::Bitmap(TPictureSurface surface, bool framed, TShapeDrawing drawing,
                               int ratio) {
    ratio = std::max(1, ratio);
    const bool fixed = surface == TPictureSurface::Fixed;
    QImage image(ratio * (fixed ? FixedSurfaceWidth : FWidth),
                 ratio * (fixed ? FixedSurfaceHeight : FHeight), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawChain(painter, 0, 0, drawing, framed);
    }
    // Resized keeping the top-left part.
    if (fixed) image = image.copy(0, 0, ratio * FWidth, ratio * FHeight);
    if (framed) {
        QPainter painter(&image);
        DrawFrame(painter, 0, 0);
    }
    return image;
}

QRect TFormulaPicture::InkRect(bool framed, TShapeDrawing drawing, int ratio) {
    ratio = std::max(1, ratio);
    // Painted on white in bands, so a large picture never needs one huge bitmap; any pixel that
    // is not pure white is ink.
    const int64_t pad = FOverhang;
    const int64_t width = ratio * (FWidth + 2 * pad);
    const int64_t height = ratio * (FHeight + 2 * pad);
    const int64_t band =
        std::clamp<int64_t>((int64_t{1} << 24) / std::max<int64_t>(1, width), 1, height);
    int64_t left = width, right = -1, top = height, bottom = -1;
    QImage strip(static_cast<int>(width), static_cast<int>(band), QImage::Format_RGB32);
    for (int64_t y0 = 0; y0 < height; y0 += band) {
        strip.fill(Qt::white);
        {
            QPainter painter(&strip);
            painter.translate(0, static_cast<qreal>(-y0));
            painter.scale(ratio, ratio);
            PaintInk(painter, static_cast<int32_t>(pad), static_cast<int32_t>(pad), framed,
                     drawing);
        }
        const int64_t rows = std::min(band, height - y0);
        for (int64_t r = 0; r < rows; ++r) {
            const auto *line = reinterpret_cast<const QRgb *>(strip.constScanLine(int(r)));
            int64_t first = -1, last = -1;
            for (int64_t c = 0; c < width; ++c)
                if ((line[c] & 0xFFFFFF) != 0xFFFFFF) {
                    if (first < 0) first = c;
                    last = c;
                }
            if (first < 0) continue;
            left = std::min(left, first);
            right = std::max(right, last);
            top = std::min(top, y0 + r);
            bottom = y0 + r;
        }
    }
    if (right < 0) return QRect();
    const int64_t shift = ratio * pad;
    return QRect(static_cast<int>(left - shift), static_cast<int>(top - shift),
                 static_cast<int>(right - left + 1), static_cast<int>(bottom - top + 1));
}

QImage FormulaBitmapEx(std::string_view prefix, std::string_view formula, std::string_view suffix,
                       TPictureSurface surface, TShapeDrawing drawing) {
    TFormulaPicture picture(prefix, formula, suffix);
    return picture.Bitmap(surface, false, drawing);
}

QImage FormulaBitmap(std::string_view formula, TShapeDrawing drawing) {
    return FormulaBitmapEx(" ", formula, " ", TPictureSurface::Sized, drawing);
}

int32_t TextHeightOf(TCanvas &dc, std::string_view text) {
    return dc.TextExtent(text).cy;
}

namespace {

void DrawPicture(std::string_view formula, QPainter &canvas, int32_t x, int32_t y, bool framed) {
    // Painted through the painter, so a scaled surface gets the picture at its full resolution.
    TFormulaPicture picture(" ", formula, " ");
    picture.Paint(canvas, x, y, framed);
    LastFormulaHeight = picture.Height();
}

} // namespace

void DrawFormula(std::string_view formula, QPainter &canvas, int32_t x, int32_t y) {
    DrawPicture(formula, canvas, x, y, false);
}

void DrawFramedFormula(std::string_view formula, QPainter &canvas, int32_t x, int32_t y) {
    DrawPicture(formula, canvas, x, y, true);
}
