#include "CommandLine.h"

#include "AtomicFile.h"
#include "BuildOutputs.h"
#include "CompileHelper.h"
#include "ConsoleCompileProgress.h"
#include "CrashNotice.h"
#include "DownloadCommand.h"
#include "KoravelProject.h"
#include "LumoKoravel.h"
#include "PLCFactory.h"
#include "ProjectCheck.h"
#include "PublishCommand.h"
#include "ReportFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>
#include <cstring>

namespace {

void PrintLine(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

void PrintUsage() {
    PrintLine(stderr, QStringLiteral("usage: designer --save-plain IN OUT\n"
                                     "       designer --compile PROJECT [--output IMAGE]\n"
                                     "       designer --download PROJECT [--force]\n"
                                     "       designer --publish PROJECT --output TOOL "
                                     "[--title T] [--password P] [--plc-program FILE] "
                                     "[--zip]\n"
                                     "       designer --window-screenshot OUT.png [PROJECT "
                                     "[--select FRAME[:POSITION]]]\n"
                                     "       designer --crash-test\n"
                                     "       designer --check PROJECT [--json]\n"
                                     "  --save-plain  load the project IN (plain or scrambled) and "
                                     "write it to OUT as plain XML\n"
                                     "  --compile     compile PROJECT into the panel image IMAGE "
                                     "(default: sheetpara.dat beside PROJECT)\n"
                                     "  --download    compile PROJECT and download it into the "
                                     "first panel on the USB; --force goes on while the "
                                     "panel's PLC runs\n"
                                     "  --publish     compile PROJECT and write the batch tool "
                                     "TOOL (with --zip a ZIP with the tool and the "
                                     "usb_driver folder); --password sets the start password\n"
                                     "  --window-screenshot  open the main window (with PROJECT) "
                                     "at 1280 x 800 without a display and write it as a PNG; "
                                     "--select makes frame FRAME current and selects its "
                                     "element at POSITION (0-based), showing its panel\n"
                                     "  --crash-test  start, then crash by a write to address 0: "
                                     "the crash reporter writes its report and dump into Log\n"
                                     "  --check       check PROJECT against its panel, glyphs and "
                                     "PLC: one finding a line (error|warning  frame N  element K "
                                     "(kind)  message, K the element's layer), then the image "
                                     "budget; --json prints one JSON document instead; exit 0 "
                                     "without errors, 1 with errors, 2 when PROJECT cannot be "
                                     "read"));
}

// Loads like the open command, but leaves the file as it is: it is often a plain file kept
// under version control, which the open command would scramble.
bool LoadProject(const QString& path, CKoravelProject& project) {
    if (!CPLCFactory::Instance().Load()) {
        PrintLine(stderr, QStringLiteral("打开配置文件错误，程序自动关闭!"));
        return false;
    }
    QByteArray bytes;
    QString reason;
    if (!ReadWholeFile(path, bytes, &reason)) {
        PrintLine(stderr, kDamagedFileMessage);
        PrintLine(stderr, reason);
        return false;
    }
    QStringList messages;
    const bool loaded = project.LoadBytes(bytes, CPLCFactory::Instance(), messages);
    // A file that does not load is always named as damaged, with the reader's own words.
    if (!loaded && !messages.contains(kDamagedFileMessage))
        messages.append(kDamagedFileMessage);
    for (const QString& message : messages)
        PrintLine(stderr, message);
    if (!loaded)
        PrintLine(stderr, path + QStringLiteral(": ") + project.LoadFailure());
    return loaded;
}

int SavePlain(const QString& in, const QString& out) {
    CKoravelProject project;
    if (!LoadProject(in, project))
        return 1;
    QString error;
    if (!project.SavePlain(out, &error)) {
        PrintLine(stderr, error);
        return 1;
    }
    return 0;
}

int Compile(const QString& in, QString out) {
    CKoravelProject project;
    if (!LoadProject(in, project))
        return 1;
    if (out.isEmpty())
        out = QFileInfo(in).absoluteDir().filePath(QStringLiteral("sheetpara.dat"));
    ConsoleCompileProgress progress(stderr);
    CCompileHelper compiler(&progress);
    QByteArray image;
    QByteArray padded;
    QString error;
    const bool compiled = compiler.Compile(project, image, error) &&
                          PadImage(image, padded, error) &&
                          WriteFileAtomically(out, padded, &error);
    std::fputc('\n', stderr);
    if (!compiled) {
        PrintLine(stderr, error);
        return 1;
    }
    for (const PhaseTime& phase : compiler.PhaseTimes())
        PrintLine(stdout, QStringLiteral("%1 %2 ms")
                              .arg(phase.phase)
                              .arg(static_cast<double>(phase.time.count()) / 1e6, 0, 'f', 1));
    PrintLine(stdout, QStringLiteral("image %1 bytes, padded %2 bytes: %3")
                          .arg(image.size())
                          .arg(padded.size())
                          .arg(out));
    return 0;
}

int Download(const QString& in, bool force) {
    CKoravelProject project;
    return LoadProject(in, project) ? DownloadProject(project, force) : 1;
}

int Publish(const PublishOptions& options) {
    CKoravelProject project;
    return LoadProject(options.project, project) ? PublishBatchTool(project, options) : 1;
}

// Writes to address 0 in the designer's own code, for support staff and tests to see the crash
// reporter at work. The fault must be the processor's, not a sanitizer's report of it.
__attribute__((noinline, no_sanitize("undefined"))) void CrashTest() {
    volatile int* volatile address = nullptr;
    *address = 1;
}

// Exit codes of --check.
constexpr int kCheckClean = 0;
constexpr int kCheckErrors = 1;
constexpr int kCheckUnreadable = 2;

int Check(const QString& in, bool json) {
    CKoravelProject project;
    if (!LoadProject(in, project))
        return kCheckUnreadable;
    const CheckReport report = CheckProject(project);
    if (json) {
        QJsonObject document = ReportJson(report);
        document.insert("project", in);
        std::fputs(QJsonDocument(document).toJson(QJsonDocument::Indented).constData(), stdout);
    } else {
        for (const CheckFinding& finding : report.findings)
            PrintLine(stdout, FindingLine(finding));
        PrintLine(stdout, CountsLine(report));
        for (const QString& line : BudgetLines(report.budget))
            PrintLine(stdout, line);
    }
    return report.Count(CheckSeverity::kError) > 0 ? kCheckErrors : kCheckClean;
}

} // namespace

bool HasVerb(int argc, char** argv) {
    return argc >= 2 && std::strncmp(argv[1], "--", 2) == 0;
}

bool IsCommandLineVerb(int argc, char** argv) {
    if (!HasVerb(argc, argv))
        return false;
    const char* verb = argv[1];
    return std::strncmp(verb, "--", 2) == 0 && std::strcmp(verb, "--crash-test") != 0 &&
           std::strcmp(verb, "--crash-notice") != 0;
}

bool IsCrashNoticeVerb(int argc, char** argv) {
    return argc >= 2 && std::strcmp(argv[1], "--crash-notice") == 0;
}

CommandLineRequest ParseCommandLine(const QStringList& arguments) {
    using Verb = CommandLineRequest::Verb;
    CommandLineRequest request;
    const qsizetype count = arguments.size();
    const QString verb = arguments.value(1);
    const auto take = [&](Verb taken, const QString& output = {}, bool force = false) {
        request.verb = taken;
        request.project = arguments.value(2);
        request.output = output;
        request.force = force;
    };
    if (count == 4 && verb == u"--save-plain") {
        take(Verb::SavePlain, arguments[3]);
    } else if (count == 3 && verb == u"--compile") {
        take(Verb::Compile);
    } else if (count == 5 && verb == u"--compile" && arguments[3] == u"--output") {
        take(Verb::Compile, arguments[4]);
    } else if (count == 3 && verb == u"--download") {
        take(Verb::Download);
    } else if (count == 4 && verb == u"--download" && arguments[3] == u"--force") {
        take(Verb::Download, {}, true);
    } else if (count >= 3 && verb == u"--publish") {
        if (std::optional<PublishOptions> options = ParsePublishOptions(arguments.mid(2))) {
            take(Verb::Publish);
            request.publish = std::move(*options);
        }
    } else if (count >= 3 && verb == u"--window-screenshot") {
        request.verb = Verb::WindowScreenshot; // it reads its operands itself
    } else if (count == 2 && verb == u"--crash-test") {
        request.verb = Verb::CrashTest;
    } else if (count == 3 && verb == u"--crash-notice") {
        take(Verb::CrashNotice);
    } else if (count == 3 && verb == u"--check") {
        take(Verb::Check);
    } else if (count == 4 && verb == u"--check" && arguments[3] == u"--json") {
        take(Verb::Check, {}, true);
    }
    return request;
}

int RunCommandLine(const QStringList& arguments) {
    const CommandLineRequest request = ParseCommandLine(arguments);
    switch (request.verb) {
    case CommandLineRequest::Verb::SavePlain:
        return SavePlain(request.project, request.output);
    case CommandLineRequest::Verb::Compile:
        return Compile(request.project, request.output);
    case CommandLineRequest::Verb::Download:
        return Download(request.project, request.force);
    case CommandLineRequest::Verb::Publish:
        return Publish(request.publish);
    case CommandLineRequest::Verb::WindowScreenshot:
        return WindowScreenshot(arguments);
    case CommandLineRequest::Verb::CrashTest:
        CrashTest();
        return 1;
    case CommandLineRequest::Verb::CrashNotice:
        return ShowCrashNotice(request.project);
    case CommandLineRequest::Verb::Check:
        return Check(request.project, request.force);
    case CommandLineRequest::Verb::Usage:
        break;
    }
    PrintUsage();
    return 1;
}
