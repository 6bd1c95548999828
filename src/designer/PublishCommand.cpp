#include "PublishCommand.h"

#include "BatchDelivery.h"
#include "BatchPublish.h"
#include "BuildOutputs.h"
#include "ConsoleCompileProgress.h"
#include "DriverFile.h"
#include "KoravelProject.h"
#include "PLCEntity.h"
#include "ProgramFolder.h"

#include <QFileInfo>

#include <cstdio>

namespace {

void PrintMessage(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

// The generator never offers a ladder program to other PLCs; on the command line one that
// cannot go into the tool is refused rather than left out without a word.
QString PlcProgramRefusal(const QString& plcProgram, int plcId) {
    if (plcProgram.isEmpty())
        return {};
    if (plcId != kIntegratedPlcId)
        return QStringLiteral("梯形图程序仅限 『VarnelLX一体机型号』 使用");
    if (!QFileInfo(plcProgram).isFile())
        return QStringLiteral("找不到PLC梯形图程序：") + plcProgram;
    return {};
}

PublishResult Generate(const PublishOptions& options, const QString& programFolder, int plcId) {
    BatchToolRequest request;
    request.outputPath = QFileInfo(options.output).absoluteFilePath();
    request.loader = EmbeddedBatchLoader();
    request.title = options.title;
    request.login = options.password.has_value();
    request.password = options.password.value_or(QString());
    request.plcId = plcId;
    request.plcFile = options.plcProgram;
    return options.zip ? GenerateZipDelivery(programFolder, request)
                       : GenerateToolProgram(programFolder, request);
}

} // namespace

std::optional<PublishOptions> ParsePublishOptions(const QStringList& arguments) {
    if (arguments.isEmpty() || arguments[0].startsWith(u"--"))
        return std::nullopt;
    PublishOptions options;
    options.project = arguments[0];
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (name == u"--zip") {
            options.zip = true;
            continue;
        }
        if (i + 1 == arguments.size())
            return std::nullopt;
        const QString& value = arguments[++i];
        if (name == u"--output")
            options.output = value;
        else if (name == u"--title")
            options.title = value;
        else if (name == u"--password")
            options.password = value;
        else if (name == u"--plc-program")
            options.plcProgram = value;
        else
            return std::nullopt;
    }
    if (options.output.isEmpty())
        return std::nullopt;
    return options;
}

int PublishBatchTool(const CKoravelProject& project, const PublishOptions& options) {
    const CPLCEntity* plc = project.m_pCurrentPLC;
    const int plcId = plc ? plc->GetProtocolID() : 0;
    const QString refusal = PlcProgramRefusal(options.plcProgram, plcId);
    if (!refusal.isEmpty()) {
        PrintMessage(refusal);
        return 1;
    }

    CompileOutputs outputs;
    QString error;
    ConsoleCompileProgress progress(stderr);
    const bool compiled = RunCompileJob(project, outputs, error, &progress);
    std::fputc('\n', stderr);
    if (!compiled) {
        PrintMessage(error);
        return 1;
    }

    const QString programFolder = ProgramFolder();
    PublishResult result = PreparePublish(programFolder, PublishPackage(outputs.image, plc));
    if (result.ok)
        result = Generate(options, programFolder, plcId);
    RemovePublishFolders(programFolder);
    if (!result.message.isEmpty())
        PrintMessage(result.message);
    if (!result.detail.isEmpty())
        PrintMessage(result.detail);
    return result.ok ? 0 : 1;
}
