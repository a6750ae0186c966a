#include "app/Instance.h"
#include "app/Settings.h"
#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<int32_t> Number(QByteArrayView text) {
    return ReadIniInteger(text, "variant", "number");
}

void WriteFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FTemp.isValid());
        ASSERT_TRUE(QDir().mkpath(Program()));
        FPlace = {Program(), FTemp.filePath(QStringLiteral("config/zelvano"))};
    }
    QString Program() const { return FTemp.filePath(QStringLiteral("program")); }
    QString Beside() const { return QDir(FPlace.ProgramFolder).filePath("data.ini"); }
    QString Fallback() const { return QDir(FPlace.ConfigFolder).filePath("data.ini"); }
    // A folder path that cannot be created, for root too: its parent is a file.
    QString Unwritable() {
        const QString file = FTemp.filePath(QStringLiteral("a-file"));
        WriteFile(file, "x");
        return file + QStringLiteral("/program");
    }

    QTemporaryDir FTemp;
    TSettingsPlace FPlace;
};

} // namespace

TEST(IniText, ReadsTheValueOfTheSectionAndKey) {
    EXPECT_EQ(Number("[variant]\nnumber=9\n"), 9);
    EXPECT_EQ(Number("[variant]\r\nnumber=0\r\n"), 0);
    EXPECT_EQ(Number("  [ Variant ]  \n  NUMBER = 17  \n"), 17);
    EXPECT_EQ(Number("[other]\nnumber=3\n[variant]\nx=1\nnumber=4\nnumber=5\n"), 4);
    EXPECT_EQ(Number("[variant]\n; number=3\nnumber=-12"), -12);
    EXPECT_EQ(Number("[variant]\nnumber=+7\n"), 7);
    EXPECT_EQ(Number("[variant]\nnumber=2147483647\n"), 2147483647);
}

TEST(IniText, NoValueWhenMissingOrNotAnInteger) {
    for (const char *text :
         {"", "number=3\n", "[variant]\n", "[variants]\nnumber=3\n", "[variant]\nnumbers=3\n",
          "[variant]\nnumber=\n", "[variant]\nnumber=abc\n", "[variant]\nnumber=12abc\n",
          "[variant]\nnumber=1.5\n", "[variant]\nnumber=0x10\n", "[variant]\nnumber=2147483648\n",
          "[variant\nnumber=3\n", "[other]\nnumber=3\n[variant]\n"}) {
        EXPECT_EQ(Number(text), std::nullopt) << text;
    }
}

TEST(IniText, WritingKeepsOtherLinesAndReplacesOrAddsTheValue) {
    EXPECT_EQ(WriteIniInteger("", "variant", "number", 9), QByteArray("[variant]\nnumber=9\n"));
    EXPECT_EQ(WriteIniInteger("[variant]\nnumber=3\n", "variant", "number", 0),
              QByteArray("[variant]\nnumber=0\n"));
    EXPECT_EQ(
        WriteIniInteger("; mine\n[a]\nx=1\n[Variant]\ny=2\n\n[b]\nz=3\n", "variant", "number", 5),
        QByteArray("; mine\n[a]\nx=1\n[Variant]\ny=2\nnumber=5\n\n[b]\nz=3\n"));
    EXPECT_EQ(WriteIniInteger("[a]\r\nx=1", "variant", "number", -1),
              QByteArray("[a]\r\nx=1\r\n\r\n[variant]\r\nnumber=-1\r\n"));
    // Whatever is written reads back.
    for (int32_t v : {0, 29, -5, 2147483647}) {
        const QByteArray text = WriteIniInteger("[x]\nnumber=1\n", "variant", "number", v);
        EXPECT_EQ(Number(text), v);
    }
}

TEST_F(SettingsFile, NoFileGivesTheDefaultAndWritingGoesBesideTheProgram) {
    EXPECT_EQ(ReadVariantIndex(FPlace), DefaultVariantIndex);
    EXPECT_EQ(WriteVariantIndex(FPlace, 0), Beside());
    EXPECT_EQ(ReadFile(Beside()), QByteArray("[variant]\nnumber=0\n"));
    EXPECT_FALSE(QFile::exists(Fallback()));
    EXPECT_EQ(ReadVariantIndex(FPlace), 0);
}

TEST_F(SettingsFile, OutOfRangeOrDamagedValuesGiveTheDefault) {
    for (const char *text :
         {"[variant]\nnumber=30\n", "[variant]\nnumber=-1\n", "[variant]\nnumber=99999999999\n",
          "[variant]\nnumber=x\n", "garbage\x01\x02\xff\xfe"}) {
        WriteFile(Beside(), text);
        EXPECT_EQ(ReadVariantIndex(FPlace), DefaultVariantIndex) << text;
    }
    WriteFile(Beside(), "[variant]\nnumber=29\n");
    EXPECT_EQ(ReadVariantIndex(FPlace), 29);
}

TEST_F(SettingsFile, BinaryAndHugeFilesAreIgnoredAndReplacedOnWrite) {
    QByteArray binary("[variant]\nnumber=3\n");
    binary += QByteArray(100, '\0');
    WriteFile(Beside(), binary);
    EXPECT_EQ(ReadVariantIndex(FPlace), DefaultVariantIndex);
    EXPECT_EQ(WriteVariantIndex(FPlace, 4), Beside());
    EXPECT_EQ(ReadFile(Beside()), QByteArray("[variant]\nnumber=4\n"));

    QByteArray huge("[variant]\nnumber=3\n");
    huge += QByteArray(MaxSettingsFileSize, ';');
    WriteFile(Beside(), huge);
    EXPECT_EQ(ReadVariantIndex(FPlace), DefaultVariantIndex);
    EXPECT_EQ(WriteVariantIndex(FPlace, 5), Beside());
    EXPECT_EQ(ReadVariantIndex(FPlace), 5);
}

TEST_F(SettingsFile, SomethingElseNamedDataIniNeitherBlocksNorBreaks) {
    // A pipe would block a plain open until a writer comes.
    ASSERT_EQ(mkfifo(QFile::encodeName(Beside()).constData(), 0600), 0);
    EXPECT_EQ(ReadVariantIndex(FPlace), DefaultVariantIndex);
    QFile::remove(Beside());

    ASSERT_TRUE(QDir().mkpath(Beside()));
    EXPECT_EQ(ReadVariantIndex(FPlace), DefaultVariantIndex);
    EXPECT_EQ(WriteVariantIndex(FPlace, 6), Fallback());
    EXPECT_EQ(ReadVariantIndex(FPlace), 6);
}

TEST_F(SettingsFile, AnUnwritableProgramFolderFallsBackToTheConfigFolder) {
    FPlace.ProgramFolder = Unwritable();
    EXPECT_EQ(ReadVariantIndex(FPlace), DefaultVariantIndex);
    EXPECT_EQ(WriteVariantIndex(FPlace, 0), Fallback());
    EXPECT_EQ(ReadFile(Fallback()), QByteArray("[variant]\nnumber=0\n"));
    EXPECT_EQ(ReadVariantIndex(FPlace), 0);
}

TEST_F(SettingsFile, NeitherFolderWritableCostsOnlyTheSavedValue) {
    FPlace.ProgramFolder = Unwritable();
    FPlace.ConfigFolder = Unwritable() + QStringLiteral("/config");
    EXPECT_EQ(WriteVariantIndex(FPlace, 3), QString());
    EXPECT_EQ(ReadVariantIndex(FPlace), DefaultVariantIndex);
    EXPECT_EQ(WriteVariantIndex({QString(), QString()}, 3), QString());
    EXPECT_EQ(ReadVariantIndex({QString(), QString()}), DefaultVariantIndex);
}

TEST_F(SettingsFile, AFullDiskKeepsTheEarlierFileWholeAndSaysWhy) {
    const QByteArray earlier("[a]\nkept=1\n\n[variant]\nnumber=3\n");
    WriteFile(Beside(), earlier);
    QString error;
    {
        const TFileSizeLimit full(8);
        EXPECT_EQ(WriteVariantIndex(FPlace, 5, &error), QString());
    }
    EXPECT_EQ(ReadFile(Beside()), earlier);
    EXPECT_EQ(QDir(Program()).entryList(QDir::Files), QStringList{QStringLiteral("data.ini")});
    EXPECT_EQ(QDir(FPlace.ConfigFolder).entryList(QDir::Files), QStringList());
    // Both places were tried; each is named with the system's reason.
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    EXPECT_EQ(error, QStringLiteral("cannot write \"%1\": %3; cannot write \"%2\": %3")
                         .arg(Beside(), Fallback(), reason));
    EXPECT_EQ(ReadVariantIndex(FPlace), 3);
}

TEST_F(SettingsFile, AWritableFileInAReadOnlyFolderIsNotWrittenInPlace) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    WriteFile(Beside(), "[variant]\nnumber=3\n");
    ASSERT_EQ(chmod(QFile::encodeName(Program()).constData(), 0555), 0);
    // Written in place, a failure part way would damage it; the fallback takes the value.
    EXPECT_EQ(WriteVariantIndex(FPlace, 7), Fallback());
    EXPECT_EQ(ReadFile(Beside()), QByteArray("[variant]\nnumber=3\n"));
    EXPECT_EQ(ReadVariantIndex(FPlace), 7);
    chmod(QFile::encodeName(Program()).constData(), 0755);
}

TEST_F(SettingsFile, AReadOnlyFileBesideSeedsTheFallbackWhichThenWins) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    WriteFile(Beside(), "[variant]\nnumber=3\n");
    ASSERT_EQ(chmod(QFile::encodeName(Beside()).constData(), 0444), 0);
    ASSERT_EQ(chmod(QFile::encodeName(Program()).constData(), 0555), 0);
    EXPECT_EQ(ReadVariantIndex(FPlace), 3);
    EXPECT_EQ(WriteVariantIndex(FPlace, 7), Fallback());
    EXPECT_EQ(ReadVariantIndex(FPlace), 7);
    chmod(QFile::encodeName(Program()).constData(), 0755);
}

TEST_F(SettingsFile, AValueBesideTheProgramIsReadBeforeTheFallback) {
    WriteFile(Beside(), "[variant]\nnumber=12\n");
    ASSERT_TRUE(QDir().mkpath(FPlace.ConfigFolder));
    WriteFile(Fallback(), "[variant]\nnumber=20\n");
    EXPECT_EQ(ReadVariantIndex(FPlace), 12);
    QFile::remove(Beside());
    EXPECT_EQ(ReadVariantIndex(FPlace), 20);
}

TEST_F(SettingsFile, ASystemOrForeignProgramFolderIsNeverWritten) {
    // Run by root from /usr/bin, the value must not land beside the executable: there it would
    // belong to no package and set the start variant for every user.
    FPlace.ProgramFolder = QStringLiteral("/usr/bin");
    EXPECT_FALSE(ProgramFolderKeepsSettings(FPlace.ProgramFolder));
    EXPECT_EQ(WriteVariantIndex(FPlace, 4), Fallback());
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/usr/bin/data.ini")));
    EXPECT_EQ(ReadVariantIndex(FPlace), 4);

    // A folder of another user: only root can hand one over for the test.
    FPlace.ProgramFolder = Program();
    EXPECT_TRUE(ProgramFolderKeepsSettings(Program()));
    if (geteuid() != 0) return;
    ASSERT_EQ(chown(QFile::encodeName(Program()).constData(), 65534, 65534), 0);
    EXPECT_FALSE(ProgramFolderKeepsSettings(Program()));
    EXPECT_EQ(WriteVariantIndex(FPlace, 8), Fallback());
    EXPECT_FALSE(QFileInfo::exists(Beside()));
}

TEST(InstanceSlot, EachRunningCopyTakesTheLowestFreeSlotAndOffsetsItsWindows) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto first = std::make_unique<TInstanceSlot>(folder.path());
    const TInstanceSlot second(folder.path());
    EXPECT_EQ(first->Number(), 0);
    EXPECT_EQ(second.Number(), 1);
    EXPECT_EQ(first->Offset(), QPoint(0, 0));
    EXPECT_NE(second.Offset(), QPoint(0, 0));
    // The first copy closed: the next one takes its place.
    first.reset();
    EXPECT_EQ(TInstanceSlot(folder.path()).Number(), 0);
}

TEST_F(SettingsFile, AChosenLanguageIsKeptBesideTheVariantUntilChangedAndNonsenseIsNone) {
    EXPECT_FALSE(ReadLanguage(FPlace));
    ASSERT_FALSE(WriteVariantIndex(FPlace, 4, nullptr, TLanguage::English).isEmpty());
    EXPECT_EQ(ReadLanguage(FPlace), TLanguage::English);
    // A write without a choice keeps the stored language.
    ASSERT_FALSE(WriteVariantIndex(FPlace, 6).isEmpty());
    EXPECT_EQ(ReadLanguage(FPlace), TLanguage::English);
    EXPECT_EQ(ReadVariantIndex(FPlace), 6);
    WriteFile(Beside(), "[variant]\nnumber=6\n[language]\ncode=fr\n");
    EXPECT_FALSE(ReadLanguage(FPlace));
    EXPECT_EQ(ReadVariantIndex(FPlace), 6);
}
