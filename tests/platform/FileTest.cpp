#include "AtomicFile.h"
#include "ProgramFolder.h"
#include "Scramble.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("project.kvpr");
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    ASSERT_TRUE(WriteFileAtomically(path, "new content"));
    QByteArray data;
    ASSERT_TRUE(ReadWholeFile(path, data));
    EXPECT_EQ(data, "new content");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"project.kvpr"});
}

// A batch tool stays executable and a private file private when they are written again.
TEST(AtomicFile, AReplacedFileKeepsItsPermissions) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tool");
    ASSERT_TRUE(WriteFileAtomically(path, "v1"));
    const QFile::Permissions program =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(path, program));
    ASSERT_TRUE(WriteFileAtomically(path, "v2"));
    EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              program);
}

TEST(AtomicFile, AWriterThatFailsLeavesThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("project.kvpr");
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    const auto failsHalfWay = [](QFileDevice& file) {
        file.write("part");
        return false;
    };
    EXPECT_FALSE(WriteFileAtomically(path, failsHalfWay));
    QByteArray data;
    ASSERT_TRUE(ReadWholeFile(path, data));
    EXPECT_EQ(data, "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"project.kvpr"});
}

TEST(AtomicFile, WriteIntoAMissingFolderFailsWithAMessage) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(WriteFileAtomically(dir.filePath("missing/x.kvpr"), "data", &error));
    EXPECT_EQ(error, dir.filePath("missing/x.kvpr") + ": No such file or directory");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST(AtomicFile, ReadingAMissingFileFailsWithAMessageAndKeepsTheBuffer) {
    QByteArray data("untouched");
    QString error;
    EXPECT_FALSE(ReadWholeFile("/nonexistent/file", data, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(data, "untouched");
}

TEST(Scramble, XorWithTheFixedKeyIsItsOwnInverse) {
    QByteArray data("\x00\x6B\xFF<?xml", 8);
    XorScramble(data);
    EXPECT_EQ(data, QByteArray("\x6B\x00\x94\x57\x54\x13\x06\x07", 8));
    XorScramble(data);
    EXPECT_EQ(data, QByteArray("\x00\x6B\xFF<?xml", 8));
}

TEST(Scramble, FileInPlace) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Factory.dll");
    ASSERT_TRUE(WriteFileAtomically(path, "<PLC/>"));
    ASSERT_TRUE(XorScrambleFile(path));
    QByteArray data;
    ASSERT_TRUE(ReadWholeFile(path, data));
    EXPECT_EQ(data, QByteArray("\x57\x3B\x27\x28\x44\x55"));
    EXPECT_FALSE(XorScrambleFile(dir.filePath("missing.dll")));
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
    EXPECT_EQ(ProgramFolder(), QStringLiteral(KV_TEST_DIR));
    EXPECT_EQ(ProgramFilePath("Log/debug.log"), ProgramFolder() + "/Log/debug.log");
}
