#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Fails with the path and the reason, so every caller can show both.
bool Fail(const QString& path, const QString& reason, QString* message) {
    if (message)
        *message = path + QStringLiteral(": ") + reason;
    return false;
}

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// An existing file keeps its permissions; a new one gets the usual 0666 less the umask.
mode_t TargetMode(const QByteArray& target) {
    struct stat st {};
    if (::stat(target.constData(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, const QByteArray& data) {
    const char* at = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

// The rename is only durable once the folder's entry is on disk too.
void SyncFolder(const QByteArray& target) {
    const QByteArray folder =
        QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes a temporary file beside `path` with `fill`, which returns the reason of a failure or
// "" on success; then syncs, closes and renames it over `path`. Every step is checked: a full
// disk often shows only at the final flush or the sync, and the rename must never put a short
// file in place of a good one.
bool Replace(const QString& path, const std::function<QString(int fd)>& fill, QString* error) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(path, SystemReason(errno), error);

    QString failure;
    if (::fchmod(fd, TargetMode(target)) != 0)
        failure = SystemReason(errno);
    if (failure.isEmpty())
        failure = fill(fd);
    if (failure.isEmpty() && ::fsync(fd) != 0)
        failure = SystemReason(errno);
    if (::close(fd) != 0 && failure.isEmpty())
        failure = SystemReason(errno);
    if (failure.isEmpty() && ::rename(temporary.constData(), target.constData()) != 0)
        failure = SystemReason(errno);
    if (!failure.isEmpty()) {
        ::unlink(temporary.constData());
        return Fail(path, failure, error);
    }
    SyncFolder(target);
    return true;
}

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    return Replace(
        path, [&data](int fd) { return WriteAll(fd, data) ? QString() : SystemReason(errno); },
        error);
}

bool WriteFileAtomically(const QString& path, const std::function<bool(QFileDevice&)>& write,
                         QString* error) {
    return Replace(
        path,
        [&write](int fd) {
            QFile file;
            if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
                return file.errorString();
            // The buffered tail goes out in flush(), which reports a full disk there too.
            const bool written = write(file) && file.flush();
            if (!written || file.error() != QFileDevice::NoError)
                return file.error() != QFileDevice::NoError ? file.errorString()
                                                            : QStringLiteral("write failed");
            return QString();
        },
        error);
}

bool ReadWholeFile(const QString& path, QByteArray& data, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(path, file.errorString(), error);
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(path, file.errorString(), error);
    data = std::move(content);
    return true;
}
