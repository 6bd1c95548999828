// The designer window on the large project (100 frames of 30 elements, 3000 glyphs, 10 full-
// screen pictures): opening it until its first frame is painted, deleting 50 frames and undoing
// and redoing that, the image budget pane after an edit, saving it, and the peak resident
// memory. Prints each figure beside its goal.

#include "FormListBrowser.h"
#include "FormListControl.h"
#include "KoravelDoc.h"
#include "KoravelFormView.h"
#include "KoravelWnd.h"
#include "LargeProject.h"
#include "MainFrm.h"
#include "PLCFactory.h"
#include "TextFont.h"
#include "commands/FrameCommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The peak resident set of this process, in MB.
double PeakResidentMB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    }
    return 0;
}

void Report(const char* what, double value, double goal, const char* unit) {
    std::printf("%-34s %9.1f %s   goal < %.0f %s   %s\n", what, value, unit, goal, unit,
                value < goal ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("profile"));
    QApplication app(argc, argv);
    RegisterFontSubstitutions();
    CPLCFactory& catalog = CPLCFactory::Instance();
    if (!catalog.Load(KV_BIN_DIR "/Factory.dll")) {
        std::fputs("cannot load the catalog\n", stderr);
        return 1;
    }
    const QString path = dir.filePath("large.kvpr");
    {
        const std::unique_ptr<CKoravelProject> large = LargeProject(3000, catalog.GetPLC(1));
        if (!large->Save(path)) {
            std::fputs("cannot write the large project\n", stderr);
            return 1;
        }
    }
    std::printf("large project: %lld bytes on disk\n",
                static_cast<long long>(QFile(path).size()));

    CKoravelDoc doc(catalog);
    CMainFrame frame(doc);
    frame.resize(1280, 800);
    frame.show();
    QApplication::processEvents();

    const double open = Milliseconds([&] {
        frame.OpenProject(path);
        frame.FormView().Canvas().repaint();
    });
    Report("open until the first frame painted", open, 1000, "ms");

    std::vector<CHMIFrame*> fifty;
    for (int i = 0; i < 50; ++i)
        fifty.push_back(doc.Project().m_Frames[std::size_t(i * 2)].get());
    doc.Push(new CmdDeleteFrames(doc, fifty));
    QApplication::processEvents();
    const double undo = Milliseconds([&] {
        doc.UndoStack().undo();
        QApplication::processEvents();
    });
    const double redo = Milliseconds([&] {
        doc.UndoStack().redo();
        QApplication::processEvents();
    });
    Report("undo of deleting 50 frames", undo, 100, "ms");
    Report("redo of deleting 50 frames", redo, 100, "ms");
    doc.UndoStack().undo();

    // The budget pane after an edit: the check waits for a quiet moment, copies the project on
    // the window's thread and checks the copy on its worker.
    auto* pane = frame.findChild<QLabel*>(QStringLiteral("budgetPane"));
    const auto settle = [&] {
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < 1000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    settle();
    const QString before = pane->text();
    QElapsedTimer sinceEdit;
    doc.Push(new CmdDeleteFrames(doc, {doc.Project().m_Frames.front().get()}));
    sinceEdit.start();
    while (pane->text() == before && sinceEdit.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    Report("budget pane after an edit", double(sinceEdit.elapsed()), 300, "ms");
    Report("  of which the copy on the window", Milliseconds([&] { doc.Project().Copy(); }), 50,
           "ms");
    doc.UndoStack().undo();
    settle();

    const double save = Milliseconds([&] { doc.Save(dir.filePath("saved.kvpr")); });
    Report("save", save, 500, "ms");
    Report("peak resident memory", PeakResidentMB(), 300, "MB");
    return 0;
}
