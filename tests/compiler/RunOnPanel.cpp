#include "RunOnPanel.h"

#include "Engine.h"

#include <cstdint>
#include <vector>

namespace {

// The longest start-up: a start-up frame shown for 255 x 100 ms, plus the start itself.
constexpr int kLongestStartupMs = 26000;

} // namespace

void RunOnPanel(const QByteArray& padded, std::size_t keys) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(padded.constData());
    Engine engine{PanelImage(std::vector<std::uint8_t>(bytes, bytes + padded.size()))};
    for (int ms = 0; ms < kLongestStartupMs && !engine.Running(); ms += 10)
        engine.Advance(10);
    for (int step = 0; step < 10; ++step, keys /= 21) {
        engine.SetKey(keys % 21 == 20 ? Key::kNone : static_cast<std::uint8_t>(keys % 21));
        engine.Advance(50);
        engine.SetKey(Key::kNone);
        engine.Advance(50);
    }
}
