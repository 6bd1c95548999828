#include "DownloadCommand.h"

#include "BuildOutputs.h"
#include "ConsoleCompileProgress.h"
#include "ConsoleDownloadDisplay.h"
#include "DownloadWorker.h"
#include "KoravelProject.h"
#include "PLCEntity.h"

#include <cstdio>
#include <optional>

namespace {

void PrintError(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

// The panels with an integrated PLC name the driver variant they take; it comes from the
// compiler's driver loader, which checks it as every driver is checked.
std::optional<QByteArray> LoadModelDriver(const CPLCEntity* plc, const QString& fileName,
                                          DownloadDisplay& display) {
    QByteArray driver;
    QString error;
    QStringList log;
    const bool loaded = LoadDriverVariantNamed(plc, fileName, driver, error, log);
    for (const QString& line : log)
        display.AddDownloadLog(line);
    if (!error.isEmpty())
        PrintError(error);
    if (!loaded)
        return std::nullopt;
    return driver;
}

} // namespace

int DownloadProject(const CKoravelProject& project, bool force) {
    CompileOutputs outputs;
    QString error;
    ConsoleCompileProgress progress(stderr);
    const bool compiled = RunCompileJob(project, outputs, error, &progress);
    std::fputc('\n', stderr);
    if (!compiled) {
        PrintError(error);
        return 1;
    }

    const CPLCEntity* plc = project.m_pCurrentPLC;
    ConsoleDownloadDisplay display;
    DownloadJob job;
    job.image = std::move(outputs.image);
    job.driver = std::move(outputs.driver);
    job.plcId = plc ? plc->GetProtocolID() : 0;
    job.loadDriver = [plc, &display](const QString& fileName) {
        return LoadModelDriver(plc, fileName, display);
    };
    job.confirmRunningPlc = [force] { return force; };

    DownloadWorker worker;
    worker.Start(std::move(job), display);
    worker.Wait();
    return worker.Result() == 1 ? 0 : 1;
}
