#pragma once

#include <cstdint>

// What the panel reads from the 32-bit field a limit is written into: signed for an element in
// the DEC_SIGN format, unsigned otherwise.
inline std::int64_t PanelLimit(std::int64_t value, bool isSigned) {
    const auto field = static_cast<std::uint32_t>(value);
    return isSigned ? std::int64_t{static_cast<std::int32_t>(field)} : std::int64_t{field};
}
