#pragma once

#include <cstdint>

// Element type codes, the same in the project file, the image's element index and the Emulator.
enum ElementType : std::uint8_t {
    kTypeStaticText = 1,
    kTypeRegister = 2,
    kTypeIndicator = 3,
    kTypeFunctionKey = 4,
    kTypePicture = 5,
    kTypeBar = 6,
    kTypeTrend = 7,
    kTypeDynamicText = 8,
};
