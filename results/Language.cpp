#include "results/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include <vector>

TLanguage LanguageOfName(const QString &name) {
    static const QRegularExpression separators(QStringLiteral("[_\\-.@]"));
    const QString code = name.section(separators, 0, 0).toLower();
    // No language set: scripts and stored records keep the Russian they have always had.
    if (code.isEmpty() || code == QLatin1String("c") || code == QLatin1String("posix") ||
        code == QLatin1String("ru"))
        return TLanguage::Russian;
    return TLanguage::English;
}

std::optional<TLanguage> LanguageOption(const QString &value) {
    if (value == QLatin1String("ru")) return TLanguage::Russian;
    if (value == QLatin1String("en")) return TLanguage::English;
    return std::nullopt;
}

QString LanguageCode(TLanguage language) {
    return language == TLanguage::English ? QStringLiteral("en") : QStringLiteral("ru");
}

TLanguage ChooseLanguage(const std::optional<TLanguage> &option,
                         const std::optional<TLanguage> &saved, const QStringList &uiLanguages) {
    if (option) return *option;
    if (saved) return *saved;
    return LanguageOfName(uiLanguages.isEmpty() ? QString() : uiLanguages.constFirst());
}

QStringList SystemUiLanguages() {
    const QLocale system = QLocale::system();
    // The C locale lists "en-US" among its UI languages, but no language was chosen there.
    if (system.language() == QLocale::C) return {};
    return system.uiLanguages();
}

namespace {

std::string TranslateText(const char *context, const char *source) {
    return QCoreApplication::translate(context, source).toStdString();
}

// The catalogues installed last, removed when another language is installed.
std::vector<QTranslator *> Installed;

bool Install(const QString &name, const QString &folder) {
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator)) {
        Installed.push_back(translator);
        return true;
    }
    delete translator;
    return false;
}

} // namespace

bool InstallLanguage(TLanguage language) {
    for (QTranslator *translator : Installed) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    Installed.clear();
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QString code = LanguageCode(language);
    // Qt's texts are English without a catalogue.
    const bool qt =
        language == TLanguage::English || Install(QStringLiteral("qtbase_") + code, qtFolder);
    // The program's texts are written in Russian; English comes from its catalogue.
    const bool own = language == TLanguage::Russian ||
                     Install(QStringLiteral("zelvano_") + code, QStringLiteral(":/i18n"));
    if (own && language == TLanguage::English)
        SetTextLanguage(language, TranslateText);
    else
        SetTextLanguage(TLanguage::Russian, nullptr);
    return qt && own;
}
