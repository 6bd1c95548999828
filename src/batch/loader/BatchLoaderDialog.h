#pragma once

#include "BatchDownload.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <thread>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

// The batchloader's main window: the log, the per-file and overall bars with their texts,
// and the start and close buttons. Each start runs one download on a worker thread, which
// reports through DownloadDisplay calls that are handed over to this window's thread.
class BatchLoaderDialog : public QDialog {
    Q_OBJECT

public:
    // `title` is the caption; empty gives the fixed one.
    BatchLoaderDialog(BatchPackageSource source, const QString& title, QWidget* parent = nullptr);
    ~BatchLoaderDialog() override;

    // For the worker's display, on this window's thread.
    void AddLogLine(const QString& line);
    void SetFileRange(int size);
    void SetFilePos(int pos);
    void SetFileText(const QString& text);
    void SetOverallPos(int pos);
    void SetOverallText(const QString& text);
    void SetBusy(bool busy);

public slots:
    void StartDownload();
    void CloseProgram();
    void ShowAbout();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Display;

    bool AskRunningPlc();
    void StopWorker();

    BatchPackageSource m_source;
    QListWidget* m_log;
    QProgressBar* m_fileBar;
    QLabel* m_fileText;
    QProgressBar* m_overallBar;
    QLabel* m_overallText;
    QPushButton* m_start;
    QPushButton* m_close;

    std::unique_ptr<Display> m_display;
    std::unique_ptr<LibUSBDown> m_usb; // one for the whole run: an abort stays set
    std::thread m_worker;
    std::atomic<bool> m_registered = false;
    BatchDownloadHooks m_hooks;
};
