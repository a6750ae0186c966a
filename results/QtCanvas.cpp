#include "results/QtCanvas.h"

#include "runtime/Cp1251.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRawFont>
#include <QTextLayout>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <string>
#include <unordered_map>
#include <utility>

namespace {

// Pixel sizes Qt and FreeType handle without trouble; a height outside is clamped.
constexpr int32_t MaxEm = 16384;
// What a zero height asks for: the default size, 12 points at 96 dpi.
constexpr int32_t DefaultEm = 16;
// Coordinates handed to Qt stay within this range, so sizes computed from them cannot
// overflow and huge shapes are merely clipped.
constexpr int64_t CoordLimit = int64_t{1} << 26;
// Laid-out texts kept per font before the list starts over.
constexpr std::size_t MaxRunsPerFont = 4096;
constexpr std::size_t MaxFonts = 256;

int ClampCoord(int64_t v) {
    return static_cast<int>(std::clamp(v, -CoordLimit, CoordLimit));
}

QColor ToQColor(TColor c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QString FromUtf16(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// units * em / unitsPerEm, rounded half up.
int32_t Scale(int64_t units, int64_t em, int64_t unitsPerEm) {
    if (unitsPerEm <= 0) return 0;
    return static_cast<int32_t>(
        std::floor(static_cast<long double>(units) * em / unitsPerEm + 0.5L));
}

struct TFontKey {
    std::string Name;
    int32_t Height;
    uint8_t Style;
    uint8_t Pitch;

    bool operator==(const TFontKey &) const = default;
};

TFontKey KeyOf(const TFontData &d) {
    return {d.Name, d.Height, d.Style, d.Pitch};
}

// Only these attributes change the Qt font; colour and escapement are applied when painting.
bool SameFace(const TFontData &a, const TFontData &b) {
    return a.Height == b.Height && a.Style == b.Style && a.Pitch == b.Pitch && a.Name == b.Name;
}

struct TFontKeyHash {
    std::size_t operator()(const TFontKey &k) const {
        std::size_t h = std::hash<std::string>()(k.Name);
        h ^= std::hash<int64_t>()((int64_t{k.Height} << 16) | (k.Style << 8) | k.Pitch) +
             0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        return h;
    }
};

// The font's vertical numbers in design units, from its OS/2 and head tables.
struct TDesignMetrics {
    bool Valid = false;
    int32_t UnitsPerEm = 0, WinAscent = 0, WinDescent = 0, TypoAscent = 0, TypoDescent = 0,
            AvgCharWidth = 0;
};

TDesignMetrics ReadDesignMetrics(const QFont &font) {
    TDesignMetrics m;
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid()) return m;
    const QByteArray os2 = raw.fontTable("OS/2"), head = raw.fontTable("head");
    if (os2.size() < 78 || head.size() < 20) return m;
    const char *o = os2.constData();
    m.UnitsPerEm = qFromBigEndian<quint16>(head.constData() + 18);
    m.AvgCharWidth = qFromBigEndian<qint16>(o + 2);
    m.TypoAscent = qFromBigEndian<qint16>(o + 68);
    m.TypoDescent = qFromBigEndian<qint16>(o + 70);
    m.WinAscent = qFromBigEndian<quint16>(o + 74);
    m.WinDescent = qFromBigEndian<quint16>(o + 76);
    m.Valid = m.UnitsPerEm > 0 && m.WinAscent + m.WinDescent > 0;
    return m;
}

QFont BaseFont(const TFontData &d) {
    QFont f(FromCp1251(d.Name));
    f.setItalic(d.Style & fsItalic);
    f.setBold(d.Style & fsBold);
    f.setUnderline(d.Style & fsUnderline);
    f.setStrikeOut(d.Style & fsStrikeOut);
    if (d.Pitch == fpFixed) f.setFixedPitch(true);
    // The classic text output does not kern; measuring and painting must agree with it.
    f.setKerning(false);
    // Qt drops hinting on screens with a device pixel ratio above 1, which changes glyph boxes
    // and advances; the layout is the 96-dpi one on every screen, so the hinting is fixed.
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

} // namespace

struct TQtCanvas::TTextRun {
    int32_t Width = 0;
    bool Laid = false;
    qreal LineAscent = 0;
    QList<QGlyphRun> Glyphs;
};

struct TQtCanvas::TFontEntry {
    explicit TFontEntry(const TFontData &d);

    TFontData Face; // the attributes it was made for (colour and escapement aside)

    TTextRun &Run(std::string_view text);
    TTextRun &Run(std::u16string_view text);
    void Lay(TTextRun &run, const QString &text) const;

    QFont Font;
    QFontMetrics Metrics;
    int32_t Em = DefaultEm;
    TTextMetrics Text;
    TOutlineTextMetrics Outline;
    std::array<TABC, 256> ABC{};
    std::array<TGlyphMetrics, 256> Glyph{};
    std::bitset<256> HasABC, HasGlyph;
    std::unordered_map<std::string, TTextRun> Runs8;
    std::unordered_map<std::u16string, TTextRun> Runs16;
};

TQtCanvas::TFontEntry::TFontEntry(const TFontData &d) : Face(d), Font(BaseFont(d)), Metrics(Font) {
    // The tables are in design units, so any provisional size reads them.
    const int64_t h = d.Height;
    const int64_t magnitude = h < 0 ? -h : h;
    Font.setPixelSize(static_cast<int>(std::clamp<int64_t>(magnitude, 1, MaxEm)));
    const TDesignMetrics dm = ReadDesignMetrics(Font);

    int64_t em;
    if (h == 0)
        em = DefaultEm;
    else if (h < 0)
        em = -h;
    else if (dm.Valid)
        // A positive height is the cell: ascent + descent.
        em = Scale(h, dm.UnitsPerEm, int64_t{dm.WinAscent} + dm.WinDescent);
    else {
        const QFontMetrics fm(Font);
        em = fm.height() > 0 ? Scale(h, Font.pixelSize(), fm.ascent() + fm.descent()) : h;
    }
    Em = static_cast<int32_t>(std::clamp<int64_t>(em, 1, MaxEm));
    Font.setPixelSize(Em);
    Metrics = QFontMetrics(Font);

    if (dm.Valid) {
        Text.Ascent = Scale(dm.WinAscent, Em, dm.UnitsPerEm);
        Text.Descent = Scale(dm.WinDescent, Em, dm.UnitsPerEm);
        Text.AveCharWidth = Scale(dm.AvgCharWidth, Em, dm.UnitsPerEm);
        Outline.Ascent = Scale(dm.TypoAscent, Em, dm.UnitsPerEm);
        Outline.Descent = Scale(dm.TypoDescent, Em, dm.UnitsPerEm);
        Outline.EmSquare = static_cast<uint32_t>(dm.UnitsPerEm);
    } else {
        Text.Ascent = Outline.Ascent = Metrics.ascent();
        Text.Descent = Metrics.descent();
        Outline.Descent = -Metrics.descent();
        Text.AveCharWidth = Metrics.averageCharWidth();
        Outline.EmSquare = static_cast<uint32_t>(Em);
    }
    Text.Height = Text.Ascent + Text.Descent;
    Text.InternalLeading = Text.Height - Em;
    Text.ExternalLeading = std::max(0, Metrics.leading());
    Text.MaxCharWidth = Metrics.maxWidth();
}

TQtCanvas::TTextRun &TQtCanvas::TFontEntry::Run(std::string_view text) {
    auto it = Runs8.find(std::string(text));
    if (it != Runs8.end()) return it->second;
    if (Runs8.size() >= MaxRunsPerFont) Runs8.clear();
    TTextRun &run = Runs8[std::string(text)];
    run.Width = Metrics.horizontalAdvance(FromCp1251(text));
    return run;
}

TQtCanvas::TTextRun &TQtCanvas::TFontEntry::Run(std::u16string_view text) {
    auto it = Runs16.find(std::u16string(text));
    if (it != Runs16.end()) return it->second;
    if (Runs16.size() >= MaxRunsPerFont) Runs16.clear();
    TTextRun &run = Runs16[std::u16string(text)];
    run.Width = Metrics.horizontalAdvance(FromUtf16(text));
    return run;
}

void TQtCanvas::TFontEntry::Lay(TTextRun &run, const QString &text) const {
    // Laid out once, painted as glyph runs: no shaping on every output.
    QTextLayout layout(text, Font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    run.LineAscent = line.isValid() ? line.ascent() : 0;
    run.Glyphs = layout.glyphRuns();
    run.Laid = true;
}

namespace {

struct TFontCache {
    std::unordered_map<TFontKey, std::shared_ptr<TQtCanvas::TFontEntry>, TFontKeyHash> Entries;
};

// Fonts and glyph caches belong to the thread that made them; pictures are built on one thread.
thread_local std::unique_ptr<TFontCache> FontCache;
bool PostRoutineAdded = false;

void DropCacheAtExit() {
    // Qt's font machinery goes with the application object: nothing may outlive it.
    FontCache.reset();
    PostRoutineAdded = false;
}

std::shared_ptr<TQtCanvas::TFontEntry> LookupFont(const TFontData &d) {
    if (!FontCache) {
        FontCache = std::make_unique<TFontCache>();
        if (!PostRoutineAdded && QCoreApplication::instance() &&
            QCoreApplication::instance()->thread() == QThread::currentThread()) {
            qAddPostRoutine(DropCacheAtExit);
            PostRoutineAdded = true;
        }
    }
    TFontKey key = KeyOf(d);
    auto it = FontCache->Entries.find(key);
    if (it != FontCache->Entries.end()) return it->second;
    if (FontCache->Entries.size() >= MaxFonts) FontCache->Entries.clear();
    auto entry = std::make_shared<TQtCanvas::TFontEntry>(d);
    FontCache->Entries.emplace(std::move(key), entry);
    return entry;
}

} // namespace

TQtCanvas::TQtCanvas(QPainter *painter, int32_t dpiX, int32_t dpiY)
    : FPainter(painter), FDpiX(dpiX), FDpiY(dpiY) {}

TQtCanvas::~TQtCanvas() = default;

QFont TQtCanvas::QtFont(const TFontData &font) {
    return LookupFont(font)->Font;
}

void TQtCanvas::ClearFontCache() {
    FontCache.reset();
}

void TQtCanvas::SetFont(const TFontData &font) {
    // The formula nodes select their font before every measurement: an unchanged face must
    // cost nothing, and the entry is looked up only when something is measured or painted.
    if (FEntry && !SameFace(font, FFont)) FEntry.reset();
    FFont = font;
}

void TQtCanvas::SelectEntry() {
    if (FEntry) return;
    for (const auto &e : FRecent)
        if (e && SameFace(e->Face, FFont)) {
            FEntry = e;
            return;
        }
    FEntry = LookupFont(FFont);
    FRecent[FRecentNext] = FEntry;
    FRecentNext = (FRecentNext + 1) % FRecent.size();
}

TSize TQtCanvas::TextExtent(std::string_view text) {
    SelectEntry();
    return {FEntry->Run(text).Width, FEntry->Text.Height};
}

TSize TQtCanvas::TextExtentW(std::u16string_view text) {
    SelectEntry();
    return {FEntry->Run(text).Width, FEntry->Text.Height};
}

bool TQtCanvas::CharABCWidths(uint32_t code, TABC &abc) {
    if (code > 255 || code == 0x98) return false;
    SelectEntry();
    TFontEntry &e = *FEntry;
    if (!e.HasABC[code]) {
        const QChar ch(Cp1251ToUnicode(static_cast<unsigned char>(code)));
        TABC v;
        v.A = e.Metrics.leftBearing(ch);
        v.C = e.Metrics.rightBearing(ch);
        const int64_t b = int64_t{e.Metrics.horizontalAdvance(ch)} - v.A - v.C;
        v.B = static_cast<uint32_t>(std::max<int64_t>(0, b));
        e.ABC[code] = v;
        e.HasABC[code] = true;
    }
    abc = e.ABC[code];
    return true;
}

bool TQtCanvas::GlyphMetrics(uint32_t code, TGlyphMetrics &gm) {
    if (code > 255 || code == 0x98) return false;
    SelectEntry();
    TFontEntry &e = *FEntry;
    if (!e.HasGlyph[code]) {
        const QChar ch(Cp1251ToUnicode(static_cast<unsigned char>(code)));
        const QRect box = e.Metrics.boundingRect(ch);
        TGlyphMetrics g;
        if (box.isEmpty()) {
            // A glyph without ink (a blank) reports a one-pixel box at the origin, as the
            // classic query does.
            g.BlackBoxX = g.BlackBoxY = 1;
        } else {
            g.BlackBoxX = static_cast<uint32_t>(box.width());
            g.BlackBoxY = static_cast<uint32_t>(box.height());
            g.GlyphOrigin = {box.x(), -box.y()};
        }
        g.CellIncX =
            static_cast<int16_t>(std::clamp(e.Metrics.horizontalAdvance(ch), -32768, 32767));
        e.Glyph[code] = g;
        e.HasGlyph[code] = true;
    }
    gm = e.Glyph[code];
    return true;
}

TTextMetrics TQtCanvas::TextMetrics() {
    SelectEntry();
    return FEntry->Text;
}

TOutlineTextMetrics TQtCanvas::OutlineTextMetrics() {
    SelectEntry();
    return FEntry->Outline;
}

void TQtCanvas::DrawRun(int32_t x, int32_t y, const TTextRun &run) {
    if (run.Glyphs.isEmpty()) return;
    const QColor colour = ToQColor(FFont.Color);
    if (FPainter->pen().style() != Qt::SolidLine || FPainter->pen().color() != colour)
        FPainter->setPen(colour);
    // The top of the text cell at y: the baseline lies the font's (win) ascent below it.
    const qreal dy = FEntry->Text.Ascent - run.LineAscent;
    const int ix = ClampCoord(x), iy = ClampCoord(y);
    if (FFont.Escapement % 3600 == 0) {
        const QPointF origin(ix, iy + dy);
        for (const QGlyphRun &g : run.Glyphs)
            FPainter->drawGlyphRun(origin, g);
        return;
    }
    // Escapement is counter-clockwise on the screen; Qt turns clockwise for positive angles.
    FPainter->save();
    FPainter->translate(ix, iy);
    FPainter->rotate(-(FFont.Escapement % 3600) / 10.0);
    for (const QGlyphRun &g : run.Glyphs)
        FPainter->drawGlyphRun(QPointF(0, dy), g);
    FPainter->restore();
}

void TQtCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    if (!FPainter || text.empty()) return;
    SelectEntry();
    TTextRun &run = FEntry->Run(text);
    if (!run.Laid) FEntry->Lay(run, FromCp1251(text));
    DrawRun(x, y, run);
}

void TQtCanvas::TextOutW(int32_t x, int32_t y, std::u16string_view text) {
    if (!FPainter || text.empty()) return;
    SelectEntry();
    TTextRun &run = FEntry->Run(text);
    if (!run.Laid) FEntry->Lay(run, FromUtf16(text));
    DrawRun(x, y, run);
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

namespace {

// Antialiased shapes on a bitmap are kept as tiles: a page repeats the same brackets and radicals
// line after line, and blending a tile takes a fraction of the time rasterizing the shape takes.
constexpr int MaxTileSide = 512;
constexpr qsizetype MaxTileBytes = qsizetype{16} << 20;

struct TTileCache {
    std::unordered_map<std::string, QImage> Tiles;
    qsizetype Bytes = 0;
};
thread_local TTileCache TileCache;

template <class T> void Append(std::string &key, T value) {
    key.append(reinterpret_cast<const char *>(&value), sizeof value);
}

} // namespace

bool TQtCanvas::DrawTile(const QPainterPath &path) {
    if (FPainter->device()->devType() != QInternal::Image) return false;
    // Only where whole picture pixels fall on whole device pixels, so a tile is what painting
    // the shape in place would give.
    const QTransform t = FPainter->deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != t.m22()) return false;
    const int scale = static_cast<int>(t.m11());
    if (scale < 1 || scale > 8 || t.m11() != scale || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()))
        return false;
    const QPen &pen = FPainter->pen();
    const QBrush &brush = FPainter->brush();
    const qreal margin = (pen.style() == Qt::NoPen ? 0 : pen.widthF()) + 1;
    const QRect box =
        path.boundingRect().adjusted(-margin, -margin, margin, margin).toAlignedRect();
    if (box.width() * scale > MaxTileSide || box.height() * scale > MaxTileSide) return false;

    std::string key;
    Append(key, scale);
    Append(key, pen.style() == Qt::NoPen ? QRgb{0} : pen.color().rgba());
    Append(key, pen.style() == Qt::NoPen ? 0.0 : pen.widthF());
    Append(key, brush.style() == Qt::NoBrush ? QRgb{0} : brush.color().rgba());
    Append(key, static_cast<int>(path.fillRule()));
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        Append(key, static_cast<int>(e.type));
        Append(key, e.x - box.x());
        Append(key, e.y - box.y());
    }
    auto found = TileCache.Tiles.find(key);
    if (found == TileCache.Tiles.end()) {
        QImage tile(box.size() * scale, QImage::Format_ARGB32_Premultiplied);
        tile.fill(Qt::transparent);
        {
            QPainter painter(&tile);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(pen);
            painter.setBrush(brush);
            painter.scale(scale, scale);
            painter.translate(-box.topLeft());
            painter.drawPath(path);
        }
        tile.setDevicePixelRatio(scale);
        if (TileCache.Bytes > MaxTileBytes) {
            TileCache.Tiles.clear();
            TileCache.Bytes = 0;
        }
        TileCache.Bytes += tile.sizeInBytes();
        found = TileCache.Tiles.emplace(std::move(key), std::move(tile)).first;
    }
    FPainter->drawImage(QPointF(box.topLeft()), found->second);
    return true;
}

void TQtCanvas::DrawShape(QPainterPath path, bool pen, bool brush) {
    const qreal d = PrepareShapes(pen, brush);
    if (d == 0) {
        FPainter->drawPath(path);
        return;
    }
    path.translate(d, d);
    if (!DrawTile(path)) FPainter->drawPath(path);
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

QString FromCp1251(std::string_view text) {
    const std::u16string u = Cp1251ToUtf16(text);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}
