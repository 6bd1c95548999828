// The libusb-0.1 calls of the USB code, served by one virtual panel. Loaded with LD_PRELOAD,
// these definitions come before the real library's, so the programs run unchanged.
//
// usb_init powers the panel up: it reads the KV_PANELSIM_* variables again and starts with
// fresh fault counters, so every download of a process meets the configured panel. With
// KV_PANELSIM_PANELS, a panel that was restarted and closed is unplugged: the next usb_init
// finds an empty bus, the one after it the next panel, until all of them have come.

#include "PanelConfig.h"
#include "VirtualPanel.h"

#include <QDir>

#include <usb.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

struct usb_dev_handle {
    int unused = 0;
};

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kVendorId = 0x05AC;
constexpr int kProductId = 0x8888;
constexpr int kEndpointOut = 0x03;
constexpr int kEndpointIn = 0x81;

struct PendingReply {
    Clock::time_point ready;
    ReplyBlock block;
};

struct Simulation {
    std::mutex mutex;
    PanelConfig config;
    std::unique_ptr<VirtualPanel> panel;
    std::deque<PendingReply> replies;
    std::set<usb_dev_handle*> handles;
    int frames = 0;
    int panelNumber = 1;    // of KV_PANELSIM_PANELS
    bool unplugged = false; // the current panel was restarted and closed
    bool present = true;
    usb_bus bus{};
    struct usb_device device {};
};

Simulation& Sim() {
    static Simulation sim;
    return sim;
}

bool Gone(const Simulation& sim) {
    return sim.config.vanishAfter >= 0 && sim.frames >= sim.config.vanishAfter;
}

// The deadline of a libusb call: 0 waits without limit, as libusb does.
std::optional<Clock::time_point> Deadline(const Simulation& sim, int timeoutMs) {
    if (timeoutMs <= 0)
        return std::nullopt;
    return Clock::now() + std::chrono::microseconds(
                              static_cast<long long>(timeoutMs * 1000.0 * sim.config.timeoutScale));
}

int WaitOut(std::unique_lock<std::mutex>& lock, std::optional<Clock::time_point> deadline) {
    lock.unlock();
    if (deadline)
        std::this_thread::sleep_until(*deadline);
    else
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    return -ETIMEDOUT;
}

} // namespace

#define PANELSIM_EXPORT extern "C" __attribute__((visibility("default")))

PANELSIM_EXPORT void usb_init(void) {
    Simulation& sim = Sim();
    std::lock_guard lock(sim.mutex);
    QStringList problems;
    sim.config = ParsePanelConfig(QProcessEnvironment::systemEnvironment(), problems);
    for (const QString& problem : problems)
        std::fprintf(stderr, "panelsim: %s\n", problem.toLocal8Bit().constData());
    if (sim.config.panels > 0) {
        const bool gap = sim.unplugged;
        if (sim.unplugged)
            ++sim.panelNumber;
        sim.unplugged = false;
        sim.present = !gap && sim.panelNumber <= sim.config.panels;
        if (!sim.config.folder.isEmpty()) {
            sim.config.folder = QDir(sim.config.folder).filePath(QString::number(sim.panelNumber));
            if (sim.present)
                QDir().mkpath(sim.config.folder);
        }
    }
    sim.panel = std::make_unique<VirtualPanel>(sim.config);
    sim.replies.clear();
    sim.frames = 0;

    sim.device = {};
    std::snprintf(sim.device.filename, sizeof sim.device.filename, "001");
    sim.device.bus = &sim.bus;
    sim.device.descriptor.bLength = USB_DT_DEVICE_SIZE;
    sim.device.descriptor.bDescriptorType = USB_DT_DEVICE;
    sim.device.descriptor.idVendor = kVendorId;
    sim.device.descriptor.idProduct = kProductId;
    sim.device.descriptor.bNumConfigurations = 1;
    sim.device.devnum = 1;
    sim.bus = {};
    std::snprintf(sim.bus.dirname, sizeof sim.bus.dirname, "001");
    sim.bus.devices = sim.config.absent || !sim.present ? nullptr : &sim.device;
}

PANELSIM_EXPORT int usb_find_busses(void) {
    return 0;
}

PANELSIM_EXPORT int usb_find_devices(void) {
    return 0;
}

PANELSIM_EXPORT struct usb_bus* usb_get_busses(void) {
    Simulation& sim = Sim();
    std::lock_guard lock(sim.mutex);
    return sim.panel ? &sim.bus : nullptr;
}

PANELSIM_EXPORT usb_dev_handle* usb_open(struct usb_device* dev) {
    Simulation& sim = Sim();
    std::lock_guard lock(sim.mutex);
    if (dev != &sim.device || sim.config.absent || !sim.present)
        return nullptr;
    auto* handle = new usb_dev_handle;
    sim.handles.insert(handle);
    return handle;
}

PANELSIM_EXPORT int usb_close(usb_dev_handle* handle) {
    Simulation& sim = Sim();
    std::lock_guard lock(sim.mutex);
    if (!sim.handles.erase(handle))
        return -EINVAL;
    delete handle;
    if (sim.config.panels > 0 && sim.panel && sim.panel->Restarted())
        sim.unplugged = true;
    return 0;
}

PANELSIM_EXPORT int usb_set_configuration(usb_dev_handle* handle, int configuration) {
    Simulation& sim = Sim();
    std::lock_guard lock(sim.mutex);
    return sim.handles.count(handle) && configuration == 1 ? 0 : -EINVAL;
}

PANELSIM_EXPORT int usb_claim_interface(usb_dev_handle* handle, int interface) {
    Simulation& sim = Sim();
    std::lock_guard lock(sim.mutex);
    return sim.handles.count(handle) && interface == 0 ? 0 : -EINVAL;
}

PANELSIM_EXPORT int usb_bulk_write(usb_dev_handle* handle, int ep, const char* bytes, int size,
                                   int timeout) {
    Simulation& sim = Sim();
    std::unique_lock lock(sim.mutex);
    if (!sim.handles.count(handle) || ep != kEndpointOut || size < 0 || (size > 0 && !bytes))
        return -EINVAL;
    if (Gone(sim))
        return WaitOut(lock, Deadline(sim, timeout));
    ++sim.frames;
    if (std::optional<ReplyBlock> reply = sim.panel->Receive(QByteArray(bytes, size)))
        sim.replies.push_back(
            {Clock::now() + std::chrono::milliseconds(sim.config.delayMs), *reply});
    return size;
}

PANELSIM_EXPORT int usb_bulk_read(usb_dev_handle* handle, int ep, char* bytes, int size,
                                  int timeout) {
    Simulation& sim = Sim();
    std::unique_lock lock(sim.mutex);
    if (!sim.handles.count(handle) || ep != kEndpointIn || size <= 0 || !bytes)
        return -EINVAL;
    const std::optional<Clock::time_point> deadline = Deadline(sim, timeout);
    if (sim.replies.empty() || (deadline && sim.replies.front().ready > *deadline))
        return WaitOut(lock, deadline);
    const PendingReply reply = sim.replies.front();
    sim.replies.pop_front();
    lock.unlock();
    std::this_thread::sleep_until(reply.ready);
    const int count = std::min<int>(size, static_cast<int>(reply.block.size()));
    std::memcpy(bytes, reply.block.data(), static_cast<std::size_t>(count));
    return count;
}
