// The settings file data.ini: section "variant", key "number", the 0-based index of the current
// variant; section "language", key "code", "ru" or "en" once the user has chosen a language. It
// lives beside the executable when the user owns that folder and it is not a system folder (under
// /usr), and it can be written; otherwise in the user's configuration folder.
#pragma once

#include "runtime/Language.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

constexpr int32_t DefaultVariantIndex = 9;

// The two folders data.ini may live in.
struct TSettingsPlace {
    QString ProgramFolder; // the executable's folder
    QString ConfigFolder;  // the user's configuration folder, the fallback
};

// Whether data.ini may be kept in the executable's folder: it exists, the current user owns it
// and it is not under /usr.
bool ProgramFolderKeepsSettings(const QString &folder);

// The executable's folder and QStandardPaths::AppConfigLocation.
TSettingsPlace DefaultSettingsPlace();

// INI text. Section and key names compare without regard to case, the first match counts.
// The value of section/key, without the blanks around it.
std::optional<QByteArray> ReadIniValue(QByteArrayView text, QByteArrayView section,
                                       QByteArrayView key);
// The value of section/key when it is a decimal integer of 32 bits (blanks around it allowed).
std::optional<int32_t> ReadIniInteger(QByteArrayView text, QByteArrayView section,
                                      QByteArrayView key);
// The text with section/key set to value; every other line is kept, a missing section or key
// is added.
QByteArray WriteIniInteger(QByteArrayView text, QByteArrayView section, QByteArrayView key,
                           int32_t value);
QByteArray WriteIniValue(QByteArrayView text, QByteArrayView section, QByteArrayView key,
                         QByteArrayView value);

// Files above this size, or holding NUL bytes, are not settings files: they are ignored when
// read and replaced when written.
constexpr qint64 MaxSettingsFileSize = 64 * 1024;

// The stored variant index: always 0 .. 29, DefaultVariantIndex when no file holds a usable
// value.
int32_t ReadVariantIndex(const TSettingsPlace &place);

// The language the user chose, from the file that ReadVariantIndex reads; nothing when none
// is stored or the value is neither "ru" nor "en".
std::optional<TLanguage> ReadLanguage(const TSettingsPlace &place);

// Stores index, and the language when one is given, whole or not at all; returns the path of the
// file written, empty when neither place could be written, and then (when error is given) one line
// saying why. Never shows anything.
QString WriteVariantIndex(const TSettingsPlace &place, int32_t index, QString *error = nullptr,
                          std::optional<TLanguage> language = std::nullopt);
