#include "HeadlessDownload.h"

#include "ConsoleDownloadDisplay.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

namespace {

constexpr int kPollMs = 200;

std::atomic<bool> g_stop = false;

extern "C" void OnStopSignal(int) {
    g_stop = true;
}

bool PanelPresent(DownloadDisplay& display) {
    LibUSBDown probe(display);
    if (!probe.OpenDevice())
        return false;
    probe.CloseDevice();
    return true;
}

// Waits until a panel is (or is no longer) on the USB; false when told to stop first.
bool WaitForPanel(DownloadDisplay& display, bool present) {
    while (!g_stop) {
        if (PanelPresent(display) == present)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    return false;
}

int RunLoop(const HeadlessOptions& options, const BatchDownloadHooks& hooks,
            DownloadDisplay& display) {
    // A download under way is finished before stopping, so no panel is left half written.
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    int good = 0;
    int failed = 0;
    const auto count = [&] {
        display.AddDownloadLog(QStringLiteral("合格: %1    失败: %2").arg(good).arg(failed));
    };
    while (!g_stop) {
        display.AddDownloadLog(QStringLiteral("等待连接面板..."));
        if (!WaitForPanel(display, true))
            break;
        // Every panel gets its own link: a cancelled transfer on one panel must not end the
        // downloads of the panels after it.
        LibUSBDown usb(display);
        BatchDownload(usb, display, options.source, hooks) ? ++good : ++failed;
        count();
        display.AddDownloadLog(QStringLiteral("请拔下面板..."));
        if (!WaitForPanel(display, false))
            break;
    }
    display.AddDownloadLog(QStringLiteral("批量下载结束"));
    count();
    return failed == 0 ? 0 : 1;
}

} // namespace

int RunHeadless(const HeadlessOptions& options) {
    ConsoleDownloadDisplay display;
    const bool force = options.force;
    BatchDownloadHooks hooks;
    hooks.confirmRunningPlc = [force] { return force; };
    hooks.showMessage = [&display](const QString& text) { display.AddDownloadLog(text); };
    if (options.loop)
        return RunLoop(options, hooks, display);
    LibUSBDown usb(display);
    return BatchDownload(usb, display, options.source, hooks) ? 0 : 1;
}
