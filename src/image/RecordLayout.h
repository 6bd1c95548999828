#pragma once

#include <cstdint>

// The frame table, the element index and the element records: where each field lies, counted
// from the first byte of its record or block. Multi-byte fields are big-endian.

// One frame of the frame table.
namespace FrameLayout {
inline constexpr std::uint32_t kId = 0; // BE16
inline constexpr std::uint32_t kElementCount = 2;
inline constexpr std::uint32_t kPrevId = 3;       // BE16
inline constexpr std::uint32_t kNextId = 5;       // BE16
inline constexpr std::uint32_t kIndexAddress = 7; // BE32, the frame's first index entry
inline constexpr std::uint32_t kBackground = 11;  // BE16
inline constexpr std::uint32_t kSize = 13;
} // namespace FrameLayout

// One entry of the element index: the element's type code and its record's address.
namespace IndexEntryLayout {
inline constexpr std::uint32_t kType = 0;
inline constexpr std::uint32_t kRecord = 1; // BE32
inline constexpr std::uint32_t kSize = 5;
} // namespace IndexEntryLayout

// A PLC address of a register, bar, trend or dynamic text.
namespace WordAddressLayout {
inline constexpr std::uint32_t kStation = 0;
inline constexpr std::uint32_t kType = 1;
inline constexpr std::uint32_t kAddress = 2; // BE16
inline constexpr std::uint32_t kUnits = 4;   // unit count
inline constexpr std::uint32_t kSubAddress = 5;
inline constexpr std::uint32_t kSize = 6;
} // namespace WordAddressLayout

// A bit address of a lamp and of the alarm list: the word block with 0 units and the shift.
namespace BitAddressLayout {
inline constexpr std::uint32_t kStation = 0;
inline constexpr std::uint32_t kType = 1;
inline constexpr std::uint32_t kAddress = 2; // BE16
inline constexpr std::uint32_t kZero = 4;
inline constexpr std::uint32_t kSubAddress = 5;
inline constexpr std::uint32_t kShift = 6;
inline constexpr std::uint32_t kSize = 7;
} // namespace BitAddressLayout

// The address at the start of a function key's parameter block. The set-bit action has 0
// units and its shift; the others their units and 0.
namespace KeyAddressLayout {
inline constexpr std::uint32_t kStation = 0;
inline constexpr std::uint32_t kType = 1;
inline constexpr std::uint32_t kUnits = 2;
inline constexpr std::uint32_t kAddress = 3; // BE16
inline constexpr std::uint32_t kSubAddress = 5;
inline constexpr std::uint32_t kShift = 6;
inline constexpr std::uint32_t kSize = 7;
} // namespace KeyAddressLayout

// A text of a dynamic text's item list and of the alarm section.
namespace TextItemLayout {
inline constexpr std::uint32_t kZero = 0;
inline constexpr std::uint32_t kCount = 1; // text bytes
inline constexpr std::uint32_t kText = 2;
} // namespace TextItemLayout

// Every element record starts with its position; all kinds but static and dynamic text keep
// their flags (RecordFlag and the kind's own bits) in the byte after it.
namespace RecordHeadLayout {
inline constexpr std::uint32_t kLeft = 0; // BE16
inline constexpr std::uint32_t kTop = 2;  // BE16
inline constexpr std::uint32_t kFlags = 4;
} // namespace RecordHeadLayout

// Flag bits that several kinds share.
enum RecordFlag : std::uint8_t {
    kFlagReverse = 0x01,
    kFlagDouble = 0x02,
    kFlagSigned = 0x10,
    kFlagDecimal = 0x20,
    kFlagLocal = 0x80, // the address's type is panel-internal memory
};

// A text's background flag byte: 1 draws the background behind the glyphs.
inline constexpr std::uint8_t kDrawBackground = 1;

namespace StaticTextLayout {
inline constexpr std::uint32_t kCount = 5; // text bytes
inline constexpr std::uint32_t kForeground = 6;
inline constexpr std::uint32_t kBackground = 8;
inline constexpr std::uint32_t kBackgroundFlag = 10;
inline constexpr std::uint32_t kFont = 11;
inline constexpr std::uint32_t kSizeIndex = 12;
inline constexpr std::uint32_t kText = 13;
} // namespace StaticTextLayout

namespace RegisterLayout {
inline constexpr std::uint32_t kAddress = 5; // WordAddressLayout
inline constexpr std::uint32_t kWidth = 11;  // characters
inline constexpr std::uint32_t kPointBits = 12;
inline constexpr std::uint32_t kForeground = 13;
inline constexpr std::uint32_t kBackground = 15;
inline constexpr std::uint32_t kBorderColour = 17;
inline constexpr std::uint32_t kBackgroundFlag = 19;
inline constexpr std::uint32_t kBorder = 20; // 0 none, 1 plain, 2 sunken
inline constexpr std::uint32_t kFont = 21;
inline constexpr std::uint32_t kSizeIndex = 22;
inline constexpr std::uint32_t kFlags2 = 23;
inline constexpr std::uint32_t kRawUpper = 24; // BE32
inline constexpr std::uint32_t kRawLower = 28;
inline constexpr std::uint32_t kEngUpper = 32;
inline constexpr std::uint32_t kEngLower = 36;
inline constexpr std::uint32_t kSize = 40;
} // namespace RegisterLayout

enum RegisterFlag : std::uint8_t { kRegHaveLimit = 0x04, kRegScaling = 0x08, kRegEncrypt = 0x40 };
enum RegisterFlag2 : std::uint8_t {
    kRegSetting = 0x01,
    kRegFrontZero = 0x10,
    kRegFillZero = 0x20,
};

namespace IndicatorLayout {
inline constexpr std::uint32_t kAddress = 5; // BitAddressLayout
inline constexpr std::uint32_t kWidth = 12;
inline constexpr std::uint32_t kHeight = 14;
inline constexpr std::uint32_t kOnColour = 16;
inline constexpr std::uint32_t kOffColour = 18;
inline constexpr std::uint32_t kSize = 20;
} // namespace IndicatorLayout

enum IndicatorFlag : std::uint8_t { kLampPositive = 0x08, kLampRound = 0x10 };

// A 10-byte head, then the parameter block of the key's action (KeyAction.h).
namespace FunctionKeyLayout {
inline constexpr std::uint32_t kGrade = 5;
inline constexpr std::uint32_t kAction = 6;
inline constexpr std::uint32_t kKeyCode = 7;
inline constexpr std::uint32_t kPicture = 8;     // BE16: kKeyPictureBase + list position, 0 hidden
inline constexpr std::uint32_t kParameters = 10; // KeyAddressLayout, or the jump's frame
inline constexpr std::uint32_t kJumpFrame = 10;  // BE16
inline constexpr std::uint32_t kValue = 17;      // BE32, set register
inline constexpr std::uint32_t kStep = 17;       // BE16, multi-status
inline constexpr std::uint32_t kLimit = 19;      // BE32, multi-status
inline constexpr std::uint32_t kAddrInc = 17;    // recipe
inline constexpr std::uint32_t kTransferLength = 18; // BE16, recipe
inline constexpr std::uint32_t kTransferLimit = 20;  // BE16, recipe
// Record sizes by action group.
inline constexpr std::uint32_t kSetBitSize = 17;
inline constexpr std::uint32_t kSetRegisterSize = 21;
inline constexpr std::uint32_t kJumpSize = 12;
inline constexpr std::uint32_t kRecipeSize = 22;
inline constexpr std::uint32_t kMultiStatusSize = 23;
} // namespace FunctionKeyLayout

inline constexpr std::uint16_t kKeyPictureBase = 0xC000;

enum FunctionKeyFlag : std::uint8_t { kKeyHide = 0x04, kKeyHand = 0x08, kKeyProtected = 0x40 };

namespace PictureLayout {
inline constexpr std::uint32_t kZero = 4;
inline constexpr std::uint32_t kWidth = 5;  // BE16
inline constexpr std::uint32_t kHeight = 7; // BE16
inline constexpr std::uint32_t kNumber = 9; // BE16, position in the picture section
inline constexpr std::uint32_t kSize = 11;
} // namespace PictureLayout

namespace BarLayout {
inline constexpr std::uint32_t kAddress = 5; // WordAddressLayout
inline constexpr std::uint32_t kWidth = 11;
inline constexpr std::uint32_t kHeight = 13;
inline constexpr std::uint32_t kUpper = 15; // BE32
inline constexpr std::uint32_t kLower = 19; // BE32
inline constexpr std::uint32_t kDirection = 23;
inline constexpr std::uint32_t kForeground = 24;
inline constexpr std::uint32_t kBackground = 26;
inline constexpr std::uint32_t kSize = 28;
} // namespace BarLayout

// The direction byte of a bar, where it grows towards.
enum BarDirection : std::uint8_t { kBarUp = 1, kBarDown = 2, kBarLeft = 4, kBarRight = 8 };

namespace TrendLayout {
inline constexpr std::uint32_t kAddress = 5; // WordAddressLayout
inline constexpr std::uint32_t kWidth = 11;
inline constexpr std::uint32_t kHeight = 13;
inline constexpr std::uint32_t kSamplingPoint = 15;
inline constexpr std::uint32_t kUpper = 16; // BE32
inline constexpr std::uint32_t kLower = 20; // BE32
inline constexpr std::uint32_t kSamplingTime = 24;
inline constexpr std::uint32_t kBackground = 26;
inline constexpr std::uint32_t kForeground = 28;
inline constexpr std::uint32_t kPen = 30;
inline constexpr std::uint32_t kTrendCount = 32;  // trends of the frame
inline constexpr std::uint32_t kTrendNumber = 33; // this one's number in the frame, from 0
inline constexpr std::uint32_t kSize = 34;
} // namespace TrendLayout

// Set in every trend's flags.
inline constexpr std::uint8_t kTrendFlag = 0x40;

// The fixed part, N entries, then N text items (TextItemLayout).
namespace DynamicTextLayout {
inline constexpr std::uint32_t kAddress = 5; // WordAddressLayout
inline constexpr std::uint32_t kZero = 11;
inline constexpr std::uint32_t kItemCount = 12;
inline constexpr std::uint32_t kLongest = 13; // text bytes of the longest item
inline constexpr std::uint32_t kForeground = 14;
inline constexpr std::uint32_t kBackground = 16;
inline constexpr std::uint32_t kBackgroundFlag = 18;
inline constexpr std::uint32_t kFont = 19;
inline constexpr std::uint32_t kSizeIndex = 20;
inline constexpr std::uint32_t kEntries = 21;
// An entry: the item's value and its offset, counted from the first item.
inline constexpr std::uint32_t kEntryValue = 0;  // BE16
inline constexpr std::uint32_t kEntryOffset = 2; // BE32
inline constexpr std::uint32_t kEntrySize = 6;
} // namespace DynamicTextLayout
