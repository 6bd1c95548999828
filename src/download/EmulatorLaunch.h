#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <thread>

class NamedSharedMemory;

// One start of the Emulator: the program runs with the hand-over's name on its command line,
// waited for on a thread of this object while the designer goes on; when it has ended the
// hand-over is removed. Destroying the object stops the waiting and joins the thread; the
// Emulator itself goes on running.
class EmulatorLaunch {
public:
    EmulatorLaunch(const QString& program, std::unique_ptr<NamedSharedMemory> handover);
    ~EmulatorLaunch();
    EmulatorLaunch(const EmulatorLaunch&) = delete;
    EmulatorLaunch& operator=(const EmulatorLaunch&) = delete;

    // True once the Emulator has ended and the hand-over is gone.
    bool Ended() const { return m_ended; }

private:
    std::unique_ptr<NamedSharedMemory> m_handover;
    std::atomic<bool> m_abort = false;
    std::atomic<bool> m_ended = false;
    std::thread m_thread;
};
