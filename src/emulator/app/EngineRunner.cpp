#include "EngineRunner.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
// After a long stall (a suspended machine) the clock is not caught up millisecond by
// millisecond; the panel simply goes on.
constexpr auto kLongestCatchUp = std::chrono::milliseconds(200);

} // namespace

EngineRunner::EngineRunner(PanelImage image)
    : m_engine(std::move(image)), m_thread([this] { Run(); }) {}

EngineRunner::~EngineRunner() {
    m_abort = true;
    m_thread.join();
}

void EngineRunner::SetKey(uint8_t code) {
    m_engine.SetKey(code); // a single atomic byte, as on the panel
}

std::optional<QImage> EngineRunner::TakeChangedDisplay() {
    const std::lock_guard lock(m_mutex);
    if (!m_engine.Screen().TakeDirty())
        return std::nullopt;
    return m_engine.Screen().ToImage();
}

void EngineRunner::Run() {
    auto due = Clock::now();
    while (!m_abort) {
        {
            const std::lock_guard lock(m_mutex);
            m_engine.Advance(1);
        }
        due += std::chrono::milliseconds(1);
        const auto now = Clock::now();
        if (now - due > kLongestCatchUp)
            due = now;
        std::this_thread::sleep_until(due);
    }
}
