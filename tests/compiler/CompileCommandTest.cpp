#include "AtomicFile.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct DesignerRun {
    int exitCode;
    QString out;
    QString err;
};

DesignerRun Designer(const QStringList& arguments) {
    QProcess designer;
    designer.start(QStringLiteral(KV_BIN_DIR "/designer"), arguments);
    EXPECT_TRUE(designer.waitForFinished(60000));
    return {designer.exitCode(), QString::fromUtf8(designer.readAllStandardOutput()),
            QString::fromUtf8(designer.readAllStandardError())};
}

TEST(CompileCommand, CompilesTheDemoProjectIntoAPaddedImage) {
    QTemporaryDir dir;
    const QString image = dir.filePath("demo.dat");
    const DesignerRun run =
        Designer({"--compile", KV_BIN_DIR "/demo/demo.kvpr", "--output", image});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QByteArray bytes;
    ASSERT_TRUE(ReadWholeFile(image, bytes));
    EXPECT_TRUE(bytes.startsWith("\xAA\x55"));
    EXPECT_EQ(bytes.size() % 4, 0);
    EXPECT_GT(bytes.size(), 0x51);
    for (const char* phase : {"正在编译：报警列表", "正在编译：全角字库", "正在编译：编译完成"})
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(phase))) << phase;
    EXPECT_TRUE(run.out.contains(QStringLiteral("全角字库 ")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("padded %1 bytes").arg(bytes.size())));
}

TEST(CompileCommand, DefaultOutputIsSheetparaBesideTheProject) {
    QTemporaryDir dir;
    QByteArray project;
    ASSERT_TRUE(ReadWholeFile(KV_BIN_DIR "/demo/demo.kvpr", project));
    ASSERT_TRUE(WriteFileAtomically(dir.filePath("p.kvpr"), project));
    EXPECT_EQ(Designer({"--compile", dir.filePath("p.kvpr")}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("sheetpara.dat")));
    QByteArray after;
    ASSERT_TRUE(ReadWholeFile(dir.filePath("p.kvpr"), after));
    EXPECT_EQ(after, project) << "the project file is left as it was";
}

TEST(CompileCommand, FailuresExitWithOneAndTheMessage) {
    QTemporaryDir dir;
    const DesignerRun missing = Designer({"--compile", dir.filePath("none.kvpr")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("工程文件已经损坏，打开出错！")));
    EXPECT_EQ(Designer({"--compile"}).exitCode, 1);
    EXPECT_EQ(Designer({"--compile", "a", "--out", "b"}).exitCode, 1);
}

// A damaged project is named as such, with the reader's own words about what is wrong.
TEST(CompileCommand, ADamagedProjectSaysWhy) {
    QTemporaryDir dir;
    QByteArray demo;
    ASSERT_TRUE(ReadWholeFile(KV_BIN_DIR "/demo/demo.kvpr", demo));
    QByteArray text = demo; // the demo is scrambled on disk
    for (char& c : text)
        c = char(c ^ 0x6B);
    const std::vector<std::pair<const char*, QByteArray>> cases{
        {"empty", {}},
        {"truncated", text.left(text.size() / 2)},
        {"zero byte", QByteArray("<KoravelProject><Frames>\0</Frames></KoravelProject>", 52)},
        {"unclosed element", "<KoravelProject><Frames><Frame></Frames></KoravelProject>"},
        {"no frames", "<KoravelProject/>"},
    };
    for (const auto& [what, bytes] : cases) {
        const QString path = dir.filePath("damaged.kvpr");
        ASSERT_TRUE(WriteFileAtomically(path, bytes));
        for (const char* verb : {"--compile", "--save-plain"}) {
            QStringList args{verb, path};
            if (QString(verb) == "--save-plain")
                args << dir.filePath("out.kvpr");
            const DesignerRun run = Designer(args);
            EXPECT_EQ(run.exitCode, 1) << what;
            QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
            lines.removeIf([](const QString& line) { return line.startsWith("QStandardPaths:"); });
            ASSERT_EQ(lines.size(), 2) << what << ": " << run.err.toStdString();
            EXPECT_EQ(lines[0], QStringLiteral("工程文件已经损坏，打开出错！")) << what;
            EXPECT_TRUE(lines[1].startsWith(path + ": ")) << what;
            EXPECT_GT(lines[1].size(), path.size() + 2) << what;
        }
        QByteArray after;
        ASSERT_TRUE(ReadWholeFile(path, after));
        EXPECT_EQ(after, bytes) << what << ": a file that does not load is never changed";
    }
}

} // namespace
