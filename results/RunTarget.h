// The results window as the target of an analysis run: image areas that paint text and formula
// pictures with the Qt drawing surface, chart series over TChart, the run's labels. Every image
// area also keeps a log of what it painted since it was last cleared, so the same pictures can be
// listed (zelvano-report --dump) or painted again elsewhere, for example as vector graphics on a
// PDF page. Texts are Windows-1251 unless marked UTF-8.
//
// No line runs past an area's right edge: a text or formula line that would is drawn at a smaller
// size that fits (down to 70 %), and a formula that does not fit even so is broken after an
// operator onto further lines. Lines that fit are drawn exactly as given.
#pragma once

#include "analysis/ReportTarget.h"
#include "formula/draw/Canvas.h"

#include <QSize>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QPainter;
class TChart;
class TCheckChart;
class TImage;

// One painting operation of an image area.
struct TAreaOp {
    enum TKind : uint8_t { KClear, KText, KFormula };
    TKind Kind = KClear;
    int32_t X = 0;
    int32_t Y = 0;
    // Text: the font it was written in. Formula: the formula font's signed pixel height.
    TFontData Font;
    int32_t FontHeight = 0;
    // Formula: the picture's size.
    int32_t Width = 0;
    int32_t Height = 0;
    bool Framed = false;
    // Text: written by TextOutUtf8, so Text is UTF-8.
    bool Utf8 = false;
    // The text (Windows-1251 unless Utf8) or the formula text.
    std::string Text;
};

class TQtImageArea : public TImageArea {
public:
    // Paints on the bitmap of image at its device pixel ratio, and paints the log again when the
    // image moves to a screen of another ratio.
    explicit TQtImageArea(TImage &image);
    // Paints through painter, whose origin is the area's top-left corner (for example on a PDF
    // page): formulas as vector graphics, everything clipped to width x height. The painter must
    // outlive the area.
    TQtImageArea(QPainter &painter, int32_t width, int32_t height);
    ~TQtImageArea() override;
    TQtImageArea(const TQtImageArea &) = delete;
    TQtImageArea &operator=(const TQtImageArea &) = delete;

    int32_t Width() const override { return FWidth; }
    int32_t Height() const override { return FHeight; }
    void Clear() override;
    void SelectTextFont(std::string_view face, int32_t points, bool bold, uint8_t charset) override;
    int32_t TextHeightOf(std::string_view text) override;
    void TextOut(int32_t x, int32_t y, std::string_view text) override;
    void TextOutUtf8(int32_t x, int32_t y, std::string_view utf8) override;
    int32_t DrawFormula(std::string_view formula, int32_t x, int32_t y, bool framed) override;

    // The selected text font.
    const TFontData &TextFont() const { return FTextFont; }
    // The image this area paints on; null for an area on a painter.
    const TImage *Widget() const { return FImage; }
    // What was painted since the last Clear, the Clear included (everything before the first one).
    const std::vector<TAreaOp> &Log() const { return FLog; }
    // Paints the operations of a log again, each text in its own font and each formula in its
    // formula font height (the formula font is left at its height from before).
    void Replay(const std::vector<TAreaOp> &log);

private:
    class TPaintScope;
    // One line of a formula as drawn: its text (a part of the formula when it is broken), its
    // left edge and its formula font height (signed pixels).
    struct TFormulaLine {
        std::string Text;
        int32_t X;
        int32_t FontHeight;
    };

    static int32_t TextWidthIn(const TFontData &font, std::string_view text, bool utf8);
    // A text in the selected font, or smaller when it would run past the right edge.
    void FitText(int32_t x, int32_t y, std::string_view text, bool utf8);
    void PaintText(int32_t x, int32_t y, std::string_view text, bool utf8);
    // How a formula at x is drawn so that nothing runs past the right edge: as it is; at a
    // smaller size, down to 70 %; else broken after an operator onto further lines.
    std::vector<TFormulaLine> FormulaLines(std::string_view formula, int32_t x, int32_t height);
    // Paints and logs one formula picture at the formula font height of the moment.
    int32_t PaintFormula(std::string_view formula, int32_t x, int32_t y, bool framed);

    TImage *FImage = nullptr;
    QPainter *FPainter = nullptr;
    int32_t FWidth, FHeight;
    TFontData FTextFont;
    std::vector<TAreaOp> FLog;
};

// The widgets of the results window that a run fills, by their numbers; the others stay null.
struct TRunWidgets {
    std::array<TImage *, 12> Images{};          // Image1 .. Image11
    std::array<TChart *, 13> Charts{};          // Chart1 .. Chart6, Chart11, Chart12
    std::array<TCheckChart *, 2> CheckCharts{}; // Chart13, Chart14
    std::array<QLabel *, 7> Labels{};           // Label3 .. Label6
};

// The results window as TResultsTarget. It keeps its areas (and their logs) as long as it lives;
// the widgets must outlive it.
class TFrmRunTarget : public TResultsTarget {
public:
    explicit TFrmRunTarget(const TRunWidgets &widgets);
    ~TFrmRunTarget() override;
    TFrmRunTarget(const TFrmRunTarget &) = delete;
    TFrmRunTarget &operator=(const TFrmRunTarget &) = delete;

    // Image1 .. Image11; another number throws std::out_of_range.
    TQtImageArea &Image(int number) override;
    // Series 0 or 1 of Chart1 .. Chart6, Chart11, Chart12, series 0 .. 4 of Chart13 and Chart14;
    // others throw std::out_of_range.
    TChartSeries &Series(int chart, int index) override;
    // Label3 .. Label6; other numbers are ignored.
    void SetLabel(int number, std::string_view text) override;
    void SetFormulaFontSize(int32_t points) override;

    // Hands the points of every chart to its view in one go; call it once after the fill.
    void FlushCharts() override;

private:
    class TSeries;

    TRunWidgets FWidgets;
    std::array<std::unique_ptr<TQtImageArea>, 12> FAreas;
    std::vector<std::unique_ptr<TSeries>> FSeries;
};
