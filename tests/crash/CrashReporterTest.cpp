// The crash reporter end to end: `designer --crash-test` and a small program of our own crash
// in a program folder of their own; the report, the dump (read back here and by lldb) and the
// notice are checked.

#include "CrashReporter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <map>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kCrashProgram = QStringLiteral(KV_TEST_DIR "/crash_program");
const QString kDesigner = QStringLiteral(KV_BIN_DIR "/designer");

struct Outcome {
    bool crashed = false;
    int signal = 0;
    QString errors;
};

// A program copied into a folder of its own (its program folder), run there.
class ProgramFolder {
public:
    ProgramFolder(const QString& program, const QString& subfolder = QStringLiteral("program")) {
        EXPECT_TRUE(dir_.isValid());
        folder_ = dir_.filePath(subfolder);
        EXPECT_TRUE(QDir().mkpath(folder_));
        exe_ = QDir(folder_).filePath(QFileInfo(program).fileName());
        EXPECT_TRUE(QFile::copy(program, exe_)) << exe_.toStdString();
    }

    const QString& Exe() const { return exe_; }
    QString Log() const { return QDir(folder_).filePath(QStringLiteral("Log")); }

    Outcome Run(const QStringList& arguments) const {
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        // The notice box of the designer's crash then needs no display.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(exe_, arguments);
        Outcome outcome;
        if (!process.waitForFinished(60000)) {
            ADD_FAILURE() << "did not finish";
            process.kill();
            process.waitForFinished();
            return outcome;
        }
        outcome.crashed = process.exitStatus() == QProcess::CrashExit;
        outcome.signal = process.exitCode(); // the signal, for a crash
        outcome.errors = QString::fromUtf8(process.readAllStandardError());
        return outcome;
    }

    QStringList LogFiles() const { return QDir(Log()).entryList(QDir::Files, QDir::Name); }

private:
    QTemporaryDir dir_;
    QString folder_;
    QString exe_;
};

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The report's lines; every line break of the file must be CR LF.
QStringList ReportLines(const QString& path) {
    const QByteArray bytes = Contents(path);
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "a line break without CR";
    return QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
}

// The lines after "Call Stack:".
QStringList CallStack(const QStringList& lines) {
    const qsizetype at = lines.indexOf(QStringLiteral("Call Stack:"));
    return at < 0 ? QStringList() : lines.mid(at + 1);
}

int FrameCount(const QStringList& stack) {
    static const QRegularExpression frame(QStringLiteral("^(  \\+[0-9A-F]{8,}|[0-9A-F]{16})"
                                                         "(  Exception Offset)?$"));
    int frames = 0;
    for (const QString& line : stack)
        frames += frame.match(line).hasMatch() ? 1 : 0;
    return frames;
}

QString RunLldb(const QString& exe, const QString& dump, const QString& command) {
    QProcess lldb;
    lldb.start(QStringLiteral("lldb"), {exe, QStringLiteral("--core"), dump,
                                        QStringLiteral("--batch"), QStringLiteral("-o"), command});
    if (!lldb.waitForFinished(180000)) {
        lldb.kill();
        lldb.waitForFinished();
        ADD_FAILURE() << "lldb did not finish";
    }
    return QString::fromUtf8(lldb.readAllStandardOutput());
}

// --- the minidump, read back field by field ------------------------------------------------

quint32 Le32(const QByteArray& d, qsizetype at) {
    if (at < 0 || at + 4 > d.size())
        return 0;
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<quint8>(d[at + i]);
    return v;
}

quint64 Le64(const QByteArray& d, qsizetype at) {
    return quint64{Le32(d, at)} | quint64{Le32(d, at + 4)} << 32;
}

struct DumpModule {
    quint64 base = 0;
    QByteArray codeView;
};

struct Dump {
    std::map<quint32, QByteArray> streams; // by stream type
    std::map<QString, DumpModule> modules; // by path
    std::vector<quint32> threads;
    std::vector<quint32> threadStackSizes;
};

Dump ReadDump(const QByteArray& d) {
    Dump dump;
    EXPECT_EQ(d.left(4), "MDMP");
    const quint32 count = Le32(d, 8);
    const quint32 directory = Le32(d, 12);
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype entry = directory + 12 * i;
        dump.streams[Le32(d, entry)] = d.mid(Le32(d, entry + 8), Le32(d, entry + 4));
    }
    const QByteArray modules = dump.streams[4];
    for (quint32 i = 0; i < Le32(modules, 0); ++i) {
        const qsizetype at = 4 + 108 * i;
        const quint32 name = Le32(modules, at + 20);
        const QByteArray utf16 = d.mid(name + 4, Le32(d, name));
        const QString path = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(utf16.constData()), utf16.size() / 2);
        dump.modules[path] = {Le64(modules, at),
                              d.mid(Le32(modules, at + 80), Le32(modules, at + 76))};
    }
    const QByteArray threads = dump.streams[3];
    for (quint32 i = 0; i < Le32(threads, 0); ++i) {
        dump.threads.push_back(Le32(threads, 4 + 48 * i));
        dump.threadStackSizes.push_back(Le32(threads, 4 + 48 * i + 32));
    }
    return dump;
}

// The GNU build id of an ELF file, from its note segments.
QByteArray BuildId(const QString& path) {
    const QByteArray f = Contents(path);
    const quint64 table = Le64(f, 0x20);
    const int entries = static_cast<quint8>(f[0x38]) | static_cast<quint8>(f[0x39]) << 8;
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = static_cast<qsizetype>(table) + 56 * i;
        if (Le32(f, entry) != 4)
            continue;
        qsizetype at = static_cast<qsizetype>(Le64(f, entry + 8));
        const qsizetype end = at + static_cast<qsizetype>(Le64(f, entry + 32));
        while (at + 12 <= end) {
            const quint32 nameSize = Le32(f, at), descSize = Le32(f, at + 4);
            const qsizetype desc = at + 12 + ((nameSize + 3) & ~3u);
            if (Le32(f, at + 8) == 3 && f.mid(at + 12, 4) == QByteArray("GNU\0", 4))
                return f.mid(desc, descSize);
            at = desc + ((descSize + 3) & ~3u);
        }
    }
    return {};
}

// --- the designer's own crash, run once for the tests below --------------------------------

// The notice process outlives the crashed designer; as a subreaper this test adopts it.
std::vector<QString> AdoptedNoticeCommandLine() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool isPid = false;
            const pid_t pid = entry.toInt(&isPid);
            if (!isPid)
                continue;
            const QByteArray stat = Contents(QStringLiteral("/proc/%1/stat").arg(pid));
            const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
            if (fields.size() < 2 || fields[1].toInt() != getpid())
                continue;
            const QByteArray cmdline = Contents(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (!cmdline.contains("--crash-notice"))
                continue;
            std::vector<QString> arguments;
            for (const QByteArray& argument : cmdline.split('\0'))
                if (!argument.isEmpty())
                    arguments.push_back(QString::fromUtf8(argument));
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return arguments;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

struct DesignerCrash {
    ProgramFolder program{kDesigner};
    QDateTime before;
    QDateTime after;
    Outcome outcome;
    std::vector<QString> notice;

    DesignerCrash() {
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        before = QDateTime::currentDateTime().addSecs(-1);
        outcome = program.Run({QStringLiteral("--crash-test")});
        after = QDateTime::currentDateTime();
        notice = AdoptedNoticeCommandLine();
    }

    QString File(const char* extension) const {
        const QStringList files = program.LogFiles();
        for (const QString& name : files)
            if (name.endsWith(QLatin1String(extension)))
                return QDir(program.Log()).filePath(name);
        return {};
    }
};

const DesignerCrash& TheDesignerCrash() {
    static const DesignerCrash crash;
    return crash;
}

TEST(DesignerCrashTest, WritesReportAndDumpOfOneNameInLog) {
    const DesignerCrash& crash = TheDesignerCrash();
    EXPECT_TRUE(crash.outcome.crashed);
    EXPECT_EQ(crash.outcome.signal, SIGSEGV);
    const QStringList files = crash.program.LogFiles();
    ASSERT_EQ(files.size(), 2) << files.join(' ').toStdString();
    const QString name = QFileInfo(files[0]).completeBaseName();
    EXPECT_EQ(files, QStringList({name + ".dmp", name + ".txt"}));
    const QDateTime when = QDateTime::fromString(name, QStringLiteral("yyyy-MM-dd HHmmss"));
    EXPECT_TRUE(when.isValid() && when >= crash.before && when <= crash.after)
        << name.toStdString();
}

TEST(DesignerCrashTest, ReportNamesTheDesignerAndTheWriteToAddressZero) {
    const DesignerCrash& crash = TheDesignerCrash();
    const QStringList lines = ReportLines(crash.File(".txt"));
    ASSERT_GE(lines.size(), 16);
    const QString exe = crash.program.Exe();
    const QString modified = QFileInfo(exe).lastModified().toString(QStringLiteral("MM/dd/yyyy"));
    EXPECT_EQ(lines[0], "") << "the file starts with a line break";
    EXPECT_TRUE(lines[1].startsWith("Linux:  ")) << lines[1].toStdString();
    EXPECT_EQ(lines.mid(2, 5),
              QStringList({"Process:  " + exe, "Module:  " + exe, "Date Modified:  " + modified,
                           "Exception Code:  SIGSEGV (11), SEGV_MAPERR (1)",
                           "Write Address:  0000000000000000"}));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Instruction: ( [0-9A-F]{2}){16}$"))
                    .match(lines[7])
                    .hasMatch())
        << lines[7].toStdString();
    EXPECT_EQ(lines[8], "Registers:");
    const QString h = QStringLiteral("[0-9A-F]{16}");
    const QStringList rows = {"RAX: " + h + "  RBX: " + h + "  RCX: " + h + "  RDX: " + h,
                              "RSI: " + h + "  RDI: " + h + "  RBP: " + h + "  RSP: " + h,
                              "R8:  " + h + "  R9:  " + h + "  R10: " + h + "  R11: " + h,
                              "R12: " + h + "  R13: " + h + "  R14: " + h + "  R15: " + h,
                              "RIP: " + h + "  EFlags: [0-9A-F]{8}"};
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_TRUE(QRegularExpression("^" + rows[i] + "$").match(lines[9 + i]).hasMatch())
            << lines[9 + i].toStdString();
    const QStringList stack = CallStack(lines);
    ASSERT_GE(stack.size(), 2);
    EXPECT_TRUE(stack[0].endsWith("  " + exe)) << stack[0].toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^  \\+[0-9A-F]{8}  Exception Offset$"))
                    .match(stack[1])
                    .hasMatch())
        << stack[1].toStdString();
}

TEST(DesignerCrashTest, StartsTheNoticeBoxInAFreshProcess) {
    const DesignerCrash& crash = TheDesignerCrash();
    EXPECT_EQ(crash.notice,
              (std::vector<QString>{crash.program.Exe(), "--crash-notice", crash.File(".txt")}));
    EXPECT_FALSE(crash.outcome.errors.contains(QString::fromUtf8(kCrashNoticeMessage)));
}

TEST(DesignerCrashTest, DumpNamesTheDesignerByItsBuildId) {
    const DesignerCrash& crash = TheDesignerCrash();
    const Dump dump = ReadDump(Contents(crash.File(".dmp")));
    for (quint32 stream : {3u, 4u, 5u, 6u, 7u, 15u})
        EXPECT_FALSE(dump.streams.at(stream).isEmpty()) << stream;
    ASSERT_TRUE(dump.modules.count(crash.program.Exe()));
    const QByteArray buildId = BuildId(crash.program.Exe());
    ASSERT_FALSE(buildId.isEmpty());
    // The CodeView record of an ELF file: the signature word "BpEL", then the build id.
    const QByteArray codeView = dump.modules.at(crash.program.Exe()).codeView;
    EXPECT_EQ(Le32(codeView, 0), 0x4270454Cu);
    EXPECT_EQ(codeView.mid(4), buildId);
    // The exception: the crashing thread, signal 11, the address written.
    const QByteArray exception = dump.streams.at(6);
    ASSERT_FALSE(dump.threads.empty());
    EXPECT_EQ(Le32(exception, 0), dump.threads[0]);
    EXPECT_EQ(Le32(exception, 8), quint32(SIGSEGV));
    EXPECT_EQ(Le64(exception, 24), 0u);
}

TEST(DesignerCrashTest, LldbShowsTheCrashingFunction) {
    const DesignerCrash& crash = TheDesignerCrash();
    const QString bt = RunLldb(crash.program.Exe(), crash.File(".dmp"), QStringLiteral("bt"));
    EXPECT_TRUE(bt.contains("stop reason = signal SIGSEGV")) << bt.toStdString();
    EXPECT_TRUE(bt.contains(QRegularExpression(QStringLiteral(
        "frame #0: 0x[0-9a-f]+ designer`\\(anonymous namespace\\)::CrashTest\\(\\)"))))
        << bt.toStdString();
    EXPECT_TRUE(bt.contains("designer`RunCommandLine")) << bt.toStdString();
}

// --- the small crash program ---------------------------------------------------------------

TEST(CrashProgramTest, CallStackListsTwentyFramesOfADeeperChain) {
    // The second folder's path is near the system's limit, to show nothing of it is cut.
    QString deep = QStringLiteral("program");
    while (deep.size() < 3600)
        deep += QStringLiteral("/") + QString(200, QLatin1Char('d'));
    for (const QString& subfolder : {QStringLiteral("program"), deep}) {
        SCOPED_TRACE(subfolder.size());
        const ProgramFolder program(kCrashProgram, subfolder);
        const Outcome outcome = program.Run({QStringLiteral("depth"), QStringLiteral("25")});
        EXPECT_TRUE(outcome.crashed);
        const QStringList files = program.LogFiles();
        ASSERT_EQ(files.size(), 2);
        const QString report = QDir(program.Log()).filePath(files[1]);
        EXPECT_EQ(outcome.errors, QString::fromUtf8(kCrashNoticeMessage) + "\n" + report + "\n");
        const QStringList lines = ReportLines(report);
        EXPECT_TRUE(lines.contains("Process:  " + program.Exe()));
        EXPECT_TRUE(lines.contains("Module:  " + program.Exe()));
        const QStringList stack = CallStack(lines);
        EXPECT_EQ(FrameCount(stack), 20) << stack.join('\n').toStdString();
        EXPECT_EQ(stack.size(), 21) << "one module line, then the frames";
        EXPECT_TRUE(stack.value(0).endsWith("  " + program.Exe()));
        EXPECT_TRUE(stack.value(1).endsWith("  Exception Offset"));
    }
}

TEST(CrashProgramTest, AReportInTheSameSecondReplacesTheEarlierOne) {
    const ProgramFolder program(kCrashProgram);
    ASSERT_TRUE(QDir().mkpath(program.Log()));
    // Earlier files, longer than anything the crash writes, for every second the run may take.
    const QByteArray stale(2 * 1024 * 1024, '~');
    const QDateTime start = QDateTime::currentDateTime();
    QStringList names;
    for (int s = 0; s < 30; ++s) {
        const QString name = start.addSecs(s).toString(QStringLiteral("yyyy-MM-dd HHmmss"));
        names.append(name);
        for (const char* extension : {".txt", ".dmp"}) {
            QFile file(QDir(program.Log()).filePath(name + extension));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(stale) == stale.size());
        }
    }
    const Outcome outcome = program.Run({QStringLiteral("depth"), QStringLiteral("1")});
    ASSERT_TRUE(outcome.crashed);
    int replaced = 0;
    for (const QString& name : names) {
        const QByteArray text = Contents(QDir(program.Log()).filePath(name + ".txt"));
        const QByteArray dump = Contents(QDir(program.Log()).filePath(name + ".dmp"));
        if (text == stale && dump == stale)
            continue;
        ++replaced;
        EXPECT_TRUE(text.startsWith("\r\nLinux:  ") && !text.contains('~')) << name.toStdString();
        EXPECT_TRUE(dump.startsWith("MDMP") && dump.size() < stale.size()) << name.toStdString();
    }
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(program.LogFiles().size(), 2 * names.size());
}

TEST(CrashProgramTest, AnUncaughtExceptionIsReportedAsAnAbort) {
    const ProgramFolder program(kCrashProgram);
    const Outcome outcome = program.Run({QStringLiteral("throw")});
    EXPECT_TRUE(outcome.crashed);
    EXPECT_EQ(outcome.signal, SIGABRT);
    EXPECT_TRUE(outcome.errors.contains("nothing catches this"));
    const QStringList files = program.LogFiles();
    ASSERT_EQ(files.size(), 2);
    const QStringList lines = ReportLines(QDir(program.Log()).filePath(files[1]));
    EXPECT_TRUE(lines.contains("Exception Code:  SIGABRT (6), SI_TKILL (-6)"))
        << lines.join('\n').toStdString();
    EXPECT_FALSE(lines.join('\n').contains(" Address:  "));
    EXPECT_GE(FrameCount(CallStack(lines)), 3);
}

TEST(CrashProgramTest, AStackOverflowIsReportedFromTheHandlersOwnStack) {
    const ProgramFolder program(kCrashProgram);
    const Outcome outcome = program.Run({QStringLiteral("overflow")});
    EXPECT_TRUE(outcome.crashed);
    EXPECT_EQ(outcome.signal, SIGSEGV);
    const QStringList files = program.LogFiles();
    ASSERT_EQ(files.size(), 2);
    const QStringList lines = ReportLines(QDir(program.Log()).filePath(files[1]));
    EXPECT_TRUE(lines.join('\n').contains("Exception Code:  SIGSEGV (11), SEGV_"));
    EXPECT_TRUE(lines.join('\n').contains("Write Address:  "));
    EXPECT_EQ(FrameCount(CallStack(lines)), 20);
    const QString bt =
        RunLldb(program.Exe(), QDir(program.Log()).filePath(files[0]), QStringLiteral("bt 3"));
    // The recursion's frames (the compiler's copy of the function may lose its name).
    EXPECT_EQ(bt.count(QRegularExpression(QStringLiteral(
                  "frame #[0-2]: 0x[0-9a-f]+ crash_program`.* at CrashProgram\\.cpp:"))),
              3)
        << bt.toStdString();
}

TEST(CrashProgramTest, DumpHoldsEveryThreadWithItsStack) {
    const ProgramFolder program(kCrashProgram);
    const Outcome outcome = program.Run({QStringLiteral("threads"), QStringLiteral("3")});
    ASSERT_TRUE(outcome.crashed);
    const QStringList files = program.LogFiles();
    ASSERT_EQ(files.size(), 2);
    const QString dumpPath = QDir(program.Log()).filePath(files[0]);
    const Dump dump = ReadDump(Contents(dumpPath));
    ASSERT_EQ(dump.threads.size(), 4u);
    for (quint32 size : dump.threadStackSizes)
        EXPECT_GT(size, 0u);
    const QString all = RunLldb(program.Exe(), dumpPath, QStringLiteral("bt all"));
    EXPECT_EQ(all.count("crash_program`(anonymous namespace)::ParkedThread()"), 3)
        << all.toStdString();
    EXPECT_TRUE(all.contains("crash_program`(anonymous namespace)::WriteToAddressZero()"))
        << all.toStdString();
}

} // namespace
