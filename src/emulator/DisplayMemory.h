#pragma once

#include <QImage>

#include <atomic>
#include <cstdint>
#include <vector>

// The simulated 480 x 272 frame buffer in RGB565, and the 32-bit copy the window shows
// (0x00RRGGBB, blue in the low byte), made when the window takes the picture: the panel draws
// far more often than anyone looks. Writes outside the screen are ignored.
class DisplayMemory {
public:
    static constexpr int kWidth = 480;
    static constexpr int kHeight = 272;

    DisplayMemory();

    // Inline: text, lamps and pictures are drawn pixel by pixel.
    void Pixel(int x, int y, uint16_t colour) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
            return;
        const size_t i = static_cast<size_t>(y * kWidth + x);
        m_pixels[i] = colour;
        // Relaxed: the flag only says "copy again"; the copy itself is ordered by the caller.
        m_dirty.store(true, std::memory_order_relaxed);
    }
    uint16_t At(int x, int y) const;
    void FillScreen(uint16_t colour);
    void HLine(int x, int y, int length, uint16_t colour);
    void VLine(int x, int y, int length, uint16_t colour);
    void Line(int x0, int y0, int x1, int y1, uint16_t colour);
    // One row of a 1-bit picture (leftmost pixel in the top bit of bits[0]): set bits in
    // `foreground`, clear bits in `background` when `paintBackground`, else left as they are.
    void BitRow(int x, int y, const uint8_t* bits, int width, uint16_t foreground,
                uint16_t background, bool paintBackground);
    void Rect(int x, int y, int width, int height, uint16_t colour);
    void FillRect(int x, int y, int width, int height, uint16_t colour);

    // True once after any change: the display refresh copies the picture then.
    bool TakeDirty() { return m_dirty.exchange(false); }
    // The 32-bit copy, for the window and screenshots.
    std::vector<uint32_t> Pixels32() const;
    QImage ToImage() const;

    static uint32_t Expand(uint16_t c) {
        const uint32_t blue = (c & 0x1Fu) << 3;
        const uint32_t green = ((c >> 5) & 0x3Fu) << 2;
        const uint32_t red = (uint32_t{c} >> 11) << 3;
        return red << 16 | green << 8 | blue;
    }

private:
    std::vector<uint16_t> m_pixels;
    std::atomic<bool> m_dirty{true};
};
