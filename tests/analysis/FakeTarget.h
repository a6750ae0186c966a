// A results window that records what the run does to it. Metrics are simple and fixed so that
// positions can be worked out by hand:
//  - a text line is 2 x points high, plus 3 when bold (12 bold: 27, 10: 20, 8: 16);
//  - a formula picture is 3 x the formula font size high plus (text length mod 7), so pictures
//    of different texts differ and a wrong "h" shows.
#pragma once

#include "analysis/Report.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

struct TFakeItem {
    enum TKind { KClear, KFont, KText, KFormula };
    explicit TFakeItem(TKind kind, int32_t x = 0, int32_t y = 0, std::string text = {},
                       bool framed = false)
        : Kind(kind), X(x), Y(y), Text(std::move(text)), Framed(framed) {}
    TKind Kind;
    int32_t X = 0, Y = 0;
    std::string Text; // Windows-1251 (UTF-8 from TextOutUtf8)
    bool Framed = false;
    int32_t Height = 0;   // of a formula picture
    int32_t FontSize = 0; // formula font size when the picture was made, or the text font's points
    bool Bold = false;
    bool operator==(const TFakeItem &) const = default;
};

class TFakeTarget;

class TFakeArea : public TImageArea {
public:
    TFakeArea(TFakeTarget &owner, int number, int32_t w, int32_t h)
        : FOwner(owner), FNumber(number), FWidth(w), FHeight(h) {}

    int32_t Width() const override { return FWidth; }
    int32_t Height() const override { return FHeight; }
    void Clear() override;
    void SelectTextFont(std::string_view face, int32_t points, bool bold, uint8_t charset) override;
    int32_t TextHeightOf(std::string_view text) override;
    void TextOut(int32_t x, int32_t y, std::string_view text) override;
    // Recorded as it is: the item's text is then UTF-8.
    void TextOutUtf8(int32_t x, int32_t y, std::string_view utf8) override { TextOut(x, y, utf8); }
    int32_t DrawFormula(std::string_view formula, int32_t x, int32_t y, bool framed) override;

    static int32_t LineHeight(int32_t points, bool bold) { return 2 * points + (bold ? 3 : 0); }
    static int32_t PictureHeight(int32_t size, std::string_view text) {
        return 3 * size + static_cast<int32_t>(text.size() % 7);
    }

    std::vector<TFakeItem> Items;
    // The selected text font; 0 until one is selected.
    int32_t FontPoints = 0;
    bool FontBold = false;
    std::string FontFace;
    uint8_t FontCharset = 0;

    // The formula texts painted since the last clear, in order.
    std::vector<std::string> Formulas() const {
        std::vector<std::string> out;
        for (const TFakeItem &i : Items)
            if (i.Kind == TFakeItem::KFormula) out.push_back(i.Text);
        return out;
    }

private:
    TFakeTarget &FOwner;
    int FNumber;
    int32_t FWidth, FHeight;
};

class TFakeSeries : public TChartSeries {
public:
    TFakeSeries(TFakeTarget &owner, int chart, int index)
        : FOwner(owner), FChart(chart), FIndex(index) {}
    void Clear() override;
    void AddXY(double x, double y) override;
    TPointList Points;

private:
    TFakeTarget &FOwner;
    int FChart, FIndex;
};

class TFakeTarget : public TResultsTarget {
public:
    TFakeTarget() {
        FAreas.emplace_back(*this, 0, 0, 0); // no Image0
        FAreas.emplace_back(*this, 1, 961, 643);
        for (int n = 2; n <= 11; ++n)
            FAreas.emplace_back(*this, n, n % 2 == 0 ? 477 : 484, n <= 9 ? 643 : 465);
        for (int chart : {1, 2, 3, 4, 5, 6, 11, 12, 13, 14})
            for (int index = 0; index < (chart >= 13 ? 5 : 2); ++index)
                FSeries.emplace(std::make_pair(chart, index), TFakeSeries(*this, chart, index));
    }
    TFakeTarget(const TFakeTarget &) = delete;

    TFakeArea &Image(int number) override {
        if (number < 1 || number > 11) throw std::out_of_range("image");
        return FAreas[static_cast<std::size_t>(number)];
    }
    TFakeSeries &Series(int chart, int index) override { return FSeries.at({chart, index}); }
    void SetLabel(int number, std::string_view text) override {
        Labels[number] = std::string(text);
        Log("label " + std::to_string(number));
    }
    void SetFormulaFontSize(int32_t points) override {
        FormulaFontSize = points;
        Log("formula size " + std::to_string(points));
    }

    void Log(std::string event) { Events.push_back(std::move(event)); }

    int32_t FormulaFontSize = 0;
    std::map<int, std::string> Labels;
    // Everything that happened, in order: "clear image N", "font image N P", "text image N",
    // "formula image N", "clear chart C I", "add chart C I", "label N", "formula size P".
    std::vector<std::string> Events;

private:
    std::vector<TFakeArea> FAreas;
    std::map<std::pair<int, int>, TFakeSeries> FSeries;
};

inline void TFakeArea::Clear() {
    Items.clear();
    Items.push_back(TFakeItem(TFakeItem::KClear));
    FOwner.Log("clear image " + std::to_string(FNumber));
}

inline void TFakeArea::SelectTextFont(std::string_view face, int32_t points, bool bold,
                                      uint8_t charset) {
    FontFace = std::string(face);
    FontPoints = points;
    FontBold = bold;
    FontCharset = charset;
    TFakeItem item{TFakeItem::KFont};
    item.FontSize = points;
    item.Bold = bold;
    Items.push_back(item);
    FOwner.Log("font image " + std::to_string(FNumber) + " " + std::to_string(points));
}

inline int32_t TFakeArea::TextHeightOf(std::string_view) {
    return LineHeight(FontPoints, FontBold);
}

inline void TFakeArea::TextOut(int32_t x, int32_t y, std::string_view text) {
    TFakeItem item{TFakeItem::KText, x, y, std::string(text)};
    item.FontSize = FontPoints;
    item.Bold = FontBold;
    Items.push_back(item);
    FOwner.Log("text image " + std::to_string(FNumber));
}

inline int32_t TFakeArea::DrawFormula(std::string_view formula, int32_t x, int32_t y, bool framed) {
    TFakeItem item{TFakeItem::KFormula, x, y, std::string(formula), framed};
    item.Height = PictureHeight(FOwner.FormulaFontSize, formula);
    item.FontSize = FOwner.FormulaFontSize;
    Items.push_back(item);
    FOwner.Log("formula image " + std::to_string(FNumber));
    return item.Height;
}

inline void TFakeSeries::Clear() {
    Points.clear();
    FOwner.Log("clear chart " + std::to_string(FChart) + " " + std::to_string(FIndex));
}

inline void TFakeSeries::AddXY(double x, double y) {
    Points.push_back({x, y});
    FOwner.Log("add chart " + std::to_string(FChart) + " " + std::to_string(FIndex));
}
