#include "PanelKeys.h"

#include "Keypad.h"

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

const std::array<PanelKey, Key::kCount> kKeys = {{
    {"7", Pad(645, 100), Key::k7},           {"8", Pad(708, 100), Key::k8},
    {"9", Pad(771, 100), Key::k9},           {"4", Pad(645, 164), Key::k4},
    {"5", Pad(708, 164), Key::k5},           {"6", Pad(771, 164), Key::k6},
    {"1", Pad(645, 226), Key::k1},           {"2", Pad(708, 226), Key::k2},
    {"3", Pad(771, 226), Key::k3},           {"0", Pad(645, 289), Key::k0},
    {"+/-", Pad(708, 289), Key::kPlusMinus}, {"CLR", Pad(771, 289), Key::kClr},
    {"ESC", Row(100, 387), Key::kEsc},       {"ALM", Row(189, 387), Key::kAlm},
    {"Down", Row(277, 387), Key::kDown},     {"UP", Row(364, 387), Key::kUp},
    {"LEFT", Row(452, 387), Key::kLeft},     {"RIGHT", Row(539, 387), Key::kRight},
    {"SET", Row(627, 387), Key::kSet},       {"ENT", Row(714, 387), Key::kEnt},
}};

} // namespace

std::span<const PanelKey> PanelKeys() {
    return kKeys;
}

std::optional<uint8_t> KeyCodeByName(const QString& name) {
    for (const KeypadKey& key : kKeypad) {
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
