#include "results/Guide.h"

#include <QFile>

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
    const QString code = language.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('-'), 0, 0);
    const QString guide = GuideIn(code.toLower());
    return guide.isEmpty() ? GuideIn(QStringLiteral("ru")) : guide;
}
