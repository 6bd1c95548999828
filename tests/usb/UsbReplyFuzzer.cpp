// Whole download conversations against a scripted panel whose replies come from the input:
//   byte 0: the project's PLC (bits 0-1, 3 is the integrated PLC), the answer when the panel's
//           PLC runs (bit 2), a missing model driver (bit 3)
//   bytes 1, 2: image size / 8 and driver size / 4
//   then one reply after another: a length byte n, then n bytes of the block (n up to 32);
//   0xFF is a read that times out, 0xFE an ACK with the digest of the file just announced.
// Once the script has run out, every read gets an ACK.

#include "FakeUsb.h"
#include "LibUSBDown.h"
#include "RecordingDisplay.h"
#include "UsbFrame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ctime>

// The conversation waits for a real panel between its steps; the scripted one answers at once.
extern "C" int nanosleep(const struct timespec*, struct timespec*) {
    return 0;
}

namespace {

constexpr std::uint8_t kTimeout = 0xFF;
constexpr std::uint8_t kDigest = 0xFE;
constexpr int kDigestAt = 40; // MD5 offset in a file information frame
// Stands for the digest answer in the script until the read that takes it.
const QByteArray kDigestMarker(kReplySize + 1, '\0');

QByteArray Filled(qsizetype size, char seed) {
    QByteArray data(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        data[i] = static_cast<char>(seed + i * 13);
    return data;
}

void AnswerDigest() {
    FakeUsb& fake = Fake();
    if (fake.answers.empty() || fake.answers.front() != kDigestMarker)
        return;
    QByteArray reply = ReplyBlock(kAck);
    const QByteArray& frame = fake.writes.empty() ? QByteArray() : fake.writes.back();
    if (frame.size() >= kDigestAt + 16 && static_cast<std::uint8_t>(frame[1]) == CMD_FILE_INFO)
        reply.replace(1, 16, frame.mid(kDigestAt, 16));
    fake.answers.front() = reply;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    ResetFake();
    for (std::size_t at = 3; at < size;) {
        const std::uint8_t length = data[at++];
        if (length == kTimeout) {
            Fake().answers.push_back(std::nullopt);
        } else if (length == kDigest) {
            Fake().answers.push_back(kDigestMarker);
        } else {
            const std::size_t n = std::min<std::size_t>(length % (kReplySize + 1), size - at);
            Fake().answers.push_back(
                QByteArray(reinterpret_cast<const char*>(data + at), static_cast<qsizetype>(n)));
            at += n;
        }
    }
    Fake().onRead = AnswerDigest;

    DownloadJob job;
    job.plcId = data[0] & 3;
    job.image = Filled(data[1] * 8, 'i');
    job.driver = Filled(data[2] * 4, 'd');
    const bool running = data[0] & 4;
    const bool modelDriver = !(data[0] & 8);
    job.confirmRunningPlc = [running] { return running; };
    job.loadDriver = [modelDriver](const QString&) -> std::optional<QByteArray> {
        if (!modelDriver)
            return std::nullopt;
        return Filled(700, 'm');
    };
    RecordingDisplay display;
    LibUSBDown down(display);
    (void)down.Download(job);
    return 0;
}
