#include "Handover.h"

namespace Handover {

bool Encode(const QByteArray& image, std::uint8_t key, std::span<std::uint8_t> out) {
    const auto length = static_cast<std::size_t>(image.size());
    if (length > 0xFFFFFFFFu || out.size() < kHeadSize + length)
        return false;
    out[0] = static_cast<std::uint8_t>(length >> 24);
    out[1] = static_cast<std::uint8_t>(length >> 16);
    out[2] = static_cast<std::uint8_t>(length >> 8);
    out[3] = static_cast<std::uint8_t>(length);
    out[4] = key;
    for (std::size_t i = 0; i < length; ++i)
        out[kHeadSize + i] = static_cast<std::uint8_t>(image[static_cast<qsizetype>(i)]) ^ key;
    return true;
}

std::optional<std::vector<std::uint8_t>> Decode(std::span<const std::uint8_t> handover) {
    if (handover.size() < kHeadSize)
        return std::nullopt;
    const std::uint32_t length = std::uint32_t{handover[0]} << 24 |
                                 std::uint32_t{handover[1]} << 16 |
                                 std::uint32_t{handover[2]} << 8 | handover[3];
    const std::uint8_t key = handover[4];
    if (length == 0 || length > handover.size() - kHeadSize)
        return std::nullopt;
    std::vector<std::uint8_t> image(handover.begin() + kHeadSize,
                                    handover.begin() + kHeadSize + length);
    for (std::uint8_t& byte : image)
        byte ^= key;
    return image;
}

} // namespace Handover
