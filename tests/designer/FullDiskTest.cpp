// Every writer of user files on a really full file system: a small tmpfs mounted in a private
// mount namespace of this test (as root directly, otherwise in a user namespace of its own),
// filled up before each write. A write must fail with the system's reason, leave the previous
// file byte for byte and leave no temporary file behind.

#include "AtomicFile.h"
#include "Ini.h"
#include "KoravelProject.h"
#include "PLCFactory.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "PrivateMountNamespace.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");
// Larger than the page of free room that some cases leave, as every rewrite is.
const QByteArray kPrevious = QByteArray("; the previous file, which must survive\n").repeated(200);
const QString kNoSpace = QStringLiteral("No space left on device");

// Fills the file system of `folder` to the last byte, then gives back `freeBytes` (rounded up
// to whole pages by the file system).
bool FillUp(const QString& folder, qint64 freeBytes) {
    const QByteArray path = QFile::encodeName(QDir(folder).filePath("filler"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const QByteArray chunk(4096, 'x');
    qint64 size = 0;
    for (ssize_t n; (n = ::write(fd, chunk.constData(), std::size_t(chunk.size()))) > 0;)
        size += n;
    const bool ok = ::ftruncate(fd, std::max<qint64>(0, size - freeBytes)) == 0;
    ::close(fd);
    return ok;
}

struct Outcome {
    int exitCode = -1;
    QString err;
};

// The publish works in folders of the program folder, so each test process runs a designer
// from a program folder of its own.
QString ProgramFolderDesigner() {
    static QTemporaryDir folder;
    static const bool made = [] {
        const QDir root(folder.path());
        bool ok = QFile::copy(KV_BIN_DIR "/designer", root.filePath("designer")) &&
                  QFile::copy(KV_BIN_DIR "/Factory.dll", root.filePath("Factory.dll"));
        for (const char* shared : {"PLC", "usb_driver"})
            ok = ok && QFile::link(QStringLiteral(KV_BIN_DIR "/") + shared, root.filePath(shared));
        return ok;
    }();
    EXPECT_TRUE(made);
    return QDir(folder.path()).filePath("designer");
}

Outcome Designer(const QStringList& arguments) {
    QProcess designer;
    designer.start(ProgramFolderDesigner(), arguments);
    Outcome run;
    if (!designer.waitForFinished(120000))
        return run;
    run.exitCode = designer.exitCode();
    run.err = QString::fromLocal8Bit(designer.readAllStandardError());
    return run;
}

QByteArray Bytes(const QString& path) {
    QByteArray data;
    return ReadWholeFile(path, data) ? data : QByteArray("<missing>");
}

// One writer: what it writes (the target in the full folder) and how; the reason it gives.
struct Writer {
    const char* name;
    const char* target;
    std::function<bool(const QString& target, QString& reason)> write;
};

bool DesignerWrite(const QStringList& arguments, QString& reason) {
    const Outcome run = Designer(arguments);
    reason = run.err;
    return run.exitCode == 0;
}

std::vector<Writer> Writers() {
    return {
        {"compiled image", "sheetpara.dat",
         [](const QString& target, QString& reason) {
             return DesignerWrite({"--compile", kDemo, "--output", target}, reason);
         }},
        {"plain project", "plain.kvpr",
         [](const QString& target, QString& reason) {
             return DesignerWrite({"--save-plain", kDemo, target}, reason);
         }},
        {"batch tool", "tool",
         [](const QString& target, QString& reason) {
             return DesignerWrite({"--publish", kDemo, "--output", target, "--title", "Line"},
                                  reason);
         }},
        {"ZIP delivery", "tool.zip",
         [](const QString& target, QString& reason) {
             return DesignerWrite(
                 {"--publish", kDemo, "--output", target, "--title", "Line", "--zip"}, reason);
         }},
        {"scrambled project", "project.kvpr",
         [](const QString& target, QString& reason) {
             CKoravelProject project;
             QStringList messages;
             return project.LoadBytes(Bytes(kDemo), CPLCFactory::Instance(), messages) &&
                    project.Save(target, &reason);
         }},
        {"INI file", "config.dll",
         [](const QString& target, QString& reason) {
             return IniWriteString("update", "auto", "1", target, &reason);
         }},
    };
}

class FullDisk : public ::testing::TestWithParam<qint64> {
protected:
    void SetUp() override {
        ASSERT_TRUE(mountPoint.isValid());
        ASSERT_EQ(mount("kvtest", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0,
                        "size=512k"),
                  0)
            << std::strerror(errno);
    }
    void TearDown() override {
        umount2(QFile::encodeName(mountPoint.path()).constData(), MNT_DETACH);
    }

    QString Path(const char* name) const { return QDir(mountPoint.path()).filePath(name); }

    QTemporaryDir mountPoint;
};

TEST_P(FullDisk, EveryWriterFailsWithTheReasonAndKeepsThePreviousFile) {
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.name);
        const QString target = Path(writer.target);
        ASSERT_TRUE(WriteFileAtomically(target, kPrevious));
        ASSERT_TRUE(FillUp(mountPoint.path(), GetParam()));

        QString reason;
        EXPECT_FALSE(writer.write(target, reason));
        EXPECT_TRUE(reason.contains(kNoSpace)) << reason.toStdString();
        EXPECT_EQ(Bytes(target), kPrevious);
        QStringList expected{"filler", writer.target};
        expected.sort();
        EXPECT_EQ(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden), expected);
        QFile::remove(Path("filler"));
        QFile::remove(target);
    }
}

// No room at all, and room for one page of a larger file.
INSTANTIATE_TEST_SUITE_P(FreeBytes, FullDisk, ::testing::Values(0, 4096));

TEST_F(FullDisk, ANamedWriteFailureNamesThePathAndTheReason) {
    ASSERT_TRUE(FillUp(mountPoint.path(), 0));
    const Outcome run = Designer({"--compile", kDemo, "--output", Path("sheetpara.dat")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(Path("sheetpara.dat") + ": " + kNoSpace)) << run.err.toStdString();
}

// Opening a plain project scrambles it on disk; on a full disk that rewrite fails and the
// plain file must stay as it was, still loadable.
TEST_F(FullDisk, OpeningAPlainProjectKeepsItWhenItCannotBeRewritten) {
    const QString path = Path("plain.kvpr");
    CKoravelProject demo;
    QStringList messages;
    ASSERT_TRUE(demo.LoadBytes(Bytes(kDemo), CPLCFactory::Instance(), messages));
    ASSERT_TRUE(demo.SavePlain(path));
    const QByteArray plain = Bytes(path);
    ASSERT_TRUE(FillUp(mountPoint.path(), 0));

    CKoravelProject opened;
    EXPECT_TRUE(opened.Load(path, CPLCFactory::Instance(), messages));
    EXPECT_EQ(Bytes(path), plain);
    EXPECT_EQ(QDir(mountPoint.path()).entryList(QDir::Files),
              (QStringList{"filler", "plain.kvpr"}));
}

} // namespace

int main(int argc, char** argv) {
    if (!EnterPrivateMountNamespace()) {
        std::fprintf(stderr, "cannot enter a private mount namespace: %s\n", std::strerror(errno));
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!CPLCFactory::Instance().Load(KV_BIN_DIR "/Factory.dll")) {
        std::fprintf(stderr, "cannot load the PLC catalog\n");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
