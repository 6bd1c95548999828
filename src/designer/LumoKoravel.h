#pragma once

#include "GraphBase.h"

#include <QStringList>

#include <memory>

class CKoravelDoc;
class CMainFrame;
class CRecovery;

// The designer application with its window: start-up in order (profile, program folder,
// annotation switches, file type, PLC catalog, document and main window, the offer of work
// left unsaved by a run that ended abnormally, the project named on the command line, the
// update check), then the event loop.
class CKoravelApp {
public:
    CKoravelApp();
    ~CKoravelApp();

    // False when the program must end: the PLC catalog did not load (the user was told).
    bool InitInstance(const QStringList& arguments);
    // Shows the main window maximised and runs until it closes; the exit code.
    int Run();

    CKoravelDoc& Document() const { return *m_pDoc; }
    CMainFrame& MainFrame() const { return *m_pFrame; }

private:
    std::unique_ptr<CKoravelDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CRecovery> m_pRecovery;
};

// The annotation switches kept in "config.dll".
AnnotationFlags ReadAnnotationFlags();

// Makes the frame numbered FRAME current and, given a POSITION (0-based in its parts), selects
// that element, from the text "FRAME[:POSITION]"; false when there is no such frame or element.
bool SelectForScreenshot(CKoravelDoc& doc, const QString& spec);

// designer --window-screenshot OUT.png [PROJECT [--select FRAME[:POSITION]]]: the main window
// at 1280 x 800 on the offscreen platform, with PROJECT open and the panel of the selection
// shown, written as a PNG. The exit code.
int WindowScreenshot(const QStringList& arguments);
