#include "tests/support/RecordingCanvas.h"

#include "runtime/Cp1251.h"

#include <algorithm>

int32_t TRecordingCanvas::Em(int32_t height) {
    const int64_t h = height;
    return static_cast<int32_t>(h < 0 ? -h : h * 4 / 5);
}

std::vector<TCanvasCall> TRecordingCanvas::CallsOf(const std::string &kind) const {
    std::vector<TCanvasCall> out;
    for (const auto &c : Calls)
        if (c.Kind == kind) out.push_back(c);
    return out;
}

TSize TRecordingCanvas::TextExtent(std::string_view text) {
    ++MeasureCount;
    return {static_cast<int32_t>(text.size()) * Advance(FFont.Height), CellHeight(FFont.Height)};
}

TSize TRecordingCanvas::TextExtentW(std::u16string_view text) {
    ++MeasureCount;
    return {static_cast<int32_t>(text.size()) * Advance(FFont.Height), CellHeight(FFont.Height)};
}

bool TRecordingCanvas::CharABCWidths(uint32_t code, TABC &abc) {
    ++MeasureCount;
    if (code > 255 || code == 0x98) return false;
    auto it = FABC.find(static_cast<unsigned char>(code));
    if (it != FABC.end()) {
        abc = it->second;
        return true;
    }
    abc = TABC{0, static_cast<uint32_t>(Advance(FFont.Height)), 0};
    return true;
}

bool TRecordingCanvas::GlyphMetrics(uint32_t code, TGlyphMetrics &gm) {
    ++MeasureCount;
    if (code > 255) return false;
    const int32_t em = Em(FFont.Height), adv = Advance(FFont.Height);
    gm = TGlyphMetrics{};
    if (code == '_') {
        gm.BlackBoxX = static_cast<uint32_t>(adv);
        gm.BlackBoxY = static_cast<uint32_t>(std::max(1, em / 13));
        gm.GlyphOrigin = {0, -1};
    } else {
        gm.BlackBoxX = static_cast<uint32_t>(std::max(1, adv - 2));
        gm.BlackBoxY = static_cast<uint32_t>(std::max(1, em * 2 / 3));
        gm.GlyphOrigin = {1, em * 2 / 3};
    }
    gm.CellIncX = static_cast<int16_t>(adv);
    return true;
}

TTextMetrics TRecordingCanvas::TextMetrics() {
    ++MeasureCount;
    TTextMetrics tm;
    tm.Ascent = Ascent(FFont.Height);
    tm.Descent = Descent(FFont.Height);
    tm.Height = tm.Ascent + tm.Descent;
    tm.AveCharWidth = tm.MaxCharWidth = Advance(FFont.Height);
    return tm;
}

TOutlineTextMetrics TRecordingCanvas::OutlineTextMetrics() {
    ++MeasureCount;
    return {Ascent(FFont.Height), -Descent(FFont.Height), static_cast<uint32_t>(Em(FFont.Height))};
}

TCanvasCall &TRecordingCanvas::Record(const std::string &kind) {
    TCanvasCall c;
    c.Kind = kind;
    c.Font = FFont;
    c.PenColor = FPenColor;
    c.PenStyle = FPenStyle;
    c.BrushColor = FBrushColor;
    c.BrushStyle = FBrushStyle;
    Calls.push_back(std::move(c));
    return Calls.back();
}

void TRecordingCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    auto &c = Record("TextOut");
    c.Args = {x, y};
    c.Text = Cp1251ToUtf16(text);
}

void TRecordingCanvas::TextOutW(int32_t x, int32_t y, std::u16string_view text) {
    auto &c = Record("TextOutW");
    c.Args = {x, y};
    c.Text = std::u16string(text);
}

void TRecordingCanvas::SetPen(TPenStyle style, int32_t, TColor color) {
    FPenStyle = style;
    FPenColor = color;
}

void TRecordingCanvas::SetBrush(TBrushStyle style, TColor color) {
    FBrushStyle = style;
    FBrushColor = color;
}

void TRecordingCanvas::FillRect(int32_t l, int32_t t, int32_t r, int32_t b) {
    Record("FillRect").Args = {l, t, r, b};
}

void TRecordingCanvas::Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) {
    Record("Rectangle").Args = {l, t, r, b};
}

void TRecordingCanvas::Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) {
    Record("Ellipse").Args = {l, t, r, b};
}

void TRecordingCanvas::Polygon(std::span<const TPoint> points) {
    Record("Polygon").Points.assign(points.begin(), points.end());
}

void TRecordingCanvas::MoveTo(int32_t x, int32_t y) {
    Record("MoveTo").Args = {x, y};
}

void TRecordingCanvas::LineTo(int32_t x, int32_t y) {
    Record("LineTo").Args = {x, y};
}

void TRecordingCanvas::BeginPath() {
    Record("BeginPath");
}

void TRecordingCanvas::PolyBezier(std::span<const TPoint> points) {
    Record("PolyBezier").Points.assign(points.begin(), points.end());
}

void TRecordingCanvas::CloseFigure() {
    Record("CloseFigure");
}

void TRecordingCanvas::EndPath() {
    Record("EndPath");
}

void TRecordingCanvas::StrokeAndFillPath() {
    Record("StrokeAndFillPath");
}
