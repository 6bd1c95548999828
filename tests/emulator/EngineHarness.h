#pragma once

#include "Engine.h"
#include "ImageBuilder.h"

#include <memory>
#include <string>

// Runs an image through the start-up so a test starts on the begin frame.
inline std::unique_ptr<Engine> Started(const ImageBuilder& builder) {
    auto engine = std::make_unique<Engine>(PanelImage(builder.Build()));
    for (int i = 0; i < 20000 && !engine->Running(); ++i)
        engine->Advance(1);
    engine->Advance(5);
    return engine;
}

// A key pressed for 20 ms and released, then 20 ms for the display to settle.
inline void Press(Engine& engine, uint8_t code) {
    engine.SetKey(code);
    engine.Advance(20);
    engine.SetKey(Key::kNone);
    engine.Advance(20);
}

inline void Type(Engine& engine, const std::string& digits) {
    static const uint8_t kCodes[10] = {0x0A, 0x0D, 0x0C, 0x0B, 0x12, 0x13, 0x0E, 0x0F, 0x10, 0x11};
    for (char c : digits)
        Press(engine, kCodes[c - '0']);
}

// Reads back test glyphs (see ImageBuilder.h) from `count` 8-pixel cells: the glyphs of
// "0123456789ABCDEF? -." as those characters, an empty cell as a blank.
inline std::string Shown(const DisplayMemory& display, int x, int y, int count,
                         uint16_t foreground = 0xFFFF) {
    static const char kGlyphs[] = "0123456789ABCDEF? -.";
    std::string text;
    for (int i = 0; i < count; ++i) {
        int bits = 0;
        for (int column = 0; column < 8; ++column)
            bits = bits << 1 | (display.At(x + 8 * i + column, y) == foreground ? 1 : 0);
        text += bits == 0 ? ' ' : (bits <= 20 ? kGlyphs[bits - 1] : '#');
    }
    return text;
}

constexpr Address Word(uint16_t address, uint8_t units = 2) {
    return {0, 1, address, units, 0, 0};
}
constexpr Address BitAt(uint16_t address) {
    return {0, 0, address, 0, 0, 0};
}
