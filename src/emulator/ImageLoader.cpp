#include "ImageLoader.h"

#include "SharedMemory.h"

#include <QFile>

namespace {

constexpr qsizetype kHandoverHead = 5;

} // namespace

namespace ImageLoader {

std::optional<PanelImage> FromHandover(const QByteArray& handover) {
    if (handover.size() < kHandoverHead)
        return std::nullopt;
    const auto* head = reinterpret_cast<const uint8_t*>(handover.constData());
    const uint32_t length =
        uint32_t{head[0]} << 24 | uint32_t{head[1]} << 16 | uint32_t{head[2]} << 8 | head[3];
    const uint8_t key = head[4];
    // The length comes from another process: never trust it past the mapping.
    if (length == 0 || length > static_cast<uint64_t>(handover.size() - kHandoverHead))
        return std::nullopt;
    std::vector<uint8_t> bytes(head + kHandoverHead, head + kHandoverHead + length);
    for (uint8_t& byte : bytes)
        byte ^= key;
    return PanelImage(std::move(bytes));
}

std::optional<PanelImage> FromSharedMemory(const QString& mappingName) {
    const std::optional<QByteArray> handover =
        SharedMemory::Read(mappingName, SharedMemory::kHandoverSize);
    if (!handover)
        return std::nullopt;
    return FromHandover(*handover);
}

std::optional<PanelImage> FromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.read(SharedMemory::kHandoverSize);
    if (content.isEmpty())
        return std::nullopt;
    const auto* data = reinterpret_cast<const uint8_t*>(content.constData());
    return PanelImage(std::vector<uint8_t>(data, data + content.size()));
}

} // namespace ImageLoader
