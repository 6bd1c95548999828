// batchloader: downloads one published project into panel after panel.
//
//   batchloader [ARCHIVE]
//   batchloader --headless [--force] [--password P] [--loop] [ARCHIVE]
//
// Without ARCHIVE the package is the one appended to this program's own file. --headless runs
// without a window: the log goes to stdout, a running PLC refuses the download unless --force,
// the start password comes from --password, and --loop programs panel after panel until
// SIGINT or SIGTERM. The exit status is 0 when every download succeeded, 1 when one failed or
// was refused, 2 for a wrong command line or an unreadable package.

#include "BatchLoaderDialog.h"
#include "BatchTool.h"
#include "CodePage.h"
#include "HeadlessDownload.h"
#include "LoginDialog.h"
#include "SystemTexts.h"

#include "AtomicFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

const QString kUnreadable = QStringLiteral("读取批量下载数据失败，程序文件已损坏！");

std::optional<BatchTool> ReadOwnPackage() {
    QByteArray file;
    if (!ReadWholeFile(QCoreApplication::applicationFilePath(), file))
        return std::nullopt;
    std::optional<BatchTool> tool = ReadBatchTool(file);
    if (!tool || tool->archive.isEmpty())
        return std::nullopt;
    return tool;
}

int Fail(const QString& message, int status = 2) {
    std::fprintf(stderr, "batchloader: %s\n", message.toUtf8().constData());
    return status;
}

bool WantsHeadless(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0)
            return true;
    }
    return false;
}

int Headless(const QCommandLineParser& parser, const QString& archive) {
    HeadlessOptions options;
    options.force = parser.isSet(QStringLiteral("force"));
    options.loop = parser.isSet(QStringLiteral("loop"));
    if (!archive.isEmpty()) {
        if (!QFileInfo(archive).isFile())
            return Fail(QStringLiteral("数据文件不存在：") + archive);
        options.source = {false, {}, archive};
        return RunHeadless(options);
    }
    const std::optional<BatchTool> tool = ReadOwnPackage();
    if (!tool)
        return Fail(kUnreadable);
    if (tool->login && !LoginMatches(parser.value(QStringLiteral("password")), tool->password))
        return Fail(parser.isSet(QStringLiteral("password"))
                        ? QStringLiteral("启动密码错误！")
                        : QStringLiteral("需要启动密码：请用 --password 给出"),
                    1);
    options.source = {true, tool->archive, {}};
    return RunHeadless(options);
}

int Windowed(const QString& archive) {
    if (!archive.isEmpty()) {
        if (!QFileInfo(archive).isFile()) {
            QMessageBox::information(nullptr, QStringLiteral("提示"),
                                     QStringLiteral("数据文件不存在：") + archive);
            return 2;
        }
        BatchLoaderDialog dialog({false, {}, archive}, {});
        dialog.exec();
        return 0;
    }
    const std::optional<BatchTool> tool = ReadOwnPackage();
    if (!tool) {
        BatchLoaderDialog dialog({true, {}, {}}, {});
        dialog.AddLogLine(kUnreadable);
        dialog.show();
        QMessageBox::warning(&dialog, QStringLiteral("提示"), kUnreadable);
        return 2;
    }
    if (tool->login) {
        LoginDialog login(tool->password);
        if (login.exec() != QDialog::Accepted)
            return 1;
    }
    BatchLoaderDialog dialog({true, tool->archive, {}}, FromSystemCodePage(tool->title));
    dialog.exec();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool headless = WantsHeadless(argc, argv);
    std::unique_ptr<QCoreApplication> app = headless
                                                ? std::make_unique<QCoreApplication>(argc, argv)
                                                : std::make_unique<QApplication>(argc, argv);
    InstallSystemTexts(*app);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("KV250 batch download tool."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("headless"), QStringLiteral("Download without a window.")},
        {QStringLiteral("force"), QStringLiteral("Download even while the panel's PLC runs.")},
        {QStringLiteral("password"), QStringLiteral("The tool's start password."),
         QStringLiteral("password")},
        {QStringLiteral("loop"), QStringLiteral("Program panel after panel.")},
    });
    parser.addPositionalArgument(QStringLiteral("archive"),
                                 QStringLiteral("A package archive instead of the own one."),
                                 QStringLiteral("[ARCHIVE]"));
    parser.process(*app);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return Fail(QStringLiteral("at most one archive"));
    const QString archive = positional.value(0);
    if (headless)
        return Headless(parser, archive);
    for (const char* option : {"force", "password", "loop"}) {
        if (parser.isSet(QLatin1String(option)))
            return Fail(QStringLiteral("--%1 needs --headless").arg(QLatin1String(option)));
    }
    return Windowed(archive);
}
