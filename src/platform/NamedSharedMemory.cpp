#include "NamedSharedMemory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray PosixName(const QString& name) {
    return name.startsWith(QLatin1Char('/')) ? name.toUtf8() : "/" + name.toUtf8();
}

} // namespace

NamedSharedMemory::~NamedSharedMemory() {
    Close();
}

bool NamedSharedMemory::Create(const QString& name, std::size_t size) {
    Close();
    const QByteArray posixName = PosixName(name);
    // A name left behind by a creator that crashed would otherwise hand out its old contents.
    shm_unlink(posixName.constData());
    const int fd = shm_open(posixName.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    void* data = MAP_FAILED;
    if (ftruncate(fd, static_cast<off_t>(size)) == 0)
        data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (data == MAP_FAILED) {
        shm_unlink(posixName.constData());
        return false;
    }
    m_strName = name;
    m_pData = static_cast<std::uint8_t*>(data);
    m_nSize = size;
    m_bCreator = true;
    return true;
}

bool NamedSharedMemory::OpenReadOnly(const QString& name) {
    Close();
    const int fd = shm_open(PosixName(name).constData(), O_RDONLY, 0);
    if (fd < 0)
        return false;
    struct stat info {};
    void* data = MAP_FAILED;
    if (fstat(fd, &info) == 0 && info.st_size > 0)
        data = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (data == MAP_FAILED)
        return false;
    m_strName = name;
    m_pData = static_cast<std::uint8_t*>(data);
    m_nSize = static_cast<std::size_t>(info.st_size);
    m_bCreator = false;
    return true;
}

void NamedSharedMemory::Close() {
    if (!m_pData)
        return;
    munmap(m_pData, m_nSize);
    if (m_bCreator)
        shm_unlink(PosixName(m_strName).constData());
    m_pData = nullptr;
    m_nSize = 0;
    m_strName.clear();
    m_bCreator = false;
}
