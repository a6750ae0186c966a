// The formula engine's drawing surface on a QPainter, so one implementation paints on a QImage,
// a QPdfWriter or a QSvgGenerator. It reproduces the classic raster surface the layout rules are
// written against:
// - a font's signed pixel height: negative = character (em) height, positive = cell height;
// - text extent height = the cell (win ascent + win descent of the font's OS/2 table, scaled),
//   text metrics from usWinAscent/usWinDescent, outline metrics from sTypoAscender/Descender;
// - ABC widths from the glyph bearings, glyph black boxes from the tight glyph bounds, both for
//   8-bit (Windows-1251) codes only: codes above 255 and the unassigned byte 0x98 fail;
// - text written with the top-left corner of its cell at the point, transparent, in the font's
//   colour; a font with an escapement (1800: upside down) turns about that point;
// - shapes covering columns l .. r - 1 and rows t .. b - 1, a line excluding its end point,
//   closed Bezier figures filled with the alternate (even-odd) rule.
//
// Shapes are drawn in one of two ways (TShapeDrawing). Classic draws them aliased, pixel for pixel
// as the classic surface does. Smooth antialiases curves, slanted edges and ellipses over the same
// geometry (the one-pixel pen centred on the pixel the classic pen covers), while rectangles and
// horizontal or vertical lines stay on whole pixels, so strokes and bars keep crisp edges. Under a
// scaling painter (a screen with a device pixel ratio above 1, a scaled PNG) both keep the pen one
// picture pixel wide instead of one device pixel. Smooth shapes on a bitmap come from a cache of
// tiles (QtShapeTiles.h), fonts and measured texts from a cache shared by all canvases
// (QtFontCache.h).
#pragma once

#include "formula/draw/Canvas.h"
#include "results/QtFontCache.h"

#include <QPainterPath>
#include <QPen>

#include <array>
#include <cstddef>
#include <memory>

class QPainter;

enum class TShapeDrawing : uint8_t { Smooth, Classic };

class TQtCanvas : public TCanvas {
public:
    // Without a painter the surface only measures; text output and shapes are then ignored.
    explicit TQtCanvas(QPainter *painter = nullptr, int32_t dpiX = 96, int32_t dpiY = 96);
    ~TQtCanvas() override;
    TQtCanvas(const TQtCanvas &) = delete;
    TQtCanvas &operator=(const TQtCanvas &) = delete;

    QPainter *Painter() const { return FPainter; }
    void SetPainter(QPainter *painter) { FPainter = painter; }
    void SetDpi(int32_t dpiX, int32_t dpiY) {
        FDpiX = dpiX;
        FDpiY = dpiY;
    }
    // Classic unless set otherwise.
    TShapeDrawing Drawing() const { return FDrawing; }
    void SetDrawing(TShapeDrawing drawing) { FDrawing = drawing; }

    const TFontData &Font() const override { return FFont; }
    void SetFont(const TFontData &font) override;
    TSize TextExtent(std::string_view text) override;
    TSize TextExtentW(std::u16string_view text) override;
    bool CharABCWidths(uint32_t code, TABC &abc) override;
    bool GlyphMetrics(uint32_t code, TGlyphMetrics &gm) override;
    TTextMetrics TextMetrics() override;
    TOutlineTextMetrics OutlineTextMetrics() override;
    int32_t DpiX() const override { return FDpiX; }
    int32_t DpiY() const override { return FDpiY; }
    void TextOut(int32_t x, int32_t y, std::string_view text) override;
    void TextOutW(int32_t x, int32_t y, std::u16string_view text) override;
    void SetPen(TPenStyle style, int32_t width, TColor color) override;
    void SetBrush(TBrushStyle style, TColor color) override;
    void FillRect(int32_t l, int32_t t, int32_t r, int32_t b) override;
    void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override;
    void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override;
    void Polygon(std::span<const TPoint> points) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    // Inside BeginPath .. EndPath, MoveTo, LineTo, Polygon and PolyBezier add to the path
    // instead of painting; PolyBezier always starts a new figure at its first point.
    void BeginPath() override;
    void PolyBezier(std::span<const TPoint> points) override;
    void CloseFigure() override;
    void EndPath() override;
    void StrokeAndFillPath() override;

private:
    TQtFont &SelectedFont();
    void DrawRun(int32_t x, int32_t y, const TQtTextRun &run);
    // Sets pen, brush and antialiasing for a shape; returns how far the shape's points are to
    // move (right and down) so the pen's centre line runs through the pixels' centres.
    qreal PrepareShapes(bool pen, bool brush);
    // Paints a shape with the pen and brush asked for, moved for the smooth drawing.
    void DrawShape(QPainterPath path, bool pen, bool brush);
    QPen ShapePen() const;
    void FillSolid(int64_t l, int64_t t, int64_t r, int64_t b, TColor color);

    QPainter *FPainter;
    int32_t FDpiX, FDpiY;
    TFontData FFont;
    std::shared_ptr<TQtFont> FEntry;
    // The last faces selected: formulas alternate between a few (upright, italic, reduced).
    std::array<std::shared_ptr<TQtFont>, 4> FRecent;
    std::size_t FRecentNext = 0;
    TShapeDrawing FDrawing = TShapeDrawing::Classic;
    TPenStyle FPenStyle = TPenStyle::Solid;
    int32_t FPenWidth = 1;
    TColor FPenColor = clBlack;
    TBrushStyle FBrushStyle = TBrushStyle::Solid;
    TColor FBrushColor = clWhite;
    TPoint FPosition;
    bool FInPath = false;
    QPainterPath FPath;
};
