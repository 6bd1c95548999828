#pragma once

#include "BuildOutputs.h"
#include "NamedSharedMemory.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>

class CPLCEntity;
class CPLCFactory;
class ICompileProgress;

// What the window's compile job leaves for the step that follows it.
struct CompileJobResult {
    bool ok = false;
    QString message; // for the user; empty when there is nothing to tell
    QString detail;  // the failed step and the system's reason, when known
    CompileOutputs outputs;
    const CPLCEntity* plc = nullptr;
    std::unique_ptr<NamedSharedMemory> handover; // emulator mode: the image for the Emulator
};

// The compile job of the window's three commands, run on the compile dialog's worker. It works
// on `projectFile`, the bytes of the saved project file, loaded here into a project of its own: the
// document that the user goes on editing is never read from this thread. After the compile:
// in emulator mode the hand-over in shared memory, in batch tool mode the publish preparation
// (the package archive in the program folder).
CompileJobResult RunWindowCompileJob(const QByteArray& projectFile, const CPLCFactory& catalog,
                                     BuildMode mode, ICompileProgress& progress,
                                     const std::atomic<bool>& abort);
