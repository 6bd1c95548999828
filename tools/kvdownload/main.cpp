// kvdownload: one download into the first panel on the bus, without the designer.
//
//   kvdownload --image FILE [--driver FILE] [--plc-id N] [--plc-folder DIR] [--force]
//
// The log lines go to stdout as the download dialog lists them, a per-file progress bar to
// stderr. --driver is the project PLC's driver (none for a PLC whose panel brings its own);
// panels with an integrated PLC take theirs from --plc-folder (default: "PLC" in the program
// folder). --force answers Yes when the panel's PLC is running. The exit status is 0 when the
// panel took the project, 1 when the download failed, 2 for a wrong command line.

#include "AtomicFile.h"
#include "ConsoleDownloadDisplay.h"
#include "DownloadWorker.h"
#include "ProgramFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "kvdownload: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Downloads a compiled image into a KV250."));
    parser.addHelpOption();
    const QCommandLineOption image(QStringLiteral("image"), QStringLiteral("Compiled image."),
                                   QStringLiteral("file"));
    const QCommandLineOption driver(QStringLiteral("driver"),
                                    QStringLiteral("Driver of the project's PLC."),
                                    QStringLiteral("file"));
    const QCommandLineOption plcId(QStringLiteral("plc-id"),
                                   QStringLiteral("Protocol id of the project's PLC."),
                                   QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption plcFolder(
        QStringLiteral("plc-folder"), QStringLiteral("Folder of the integrated-PLC drivers."),
        QStringLiteral("dir"), ProgramFilePath(QStringLiteral("PLC")));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Download even while the panel's PLC runs."));
    parser.addOptions({image, driver, plcId, plcFolder, force});
    parser.process(app);

    if (!parser.isSet(image) || !parser.positionalArguments().isEmpty())
        return Fail(QStringLiteral("usage: kvdownload --image FILE [--driver FILE] [--plc-id N] "
                                   "[--plc-folder DIR] [--force]"));
    DownloadJob job;
    QString error;
    if (!ReadWholeFile(parser.value(image), job.image, &error))
        return Fail(error);
    if (parser.isSet(driver) && !ReadWholeFile(parser.value(driver), job.driver, &error))
        return Fail(error);
    bool ok = false;
    job.plcId = parser.value(plcId).toInt(&ok);
    if (!ok)
        return Fail(QStringLiteral("--plc-id takes a number"));
    const QDir drivers(parser.value(plcFolder));
    job.loadDriver = [drivers](const QString& name) -> std::optional<QByteArray> {
        QByteArray bytes;
        if (!ReadWholeFile(drivers.filePath(name), bytes))
            return std::nullopt;
        return bytes;
    };
    const bool forced = parser.isSet(force);
    job.confirmRunningPlc = [forced] { return forced; };

    ConsoleDownloadDisplay display;
    DownloadWorker worker;
    worker.Start(std::move(job), display);
    worker.Wait();
    return worker.Result() == 1 ? 0 : 1;
}
