#include "UpdateDownload.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

constexpr qint64 kReadSize = 1024;
constexpr qint64 kStatusIntervalMs = 800;
constexpr int kTimeoutMs = 30000;
constexpr int kCancelPollMs = 50;

// Copies the checked installer over an older copy and makes it executable.
bool CopyToDesktop(const QString& installer, const QString& copy) {
    if (copy.isEmpty() || !QDir().mkpath(QFileInfo(copy).absolutePath()))
        return false;
    if (QFileInfo::exists(copy) && !QFile::remove(copy))
        return false;
    if (!QFile::copy(installer, copy))
        return false;
    return QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner | QFile::ExeUser |
                                           QFile::ExeGroup | QFile::ExeOther);
}

// One transfer: the reply's data into the installer file, with the progress and speed.
class Transfer {
public:
    Transfer(CUpdateDownload& download, const DownloadJob& job, QNetworkReply& reply,
             const std::atomic<bool>& cancel)
        : m_download(download), m_job(job), m_reply(reply), m_cancel(cancel),
          m_hash(QCryptographicHash::Sha256) {}

    // Reads what has arrived, 1024 bytes at a time, until nothing is left or the user cancels.
    void Receive() {
        if (m_failure || m_cancel || !IsSuccess())
            return; // an error page is not the installer: the reply ends with its error
        if (!m_file.isOpen() && !Prepare())
            return;
        while (!m_cancel) {
            const QByteArray chunk = m_reply.read(kReadSize);
            if (chunk.isEmpty())
                return;
            if (m_file.write(chunk) != chunk.size()) {
                Fail(DownloadOutcome::WriteFailed);
                return;
            }
            m_hash.addData(chunk);
            m_received += chunk.size();
            Report();
        }
    }

    // After the reply has ended: how the download went.
    DownloadOutcome Finish(QString& text) {
        if (m_failure) {
            m_file.close();
            return *m_failure;
        }
        if (m_cancel) {
            m_file.close();
            return DownloadOutcome::Cancelled;
        }
        if (m_reply.error() != QNetworkReply::NoError) {
            m_file.close();
            text = m_reply.errorString();
            return DownloadOutcome::NetworkError;
        }
        Receive(); // an empty installer still makes a file
        if (m_failure)
            return Finish(text);
        m_file.close();
        emit m_download.progressChanged(100);
        if (!HashMatches()) {
            QFile::remove(m_job.installer);
            return DownloadOutcome::Refused;
        }
        if (!CopyToDesktop(m_job.installer, m_job.desktopCopy))
            return DownloadOutcome::CopyFailed;
        text = m_job.desktopCopy;
        return DownloadOutcome::Completed;
    }

private:
    bool IsSuccess() const {
        const int status = m_reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status >= 200 && status < 300;
    }

    // The reply is open: its size, then a fresh installer file.
    bool Prepare() {
        m_clock.start();
        const qint64 size = m_reply.header(QNetworkRequest::ContentLengthHeader).toLongLong();
        m_sizeKilobytes = size > 0 ? size / 1024 : 0;
        emit m_download.statusChanged(QStringLiteral("准备下载..."));
        if (QFileInfo::exists(m_job.installer) && !QFile::remove(m_job.installer))
            return Fail(DownloadOutcome::DeleteFailed);
        m_file.setFileName(m_job.installer);
        if (!m_file.open(QIODevice::WriteOnly))
            return Fail(DownloadOutcome::WriteFailed);
        emit m_download.statusChanged(QStringLiteral("正在下载..."));
        emit m_download.progressChanged(0);
        return true;
    }

    bool Fail(DownloadOutcome outcome) {
        m_failure = outcome;
        m_reply.abort();
        return false;
    }

    void Report() {
        const qint64 kilobytes = m_received / 1024;
        const qint64 seconds = m_clock.elapsed() / 1000;
        if (seconds != 0)
            m_speed = double(kilobytes) / double(seconds);
        if (m_sizeKilobytes != 0) {
            const int progress = int(std::min<qint64>(100, kilobytes * 100 / m_sizeKilobytes));
            if (progress != m_progress) {
                m_progress = progress;
                emit m_download.progressChanged(progress);
            }
        }
        if (m_clock.elapsed() - m_lastStatus >= kStatusIntervalMs) {
            m_lastStatus = m_clock.elapsed();
            emit m_download.statusChanged(SpeedStatus(unsigned(m_progress), m_speed));
        }
    }

    bool HashMatches() const {
        const QByteArray expected = m_job.sha256.trimmed().toLower().toLatin1();
        return !expected.isEmpty() && expected == m_hash.result().toHex();
    }

    CUpdateDownload& m_download;
    const DownloadJob& m_job;
    QNetworkReply& m_reply;
    const std::atomic<bool>& m_cancel;
    QFile m_file;
    QCryptographicHash m_hash;
    QElapsedTimer m_clock;
    std::optional<DownloadOutcome> m_failure;
    qint64 m_received = 0;
    qint64 m_sizeKilobytes = 0;
    qint64 m_lastStatus = 0;
    double m_speed = 0;
    int m_progress = 0;
};

} // namespace

QString SpeedStatus(unsigned progress, double kilobytesPerSecond) {
    const auto speed = static_cast<unsigned>(kilobytesPerSecond);
    if (speed < 1024)
        return QString::asprintf("[%u%%] %u KB/S", progress, speed);
    return QString::asprintf("[%u%%] %.2f MB/S", progress, speed / 1024.0);
}

CUpdateDownload::CUpdateDownload(QObject* parent) : QObject(parent) {}

CUpdateDownload::~CUpdateDownload() {
    if (!m_thread)
        return;
    m_cancel = true;
    m_thread->wait();
}

void CUpdateDownload::Start(const DownloadJob& job) {
    if (m_thread)
        return;
    m_cancel = false;
    m_thread.reset(QThread::create([this, job] { Run(job); }));
    connect(m_thread.get(), &QThread::finished, this, &CUpdateDownload::Joined);
    m_thread->start();
}

void CUpdateDownload::Joined() {
    m_thread->wait();
    m_thread.reset();
    emit finished(m_outcome, m_text);
}

void CUpdateDownload::Run(const DownloadJob& job) {
    QNetworkAccessManager manager;
    QNetworkRequest request(job.url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(kTimeoutMs);
    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    Transfer transfer(*this, job, *reply, m_cancel);
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop,
                     [&transfer] { transfer.Receive(); });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A stalled server sends nothing to read: the cancel is looked at in between as well.
    QTimer poll;
    poll.callOnTimeout([&] {
        if (m_cancel)
            reply->abort();
    });
    poll.start(kCancelPollMs);
    if (!reply->isFinished())
        loop.exec();
    m_text.clear();
    m_outcome = transfer.Finish(m_text);
}
