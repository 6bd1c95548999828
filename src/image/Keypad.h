#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The panel's twenty keys. Their codes are what function-key records bind and what the keypad
// reports; the designer, the compiler, the Emulator and the key pictures all take them from here.
namespace Key {
inline constexpr std::uint8_t kEsc = 0x00, kAlm = 0x01, kDown = 0x02, kUp = 0x03, kLeft = 0x04,
                              kSet = 0x05, kRight = 0x06, kEnt = 0x07, kClr = 0x08,
                              kPlusMinus = 0x09, k0 = 0x0A, k3 = 0x0B, k2 = 0x0C, k1 = 0x0D,
                              k6 = 0x0E, k7 = 0x0F, k8 = 0x10, k9 = 0x11, k4 = 0x12, k5 = 0x13;
inline constexpr std::uint8_t kCount = 20;
// The key state while no key is down.
inline constexpr std::uint8_t kNone = 255;
} // namespace Key

struct KeypadKey {
    std::uint8_t code;
    const char16_t* label; // as the designer lists it: "ESC", "←", "+/-", "7"
    const char* name;      // plain ASCII: "ESC", "LEFT", "PM", "7"
    int digit;             // the digit the key types, -1 for none
};

// Every key, in key-code order.
inline constexpr std::array<KeypadKey, Key::kCount> kKeypad{{
    {Key::kEsc, u"ESC", "ESC", -1},   {Key::kAlm, u"ALM", "ALM", -1},
    {Key::kDown, u"↓", "DOWN", -1},   {Key::kUp, u"↑", "UP", -1},
    {Key::kLeft, u"←", "LEFT", -1},   {Key::kSet, u"SET", "SET", -1},
    {Key::kRight, u"→", "RIGHT", -1}, {Key::kEnt, u"ENT", "ENT", -1},
    {Key::kClr, u"CLR", "CLR", -1},   {Key::kPlusMinus, u"+/-", "PM", -1},
    {Key::k0, u"0", "0", 0},          {Key::k3, u"3", "3", 3},
    {Key::k2, u"2", "2", 2},          {Key::k1, u"1", "1", 1},
    {Key::k6, u"6", "6", 6},          {Key::k7, u"7", "7", 7},
    {Key::k8, u"8", "8", 8},          {Key::k9, u"9", "9", 9},
    {Key::k4, u"4", "4", 4},          {Key::k5, u"5", "5", 5},
}};

static_assert(
    [] {
        for (std::size_t code = 0; code < kKeypad.size(); ++code) {
            if (kKeypad[code].code != code)
                return false;
        }
        return true;
    }(),
    "the keypad is listed in key-code order");

// The key of a code; null for a code outside the keypad.
constexpr const KeypadKey* KeypadKeyOf(std::uint8_t code) {
    return code < Key::kCount ? &kKeypad[code] : nullptr;
}

// The digit a key types, or -1 for a key that is no digit.
constexpr int KeyDigit(std::uint8_t code) {
    const KeypadKey* key = KeypadKeyOf(code);
    return key ? key->digit : -1;
}
