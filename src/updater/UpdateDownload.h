#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <atomic>
#include <memory>

class QThread;

// What the installer's download needs to know.
struct DownloadJob {
    QUrl url;
    QString installer;   // the downloaded file, in the program folder
    QString desktopCopy; // its copy on the desktop; empty when no safe name could be made
    QString sha256;      // the installer's announced SHA-256, hexadecimal
};

enum class DownloadOutcome {
    Completed,    // checked and copied to the desktop; the text is the copy's path
    Cancelled,    // the partial file stays
    NetworkError, // the text is the error's own message
    DeleteFailed, // an old installer could not be deleted
    WriteFailed,  // the installer file could not be created or written
    Refused,      // the SHA-256 is missing or differs: the download was deleted
    CopyFailed,   // the copy on the desktop could not be made
};

// "[%u%%] %u KB/S" below 1024 KB/s, otherwise "[%u%%] %.2f MB/S".
QString SpeedStatus(unsigned progress, double kilobytesPerSecond);

// The installer's download on a thread of its own. It reads at most 1024 bytes at a time,
// reports the progress whenever it changes and the speed at most every 800 ms, checks the
// SHA-256 and copies the checked installer to the desktop. The signals arrive in the thread
// that owns this object; `finished` comes after the thread has ended.
class CUpdateDownload : public QObject {
    Q_OBJECT

public:
    explicit CUpdateDownload(QObject* parent = nullptr);
    // Cancels a running download and waits for its thread.
    ~CUpdateDownload() override;

    void Start(const DownloadJob& job);
    // The download stops at its next read.
    void Cancel() { m_cancel = true; }
    bool IsRunning() const { return m_thread != nullptr; }

signals:
    void statusChanged(const QString& text);
    void progressChanged(int percent);
    void finished(DownloadOutcome outcome, const QString& text);

private:
    void Run(const DownloadJob& job);
    void Joined();

    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancel{false};
    // Written by the thread, read after it has ended.
    DownloadOutcome m_outcome = DownloadOutcome::Completed;
    QString m_text;
};
