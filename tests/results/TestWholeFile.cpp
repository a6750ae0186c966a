#include "results/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(WholeFile, AFailureHalfwayLeavesTheEarlierFileAndNoTemporaryOne) {
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("out.csv"));
    QString error;
    ASSERT_TRUE(WriteWholeFile(path, QByteArray("before"), error)) << error.toStdString();

    const bool written = WriteWholeFile(
        path,
        [](QIODevice &file, QString &reason) {
            file.write("half of the ");
            reason = QStringLiteral("gave up");
            return false;
        },
        error);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, QStringLiteral("gave up"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("before"));
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.csv")});

    EXPECT_FALSE(WriteWholeFile(temp.filePath(QStringLiteral("no/such/folder.csv")),
                                QByteArray("x"), error));
    EXPECT_FALSE(error.isEmpty());
}
