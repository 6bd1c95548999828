#pragma once

#include "BuildOutputs.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class CKoravelDoc;
class CProjectChecker;
class EmulatorLaunch;
class QWidget;
struct CompileJobResult;

// The commands that compile the project and hand it on: download to a panel, start of the
// Emulator, batch tool. Each saves the project, compiles a snapshot of it in the compile
// dialog and opens what follows; the document is held busy while a worker works for it.
class CDeviceCommands : public QObject {
    Q_OBJECT

public:
    // `checker` keeps the window's check report, which the commands read before compiling.
    CDeviceCommands(CKoravelDoc& doc, const CProjectChecker& checker, QWidget& window);
    // Stops waiting for Emulators still running; they go on on their own.
    ~CDeviceCommands() override;

    void Download();
    void StartEmulator();
    void Publish();

    // While a compile runs, only once it has compiled; otherwise with a PLC.
    bool CanDownload() const;

signals:
    // The compiling or compiled flag changed.
    void statesChanged();

private:
    // Without errors in the project check, or when the user goes on despite the first of them.
    bool GoOnDespiteCheck();
    // Saves the project and runs the compile dialog; the job's result when it succeeded.
    std::optional<CompileJobResult> Compile(BuildMode mode);
    void SetCompileFlags(bool compiling, bool compiled);

    CKoravelDoc& m_doc;
    const CProjectChecker& m_checker;
    QWidget& m_window;
    bool m_bCompiling = false;
    bool m_bCompiled = false;
    std::vector<std::unique_ptr<EmulatorLaunch>> m_emulators;
};
