#include "CompileJob.h"

#include "BatchPublish.h"
#include "KoravelProject.h"
#include "NamedSharedMemory.h"
#include "ProgramFolder.h"

CompileJobResult RunWindowCompileJob(const QByteArray& projectFile, const CPLCFactory& catalog,
                                     BuildMode mode, ICompileProgress& progress,
                                     const std::atomic<bool>& abort) {
    CompileJobResult result;
    CKoravelProject project;
    QStringList messages;
    if (!project.LoadBytes(projectFile, catalog, messages)) {
        result.message = kDamagedFileMessage;
        result.detail = project.LoadFailure();
        return result;
    }
    result.plc = project.m_pCurrentPLC;
    if (!RunCompileJob(project, result.outputs, result.message, &progress, &abort))
        return result;
    if (mode == BuildMode::Emulator) {
        // Not reported: the compile dialog stays open until the user closes it.
        result.handover = CreateHandover(result.outputs.image);
        result.ok = result.handover != nullptr;
        return result;
    }
    if (mode == BuildMode::BatchTool) {
        const PublishResult prepared =
            PreparePublish(ProgramFolder(), PublishPackage(result.outputs.image, result.plc));
        result.message = prepared.message;
        result.detail = prepared.detail;
        result.ok = prepared.ok;
        return result;
    }
    result.ok = true;
    return result;
}
