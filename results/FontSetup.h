// Face resolution for the classic faces the windows and formulas ask for. The machines Zelvano
// runs on rarely have them; without a rule fontconfig picks whatever it likes (often a face
// without Cyrillic), so the substitutes are fixed here.
#pragma once

#include <QFont>
#include <QString>

// Maps "Comic Sans MS" and "MS Sans Serif" to DejaVu Sans and "Times New Roman" to DejaVu Serif,
// each only when the face itself is not installed. Needs a QGuiApplication; call it once at
// program and tool start (repeated calls change nothing).
void InstallFontSubstitutions();

// A window font as the classic forms give it: a face and a character (em) height in pixels.
QFont ClassicFont(const QString &face, int characterHeight, bool bold = false);

// The substitutes run wider than the classic faces, so a text that filled a fixed width there
// can overflow it here. Returns font, horizontally condensed just enough (down to 75 %) for text
// to fit width pixels; font itself when it fits.
QFont FitFont(const QFont &font, const QString &text, int width);
