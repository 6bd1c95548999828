// The alarm file beside the program. Its own program with its own folder: every compile in
// the folder writes the file, so tests compiling beside it would race with this one.

#include "AtomicFile.h"
#include "CompilerTestSupport.h"
#include "ProgramFolder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(Alarms, AlarmFileIsWrittenIntoOutPutWhenTheFolderExists) {
    const QString folder = ProgramFilePath(QStringLiteral("OutPut"));
    QDir(folder).removeRecursively();
    auto project = NewProject();
    CompileImage(*project);
    EXPECT_FALSE(QDir(folder).exists()) << "the folder is not created";

    ASSERT_TRUE(QDir().mkpath(folder));
    project->EnsureAlarmList();
    const QByteArray image = CompileImage(*project);
    QByteArray file;
    ASSERT_TRUE(ReadWholeFile(folder + "/alarm.bin", file));
    EXPECT_EQ(file, image.right(27));

    // Without an alarm list the file is empty rather than left from an earlier compile.
    project->m_pAlarmList.reset();
    CompileImage(*project);
    ASSERT_TRUE(ReadWholeFile(folder + "/alarm.bin", file));
    EXPECT_TRUE(file.isEmpty());
    QDir(folder).removeRecursively();
}

} // namespace
