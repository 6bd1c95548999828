#include "PanelImage.h"

uint16_t PanelImage::BE16(uint32_t address) const {
    return static_cast<uint16_t>(Byte(address) << 8 | Byte(address + 1));
}

uint32_t PanelImage::BE32(uint32_t address) const {
    return uint32_t{BE16(address)} << 16 | BE16(address + 2);
}

uint16_t PanelImage::LE16(uint32_t address) const {
    return static_cast<uint16_t>(Byte(address) | Byte(address + 1) << 8);
}

uint32_t PanelImage::LE32(uint32_t address) const {
    return LE16(address) | uint32_t{LE16(address + 2)} << 16;
}
