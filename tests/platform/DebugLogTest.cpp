#include "DebugLog.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(DebugLog, CreatesFolderAndSeparatesEntriesWithCrLf)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("Log");
    const QDateTime first(QDate(2026, 3, 7), QTime(8, 5, 9));
    const QDateTime second(QDate(2026, 12, 31), QTime(23, 59, 0));

    ASSERT_TRUE(AppendDebugLogLine(folder, QStringLiteral("压缩数据文件"), first));
    ASSERT_TRUE(AppendDebugLogLine(folder, QStringLiteral("second"), second));

    EXPECT_EQ(ReadAll(folder + "/debug.log"),
              QStringLiteral("2026-03-07 08:05:09  压缩数据文件\r\n2026-12-31 23:59:00  second")
                  .toUtf8());
}

TEST(DebugLog, AFullLogIsMovedAsideAndANewOneBegun)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("Log");
    const QDateTime when(QDate(2026, 3, 7), QTime(8, 5, 9));
    ASSERT_TRUE(AppendDebugLogLine(folder, "old", when));
    QFile log(folder + "/debug.log");
    ASSERT_TRUE(log.resize(kDebugLogLimit - 1));
    ASSERT_TRUE(AppendDebugLogLine(folder, "still room", when));
    EXPECT_GE(QFile(folder + "/debug.log").size(), kDebugLogLimit);

    ASSERT_TRUE(AppendDebugLogLine(folder, "fresh", when));
    EXPECT_EQ(ReadAll(folder + "/debug.log"), QByteArray("2026-03-07 08:05:09  fresh"));
    const QByteArray old = ReadAll(folder + "/debug.old.log");
    EXPECT_TRUE(old.startsWith("2026-03-07 08:05:09  old"));
    EXPECT_TRUE(old.endsWith("still room"));

    // The next time the old one is replaced.
    ASSERT_TRUE(log.resize(kDebugLogLimit));
    ASSERT_TRUE(AppendDebugLogLine(folder, "newest", when));
    EXPECT_EQ(QFile(folder + "/debug.old.log").size(), kDebugLogLimit);
}

TEST(DebugLog, FailsSilentlyWhenTheFolderCannotBeMade)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("Log"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    EXPECT_FALSE(AppendDebugLogLine(dir.filePath("Log"), "x", QDateTime::currentDateTime()));
    DebugLogLine("the program's own log must never throw or abort"); // no observable failure
}
