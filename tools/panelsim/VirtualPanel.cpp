#include "VirtualPanel.h"

#include "ByteOrder.h"
#include "Crc16.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kEtx = 0x03;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x09;
constexpr std::uint8_t kPlcRunning = 0x31;
constexpr std::uint8_t kPlcStopped = 0x30;

enum Command : std::uint8_t {
    FileInfoCmd = 0x01,
    FileDataCmd = 0x02,
    FileEndCmd = 0x04,
    ConnectCmd = 0x05,
    RestartCmd = 0x06,
    WriteFlashCmd = 0x07,
};

constexpr int kMaxFrame = 512;
constexpr int kMaxBlock = 505;

std::uint8_t Byte(const QByteArray& data, qsizetype i) {
    return static_cast<std::uint8_t>(data[i]);
}

bool Acknowledged(std::uint8_t command) {
    return command == FileInfoCmd || command == FileDataCmd || command == FileEndCmd;
}

// The payload lengths the firmware takes for each command.
bool LengthValid(std::uint8_t command, int length) {
    switch (command) {
    case FileInfoCmd:
        return length == 57;
    case FileDataCmd:
        return length <= kMaxBlock;
    case FileEndCmd:
    case ConnectCmd:
    case RestartCmd:
    case WriteFlashCmd:
        return length == 32;
    default:
        return false;
    }
}

ReplyBlock Block(std::uint8_t first) {
    ReplyBlock block{};
    block[0] = first;
    return block;
}

// Names become file names in the folder: plain printable ASCII, never a path.
bool NameValid(const QByteArray& name) {
    if (name.isEmpty() || name == "." || name == ".." || name == PanelStore::kIndexName)
        return false;
    for (char c : name) {
        if (c < 0x20 || c > 0x7E || c == '/' || c == '\\')
            return false;
    }
    return true;
}

bool AllZero(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

} // namespace

VirtualPanel::VirtualPanel(const PanelConfig& config) : m_config(config), m_store(config.folder) {}

std::optional<ReplyBlock> VirtualPanel::Receive(const QByteArray& frame) {
    const int size = static_cast<int>(frame.size());
    const std::uint8_t command = size >= 2 ? Byte(frame, 1) : 0;
    const int length = size >= 4 ? GetBE16(frame, 2) : -1;
    const bool framed = size >= 7 && size <= kMaxFrame && Byte(frame, 0) == kStx &&
                        length + 7 == size && Byte(frame, 4 + length) == kEtx;
    const bool crcOk =
        framed && Crc16(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                        static_cast<std::size_t>(length + 5)) == GetBE16(frame, length + 5);
    Answer answer;
    if (!framed || !crcOk || !LengthValid(command, length)) {
        const char* note = !framed ? "bad framing" : !crcOk ? "CRC mismatch" : "bad length";
        m_incoming.reset();
        answer = Acknowledged(command) ? Refuse(note) : Answer{std::nullopt, note};
    } else if (Acknowledged(command) && ++m_acknowledged == m_config.nakFrame) {
        m_incoming.reset();
        answer = Refuse("NAK fault");
    } else {
        answer = Handle(command, frame.mid(4, length));
        if (Acknowledged(command) && m_acknowledged == m_config.dropAckFrame)
            answer = Answer{std::nullopt, "dropped answer fault"};
    }
    Log(frame, crcOk, answer);
    return answer.block;
}

VirtualPanel::Answer VirtualPanel::Handle(std::uint8_t command, const QByteArray& payload) {
    switch (command) {
    case ConnectCmd: {
        m_incoming.reset();
        ReplyBlock block{};
        block[3] = static_cast<std::uint8_t>(m_config.model);
        block[7] = m_config.plcRunning ? kPlcRunning : kPlcStopped;
        return {block};
    }
    case FileInfoCmd:
        return FileInfo(payload);
    case FileDataCmd:
        return FileData(payload);
    case FileEndCmd:
        return FileEnd();
    case WriteFlashCmd:
        return WriteFlash();
    default: // restart: whatever was not flashed is lost
        m_restarted = true;
        m_incoming.reset();
        m_pending.clear();
        return {};
    }
}

VirtualPanel::Answer VirtualPanel::FileInfo(const QByteArray& payload) {
    m_incoming.reset();
    QByteArray field = payload.left(32);
    const qsizetype end = field.indexOf('\0');
    const QByteArray name = end < 0 ? field : field.left(end);
    if (end >= 0 && !AllZero(field.mid(end)))
        return Refuse("name not zero-padded");
    if (!NameValid(name))
        return Refuse("bad file name");
    if (Byte(payload, 52) != 0 || Byte(payload, 55) != 0 || Byte(payload, 56) != 0)
        return Refuse("reserved bytes set");
    m_incoming =
        Incoming{name, GetBE32(payload, 32), payload.mid(36, 16), GetBE16(payload, 53), {}};
    ReplyBlock block = Block(kAck);
    const QByteArray held = m_store.Md5Of(name);
    std::copy(held.begin(), held.end(), block.begin() + 1);
    return {block};
}

VirtualPanel::Answer VirtualPanel::FileData(const QByteArray& payload) {
    if (!m_incoming)
        return Refuse("data without file information");
    // An empty block is only the single block of an empty file.
    if (payload.isEmpty() && m_incoming->size != 0)
        return Refuse("empty block");
    if (std::uint64_t(m_incoming->data.size()) + payload.size() > m_incoming->size)
        return Refuse("more data than announced");
    m_incoming->data += payload;
    return {Block(kAck)};
}

VirtualPanel::Answer VirtualPanel::FileEnd() {
    if (!m_incoming)
        return Refuse("end without file information");
    const Incoming file = *m_incoming;
    m_incoming.reset();
    if (std::uint64_t(file.data.size()) != file.size)
        return Refuse("size differs from announced");
    if (QCryptographicHash::hash(file.data, QCryptographicHash::Md5) != file.md5)
        return Refuse("MD5 differs from announced");
    if (Crc16(file.data) != file.crc)
        return Refuse("CRC-16 differs from announced");
    m_pending[file.name] = file.data;
    return {Block(kAck)};
}

VirtualPanel::Answer VirtualPanel::WriteFlash() {
    if (m_config.refuseFlash) {
        m_pending.clear();
        return {Block(kNak), "flash write refused"};
    }
    // The firmware reports the flash write with one block, ACK when every file was written.
    bool written = true;
    for (const auto& [name, data] : m_pending)
        written = m_store.Keep(name, data) && written;
    m_pending.clear();
    return {Block(written ? kAck : kNak), written ? nullptr : "flash write failed"};
}

VirtualPanel::Answer VirtualPanel::Refuse(const char* note) {
    m_incoming.reset();
    return {Block(kNak), note};
}

void VirtualPanel::Log(const QByteArray& frame, bool crcOk, const Answer& answer) const {
    if (m_config.logPath.isEmpty())
        return;
    std::FILE* log = std::fopen(QFile::encodeName(m_config.logPath).constData(), "a");
    if (!log)
        return;
    const char* sent = !answer.block                ? "none"
                       : (*answer.block)[0] == kAck ? "ACK"
                       : (*answer.block)[0] == kNak ? "NAK"
                                                    : "reply";
    std::fprintf(log, "cmd=0x%02x len=%d size=%d crc=%s -> %s",
                 frame.size() >= 2 ? Byte(frame, 1) : 0, frame.size() >= 4 ? GetBE16(frame, 2) : -1,
                 static_cast<int>(frame.size()), crcOk ? "ok" : "bad", sent);
    if (answer.note)
        std::fprintf(log, " (%s)", answer.note);
    std::fputc('\n', log);
    std::fclose(log);
}
