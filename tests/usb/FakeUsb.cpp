#include "FakeUsb.h"

#include <usb.h>

#include <cerrno>
#include <cstring>
#include <list>

struct usb_dev_handle {
    int bus;
    int device;
};

namespace {

struct Bus {
    usb_bus bus{};
    std::vector<struct usb_device> devices;
};

// Bus structures live in a list so the pointers between them stay valid.
std::list<Bus> g_buses;

} // namespace

FakeUsb& Fake() {
    static FakeUsb fake;
    return fake;
}

void ResetFake() {
    Fake() = FakeUsb{};
    g_buses.clear();
}

QByteArray ReplyBlock(std::uint8_t first, int size) {
    QByteArray block(32, '\0');
    block[0] = static_cast<char>(first);
    return block.left(size);
}

extern "C" {

void usb_init(void) {}

int usb_find_busses(void) {
    return 0;
}

int usb_find_devices(void) {
    g_buses.clear();
    usb_bus* previous = nullptr;
    for (const auto& devices : Fake().buses) {
        Bus& bus = g_buses.emplace_back();
        bus.devices.resize(devices.size());
        for (std::size_t i = 0; i < devices.size(); ++i) {
            struct usb_device& dev = bus.devices[i];
            dev.descriptor.idVendor = static_cast<std::uint16_t>(devices[i].vendor);
            dev.descriptor.idProduct = static_cast<std::uint16_t>(devices[i].product);
            dev.devnum = static_cast<std::uint8_t>(i);
            dev.bus = &bus.bus;
            dev.next = i + 1 < devices.size() ? &bus.devices[i + 1] : nullptr;
        }
        bus.bus.devices = bus.devices.empty() ? nullptr : bus.devices.data();
        bus.bus.location = static_cast<std::uint32_t>(g_buses.size() - 1);
        if (previous)
            previous->next = &bus.bus;
        previous = &bus.bus;
    }
    return 0;
}

struct usb_bus* usb_get_busses(void) {
    return g_buses.empty() ? nullptr : &g_buses.front().bus;
}

usb_dev_handle* usb_open(struct usb_device* dev) {
    const int bus = static_cast<int>(dev->bus->location);
    if (!Fake().buses[bus][dev->devnum].opens)
        return nullptr;
    Fake().openedBus = bus;
    Fake().openedDevice = dev->devnum;
    return new usb_dev_handle{bus, dev->devnum};
}

int usb_close(usb_dev_handle* handle) {
    ++Fake().closes;
    delete handle; // as libusb does, whatever the result
    return Fake().closeResult;
}

int usb_set_configuration(usb_dev_handle*, int configuration) {
    Fake().configuration = configuration;
    return 0;
}

int usb_claim_interface(usb_dev_handle*, int interface) {
    Fake().interface = interface;
    return 0;
}

int usb_bulk_write(usb_dev_handle*, int ep, const char* bytes, int size, int timeout) {
    if (ep != 0x03 || timeout != 5000)
        return -EINVAL;
    Fake().writes.emplace_back(bytes, size);
    return size;
}

int usb_bulk_read(usb_dev_handle*, int ep, char* bytes, int size, int timeout) {
    FakeUsb& fake = Fake();
    fake.reads.push_back(timeout);
    if (fake.onRead)
        fake.onRead();
    if (ep != 0x81 || size != 32)
        return -EINVAL;
    std::optional<QByteArray> answer = ReplyBlock(0x06);
    if (!fake.answers.empty()) {
        answer = fake.answers.front();
        fake.answers.pop_front();
    }
    if (!answer)
        return -ETIMEDOUT;
    std::memcpy(bytes, answer->constData(), static_cast<std::size_t>(answer->size()));
    return static_cast<int>(answer->size());
}

} // extern "C"
