#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// CRC-16 with register 0xFFFF, reflected polynomial 0xA001 and no final XOR (the MODBUS CRC).
// Used for driver file trailers, USB frames and the batch tool trailer. `crc` continues a
// running value over several pieces.
std::uint16_t Crc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc = 0xFFFF);
std::uint16_t Crc16(const QByteArray& data, std::uint16_t crc = 0xFFFF);
