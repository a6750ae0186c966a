// The program's language: Russian or English, chosen from the command line, the saved choice or
// the system, and installed for every text of the program, Qt's own dialogs and the number texts.
#pragma once

#include "runtime/Language.h"

#include <QString>
#include <QStringList>

#include <optional>

// The language a name stands for ("ru", "ru_RU.UTF-8", "en-GB"): Russian for Russian and where
// no language is set ("", "C", "POSIX"), English for any other language.
TLanguage LanguageOfName(const QString &name);

// "ru" or "en" (the --lang values and the saved setting); nothing for any other text.
std::optional<TLanguage> LanguageOption(const QString &value);
QString LanguageCode(TLanguage language);

// The language to use: the command line's choice, else the saved one, else the first of the
// system's UI languages (QLocale::uiLanguages()).
TLanguage ChooseLanguage(const std::optional<TLanguage> &option,
                         const std::optional<TLanguage> &saved, const QStringList &uiLanguages);

// The first of the system's UI languages, or "" where the locale is C or POSIX.
QStringList SystemUiLanguages();

// Installs the language into the running application: the program's catalogue, Qt's own
// translations and the texts and numbers of the plain C++ layers. Call once, after the
// application object exists. False when a catalogue did not load (the texts then stay Russian).
bool InstallLanguage(TLanguage language);
