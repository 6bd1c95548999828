#pragma once

#include <cstdint>

// The action codes of function-key records. The high nibble is the action's group, the low
// one the choice within it.
namespace ActionCode {
inline constexpr std::uint8_t kGroupMask = 0xF0;

inline constexpr std::uint8_t kSetBitGroup = 0x10;
inline constexpr std::uint8_t kSetBitOn = 0x10;
inline constexpr std::uint8_t kSetBitOff = 0x11;
inline constexpr std::uint8_t kSetBitReverse = 0x12;
inline constexpr std::uint8_t kSetBitPulse = 0x13;

inline constexpr std::uint8_t kSetRegister = 0x20;

inline constexpr std::uint8_t kMultiStatusGroup = 0x30;
inline constexpr std::uint8_t kMultiStatusAdd = 0x30;
inline constexpr std::uint8_t kMultiStatusSub = 0x31;

inline constexpr std::uint8_t kRecipeGroup = 0x40;
inline constexpr std::uint8_t kRecipeUpload = 0x40;
inline constexpr std::uint8_t kRecipeDownload = 0x41;
inline constexpr std::uint8_t kRecipeBaseAdd = 0x42;
inline constexpr std::uint8_t kRecipeBaseSub = 0x43;

// Not written by the compiler: the panel gives it to SET on a frame with registers.
inline constexpr std::uint8_t kRegisterEntry = 0x70;

inline constexpr std::uint8_t kJumpGroup = 0x80;
inline constexpr std::uint8_t kJumpFrame = 0x80;
inline constexpr std::uint8_t kPushJump = 0x81;
inline constexpr std::uint8_t kReturnFrame = 0x82; // the key's built-in action
inline constexpr std::uint8_t kAlarmList = 0x83;
inline constexpr std::uint8_t kPasswordList = 0x84;
} // namespace ActionCode
