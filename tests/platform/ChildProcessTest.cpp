#include "ChildProcess.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace {

TEST(ChildProcess, WaitsForTheEndInSlicesAndNeverEndsTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ChildProcess quick;
    ASSERT_TRUE(quick.Start(
        "/bin/sh", {"-c", "echo \"$1\" > \"$2\"", "sh", "两 words", dir.filePath("args")}));
    EXPECT_TRUE(quick.WaitForEnd(10000));
    QFile args(dir.filePath("args"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()), QStringLiteral("两 words\n"));
    EXPECT_TRUE(quick.WaitForEnd(0)) << "ended stays ended";

    const QString pidFile = dir.filePath("pid");
    pid_t pid = 0;
    {
        ChildProcess slow;
        ASSERT_TRUE(
            slow.Start("/bin/sh", {"-c", "echo $$ > \"$1\"; exec sleep 30", "sh", pidFile}));
        EXPECT_FALSE(slow.WaitForEnd(300));
        QFile file(pidFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        pid = file.readAll().trimmed().toInt();
        ASSERT_GT(pid, 0);
    }
    EXPECT_EQ(kill(pid, 0), 0) << "dropping the object leaves the program running";
    kill(pid, SIGKILL);

    ChildProcess missing;
    EXPECT_FALSE(missing.Start(dir.filePath("no such program"), {}));
    EXPECT_TRUE(missing.WaitForEnd(0));
}

} // namespace
