#pragma once

#include <cstdint>
#include <vector>

// The simulated PLC: one bit area and one word area shared by every station and type code, so
// the address alone selects the cell. All zero at start.
class PlcMemory {
public:
    PlcMemory();

    uint8_t Bit(uint16_t address) const { return m_bits[address]; }
    void SetBit(uint16_t address, bool on) { m_bits[address] = on ? 1 : 0; }

    // width 8, 16 or 32; an 8-bit value is the low byte of the cell, a 32-bit value takes the
    // cell (low half) and the next one (high half).
    uint32_t Word(uint16_t address, int width) const;
    void SetWord(uint16_t address, int width, uint32_t value);

private:
    std::vector<uint8_t> m_bits;
    std::vector<uint16_t> m_words;
};
