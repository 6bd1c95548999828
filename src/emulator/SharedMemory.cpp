#include "SharedMemory.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray PosixName(const QString& name) {
    return (name.startsWith(QLatin1Char('/')) ? name : QLatin1Char('/') + name).toLocal8Bit();
}

} // namespace

namespace SharedMemory {

std::optional<QByteArray> Read(const QString& name, size_t size) {
    const int fd = shm_open(PosixName(name).constData(), O_RDONLY, 0);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_size <= 0) {
        close(fd);
        return std::nullopt;
    }
    const size_t length = std::min(size, static_cast<size_t>(info.st_size));
    void* mapped = mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    if (mapped == MAP_FAILED)
        return std::nullopt;
    QByteArray copy(static_cast<const char*>(mapped), static_cast<qsizetype>(length));
    munmap(mapped, length);
    return copy;
}

bool Create(const QString& name, size_t size, const QByteArray& content) {
    if (static_cast<size_t>(content.size()) > size)
        return false;
    const QByteArray posixName = PosixName(name);
    const int fd = shm_open(posixName.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    bool ok = ftruncate(fd, static_cast<off_t>(size)) == 0;
    if (ok) {
        void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ok = mapped != MAP_FAILED;
        if (ok) {
            std::memcpy(mapped, content.constData(), static_cast<size_t>(content.size()));
            munmap(mapped, size);
        }
    }
    close(fd);
    if (!ok)
        shm_unlink(posixName.constData());
    return ok;
}

void Remove(const QString& name) {
    shm_unlink(PosixName(name).constData());
}

} // namespace SharedMemory
