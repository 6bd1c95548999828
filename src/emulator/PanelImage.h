#pragma once

#include "ImageLayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The panel image as the panel holds it: the byte at image offset n has the panel address
// kImageBase + n. Every structure is reached through these readers; an address outside the image
// reads 0 and is counted, so a damaged image shows garbage instead of crashing.
class PanelImage {
public:
    PanelImage() = default;
    explicit PanelImage(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    uint8_t Byte(uint32_t address) const {
        if (address < kImageBase || address - kImageBase >= m_bytes.size()) {
            ++m_outsideReads;
            return 0;
        }
        return m_bytes[address - kImageBase];
    }
    uint16_t BE16(uint32_t address) const;
    uint32_t BE32(uint32_t address) const;
    // The header is the one place with little-endian fields.
    uint16_t LE16(uint32_t address) const;
    uint32_t LE32(uint32_t address) const;

    size_t Size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    // Number of reads that fell outside the image since it was loaded.
    uint64_t OutsideReads() const { return m_outsideReads; }

private:
    std::vector<uint8_t> m_bytes;
    mutable uint64_t m_outsideReads = 0;
};
