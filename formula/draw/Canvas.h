// The drawing surface the formula nodes measure and paint on. It follows the classic raster
// surface the layout rules are written against: integer pixels, a current font, pen and brush,
// right- and bottom-exclusive shapes, text written with its cell's top-left corner at the point
// and a transparent background.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// 0x00BBGGRR, as the classic RGB macro builds it.
using TColor = uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t RUSSIAN_CHARSET = 204;

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
enum TFontPitch : uint8_t { fpDefault = 0, fpFixed = 1, fpVariable = 2 };

// The attributes of a font as a surface selects it.
struct TFontData {
    std::string Name = "MS Sans Serif"; // face name, Windows-1251
    int32_t Height = -11; // signed pixel height: negative = character (em) height, positive = cell
    uint8_t Style = 0;    // TFontStyle bits
    uint8_t Charset = DEFAULT_CHARSET;
    uint8_t Pitch = fpDefault;
    TColor Color = clBlack; // text colour
    int32_t Escapement = 0; // tenths of a degree, counter-clockwise; 1800 writes text upside down

    bool operator==(const TFontData &) const = default;
};

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPoint &) const = default;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const TSize &) const = default;
};

// A = space before the ink, B = ink width, C = space after; A + B + C = advance.
struct TABC {
    int32_t A = 0;
    uint32_t B = 0;
    int32_t C = 0;
};

// Black box of a glyph; the origin is the box's top-left corner relative to the character
// origin on the baseline, y growing upward.
struct TGlyphMetrics {
    uint32_t BlackBoxX = 0;
    uint32_t BlackBoxY = 0;
    TPoint GlyphOrigin;
    int16_t CellIncX = 0;
    int16_t CellIncY = 0;
};

struct TTextMetrics {
    int32_t Height = 0; // Ascent + Descent: the text cell
    int32_t Ascent = 0;
    int32_t Descent = 0;
    int32_t InternalLeading = 0;
    int32_t ExternalLeading = 0;
    int32_t AveCharWidth = 0;
    int32_t MaxCharWidth = 0;
};

// Typographic ascent and descent (the descent negative), scaled to the font's pixel size.
struct TOutlineTextMetrics {
    int32_t Ascent = 0;
    int32_t Descent = 0;
    uint32_t EmSquare = 0;
};

enum class TPenStyle : uint8_t { Solid, Clear };
enum class TBrushStyle : uint8_t { Solid, Clear };

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // The current font; measuring and text output use it.
    virtual const TFontData &Font() const = 0;
    virtual void SetFont(const TFontData &font) = 0;

    // Extent of a text in the current font: cx = advance width, cy = cell height
    // (ascent + descent) whatever the text. 8-bit texts are Windows-1251.
    virtual TSize TextExtent(std::string_view text) = 0;
    virtual TSize TextExtentW(std::u16string_view text) = 0;
    int32_t TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int32_t TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // ABC widths of one character through the 8-bit interface: code is a Windows-1251 byte;
    // codes above 255 (and unassigned bytes) fail.
    virtual bool CharABCWidths(uint32_t code, TABC &abc) = 0;
    // Black-box metrics of one character (8-bit, Windows-1251), identity transformation.
    virtual bool GlyphMetrics(uint32_t code, TGlyphMetrics &gm) = 0;
    virtual TTextMetrics TextMetrics() = 0;
    virtual TOutlineTextMetrics OutlineTextMetrics() = 0;

    // Device resolution in pixels per inch.
    virtual int32_t DpiX() const = 0;
    virtual int32_t DpiY() const = 0;

    // Text output in the current font and its colour, transparent background, the top-left
    // corner of the text cell at (x, y). A font with Escapement 1800 is turned by 180 degrees
    // about that point.
    virtual void TextOut(int32_t x, int32_t y, std::string_view text) = 0;
    virtual void TextOutW(int32_t x, int32_t y, std::u16string_view text) = 0;

    virtual void SetPen(TPenStyle style, int32_t width, TColor color) = 0;
    virtual void SetBrush(TBrushStyle style, TColor color) = 0;

    // Shapes cover columns l .. r - 1 and rows t .. b - 1.
    // FillRect uses the brush only; Rectangle, Ellipse and Polygon fill with the brush and
    // outline with the pen, the outline drawn inside.
    virtual void FillRect(int32_t l, int32_t t, int32_t r, int32_t b) = 0;
    virtual void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) = 0;
    virtual void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) = 0;
    virtual void Polygon(std::span<const TPoint> points) = 0;

    // Lines with the pen; the end point of LineTo is not drawn.
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;

    // Paths of cubic Bezier segments: PolyBezier takes a start point and groups of three
    // (two control points, an end point). StrokeAndFillPath outlines with the pen and fills
    // with the brush using the alternate (even-odd) rule, then discards the path.
    virtual void BeginPath() = 0;
    virtual void PolyBezier(std::span<const TPoint> points) = 0;
    virtual void CloseFigure() = 0;
    virtual void EndPath() = 0;
    virtual void StrokeAndFillPath() = 0;
};
