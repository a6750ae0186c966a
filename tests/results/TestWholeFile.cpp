#include "results/WholeFile.h"
#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

QByteArray Content(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

TEST(WholeFile, WritesAllOrLeavesTheEarlierFileAndNothingElse) {
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("out.csv"));
    const QByteArray text(4096, 'x');
    EXPECT_EQ(WriteWholeFile(path, text), QString());
    EXPECT_EQ(Content(path), text);

    // A full disk part way: the earlier file stays whole, and no temporary file is left.
    {
        const TFileSizeLimit full(1000);
        QString russian;
        EXPECT_EQ(WriteWholeFile(path, QByteArray(2000, 'y'), &russian),
                  QStringLiteral("cannot write \"%1\": %2")
                      .arg(path, QString::fromLocal8Bit(std::strerror(EFBIG))));
        EXPECT_EQ(russian, QStringLiteral("Не удалось записать файл «%1»: файл слишком велик.")
                               .arg(QDir::toNativeSeparators(path)));
    }
    EXPECT_EQ(Content(path), text);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.csv")});

    // A folder cannot be made into a file, and a missing folder is not created.
    QString russian;
    EXPECT_TRUE(WriteWholeFile(temp.path(), "x", &russian)
                    .startsWith(QStringLiteral("cannot write \"%1\": ").arg(temp.path())));
    EXPECT_TRUE(russian.endsWith(QStringLiteral("»: это папка, а не файл.")));
    EXPECT_TRUE(QFileInfo(temp.path()).isDir());
    const QString missing = temp.filePath(QStringLiteral("no/such/out.csv"));
    EXPECT_TRUE(WriteWholeFile(missing, "x", &russian)
                    .startsWith(QStringLiteral("cannot write \"%1\": ").arg(missing)));
    EXPECT_EQ(russian, QStringLiteral("Не удалось записать файл «%1»: такой папки нет.")
                           .arg(QDir::toNativeSeparators(missing)));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("no"))));
}
