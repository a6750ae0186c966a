#include "app/Settings.h"

#include "analysis/MainData.h"
#include "results/Language.h"
#include "results/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace {

const QByteArray VariantSection = "variant";
const QByteArray NumberKey = "number";
const QByteArray LanguageSection = "language";
const QByteArray CodeKey = "code";
const QString FileName = QStringLiteral("data.ini");

bool SameName(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// One line of INI text, without its line break.
struct TLine {
    QByteArray Text;
    // The section name when the line opens a section.
    std::optional<QByteArray> Section() const {
        const QByteArray t = Text.trimmed();
        if (!t.startsWith('[')) return std::nullopt;
        const qsizetype close = t.indexOf(']');
        if (close < 0) return std::nullopt;
        return t.mid(1, close - 1).trimmed();
    }
    // The key and value when the line is an assignment.
    bool Assignment(QByteArray &key, QByteArray &value) const {
        const QByteArray t = Text.trimmed();
        if (t.isEmpty() || t.startsWith(';') || t.startsWith('#')) return false;
        const qsizetype eq = t.indexOf('=');
        if (eq < 0) return false;
        key = t.left(eq).trimmed();
        value = t.mid(eq + 1).trimmed();
        return true;
    }
};

QList<TLine> SplitLines(QByteArrayView text) {
    QList<TLine> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) end = text.size();
        QByteArray line = text.sliced(start, end - start).toByteArray();
        if (line.endsWith('\r')) line.chop(1);
        lines.append(TLine{line});
        start = end + 1;
    }
    return lines;
}

// Reads a settings file, or nothing: missing, not a regular file (a pipe would block the
// start), unreadable, too big or binary.
std::optional<QByteArray> ReadSettingsFile(const QString &path) {
    std::error_code error;
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    if (!std::filesystem::is_regular_file(native, error)) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray content = file.read(MaxSettingsFileSize + 1);
    if (content.size() > MaxSettingsFileSize || content.contains('\0')) return std::nullopt;
    return content;
}

// Whether path could be written whole: a new file or a writable one, in a writable folder (the
// new text goes to a temporary file beside it first).
bool CanWrite(const QString &path) {
    const QFileInfo info(path);
    if (info.exists() && !(info.isFile() && info.isWritable())) return false;
    const QFileInfo folder(info.absolutePath());
    return folder.isDir() && folder.isWritable();
}

std::optional<int32_t> VariantIndexIn(const QString &path) {
    const std::optional<QByteArray> content = ReadSettingsFile(path);
    if (!content) return std::nullopt;
    return ReadIniInteger(*content, VariantSection, NumberKey);
}

std::optional<TLanguage> LanguageIn(const QString &path) {
    const std::optional<QByteArray> content = ReadSettingsFile(path);
    if (!content) return std::nullopt;
    const std::optional<QByteArray> code = ReadIniValue(*content, LanguageSection, CodeKey);
    return code ? LanguageOption(QString::fromLatin1(*code)) : std::nullopt;
}

// The empty text when done, else why not.
QString WriteSettingsFile(const QString &path, int32_t index, std::optional<TLanguage> language) {
    // Keep what else a sane file holds; a damaged one is replaced.
    const QByteArray old = ReadSettingsFile(path).value_or(QByteArray());
    QByteArray text = WriteIniInteger(old, VariantSection, NumberKey, index);
    if (language)
        text = WriteIniValue(text, LanguageSection, CodeKey, LanguageCode(*language).toLatin1());
    return WriteWholeFile(path, text);
}

// The value of the file that counts: one beside the executable that can be written is where
// the values go at exit, so it alone counts. Otherwise the fallback file wins when it holds a
// value: a saved choice survives a read-only copy beside the executable.
template <typename TRead>
auto SettingIn(const TSettingsPlace &place, TRead read) -> decltype(read(QString())) {
    const bool own = ProgramFolderKeepsSettings(place.ProgramFolder);
    const QString beside =
        place.ProgramFolder.isEmpty() ? QString() : QDir(place.ProgramFolder).filePath(FileName);
    const QString config =
        place.ConfigFolder.isEmpty() ? QString() : QDir(place.ConfigFolder).filePath(FileName);
    if (own && QFileInfo::exists(beside) && CanWrite(beside)) return read(beside);
    if (!config.isEmpty()) {
        if (auto value = read(config)) return value;
    }
    return beside.isEmpty() ? decltype(read(QString()))() : read(beside);
}

} // namespace

bool ProgramFolderKeepsSettings(const QString &folder) {
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    const QString real = info.canonicalFilePath();
    if (real.isEmpty() || !info.isDir()) return false;
    // A system prefix belongs to the packages: a file there would set the start variant for
    // every user, and no package would own it.
    if (real == u"/usr" || real.startsWith(u"/usr/")) return false;
    return info.ownerId() == static_cast<uint>(geteuid());
}

TSettingsPlace DefaultSettingsPlace() {
    return {QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)};
}

std::optional<int32_t> ReadIniInteger(QByteArrayView text, QByteArrayView section,
                                      QByteArrayView key) {
    const std::optional<QByteArray> v = ReadIniValue(text, section, key);
    if (!v) return std::nullopt;
    bool ok = false;
    const int value = v->toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<QByteArray> ReadIniValue(QByteArrayView text, QByteArrayView section,
                                       QByteArrayView key) {
    bool inSection = false;
    for (const TLine &line : SplitLines(text)) {
        if (const std::optional<QByteArray> name = line.Section()) {
            inSection = SameName(*name, section);
            continue;
        }
        QByteArray k, v;
        if (!inSection || !line.Assignment(k, v) || !SameName(k, key)) continue;
        return v;
    }
    return std::nullopt;
}

QByteArray WriteIniInteger(QByteArrayView text, QByteArrayView section, QByteArrayView key,
                           int32_t value) {
    return WriteIniValue(text, section, key, QByteArray::number(value));
}

QByteArray WriteIniValue(QByteArrayView text, QByteArrayView section, QByteArrayView key,
                         QByteArrayView value) {
    const QByteArray eol = text.contains(QByteArrayView("\r\n")) ? "\r\n" : "\n";
    const QByteArray assignment = key.toByteArray() + '=' + value.toByteArray();
    QList<TLine> lines = SplitLines(text);

    qsizetype sectionAt = -1; // the section's header line
    qsizetype lastInSection = -1;
    bool inSection = false;
    bool done = false;
    for (qsizetype i = 0; i < lines.size() && !done; ++i) {
        if (const std::optional<QByteArray> name = lines[i].Section()) {
            if (inSection) break;
            inSection = SameName(*name, section);
            if (inSection) sectionAt = lastInSection = i;
            continue;
        }
        if (!inSection) continue;
        QByteArray k, v;
        if (lines[i].Assignment(k, v) && SameName(k, key)) {
            lines[i].Text = assignment;
            done = true;
        } else if (!lines[i].Text.trimmed().isEmpty()) {
            lastInSection = i;
        }
    }
    if (!done) {
        if (sectionAt >= 0) {
            lines.insert(lastInSection + 1, TLine{assignment});
        } else {
            if (!lines.isEmpty() && !lines.back().Text.trimmed().isEmpty()) lines.append(TLine{});
            lines.append(TLine{'[' + section.toByteArray() + ']'});
            lines.append(TLine{assignment});
        }
    }
    QByteArray out;
    for (const TLine &line : lines)
        out += line.Text + eol;
    return out;
}

int32_t ReadVariantIndex(const TSettingsPlace &place) {
    auto usable = [](std::optional<int32_t> value) {
        return value && *value >= 0 && *value < VariantCount ? *value : DefaultVariantIndex;
    };
    return usable(SettingIn(place, VariantIndexIn));
}

std::optional<TLanguage> ReadLanguage(const TSettingsPlace &place) {
    return SettingIn(place, LanguageIn);
}

QString WriteVariantIndex(const TSettingsPlace &place, int32_t index, QString *error,
                          std::optional<TLanguage> language) {
    QStringList failures;
    const QString beside = QDir(place.ProgramFolder).filePath(FileName);
    if (ProgramFolderKeepsSettings(place.ProgramFolder) && CanWrite(beside)) {
        const QString failure = WriteSettingsFile(beside, index, language);
        if (failure.isEmpty()) return beside;
        failures << failure;
    }
    if (!place.ConfigFolder.isEmpty()) {
        const QString config = QDir(place.ConfigFolder).filePath(FileName);
        const QString failure =
            QDir().mkpath(place.ConfigFolder)
                ? WriteSettingsFile(config, index, language)
                : QStringLiteral("cannot create \"%1\"").arg(place.ConfigFolder);
        if (failure.isEmpty()) return config;
        failures << failure;
    }
    if (error)
        *error = failures.isEmpty() ? QStringLiteral("no folder to keep %1 in").arg(FileName)
                                    : failures.join(QStringLiteral("; "));
    return QString();
}
