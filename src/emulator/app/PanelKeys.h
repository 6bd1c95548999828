#pragma once

#include <QRect>

#include <cstdint>
#include <optional>
#include <span>

// The keys on the panel front: their label, place on the skin and key code.
struct PanelKey {
    const char* label;
    QRect area;
    uint8_t code;
};

std::span<const PanelKey> PanelKeys();
// The code of the key whose keypad name is `name` (ESC ALM DOWN UP LEFT RIGHT SET ENT 0..9 PM
// CLR), in any case.
std::optional<uint8_t> KeyCodeByName(const QString& name);
// The key under a point of the skin.
const PanelKey* KeyAt(const QPoint& point);
