#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The frames the host sends to the panel: STX, command, big-endian payload length, payload,
// ETX, then the CRC-16 of everything before it, high byte first. Replies come back as bare
// 32-byte blocks.

inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEtx = 0x03;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x09;

inline constexpr std::uint8_t CMD_FILE_INFO = 0x01;
inline constexpr std::uint8_t CMD_FILE_DATA = 0x02;
inline constexpr std::uint8_t CMD_FILE_END = 0x04;
inline constexpr std::uint8_t CMD_CONNECT = 0x05;
inline constexpr std::uint8_t CMD_RESTART = 0x06;
inline constexpr std::uint8_t CMD_WRITE_FLASH = 0x07;

inline constexpr int kFrameOverhead = 7;   // STX, command, length (2), ETX, CRC (2)
inline constexpr int kCommandPayload = 32; // commands without data carry 32 zero bytes
inline constexpr int kFileNameBytes = 32;
inline constexpr int kFileInfoPayload = 57;
inline constexpr int kBlockSize = 505; // makes a data frame exactly one 512-byte write
inline constexpr int kReplySize = 32;

// A complete frame around `payload` (at most 0xFFFF bytes).
QByteArray BuildFrame(std::uint8_t command, const QByteArray& payload);

// A command that carries no data: 32 zero payload bytes, 39 bytes in all.
QByteArray BuildCommandFrame(std::uint8_t command);

QByteArray BuildConnectFrame(std::uint8_t option, std::uint8_t projectModel);

// File information: the 8-bit name (cut to 32 bytes, zero-padded), size, MD5 and CRC-16 of
// `data`.
QByteArray BuildFileInfoFrame(const QString& name, const QByteArray& data);
