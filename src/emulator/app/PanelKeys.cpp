#include "PanelKeys.h"

#include <QString>

#include <array>

namespace {

// The keypad keys are the dialog's key control size, 5 pixels taller; the lower row 74 x 58.
constexpr int kPadWidth = 56, kPadHeight = 56;
constexpr int kRowWidth = 74, kRowHeight = 58;

constexpr QRect Pad(int x, int y) {
    return QRect(x, y, kPadWidth, kPadHeight);
}
constexpr QRect Row(int x, int y) {
    return QRect(x, y, kRowWidth, kRowHeight);
}

const std::array<PanelKey, 20> kKeys = {{
    {"7", "7", Pad(645, 100), 0x0F},       {"8", "8", Pad(708, 100), 0x10},
    {"9", "9", Pad(771, 100), 0x11},       {"4", "4", Pad(645, 164), 0x12},
    {"5", "5", Pad(708, 164), 0x13},       {"6", "6", Pad(771, 164), 0x0E},
    {"1", "1", Pad(645, 226), 0x0D},       {"2", "2", Pad(708, 226), 0x0C},
    {"3", "3", Pad(771, 226), 0x0B},       {"0", "0", Pad(645, 289), 0x0A},
    {"+/-", "PM", Pad(708, 289), 0x09},    {"CLR", "CLR", Pad(771, 289), 0x08},
    {"ESC", "ESC", Row(100, 387), 0x00},   {"ALM", "ALM", Row(189, 387), 0x01},
    {"Down", "DOWN", Row(277, 387), 0x02}, {"UP", "UP", Row(364, 387), 0x03},
    {"LEFT", "LEFT", Row(452, 387), 0x04}, {"RIGHT", "RIGHT", Row(539, 387), 0x06},
    {"SET", "SET", Row(627, 387), 0x05},   {"ENT", "ENT", Row(714, 387), 0x07},
}};

} // namespace

std::span<const PanelKey> PanelKeys() {
    return kKeys;
}

std::optional<uint8_t> KeyCodeByName(const QString& name) {
    for (const PanelKey& key : kKeys) {
        if (name.compare(QLatin1String(key.name), Qt::CaseInsensitive) == 0)
            return key.code;
    }
    return std::nullopt;
}

const PanelKey* KeyAt(const QPoint& point) {
    for (const PanelKey& key : kKeys) {
        if (key.area.contains(point))
            return &key;
    }
    return nullptr;
}
