#include "ImageLoader.h"

#include "Handover.h"
#include "NamedSharedMemory.h"

#include <QFile>

#include <algorithm>

namespace {

std::optional<PanelImage> Decoded(std::span<const uint8_t> handover) {
    std::optional<std::vector<uint8_t>> bytes = Handover::Decode(handover);
    if (!bytes)
        return std::nullopt;
    return PanelImage(std::move(*bytes));
}

} // namespace

namespace ImageLoader {

std::optional<PanelImage> FromHandover(const QByteArray& handover) {
    return Decoded({reinterpret_cast<const uint8_t*>(handover.constData()),
                    static_cast<size_t>(handover.size())});
}

std::optional<PanelImage> FromSharedMemory(const QString& mappingName) {
    NamedSharedMemory memory;
    if (!memory.OpenReadOnly(mappingName))
        return std::nullopt;
    // Copied before the mapping is closed; the designer made it kSize bytes.
    return Decoded({memory.Data(), std::min(memory.Size(), Handover::kSize)});
}

std::optional<PanelImage> FromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.read(Handover::kSize);
    if (content.isEmpty())
        return std::nullopt;
    const auto* data = reinterpret_cast<const uint8_t*>(content.constData());
    return PanelImage(std::vector<uint8_t>(data, data + content.size()));
}

} // namespace ImageLoader
