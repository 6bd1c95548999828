#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// A named shared memory object that one process creates for another one to open by name
// (POSIX shm_open; "RV_KV_250_Monitor" becomes "/RV_KV_250_Monitor"). The creator owns the
// name: the destructor unmaps the memory and, for the creator, removes the name.
class NamedSharedMemory {
public:
    NamedSharedMemory() = default;
    ~NamedSharedMemory();
    NamedSharedMemory(const NamedSharedMemory&) = delete;
    NamedSharedMemory& operator=(const NamedSharedMemory&) = delete;

    // Creates the object (replacing a stale one of the same name), `size` bytes of zeros,
    // mapped read/write. False when it cannot be created or mapped.
    bool Create(const QString& name, std::size_t size);
    // Maps an object that another process created, read-only and whole; Data() must then not
    // be written. False when it does not exist, is empty or cannot be mapped.
    bool OpenReadOnly(const QString& name);
    void Close();

    std::uint8_t* Data() const { return m_pData; }
    std::size_t Size() const { return m_nSize; }

private:
    QString m_strName;
    std::uint8_t* m_pData = nullptr;
    std::size_t m_nSize = 0;
    bool m_bCreator = false;
};
