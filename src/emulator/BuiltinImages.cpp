#include "BuiltinImages.h"

#include "Artwork.h"
#include "DisplayMemory.h"
#include "Keypad.h"

#include <array>
#include <mutex>

namespace {

// An unlit lamp is the lit green one dimmed, the look of a lamp with its light off.
Rgb565Image Convert(const QImage& picture, bool dimmed) {
    Rgb565Image image;
    image.width = picture.width();
    image.height = picture.height();
    image.pixels.reserve(static_cast<size_t>(image.width * image.height));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const QRgb c = picture.pixel(x, y);
            uint16_t colour = ToRgb565(qRed(c), qGreen(c), qBlue(c));
            if (dimmed && colour != kTransparent)
                colour = ToRgb565(qRed(c) * 2 / 5, qGreen(c) * 2 / 5, qBlue(c) * 2 / 5);
            image.pixels.push_back(colour);
        }
    }
    return image;
}

struct Library {
    std::array<Rgb565Image, 8> lamps; // shape + 4 * large
    std::array<Rgb565Image, 2 * Key::kCount> keys;
    std::array<Rgb565Image, 2> hands;
    Rgb565Image empty;
};

const Library& Images() {
    static const Library library = [] {
        Library made;
        // Lit pictures: round green 244/144, square green 247/147.
        for (int large = 0; large < 2; ++large) {
            const int round = large ? 144 : 244;
            const int square = large ? 147 : 247;
            made.lamps[4 * large + 0] = Convert(Artwork(round), true);
            made.lamps[4 * large + 1] = Convert(Artwork(square), true);
            made.lamps[4 * large + 2] = Convert(Artwork(round), false);
            made.lamps[4 * large + 3] = Convert(Artwork(square), false);
            for (int code = 0; code < Key::kCount; ++code)
                made.keys[Key::kCount * large + code] =
                    Convert(Artwork((large ? 3000 : 2000) + code), false);
            made.hands[large] = Convert(Artwork(large ? 3020 : 2020), false);
        }
        return made;
    }();
    return library;
}

} // namespace

uint16_t ToRgb565(int red, int green, int blue) {
    return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3));
}

const Rgb565Image& LampImage(int shape, bool large) {
    return Images().lamps[static_cast<size_t>((shape & 3) + 4 * large)];
}

const Rgb565Image& KeyImage(uint8_t keyCode, bool large) {
    if (keyCode >= Key::kCount)
        return Images().empty;
    return Images().keys[static_cast<size_t>(Key::kCount * large + keyCode)];
}

const Rgb565Image& HandImage(bool large) {
    return Images().hands[large ? 1 : 0];
}

void DrawImage(DisplayMemory& display, int x, int y, const Rgb565Image& image, Blit mode) {
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            uint16_t colour = image.pixels[static_cast<size_t>(row * image.width + column)];
            if (mode != Blit::Opaque && colour == kTransparent)
                continue;
            if (mode == Blit::TransparentPressed)
                colour &= 0x07E0;
            display.Pixel(x + column, y + row, colour);
        }
    }
}
