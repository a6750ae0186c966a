#include "results/Guide.h"

#include "results/Language.h"

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
    return GuideIn(LanguageCode(LanguageOfName(language)));
}
