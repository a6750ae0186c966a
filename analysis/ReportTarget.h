// The results window as the analysis run sees it: image areas to paint text and formula
// pictures on, chart series to fill, labels to set and the formula font size. The analysis layer
// owns these interfaces; the results window (results/RunTarget.h) implements them with widgets,
// zelvano-report with off-screen images, a recorder and a PDF writer. Plain C++, so the run is
// testable without a window. Texts are Windows-1251 unless a name says otherwise.
#pragma once

#include "runtime/Cp1251.h"

#include <cstdint>
#include <string_view>

class TImageArea {
public:
    virtual ~TImageArea() = default;

    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;

    // A rectangle from (0, 0) to (Width, Height) with the surface's default pen and brush:
    // white fill, one-pixel black outline.
    virtual void Clear() = 0;

    // Creates a text font and selects it into the area's drawing context.
    virtual void SelectTextFont(std::string_view face, int32_t points, bool bold,
                                uint8_t charset) = 0;

    // Height of the text's extent in the font selected into the drawing context.
    virtual int32_t TextHeightOf(std::string_view text) = 0;

    // Plain text with its top-left corner at (x, y), transparent background.
    virtual void TextOut(int32_t x, int32_t y, std::string_view text) = 0;
    // The same for a UTF-8 text, for signs the code page lacks (the minus sign "−", the
    // superscript digits of "·10¹²"). By default written in Windows-1251, such signs as "?".
    virtual void TextOutUtf8(int32_t x, int32_t y, std::string_view utf8) {
        TextOut(x, y, Win1251(utf8));
    }

    // Paints the picture of a formula text with its top-left corner at (x, y), opaque, in the
    // formula font of the moment; framed adds the one-pixel frame on the picture's own border.
    // Returns the picture's height (what the run keeps as LastFormulaHeight). A formula error
    // throws EIncorrectExpr and paints nothing.
    virtual int32_t DrawFormula(std::string_view formula, int32_t x, int32_t y, bool framed) = 0;
};

class TChartSeries {
public:
    virtual ~TChartSeries() = default;
    virtual void Clear() = 0;
    virtual void AddXY(double x, double y) = 0;
};

class TResultsTarget {
public:
    virtual ~TResultsTarget() = default;

    // Image1 .. Image9.
    virtual TImageArea &Image(int number) = 0;
    // Series 0 or 1 of Chart1 .. Chart6, Chart11, Chart12.
    virtual TChartSeries &Series(int chart, int index) = 0;
    // Label3 .. Label6 of the results window.
    virtual void SetLabel(int number, std::string_view text) = 0;
    // The point size of the formula font for the pictures that follow.
    virtual void SetFormulaFontSize(int32_t points) = 0;
    // The run is complete: charts that collect their points show them now (once per run).
    virtual void FlushCharts() {}
};
