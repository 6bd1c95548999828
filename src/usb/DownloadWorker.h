#pragma once

#include "LibUSBDown.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// Runs one download at a time on its own thread. Abort stops it at its next step (a USB read
// already waiting still runs to its timeout); the thread is always joined, at the latest when
// the worker is destroyed.
class DownloadWorker {
public:
    ~DownloadWorker();

    // Starts `job`, reporting to `display`, which must outlive the download. A download still
    // running is waited for first. `finished`, when given, is called last on the worker's
    // thread.
    void Start(DownloadJob job, DownloadDisplay& display, std::function<void()> finished = {});
    void Abort();
    void Wait();

    // The result of the last download that ended: 1 when the panel took the project.
    int Result() const { return m_result; }

private:
    std::unique_ptr<LibUSBDown> m_down;
    std::thread m_thread;
    std::atomic<int> m_result = 0;
};
