#pragma once

#include <cstdint>

// Where the image lies in the panel's memory and how its 68-byte header is laid out. Addresses
// inside the image are panel addresses: the byte at image offset n has address kImageBase + n.
// The header's multi-byte fields are little-endian, every other field of the image big-endian.

inline constexpr std::uint32_t kImageBase = 0x8000;
inline constexpr std::uint32_t kHeaderSize = 68;

inline constexpr std::uint16_t kHeaderMagic = 0x55AA;
// Fixed filler bytes of the header.
inline constexpr std::uint8_t kHeaderFiller = 0xCC;
inline constexpr std::uint16_t kHeaderFiller16 = 0xCCCC;

// Offsets of the header fields from the image's first byte.
namespace HeaderLayout {
inline constexpr std::uint32_t kMagic = 0;           // LE16
inline constexpr std::uint32_t kFrameTable = 2;      // LE32
inline constexpr std::uint32_t kAlarms = 6;          // LE32, the alarm section once more
inline constexpr std::uint32_t kFullWidthTable = 10; // LE32
inline constexpr std::uint32_t kHalfWidthTable = 14; // LE32
inline constexpr std::uint32_t kFiller1 = 18;
inline constexpr std::uint32_t kDisplayId = 19;
inline constexpr std::uint32_t kPlcId = 20;
inline constexpr std::uint32_t kPlcVersion = 21;
inline constexpr std::uint32_t kCatalogVersion = 22;
inline constexpr std::uint32_t kFiller2 = 23;
inline constexpr std::uint32_t kFrameCount = 24; // LE16
inline constexpr std::uint32_t kBeginFrame = 26; // LE16
inline constexpr std::uint32_t kSaverFrame = 28; // LE16
inline constexpr std::uint32_t kWaitTime = 30;
inline constexpr std::uint32_t kSettingStation = 31;
inline constexpr std::uint32_t kSettingType = 32;
inline constexpr std::uint32_t kSettingAddress = 33; // LE16
inline constexpr std::uint32_t kSettingAddrInc = 35;
inline constexpr std::uint32_t kSettingSubAddress = 36;
inline constexpr std::uint32_t kOptions = 37; // HeaderOption bits
inline constexpr std::uint32_t kBaudRate = 38;
inline constexpr std::uint32_t kDataBits = 39;
inline constexpr std::uint32_t kStopBits = 40;
inline constexpr std::uint32_t kParity = 41;
inline constexpr std::uint32_t kAlarmsActive = 42;
inline constexpr std::uint32_t kEntryProtection = 43;
inline constexpr std::uint32_t kPassword = 44; // LE16
inline constexpr std::uint32_t kSerialType = 46;
inline constexpr std::uint32_t kUseFrameSecond = 47;
inline constexpr std::uint32_t kUseFrameIndex = 48;  // LE16
inline constexpr std::uint32_t kFiller3 = 50;        // LE16
inline constexpr std::uint32_t kPictures = 52;       // LE32
inline constexpr std::uint32_t kElementIndex = 56;   // LE32
inline constexpr std::uint32_t kElementRecords = 60; // LE32
inline constexpr std::uint32_t kAlarmSection = 64;   // LE32
} // namespace HeaderLayout

// Option bits of the header's options byte.
enum HeaderOption : std::uint8_t {
    kAutoChange = 0x01,
    kReportFrame = 0x02,
    kUseClock = 0x04,
    kUseClockOld = 0x08,
    kUseFrame = 0x10,
    kCanOffline = 0x20,
    kSettingIsLocal = 0x40,
};
