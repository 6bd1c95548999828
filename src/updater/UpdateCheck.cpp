#include "UpdateCheck.h"

#include "AtomicFile.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace {

constexpr int kTimeoutMs = 30000;
constexpr int kAbortPollMs = 50;
// The configuration file is a few lines; anything far larger is not one.
constexpr qint64 kConfigLimit = 64 * 1024;

} // namespace

bool FetchUrl(const QUrl& url, QByteArray& body, qint64 limit, const std::atomic<bool>& abort) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(kTimeoutMs);
    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    bool tooLarge = false;
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop,
                     [&](qint64 received, qint64) {
                         if (received > limit) {
                             tooLarge = true;
                             reply->abort();
                         }
                     });
    QTimer poll;
    poll.callOnTimeout([&] {
        if (abort)
            reply->abort();
    });
    poll.start(kAbortPollMs);
    if (!reply->isFinished())
        loop.exec();
    if (reply->error() != QNetworkReply::NoError || tooLarge || abort)
        return false;
    body = reply->readAll();
    return true;
}

UpdateCheckResult RunUpdateCheck(const QString& programFolder, const UpdateSettings& previous,
                                 const std::atomic<bool>& abort) {
    UpdateCheckResult result;
    result.settings = previous;
    const QDir folder(programFolder);
    const QString updateFolder = folder.filePath(QStringLiteral("update"));
    const QString configCopy = QDir(updateFolder).filePath(QStringLiteral("batchloader.dat"));
    QDir().mkpath(updateFolder);
    QFile::remove(configCopy);
    const QString server = ConfiguredServer(folder.filePath(QStringLiteral("config.dll")));
    QByteArray body;
    if (FetchUrl(ConfigUrl(server), body, kConfigLimit, abort) &&
        WriteFileAtomically(configCopy, body))
        ReadUpdateSettings(configCopy, result.settings);
    QDir(updateFolder).removeRecursively();

    result.versions = ReadVersionComponent(programFolder);
    result.available =
        result.versions.loaded && IsUpdateOffered(result.versions.version, result.settings);
    return result;
}
