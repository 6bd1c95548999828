#include "DisplayMemory.h"

#include <algorithm>
#include <cstdlib>

DisplayMemory::DisplayMemory()
    : m_pixels(static_cast<size_t>(kWidth * kHeight)),
      m_pixels32(static_cast<size_t>(kWidth * kHeight)) {}

uint32_t DisplayMemory::Expand(uint16_t c) {
    const uint32_t blue = (c & 0x1Fu) << 3;
    const uint32_t green = ((c >> 5) & 0x3Fu) << 2;
    const uint32_t red = (uint32_t{c} >> 11) << 3;
    return red << 16 | green << 8 | blue;
}

void DisplayMemory::Pixel(int x, int y, uint16_t colour) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
        return;
    const size_t i = static_cast<size_t>(y * kWidth + x);
    m_pixels[i] = colour;
    m_pixels32[i] = Expand(colour);
    m_dirty = true;
}

uint16_t DisplayMemory::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
        return 0;
    return m_pixels[static_cast<size_t>(y * kWidth + x)];
}

void DisplayMemory::FillScreen(uint16_t colour) {
    FillRect(0, 0, kWidth, kHeight, colour);
}

void DisplayMemory::HLine(int x, int y, int length, uint16_t colour) {
    FillRect(x, y, length, 1, colour);
}

void DisplayMemory::VLine(int x, int y, int length, uint16_t colour) {
    FillRect(x, y, 1, length, colour);
}

void DisplayMemory::Line(int x0, int y0, int x1, int y1, uint16_t colour) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Pixel(x0, y0, colour);
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void DisplayMemory::Rect(int x, int y, int width, int height, uint16_t colour) {
    if (width <= 0 || height <= 0)
        return;
    HLine(x, y, width, colour);
    HLine(x, y + height - 1, width, colour);
    VLine(x, y, height, colour);
    VLine(x + width - 1, y, height, colour);
}

void DisplayMemory::FillRect(int x, int y, int width, int height, uint16_t colour) {
    // Clip first: sizes come from the image and may be far off screen.
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = static_cast<int>(std::min<long>(long{x} + width, kWidth));
    const int bottom = static_cast<int>(std::min<long>(long{y} + height, kHeight));
    if (left >= right || top >= bottom)
        return;
    const uint32_t wide = Expand(colour);
    for (int row = top; row < bottom; ++row) {
        const size_t start = static_cast<size_t>(row * kWidth);
        std::fill(m_pixels.begin() + static_cast<long>(start + left),
                  m_pixels.begin() + static_cast<long>(start + right), colour);
        std::fill(m_pixels32.begin() + static_cast<long>(start + left),
                  m_pixels32.begin() + static_cast<long>(start + right), wide);
    }
    m_dirty = true;
}

QImage DisplayMemory::ToImage() const {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            line[x] = 0xFF000000u | m_pixels32[static_cast<size_t>(y * kWidth + x)];
    }
    return image;
}
