#include "Artwork.h"

#include "ArtworkDrawing.h"
#include "Keypad.h"

#include <map>
#include <mutex>

namespace {

constexpr int kSmallKeyBase = 2000;
constexpr int kLargeKeyBase = 3000;
constexpr int kHandOffset = 20;

struct LampPicture {
    int resourceId;
    LampShape shape;
    LampColour colour;
    int size;
};

constexpr LampPicture kLamps[] = {
    {244, LampShape::Round, LampColour::Green, 32},  {245, LampShape::Round, LampColour::Red, 32},
    {247, LampShape::Square, LampColour::Green, 32}, {248, LampShape::Square, LampColour::Red, 32},
    {144, LampShape::Round, LampColour::Green, 64},  {145, LampShape::Round, LampColour::Red, 64},
    {147, LampShape::Square, LampColour::Green, 64}, {148, LampShape::Square, LampColour::Red, 64},
};

QImage DrawKeyOrHand(int offset, int size) {
    if (offset >= 0 && offset < Key::kCount)
        return DrawKey(static_cast<std::uint8_t>(offset), size);
    if (offset == kHandOffset)
        return DrawHand(size);
    return {};
}

} // namespace

QImage DrawArtwork(int resourceId) {
    if (resourceId >= kLargeKeyBase)
        return DrawKeyOrHand(resourceId - kLargeKeyBase, 64);
    if (resourceId >= kSmallKeyBase)
        return DrawKeyOrHand(resourceId - kSmallKeyBase, 32);
    for (const LampPicture& lamp : kLamps) {
        if (lamp.resourceId == resourceId)
            return DrawLamp(lamp.shape, lamp.colour, lamp.size);
    }
    return {};
}

QImage BlankPicture(int size) {
    QImage picture(size, size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

QImage FinishedPicture(const QImage& painted) {
    return painted.convertToFormat(QImage::Format_RGB888);
}

QImage Artwork(int resourceId) {
    static std::mutex mutex;
    static std::map<int, QImage> drawn;

    const std::lock_guard lock(mutex);
    const auto found = drawn.find(resourceId);
    if (found != drawn.end())
        return found->second;
    QImage picture = DrawArtwork(resourceId);
    if (!picture.isNull())
        drawn.emplace(resourceId, picture);
    return picture;
}
