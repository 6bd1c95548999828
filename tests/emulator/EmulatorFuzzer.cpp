// Random images through the loader and one second of panel runtime. The input is the image;
// its first two bytes are forced to the magic so the runtime starts, and its last bytes choose
// keys pressed during the second, so frames, screens and entry are reached too.
//   emulator_fuzzer CORPUS

#include "Engine.h"
#include "ImageLoader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)ImageLoader::FromHandover(bytes);

    std::vector<std::uint8_t> image(data, data + size);
    if (image.size() >= 2) {
        image[0] = 0xAA;
        image[1] = 0x55;
    }
    Engine engine{PanelImage(image)};
    engine.Advance(1100); // the start-up without a start-up frame
    for (int step = 0; step < 10; ++step) {
        const std::uint8_t choice = size > 0 ? data[size - 1 - (step % size)] : 0;
        engine.SetKey(choice % 21 == 20 ? Key::kNone : choice % 21);
        engine.Advance(50);
        engine.SetKey(Key::kNone);
        engine.Advance(50);
    }
    return 0;
}
