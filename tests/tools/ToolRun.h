// One of the tools run as the program it is: what it wrote and how it ended.
#pragma once

#include "tests/support/FileSizeLimit.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

struct TToolRun {
    int Exit = -1; // -1 when it did not end normally
    QString Out, Err;
    QStringList Lines() const { return Out.split(u'\n', Qt::SkipEmptyParts); }
};

// Runs exe with args and input on its standard input; fileLimit limits the size of the files it
// writes, environment adds to its environment.
inline TToolRun RunTool(const QString &exe, const QStringList &args,
                        const QByteArray &input = QByteArray(),
                        std::optional<rlim_t> fileLimit = std::nullopt,
                        const QStringList &environment = {}) {
    QProcess process;
    if (fileLimit) LimitFileSize(process, *fileLimit);
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &variable : environment)
            env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        process.setProcessEnvironment(env);
    }
    process.start(exe, args);
    process.write(input);
    process.closeWriteChannel();
    TToolRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << exe.toStdString() << " did not finish";
        return run;
    }
    run.Exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
