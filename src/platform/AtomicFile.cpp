#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Fails with the path and the system's reason, so every caller can show both.
bool Fail(const QString& path, int error, QString* message) {
    if (message)
        *message = path + QStringLiteral(": ") + SystemReason(error);
    return false;
}

int OpenTemporary(QByteArray& name) {
    name.append(".XXXXXX");
    return mkostemp(name.data(), O_CLOEXEC);
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

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target;
    const int fd = OpenTemporary(temporary);
    if (fd < 0)
        return Fail(path, errno, error);

    // Every step is checked: a full disk often shows only at the final flush or sync, and the
    // rename must never put a short file in place of a good one.
    int failure = 0;
    if (::fchmod(fd, TargetMode(target)) != 0 || !WriteAll(fd, data) || ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.constData());
        return Fail(path, failure, error);
    }
    SyncFolder(target);
    return true;
}

bool ReadWholeFile(const QString& path, QByteArray& data, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    data = std::move(content);
    return true;
}
