// The fonts of the Qt drawing surface. Everything derived from a font value (the Qt font, its
// metrics from the OS/2 and head tables, per-character ABC widths and glyph boxes, text widths
// and laid-out glyphs) is kept in a per-thread cache shared by all canvases, so building many
// small pictures measures each text once. The cache is dropped when the application object goes
// away.
#pragma once

#include "formula/draw/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QString>

#include <array>
#include <bitset>
#include <memory>
#include <string>
#include <unordered_map>

// A Windows-1251 text as a QString.
QString FromCp1251(std::string_view text);

// One text in one font: its width, and once it is painted, its glyphs.
struct TQtTextRun {
    int32_t Width = 0;
    bool Laid = false;
    qreal LineAscent = 0;
    QList<QGlyphRun> Glyphs;
};

// One face (a font value but for its colour and escapement) as Qt draws it.
class TQtFont {
public:
    explicit TQtFont(const TFontData &font);
    TQtFont(const TQtFont &) = delete;
    TQtFont &operator=(const TQtFont &) = delete;

    const TFontData &Face() const { return FFace; }
    const QFont &Font() const { return FFont; }
    const TTextMetrics &TextMetrics() const { return FText; }
    const TOutlineTextMetrics &OutlineMetrics() const { return FOutline; }

    // A text measured, and measured and laid out to be painted.
    TQtTextRun &Run(std::string_view cp1251);
    TQtTextRun &Run(std::u16string_view text);
    const TQtTextRun &Laid(std::string_view cp1251);
    const TQtTextRun &Laid(std::u16string_view text);

    // Both for 8-bit (Windows-1251) codes only: false for codes above 255 and the unassigned
    // byte 0x98.
    bool CharABCWidths(uint32_t code, TABC &abc);
    bool GlyphMetrics(uint32_t code, TGlyphMetrics &gm);

private:
    // The run of text in runs, measured on first use; a full list starts over.
    template <class TText>
    TQtTextRun &RunIn(std::unordered_map<TText, TQtTextRun> &runs,
                      std::basic_string_view<typename TText::value_type> text);
    void Lay(TQtTextRun &run, const QString &text) const;

    TFontData FFace;
    QFont FFont;
    QFontMetrics FMetrics;
    TTextMetrics FText;
    TOutlineTextMetrics FOutline;
    std::array<TABC, 256> FABC{};
    std::array<TGlyphMetrics, 256> FGlyph{};
    std::bitset<256> FHasABC, FHasGlyph;
    std::unordered_map<std::string, TQtTextRun> FRuns8;
    std::unordered_map<std::u16string, TQtTextRun> FRuns16;
};

// Whether two font values select the same face: colour and escapement are applied when painting.
bool SameFace(const TFontData &a, const TFontData &b);

// The face of a font value from this thread's cache, made on first use.
std::shared_ptr<TQtFont> QtFontOf(const TFontData &font);

// Drops this thread's font cache.
void ClearQtFontCache();
