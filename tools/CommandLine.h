// What the command-line tools share in reading their command lines: QCommandLineParser with the
// tools' own --help texts, one form for whole-number values, and usage errors as one line naming
// the problem followed by a hint to --help.
#pragma once

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

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

// Prints "tool: message" and "Try 'tool --help'." on standard error and returns status.
inline int UsageError(const char *tool, const std::string &message, int status) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", tool, message.c_str(), tool);
    return status;
}

// Parses args (the program's name first) for options plus -h/--help and --version, and prints
// usage or "tool version" for those two. Returns the exit status when the tool is done: 0 after
// help or version, status after a usage error that the parser finds (an unknown option, a
// missing or unexpected value), then named by unknownText for an unknown option as it was typed
// ("--colour"). Returns nothing when the tool goes on with what parser holds.
template <typename TUnknownText>
std::optional<int> ParseCommandLine(QCommandLineParser &parser, const QStringList &args,
                                    const char *tool, const char *version, const char *usage,
                                    int status, TUnknownText unknownText) {
    // "-f" and "--size" alike name one option each; "-xy" is one unknown option, not two.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser.addOption(QCommandLineOption(QStringLiteral("version")));
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
        std::fputs(usage, stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", tool, version);
        return 0;
    }
    return std::nullopt;
}
