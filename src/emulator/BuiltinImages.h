#pragma once

#include <cstdint>
#include <vector>

class DisplayMemory;

// The Emulator's own RGB565 pictures of lamps, key buttons and the hand, made from the shared
// artwork. 0xFFFF marks the white surround that is transparent where the panel says so.
struct Rgb565Image {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;
};

constexpr uint16_t kTransparent = 0xFFFF;

// Lamp shapes: 0 round off, 1 square off, 2 round on, 3 square on.
const Rgb565Image& LampImage(int shape, bool large);
// Key codes 0..19; any other code gives an empty image.
const Rgb565Image& KeyImage(uint8_t keyCode, bool large);
const Rgb565Image& HandImage(bool large);

enum class Blit { Opaque, Transparent, TransparentPressed };

// Draws the picture at (x, y); a pressed key keeps only each pixel's green component.
void DrawImage(DisplayMemory& display, int x, int y, const Rgb565Image& image, Blit mode);

uint16_t ToRgb565(int red, int green, int blue);
