#include "results/Guide.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QString GuideIn(const QString &language) {
    QFile file(QStringLiteral(":/help/guide.%1.html").arg(language));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString GuideHtml(const QString &language) {
    // The library is static: naming its resource here keeps it in every program that asks.
    static const bool registered = [] {
        Q_INIT_RESOURCE(guide);
        return true;
    }();
    (void)registered;
    // "ru_RU.UTF-8", "ru-RU" and "ru" all name Russian.
    static const QRegularExpression separators(QStringLiteral("[_\\-.@]"));
    const QString code = language.section(separators, 0, 0).toLower();
    // No language set: scripts and stored records keep the Russian they have always had.
    if (code.isEmpty() || code == QLatin1String("c") || code == QLatin1String("posix"))
        return GuideIn(QStringLiteral("ru"));
    // Only a plain language code names a file.
    static const QRegularExpression languageCode(QStringLiteral("^[a-z]{2,3}$"));
    if (languageCode.match(code).hasMatch())
        if (QString guide = GuideIn(code); !guide.isEmpty()) return guide;
    return GuideIn(QStringLiteral("en"));
}
