// A drawing surface for tests: simple fixed metrics, and a record of every drawing call, so
// layout geometry can be asserted exactly from the rules.
//
// Metrics of a font with signed height h:
//   em       = -h when h < 0, else h * 4 / 5 (the cell of a positive height holds the em)
//   ascent   = em, descent = em / 4, text cell height = ascent + descent
//   advance  = em / 2 for every character (0 for an empty text), whatever the style
//   ABC      = (0, advance, 0) for bytes 0..255 except 0x98; codes above 255 fail.
//              SetABC overrides single characters (to model italic overhangs).
//   glyph    = '_': BlackBoxX = advance, BlackBoxY = max(1, em / 13), origin (0, -1);
//              any other character: BlackBoxX = max(1, advance - 2), BlackBoxY = max(1, em * 2 /
//              3), origin (1, em * 2 / 3).
//   outline  = ascent and -descent; resolution 96 x 96 unless set.
// So a 13-pixel font (-13) has cell 16 (13 + 3), advance 6, pen width 1, UnitX = 16 / 27.6.
#pragma once

#include "formula/draw/Canvas.h"

#include <map>
#include <string>
#include <vector>

struct TCanvasCall {
    std::string Kind;          // "TextOut", "TextOutW", "FillRect", "Rectangle", "Ellipse",
                               // "Polygon", "MoveTo", "LineTo", "BeginPath", "PolyBezier",
                               // "CloseFigure", "EndPath", "StrokeAndFillPath"
    std::vector<int32_t> Args; // x, y or l, t, r, b
    std::vector<TPoint> Points;
    std::u16string Text; // text output, as UTF-16
    TFontData Font;      // the font at the time of the call
    TColor PenColor = 0;
    TPenStyle PenStyle = TPenStyle::Solid;
    TColor BrushColor = 0;
    TBrushStyle BrushStyle = TBrushStyle::Solid;

    bool operator==(const TCanvasCall &) const = default;
};

class TRecordingCanvas : public TCanvas {
public:
    explicit TRecordingCanvas(int32_t dpiX = 96, int32_t dpiY = 96) : FDpiX(dpiX), FDpiY(dpiY) {}

    // Metric helpers for a font height, as documented above.
    static int32_t Em(int32_t height);
    static int32_t Ascent(int32_t height) { return Em(height); }
    static int32_t Descent(int32_t height) { return Em(height) / 4; }
    static int32_t CellHeight(int32_t height) { return Ascent(height) + Descent(height); }
    static int32_t Advance(int32_t height) { return Em(height) / 2; }

    void SetABC(unsigned char c, TABC abc) { FABC[c] = abc; }
    void SetDpi(int32_t x, int32_t y) {
        FDpiX = x;
        FDpiY = y;
    }

    std::vector<TCanvasCall> Calls;
    // Measuring calls (TextExtent, TextExtentW, CharABCWidths, GlyphMetrics, TextMetrics,
    // OutlineTextMetrics), counted so tests can see what a cache saved.
    int MeasureCount = 0;

    std::vector<TCanvasCall> CallsOf(const std::string &kind) const;
    void Clear() {
        Calls.clear();
        MeasureCount = 0;
    }

    const TFontData &Font() const override { return FFont; }
    void SetFont(const TFontData &font) override { FFont = font; }
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
    void BeginPath() override;
    void PolyBezier(std::span<const TPoint> points) override;
    void CloseFigure() override;
    void EndPath() override;
    void StrokeAndFillPath() override;

private:
    TCanvasCall &Record(const std::string &kind);

    TFontData FFont;
    int32_t FDpiX, FDpiY;
    TColor FPenColor = clBlack;
    TPenStyle FPenStyle = TPenStyle::Solid;
    TColor FBrushColor = clWhite;
    TBrushStyle FBrushStyle = TBrushStyle::Solid;
    std::map<unsigned char, TABC> FABC;
};
