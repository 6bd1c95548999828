#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>

// Named shared memory of the designer's hand-over to the Emulator (POSIX shm_open; the name
// "RV_KV_250_Monitor" becomes "/RV_KV_250_Monitor").
namespace SharedMemory {

// The size the designer creates the hand-over mapping with.
constexpr size_t kHandoverSize = 0x1E00000;

// Maps an existing object read-only and copies its first `size` bytes (fewer when the object is
// smaller). Empty when it does not exist or cannot be mapped.
std::optional<QByteArray> Read(const QString& name, size_t size);

// Creates (or replaces) an object of `size` bytes holding `content` at its start. The creator
// removes it again with Remove.
bool Create(const QString& name, size_t size, const QByteArray& content);
void Remove(const QString& name);

} // namespace SharedMemory
