#pragma once

#include <QByteArray>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// A scripted libusb-0.1 for the link tests: the test program defines the usb_* calls itself,
// so LibUSBDown talks to this instead of a bus.
struct FakeUsb {
    struct Device {
        int vendor = 0x05AC;
        int product = 0x8888;
        bool opens = true;
    };
    std::vector<std::vector<Device>> buses{{Device{}}};
    // Answers of the reads in order; nullopt is a read that times out. When the script has
    // run out, every read gets an ACK block.
    std::deque<std::optional<QByteArray>> answers;
    std::function<void()> onRead; // called at the start of every read
    int closeResult = 0;

    // What the code under test did.
    std::vector<QByteArray> writes;
    std::vector<int> reads; // the timeout of every read
    int closes = 0;
    int openedBus = -1;
    int openedDevice = -1;
    int configuration = -1;
    int interface = -1;
};

FakeUsb& Fake();
void ResetFake();

// A 32-byte reply block starting with `first`; `size` bytes of it arrive.
QByteArray ReplyBlock(std::uint8_t first, int size = 32);
