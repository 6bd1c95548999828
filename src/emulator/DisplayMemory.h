#pragma once

#include <QImage>

#include <atomic>
#include <cstdint>
#include <vector>

// The simulated 480 x 272 frame buffer in RGB565, with the 32-bit copy the window shows
// (0x00RRGGBB, blue in the low byte). Writes outside the screen are ignored.
class DisplayMemory {
public:
    static constexpr int kWidth = 480;
    static constexpr int kHeight = 272;

    DisplayMemory();

    void Pixel(int x, int y, uint16_t colour);
    uint16_t At(int x, int y) const;
    void FillScreen(uint16_t colour);
    void HLine(int x, int y, int length, uint16_t colour);
    void VLine(int x, int y, int length, uint16_t colour);
    void Line(int x0, int y0, int x1, int y1, uint16_t colour);
    void Rect(int x, int y, int width, int height, uint16_t colour);
    void FillRect(int x, int y, int width, int height, uint16_t colour);

    // True once after any change: the display refresh copies the picture then.
    bool TakeDirty() { return m_dirty.exchange(false); }
    const std::vector<uint32_t>& Pixels32() const { return m_pixels32; }
    // A copy of the 32-bit buffer, for the window and screenshots.
    QImage ToImage() const;

    static uint32_t Expand(uint16_t colour);

private:
    std::vector<uint16_t> m_pixels;
    std::vector<uint32_t> m_pixels32;
    std::atomic<bool> m_dirty{true};
};
