#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The designer hands a compiled image to the Emulator in named shared memory: a BE32 length L,
// a key byte k, then the L bytes of the padded image, each XORed with k. The Emulator is
// started with the memory's name on its command line.
namespace Handover {

inline const QString kName = QStringLiteral("RV_KV_250_Monitor");
inline constexpr std::size_t kSize = 0x1E00000;
inline constexpr std::size_t kHeadSize = 5;

// Writes the hand-over of `image` to the start of `out`; false when it does not fit.
bool Encode(const QByteArray& image, std::uint8_t key, std::span<std::uint8_t> out);

// The image that `handover` holds. Empty when L is 0 or runs past the bytes given: the
// length comes from another process.
std::optional<std::vector<std::uint8_t>> Decode(std::span<const std::uint8_t> handover);

} // namespace Handover
