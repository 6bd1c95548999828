#pragma once

#include "BuildOutputs.h"
#include "DownloadDisplay.h"
#include "DownloadWorker.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <optional>

class CPLCEntity;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

// The download dialog "下载进度": "开始下载" runs the download of the compiled project on a
// worker, which reports through the display operations into the two bars, their texts and the
// log list. The dialog may start the download again with the same outputs after one ended.
// Closing it during a download aborts the download and waits for the worker (a USB read
// already waiting runs to its timeout) before the dialog ends and the outputs are freed.
class DlgDownStatus : public QDialog, public DownloadDisplay {
    Q_OBJECT

public:
    // `plc` is the compiled project's PLC (of the catalog, which outlives the dialog).
    DlgDownStatus(CompileOutputs outputs, const CPLCEntity* plc, QWidget* parent = nullptr);
    ~DlgDownStatus() override;

    // The display operations. The download worker calls them; each is handed over to the
    // dialog's thread.
    void ResetDownloadPanel() override;
    void SetFileProgressRange(int size) override;
    void SetFileProgressPos(int pos) override;
    void SetOverallProgressPos(int pos) override;
    void SetFileProgressText(const QString& text) override;
    void SetOverallProgressText(const QString& text) override;
    void EnableDownloadButtons(bool busy) override;

    void reject() override;

signals:
    // A download has ended and its worker has been joined.
    void downloadEnded();

protected:
    void AddLogLine(const QString& line) override;

private:
    void StartDownload();
    void DownloadEnded();
    void Post(std::function<void()> change);
    // The worker's questions and loads, answered on the dialog's thread.
    bool ConfirmRunningPlc();
    std::optional<QByteArray> LoadModelDriver(const QString& fileName);

    DownloadJob m_job;
    const CPLCEntity* m_pPlc;
    QProgressBar* m_pFileBar;
    QProgressBar* m_pOverallBar;
    QLabel* m_pFileText;
    QLabel* m_pOverallText;
    QListWidget* m_pLog;
    QPushButton* m_pStart;
    QPushButton* m_pClose;
    DownloadWorker m_worker;
    // Set when the dialog is closing: a question still waiting for its answer is answered no.
    std::atomic<bool> m_closing = false;
    bool m_bRunning = false;
};
