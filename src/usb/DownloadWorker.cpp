#include "DownloadWorker.h"

DownloadWorker::~DownloadWorker() {
    Abort();
    Wait();
}

void DownloadWorker::Start(DownloadJob job, DownloadDisplay& display,
                           std::function<void()> finished) {
    Wait();
    m_result = 0;
    m_down = std::make_unique<LibUSBDown>(display);
    m_thread = std::thread([this, job = std::move(job), &display, finished = std::move(finished)] {
        display.EnableDownloadButtons(true);
        m_result = m_down->Download(job);
        m_down->CloseDevice();
        display.EnableDownloadButtons(false);
        if (finished)
            finished();
    });
}

void DownloadWorker::Abort() {
    if (m_down)
        m_down->Abort();
}

void DownloadWorker::Wait() {
    if (m_thread.joinable())
        m_thread.join();
}
