#pragma once

#include "Engine.h"

#include <QImage>

#include <atomic>
#include <mutex>
#include <thread>

// Runs the engine on its own thread in real time, one Advance(1) per millisecond. The window
// sets the key state and takes the display picture when it changed.
class EngineRunner {
public:
    explicit EngineRunner(PanelImage image);
    ~EngineRunner();

    void SetKey(uint8_t code);
    // The display when it changed since the last call.
    std::optional<QImage> TakeChangedDisplay();

private:
    void Run();

    Engine m_engine;
    std::mutex m_mutex;
    std::atomic<bool> m_abort{false};
    std::thread m_thread;
};
