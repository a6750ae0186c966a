#include "results/FontSetup.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>
#include <QStringList>

void InstallFontSubstitutions() {
    struct TSubstitution {
        const char *Face;
        const char *Substitute;
    };
    static constexpr TSubstitution Substitutions[] = {
        {"Comic Sans MS", "DejaVu Sans"},
        {"MS Sans Serif", "DejaVu Sans"},
        {"Times New Roman", "DejaVu Serif"},
    };
    const QStringList installed = QFontDatabase::families();
    for (const TSubstitution &s : Substitutions) {
        const QString face = QString::fromLatin1(s.Face);
        if (installed.contains(face, Qt::CaseInsensitive)) continue;
        const QString substitute = QString::fromLatin1(s.Substitute);
        // insertSubstitution appends; keep the list to the one entry on repeated calls.
        if (!QFont::substitutes(face).contains(substitute))
            QFont::insertSubstitution(face, substitute);
    }
}

QFont ClassicFont(const QString &face, int characterHeight, bool bold) {
    QFont font(face);
    font.setPixelSize(characterHeight);
    font.setBold(bold);
    return font;
}

QFont FitFont(const QFont &font, const QString &text, int width) {
    if (QFontMetrics(font).horizontalAdvance(text) <= width) return font;
    QFont fitted = font;
    for (int stretch = 99; stretch >= 75; --stretch) {
        fitted.setStretch(stretch);
        if (QFontMetrics(fitted).horizontalAdvance(text) <= width) return fitted;
    }
    return fitted;
}
