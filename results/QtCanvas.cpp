#include "results/QtCanvas.h"

#include "results/QtShapeTiles.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Coordinates handed to Qt stay within this range, so sizes computed from them cannot
// overflow and huge shapes are merely clipped.
constexpr int64_t CoordLimit = int64_t{1} << 26;

int ClampCoord(int64_t v) {
    return static_cast<int>(std::clamp(v, -CoordLimit, CoordLimit));
}

QColor ToQColor(TColor c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

} // namespace

TQtCanvas::TQtCanvas(QPainter *painter, int32_t dpiX, int32_t dpiY)
    : FPainter(painter), FDpiX(dpiX), FDpiY(dpiY) {}

TQtCanvas::~TQtCanvas() = default;

void TQtCanvas::SetFont(const TFontData &font) {
    // The formula nodes select their font before every measurement: an unchanged face must
    // cost nothing, and the entry is looked up only when something is measured or painted.
    if (FEntry && !SameFace(font, FFont)) FEntry.reset();
    FFont = font;
}

TQtFont &TQtCanvas::SelectedFont() {
    if (FEntry) return *FEntry;
    for (const auto &e : FRecent)
        if (e && SameFace(e->Face(), FFont)) {
            FEntry = e;
            return *FEntry;
        }
    FEntry = QtFontOf(FFont);
    FRecent[FRecentNext] = FEntry;
    FRecentNext = (FRecentNext + 1) % FRecent.size();
    return *FEntry;
}

TSize TQtCanvas::TextExtent(std::string_view text) {
    TQtFont &font = SelectedFont();
    return {font.Run(text).Width, font.TextMetrics().Height};
}

TSize TQtCanvas::TextExtentW(std::u16string_view text) {
    TQtFont &font = SelectedFont();
    return {font.Run(text).Width, font.TextMetrics().Height};
}

bool TQtCanvas::CharABCWidths(uint32_t code, TABC &abc) {
    return SelectedFont().CharABCWidths(code, abc);
}

bool TQtCanvas::GlyphMetrics(uint32_t code, TGlyphMetrics &gm) {
    return SelectedFont().GlyphMetrics(code, gm);
}

TTextMetrics TQtCanvas::TextMetrics() {
    return SelectedFont().TextMetrics();
}

TOutlineTextMetrics TQtCanvas::OutlineTextMetrics() {
    return SelectedFont().OutlineMetrics();
}

void TQtCanvas::DrawRun(int32_t x, int32_t y, const TQtTextRun &run) {
    if (run.Glyphs.isEmpty()) return;
    const QColor colour = ToQColor(FFont.Color);
    if (FPainter->pen().style() != Qt::SolidLine || FPainter->pen().color() != colour)
        FPainter->setPen(colour);
    // The top of the text cell at y: the baseline lies the font's (win) ascent below it.
    const qreal dy = FEntry->TextMetrics().Ascent - run.LineAscent;
    const int ix = ClampCoord(x), iy = ClampCoord(y);
    // An SVG file would name our fonts in <text> elements, which its viewer may not have: there
    // the letters go as outlines.
    const bool outlines =
        FPainter->paintEngine() && FPainter->paintEngine()->type() == QPaintEngine::SVG;
    auto draw = [&](QPointF origin, const QGlyphRun &g) {
        if (!outlines) {
            FPainter->drawGlyphRun(origin, g);
            return;
        }
        // Each glyph at its own origin, so the same letter gives the same path every time.
        const QRawFont font = g.rawFont();
        const QList<quint32> glyphs = g.glyphIndexes();
        const QList<QPointF> at = g.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < at.size(); ++i) {
            FPainter->save();
            FPainter->translate(origin + at[i]);
            FPainter->fillPath(font.pathForGlyph(glyphs[i]), colour);
            FPainter->restore();
        }
    };
    if (FFont.Escapement % 3600 == 0) {
        const QPointF origin(ix, iy + dy);
        for (const QGlyphRun &g : run.Glyphs)
            draw(origin, g);
        return;
    }
    // Escapement is counter-clockwise on the screen; Qt turns clockwise for positive angles.
    FPainter->save();
    FPainter->translate(ix, iy);
    FPainter->rotate(-(FFont.Escapement % 3600) / 10.0);
    for (const QGlyphRun &g : run.Glyphs)
        draw(QPointF(0, dy), g);
    FPainter->restore();
}

void TQtCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    if (FPainter && !text.empty()) DrawRun(x, y, SelectedFont().Laid(text));
}

void TQtCanvas::TextOutW(int32_t x, int32_t y, std::u16string_view text) {
    if (FPainter && !text.empty()) DrawRun(x, y, SelectedFont().Laid(text));
}

void TQtCanvas::SetPen(TPenStyle style, int32_t width, TColor color) {
    FPenStyle = style;
    FPenWidth = std::clamp(width, 1, 1000);
    FPenColor = color;
}

void TQtCanvas::SetBrush(TBrushStyle style, TColor color) {
    FBrushStyle = style;
    FBrushColor = color;
}

QPen TQtCanvas::ShapePen() const {
    // Qt's cosmetic pen (width 0) is one device pixel: the classic pen where a device pixel is a
    // picture pixel. Scaled or smooth, the pen is one picture pixel wide.
    const bool unscaled = FPainter->deviceTransform().type() <= QTransform::TxTranslate;
    const bool cosmetic = FPenWidth <= 1 && FDrawing == TShapeDrawing::Classic && unscaled;
    QPen p(ToQColor(FPenColor), cosmetic ? 0 : FPenWidth);
    // A flat cap leaves a line's end point out; a round join keeps a corner's ink within half a
    // pen of the corner, as the classic pen's corner pixel.
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(FDrawing == TShapeDrawing::Smooth ? Qt::RoundJoin : Qt::MiterJoin);
    return p;
}

qreal TQtCanvas::PrepareShapes(bool pen, bool brush) {
    const bool smooth = FDrawing == TShapeDrawing::Smooth;
    if (FPainter->testRenderHint(QPainter::Antialiasing) != smooth)
        FPainter->setRenderHint(QPainter::Antialiasing, smooth);
    if (pen && FPenStyle == TPenStyle::Solid)
        FPainter->setPen(ShapePen());
    else
        FPainter->setPen(Qt::NoPen);
    if (brush && FBrushStyle == TBrushStyle::Solid)
        FPainter->setBrush(ToQColor(FBrushColor));
    else
        FPainter->setBrush(Qt::NoBrush);
    // Aliased, Qt covers the pixel whose top-left corner is the point; antialiased, a point is a
    // pixel corner. Half a pixel towards the pixel's centre makes the smooth pen cover what the
    // classic one covers. (Moving the points is much cheaper than moving the painter.)
    return smooth ? 0.5 : 0.0;
}

void TQtCanvas::DrawShape(QPainterPath path, bool pen, bool brush) {
    const qreal d = PrepareShapes(pen, brush);
    if (d == 0) {
        FPainter->drawPath(path);
        return;
    }
    path.translate(d, d);
    if (!DrawShapeTile(*FPainter, path)) FPainter->drawPath(path);
}

void TQtCanvas::FillSolid(int64_t l, int64_t t, int64_t r, int64_t b, TColor color) {
    const int L = ClampCoord(l), T = ClampCoord(t), R = ClampCoord(r), B = ClampCoord(b);
    if (R <= L || B <= T) return;
    // Whole pixels need no antialiasing, and without it a scaled painter fills them as a
    // rectangle instead of rasterizing a path.
    if (FPainter->testRenderHint(QPainter::Antialiasing))
        FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->fillRect(QRect(L, T, R - L, B - T), ToQColor(color));
}

void TQtCanvas::FillRect(int32_t l, int32_t t, int32_t r, int32_t b) {
    if (!FPainter || FBrushStyle != TBrushStyle::Solid) return;
    FillSolid(l, t, r, b, FBrushColor);
}

void TQtCanvas::Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) {
    if (!FPainter) return;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    const bool brush = FBrushStyle == TBrushStyle::Solid;
    if (FPenStyle != TPenStyle::Solid) {
        if (brush) FillSolid(l, t, r, b, FBrushColor);
        return;
    }
    // The frame lies inside the rectangle: filled as four bands, exact to the pixel.
    const int64_t w = FPenWidth;
    if (brush) FillSolid(l + w, t + w, int64_t{r} - w, int64_t{b} - w, FBrushColor);
    FillSolid(l, t, r, std::min<int64_t>(b, int64_t{t} + w), FPenColor);
    FillSolid(l, std::max<int64_t>(t, int64_t{b} - w), r, b, FPenColor);
    FillSolid(l, int64_t{t} + w, std::min<int64_t>(r, int64_t{l} + w), int64_t{b} - w, FPenColor);
    FillSolid(std::max<int64_t>(l, int64_t{r} - w), int64_t{t} + w, r, int64_t{b} - w, FPenColor);
}

void TQtCanvas::Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) {
    if (!FPainter) return;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    const int L = ClampCoord(l), T = ClampCoord(t), R = ClampCoord(r), B = ClampCoord(b);
    if (R <= L || B <= T) return;
    const bool pen = FPenStyle == TPenStyle::Solid;
    if (!pen && FBrushStyle != TBrushStyle::Solid) return;
    if (FDrawing == TShapeDrawing::Smooth) {
        // Without a pen the brush's colour outlines it, as below.
        const TColor penColor = FPenColor;
        if (!pen) FPenColor = FBrushColor;
        const TPenStyle penStyle = std::exchange(FPenStyle, TPenStyle::Solid);
        QPainterPath path;
        path.addEllipse(QRectF(L, T, R - L - 1, B - T - 1));
        DrawShape(path, true, true);
        FPenColor = penColor;
        FPenStyle = penStyle;
        return;
    }
    PrepareShapes(true, true);
    // Aliased with a one-pixel pen, Qt covers one column and row more than the rectangle it is
    // given; without a pen it leaves a row out. A pen in the brush colour gives the classic cover.
    if (!pen) {
        QPen p = ShapePen();
        p.setColor(ToQColor(FBrushColor));
        FPainter->setPen(p);
    }
    FPainter->drawEllipse(QRect(L, T, R - L - 1, B - T - 1));
}

void TQtCanvas::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    QPolygon poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const TPoint &p : points)
        poly << QPoint(ClampCoord(p.X), ClampCoord(p.Y));
    if (FInPath) {
        FPath.addPolygon(QPolygonF(poly));
        FPath.closeSubpath();
        return;
    }
    if (!FPainter) return;
    if (FDrawing == TShapeDrawing::Classic) {
        PrepareShapes(true, true);
        FPainter->drawPolygon(poly, Qt::OddEvenFill);
        return;
    }
    QPainterPath path;
    path.addPolygon(QPolygonF(poly));
    path.closeSubpath();
    path.setFillRule(Qt::OddEvenFill);
    DrawShape(path, true, true);
}

void TQtCanvas::MoveTo(int32_t x, int32_t y) {
    FPosition = {x, y};
    if (FInPath) FPath.moveTo(ClampCoord(x), ClampCoord(y));
}

void TQtCanvas::LineTo(int32_t x, int32_t y) {
    const TPoint from = FPosition;
    FPosition = {x, y};
    if (FInPath) {
        FPath.lineTo(ClampCoord(x), ClampCoord(y));
        return;
    }
    // A line to its own start draws nothing: its only pixel is the excluded end point.
    if (!FPainter || FPenStyle != TPenStyle::Solid || from == FPosition) return;
    // Qt draws a flat-capped line from its left (or top) end whatever its direction, so a line
    // going left or up would lose its start instead of its end: the straight ones are filled.
    if (FPenWidth <= 1 && (from.X == x || from.Y == y)) {
        // The pixels from the start up to, not including, the end.
        const int64_t lastX = int64_t{x} - (x > from.X) + (x < from.X);
        const int64_t lastY = int64_t{y} - (y > from.Y) + (y < from.Y);
        FillSolid(std::min<int64_t>(from.X, lastX), std::min<int64_t>(from.Y, lastY),
                  std::max<int64_t>(from.X, lastX) + 1, std::max<int64_t>(from.Y, lastY) + 1,
                  FPenColor);
        return;
    }
    const qreal d = PrepareShapes(true, false);
    FPainter->drawLine(QLineF(ClampCoord(from.X) + d, ClampCoord(from.Y) + d, ClampCoord(x) + d,
                              ClampCoord(y) + d));
}

void TQtCanvas::BeginPath() {
    FPath = QPainterPath();
    FInPath = true;
}

void TQtCanvas::PolyBezier(std::span<const TPoint> points) {
    if (points.empty()) return;
    auto at = [&](std::size_t i) {
        return QPointF(ClampCoord(points[i].X), ClampCoord(points[i].Y));
    };
    QPainterPath local;
    QPainterPath &path = FInPath ? FPath : local;
    path.moveTo(at(0));
    for (std::size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(at(i), at(i + 1), at(i + 2));
    if (FInPath || !FPainter || FPenStyle != TPenStyle::Solid) return;
    DrawShape(local, true, false);
}

void TQtCanvas::CloseFigure() {
    if (FInPath) FPath.closeSubpath();
}

void TQtCanvas::EndPath() {
    FInPath = false;
}

void TQtCanvas::StrokeAndFillPath() {
    FInPath = false;
    if (FPainter && !FPath.isEmpty()) {
        FPath.setFillRule(Qt::OddEvenFill);
        DrawShape(FPath, true, true);
    }
    FPath = QPainterPath();
}
