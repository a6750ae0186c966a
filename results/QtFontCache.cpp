#include "results/QtFontCache.h"

#include "runtime/Cp1251.h"

#include <QCoreApplication>
#include <QRawFont>
#include <QTextLayout>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

// Pixel sizes Qt and FreeType handle without trouble; a height outside is clamped.
constexpr int32_t MaxEm = 16384;
// What a zero height asks for: the default size, 12 points at 96 dpi.
constexpr int32_t DefaultEm = 16;
// Laid-out texts kept per font before the list starts over.
constexpr std::size_t MaxRunsPerFont = 4096;
constexpr std::size_t MaxFonts = 256;

QString ToQString(std::string_view cp1251) {
    return FromCp1251(cp1251);
}
QString ToQString(std::u16string_view s) {
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

struct TFontCache {
    std::unordered_map<TFontKey, std::shared_ptr<TQtFont>, TFontKeyHash> Entries;
};

// Fonts and glyph caches belong to the thread that made them; pictures are built on one thread.
thread_local std::unique_ptr<TFontCache> FontCache;
bool PostRoutineAdded = false;

void DropCacheAtExit() {
    // Qt's font machinery goes with the application object: nothing may outlive it.
    FontCache.reset();
    PostRoutineAdded = false;
}

} // namespace

TQtFont::TQtFont(const TFontData &d) : FFace(d), FFont(BaseFont(d)), FMetrics(FFont) {
    // The tables are in design units, so any provisional size reads them.
    const int64_t h = d.Height;
    const int64_t magnitude = h < 0 ? -h : h;
    FFont.setPixelSize(static_cast<int>(std::clamp<int64_t>(magnitude, 1, MaxEm)));
    const TDesignMetrics dm = ReadDesignMetrics(FFont);

    int64_t em;
    if (h == 0)
        em = DefaultEm;
    else if (h < 0)
        em = -h;
    else if (dm.Valid)
        // A positive height is the cell: ascent + descent.
        em = Scale(h, dm.UnitsPerEm, int64_t{dm.WinAscent} + dm.WinDescent);
    else {
        const QFontMetrics fm(FFont);
        em = fm.height() > 0 ? Scale(h, FFont.pixelSize(), fm.ascent() + fm.descent()) : h;
    }
    const int32_t pixels = static_cast<int32_t>(std::clamp<int64_t>(em, 1, MaxEm));
    FFont.setPixelSize(pixels);
    FMetrics = QFontMetrics(FFont);

    if (dm.Valid) {
        FText.Ascent = Scale(dm.WinAscent, pixels, dm.UnitsPerEm);
        FText.Descent = Scale(dm.WinDescent, pixels, dm.UnitsPerEm);
        FText.AveCharWidth = Scale(dm.AvgCharWidth, pixels, dm.UnitsPerEm);
        FOutline.Ascent = Scale(dm.TypoAscent, pixels, dm.UnitsPerEm);
        FOutline.Descent = Scale(dm.TypoDescent, pixels, dm.UnitsPerEm);
        FOutline.EmSquare = static_cast<uint32_t>(dm.UnitsPerEm);
    } else {
        FText.Ascent = FOutline.Ascent = FMetrics.ascent();
        FText.Descent = FMetrics.descent();
        FOutline.Descent = -FMetrics.descent();
        FText.AveCharWidth = FMetrics.averageCharWidth();
        FOutline.EmSquare = static_cast<uint32_t>(pixels);
    }
    FText.Height = FText.Ascent + FText.Descent;
    FText.InternalLeading = FText.Height - pixels;
    FText.ExternalLeading = std::max(0, FMetrics.leading());
    FText.MaxCharWidth = FMetrics.maxWidth();
}

TQtTextRun &TQtFont::Run(std::string_view cp1251) {
    return RunIn(FRuns8, cp1251);
}

TQtTextRun &TQtFont::Run(std::u16string_view text) {
    return RunIn(FRuns16, text);
}

const TQtTextRun &TQtFont::Laid(std::string_view cp1251) {
    TQtTextRun &run = Run(cp1251);
    if (!run.Laid) Lay(run, ToQString(cp1251));
    return run;
}

const TQtTextRun &TQtFont::Laid(std::u16string_view text) {
    TQtTextRun &run = Run(text);
    if (!run.Laid) Lay(run, ToQString(text));
    return run;
}

template <class TText>
TQtTextRun &TQtFont::RunIn(std::unordered_map<TText, TQtTextRun> &runs,
                           std::basic_string_view<typename TText::value_type> text) {
    auto it = runs.find(TText(text));
    if (it != runs.end()) return it->second;
    if (runs.size() >= MaxRunsPerFont) runs.clear();
    TQtTextRun &run = runs[TText(text)];
    run.Width = FMetrics.horizontalAdvance(ToQString(text));
    return run;
}

void TQtFont::Lay(TQtTextRun &run, const QString &text) const {
    // Laid out once, painted as glyph runs: no shaping on every output.
    QTextLayout layout(text, FFont);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    run.LineAscent = line.isValid() ? line.ascent() : 0;
    run.Glyphs = layout.glyphRuns();
    run.Laid = true;
}

bool TQtFont::CharABCWidths(uint32_t code, TABC &abc) {
    if (code > 255 || code == 0x98) return false;
    if (!FHasABC[code]) {
        const QChar ch(Cp1251ToUnicode(static_cast<unsigned char>(code)));
        TABC v;
        v.A = FMetrics.leftBearing(ch);
        v.C = FMetrics.rightBearing(ch);
        const int64_t b = int64_t{FMetrics.horizontalAdvance(ch)} - v.A - v.C;
        v.B = static_cast<uint32_t>(std::max<int64_t>(0, b));
        FABC[code] = v;
        FHasABC[code] = true;
    }
    abc = FABC[code];
    return true;
}

bool TQtFont::GlyphMetrics(uint32_t code, TGlyphMetrics &gm) {
    if (code > 255 || code == 0x98) return false;
    if (!FHasGlyph[code]) {
        const QChar ch(Cp1251ToUnicode(static_cast<unsigned char>(code)));
        const QRect box = FMetrics.boundingRect(ch);
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
            static_cast<int16_t>(std::clamp(FMetrics.horizontalAdvance(ch), -32768, 32767));
        FGlyph[code] = g;
        FHasGlyph[code] = true;
    }
    gm = FGlyph[code];
    return true;
}

bool SameFace(const TFontData &a, const TFontData &b) {
    return a.Height == b.Height && a.Style == b.Style && a.Pitch == b.Pitch && a.Name == b.Name;
}

std::shared_ptr<TQtFont> QtFontOf(const TFontData &d) {
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
    auto entry = std::make_shared<TQtFont>(d);
    FontCache->Entries.emplace(std::move(key), entry);
    return entry;
}

void ClearQtFontCache() {
    FontCache.reset();
}

QString FromCp1251(std::string_view text) {
    const std::u16string u = Cp1251ToUtf16(text);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}
