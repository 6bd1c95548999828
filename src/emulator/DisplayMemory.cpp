#include "DisplayMemory.h"

#include <algorithm>
#include <cstdlib>

DisplayMemory::DisplayMemory() : m_pixels(static_cast<size_t>(kWidth * kHeight)) {}

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
    // A line wholly beside the screen costs nothing (trend sizes come from the image).
    if ((x0 < 0 && x1 < 0) || (y0 < 0 && y1 < 0) || (x0 >= kWidth && x1 >= kWidth) ||
        (y0 >= kHeight && y1 >= kHeight))
        return;
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
    for (int row = top; row < bottom; ++row) {
        const size_t start = static_cast<size_t>(row * kWidth);
        std::fill(m_pixels.begin() + static_cast<long>(start + left),
                  m_pixels.begin() + static_cast<long>(start + right), colour);
    }
    m_dirty = true;
}

void DisplayMemory::BitRow(int x, int y, const uint8_t* bits, int width, uint16_t foreground,
                           uint16_t background, bool paintBackground) {
    if (y < 0 || y >= kHeight)
        return;
    const int first = std::max(0, -x);
    const int last = std::min(width, kWidth - x);
    uint16_t* row = m_pixels.data() + static_cast<size_t>(y * kWidth + x);
    for (int i = first; i < last; ++i) {
        if (bits[i / 8] & (0x80 >> (i % 8)))
            row[i] = foreground;
        else if (paintBackground)
            row[i] = background;
    }
    if (first < last)
        m_dirty.store(true, std::memory_order_relaxed);
}

std::vector<uint32_t> DisplayMemory::Pixels32() const {
    std::vector<uint32_t> wide(m_pixels.size());
    std::transform(m_pixels.begin(), m_pixels.end(), wide.begin(), Expand);
    return wide;
}

QImage DisplayMemory::ToImage() const {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            line[x] = 0xFF000000u | Expand(m_pixels[static_cast<size_t>(y * kWidth + x)]);
    }
    return image;
}
