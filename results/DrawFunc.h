// The formula font: the one font every formula picture is typeset in. It lives from the creation
// of the results window to its destruction.
#pragma once

#include "formula/draw/Canvas.h"
#include "formula/draw/ExprFont.h"
#include "formula/draw/ExprPicture.h"
#include "results/QtCanvas.h"

#include <cstdint>
#include <memory>
#include <string_view>

#include <QImage>

// Null outside InitFormulaFont .. DoneFormulaFont.
extern std::unique_ptr<TExprFont> FormulaFont;

// Colours of the leading and trailing text of a formula picture.
extern TColor PrefixColor;
extern TColor SuffixColor;

// Creates FormulaFont ("Comic Sans MS", everything else the defaults) and sets both colours to
// black. A second call starts over with a fresh font.
void InitFormulaFont();

// Frees FormulaFont; harmless when there is none.
void DoneFormulaFont();

// The point size of FormulaFont for every picture built afterwards; ignored when there is no font.
void SetFormulaFontSize(int32_t size);

// Formula pictures.

class QPainter;
class QRect;
class TCanvas;
class TExprChain;

// The height of the picture painted last by DrawFormula or DrawFramedFormula; 0 before the first.
extern int32_t LastFormulaHeight;

// Where a picture is laid out: on a surface of the picture's own size (what the program uses), or
// on the classic 2000 x 1000 surface filled white and then cropped. Both give the same pixels and
// sizes for every formula that fits the classic surface.
enum class TPictureSurface { Sized, Fixed };

// A formula text laid out in the formula font between a leading and a trailing text (the
// assembly of formula/draw/ExprPicture.h on a Qt canvas), ready to be painted on any surface: a
// bitmap at any device pixel ratio, or vector graphics on a PDF or SVG painter. The laid-out tree
// is the picture's recording: painting it again measures nothing, so each target replays it at
// its own resolution while the picture keeps its nominal size. Needs FormulaFont. The
// constructor throws EIncorrectExpr for a formula error and for a picture larger than
// MaxFormulaPictureSide in either direction.
class TFormulaPicture {
public:
    TFormulaPicture(std::string_view prefix, std::string_view formula, std::string_view suffix);
    ~TFormulaPicture();
    TFormulaPicture(const TFormulaPicture &) = delete;
    TFormulaPicture &operator=(const TFormulaPicture &) = delete;

    // The nominal picture: the laid-out chain's width and height plus 4, in 96-dpi pixels.
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    // The chain of the five nodes (two empty heads, prefix, formula, suffix).
    TExprChain &Chain();

    // Paints the picture with its top-left corner at (x, y): white, the formula's box from
    // (x + 5, y + 5), nothing outside the picture's rectangle; framed adds the one-pixel black
    // frame on the picture's outermost pixels and draws the box from (x + 2, y + 2), one blank
    // pixel inside the frame all round.
    void Paint(QPainter &painter, int32_t x, int32_t y, bool framed = false,
               TShapeDrawing drawing = TShapeDrawing::Smooth);
    // The same without the white background and without the clip: also the ink that reaches
    // beyond the nominal rectangle (an italic letter's overhang, a radical's foot).
    void PaintInk(QPainter &painter, int32_t x, int32_t y, bool framed, TShapeDrawing drawing);
    // The picture as a new bitmap of Width() x Height() pixels times ratio, whose device pixel
    // ratio is ratio.
    QImage Bitmap(TPictureSurface surface = TPictureSurface::Sized, bool framed = false,
                  TShapeDrawing drawing = TShapeDrawing::Smooth, int ratio = 1);
    // The smallest rectangle, in device pixels at ratio with the picture's top-left corner at
    // the origin, that holds every pixel PaintInk inks; empty when nothing is inked.
    QRect InkRect(bool framed, TShapeDrawing drawing, int ratio);

private:
    void DrawChain(QPainter &painter, int32_t x, int32_t y, TShapeDrawing drawing, bool framed);
    void DrawFrame(QPainter &painter, int32_t x, int32_t y);

    std::unique_ptr<TQtCanvas> FCanvas;
    std::unique_ptr<TPictureLayout> FLayout;
    int32_t FWidth = 0, FHeight = 0;
    // How far ink may reach beyond the nominal rectangle: the formula font's em, twice.
    int32_t FOverhang = 0;
};

// A new picture of formula with prefix before and suffix after it. Throws EIncorrectExpr.
QImage FormulaBitmapEx(std::string_view prefix, std::string_view formula, std::string_view suffix,
                       TPictureSurface surface = TPictureSurface::Sized,
                       TShapeDrawing drawing = TShapeDrawing::Smooth);
// The picture with a blank before and after the formula.
QImage FormulaBitmap(std::string_view formula, TShapeDrawing drawing = TShapeDrawing::Smooth);

// The height of text's extent in the font selected into the drawing context.
int32_t TextHeightOf(TCanvas &dc, std::string_view text);

// Paints the picture of formula opaquely with its top-left corner at (x, y) and sets
// LastFormulaHeight. On a formula error nothing is painted and LastFormulaHeight keeps its value.
void DrawFormula(std::string_view formula, QPainter &canvas, int32_t x, int32_t y);
// The same with a one-pixel black frame on the picture's own border.
void DrawFramedFormula(std::string_view formula, QPainter &canvas, int32_t x, int32_t y);
