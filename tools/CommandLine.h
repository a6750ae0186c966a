// What the command-line tools share in reading their command lines: QCommandLineParser with the
// tools' own --help texts, one form for whole-number values, usage errors as one line naming the
// problem followed by a hint to --help, and every text in the language --lang or the system
// chooses.
#pragma once

#include "results/Language.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// The text of the catalogue in the chosen language (UTF-8).
inline std::string ToolText(const char *context, const char *source) {
    return QCoreApplication::translate(context, source).toStdString();
}

// pattern with each %1 .. %9 replaced by its part as it is, byte for byte (a value or a file name
// as it was typed).
inline std::string Filled(std::string_view pattern, std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const char c = k + 1 < pattern.size() ? pattern[k + 1] : '\0';
        if (pattern[k] == '%' && c >= '1' && c <= '9' &&
            static_cast<std::size_t>(c - '0') <= parts.size()) {
            out += parts.begin()[c - '1'];
            ++k;
        } else {
            out += pattern[k];
        }
    }
    return out;
}

// A failure as a tool's line: the English line as it stands, the sentence of the chosen language
// (the window's) otherwise, begun in lower case and without its full stop.
inline std::string ToolLine(const QString &english, QString sentence) {
    if (TextLanguage() == TLanguage::English || sentence.isEmpty()) return english.toStdString();
    if (sentence.endsWith(u'.')) sentence.chop(1);
    sentence[0] = sentence[0].toLower();
    return sentence.toStdString();
}

// The value of text when it is decimal digits only, without a sign, blanks or leading zeros, and
// lies within lo .. hi (lo >= 0).
inline std::optional<int> WholeNumberArgument(std::string_view text, int lo, int hi) {
    if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

// Prints "tool: message" and the hint to --help on standard error and returns status.
inline int UsageError(const char *tool, const std::string &message, int status) {
    const std::string hint =
        Filled(ToolText("CommandLine", "По команде «%1 --help» можно получить справку."), {tool});
    std::fprintf(stderr, "%s: %s\n%s\n", tool, message.c_str(), hint.c_str());
    return status;
}

// Parses args (the program's name first) for options plus -h/--help and --version, installs the
// language (--lang's, an option the tool defines, when it names one, else the system's), and
// prints usage (a text of the catalogue's context) or "tool version" for those two. Call with
// the application object made. Returns the exit status when the tool is done: 0 after help or
// version, status after a usage error that the parser finds (an unknown option, a missing or
// unexpected value), then named by unknownText for an unknown option as it was typed
// ("--colour"). Returns nothing when the tool goes on with what parser holds.
template <typename TUnknownText>
std::optional<int> ParseCommandLine(QCommandLineParser &parser, const QStringList &args,
                                    const char *tool, const char *version, const char *context,
                                    const char *usage, int status, TUnknownText unknownText) {
    // "-f" and "--size" alike name one option each; "-xy" is one unknown option, not two.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser.addOption(QCommandLineOption(QStringLiteral("version")));
    // The language goes in before any text is made, Qt's parser errors included: a first
    // parse finds --lang, the second makes the errors in the language. A wrong --lang is told
    // in the system's.
    parser.parse(args);
    const std::optional<TLanguage> option =
        parser.isSet(QStringLiteral("lang")) ? LanguageOption(parser.value(QStringLiteral("lang")))
                                             : std::nullopt;
    InstallLanguage(ChooseLanguage(option, std::nullopt, SystemUiLanguages()));
    if (!parser.parse(args)) {
        if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
            QString typed = unknown.constFirst();
            for (const QString &arg : args.mid(1)) {
                const QString name = arg.section(u'=', 0, 0);
                const qsizetype dashes = name.startsWith(u"--") ? 2 : name.startsWith(u'-') ? 1 : 0;
                if (dashes > 0 && name.mid(dashes) == typed) {
                    typed = name;
                    break;
                }
            }
            return UsageError(tool, unknownText(typed), status);
        }
        // Qt's sentence ("Missing value after '--size'.") as the tool's lower-case line.
        QString error = parser.errorText();
        if (error.endsWith(u'.')) error.chop(1);
        if (!error.isEmpty()) error[0] = error[0].toLower();
        return UsageError(tool, error.toStdString(), status);
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(QCoreApplication::translate(context, usage).toUtf8().constData(), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", tool, version);
        return 0;
    }
    return std::nullopt;
}
