#include "PlcMemory.h"

PlcMemory::PlcMemory() : m_bits(65536), m_words(65536) {}

uint32_t PlcMemory::Word(uint16_t address, int width) const {
    const uint16_t low = m_words[address];
    if (width == 8)
        return low & 0xFFu;
    if (width == 32)
        return low | uint32_t{m_words[static_cast<uint16_t>(address + 1)]} << 16;
    return low;
}

void PlcMemory::SetWord(uint16_t address, int width, uint32_t value) {
    uint16_t& cell = m_words[address];
    if (width == 8) {
        cell = static_cast<uint16_t>((cell & 0xFF00u) | (value & 0xFFu));
        return;
    }
    cell = static_cast<uint16_t>(value);
    if (width == 32)
        m_words[static_cast<uint16_t>(address + 1)] = static_cast<uint16_t>(value >> 16);
}
