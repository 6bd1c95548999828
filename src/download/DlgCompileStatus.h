#pragma once

#include "CompileJob.h"
#include "CompileProgress.h"

#include <QByteArray>
#include <QDialog>
#include <QMutex>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class CPLCFactory;
class QLabel;
class QProgressBar;

// The compile dialog "正在编译...": it runs the compile job on a worker of its own from the
// moment it is shown and shows its progress on two bars with their texts. A job that succeeds
// ends the dialog (accepted); one that fails shows its message and ends it (rejected), apart
// from a failure the job does not report, which leaves the dialog open. Closing the dialog
// while the job runs aborts the job; the dialog ends once the worker has.
class DlgCompileStatus : public QDialog, public ICompileProgress {
    Q_OBJECT

public:
    DlgCompileStatus(QByteArray projectFile, const CPLCFactory& catalog, BuildMode mode,
                     QWidget* parent = nullptr);
    ~DlgCompileStatus() override;

    // The job's outcome once the dialog has ended; not ok when it was closed during the job.
    CompileJobResult& Result() { return m_result; }

    // The compile display operations. The job calls them on its worker for every element; they
    // change the progress kept here, and the dialog's thread shows the latest of it.
    void Reset() override;
    void SetOverallRange(int steps) override;
    void StepOverall() override;
    void SetTitle(const QString& title) override;
    void SetCurrentPos(int percent) override;
    void SetCurrentText(const QString& text) override;
    void SetOverallPercent(int percent) override;

    void reject() override;

signals:
    // The job has ended (compiling no more); `ok` when it left its outputs (compiled).
    void compileEnded(bool ok);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What the bars and texts show.
    struct Progress {
        QString title;
        int currentPos = 0;
        QString currentText = QStringLiteral("0/0");
        int overallRange = 100;
        int overallPos = 0;
        QString overallText = QStringLiteral("0/0");
    };

    void Post(std::function<void()> change);
    // Changes the progress on the worker; one refresh at a time waits in the dialog's queue.
    void Update(const std::function<void(Progress&)>& change);
    void Refresh();
    void Finish(const std::shared_ptr<CompileJobResult>& result);

    QByteArray m_projectFile;
    const CPLCFactory& m_catalog;
    BuildMode m_mode;
    QProgressBar* m_pCurrentBar;
    QProgressBar* m_pOverallBar;
    QLabel* m_pCurrentText;
    QLabel* m_pOverallText;
    QMutex m_progressLock;
    Progress m_progress;
    bool m_bRefreshQueued = false;
    CompileJobResult m_result;
    std::atomic<bool> m_abort = false;
    bool m_bRunning = false;
    bool m_bEnding = false;
    std::thread m_worker;
};
