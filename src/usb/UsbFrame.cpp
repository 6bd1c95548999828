#include "UsbFrame.h"

#include "ByteOrder.h"
#include "CodePage.h"
#include "Crc16.h"

#include <QCryptographicHash>

QByteArray BuildFrame(std::uint8_t command, const QByteArray& payload) {
    const qsizetype n = payload.size();
    QByteArray frame(n + kFrameOverhead, '\0');
    frame[0] = static_cast<char>(kStx);
    frame[1] = static_cast<char>(command);
    PutBE16(frame, 2, static_cast<std::uint16_t>(n));
    frame.replace(4, n, payload);
    frame[4 + n] = static_cast<char>(kEtx);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.constData());
    PutBE16(frame, 5 + n, Crc16(bytes, static_cast<std::size_t>(5 + n)));
    return frame;
}

QByteArray BuildCommandFrame(std::uint8_t command) {
    return BuildFrame(command, QByteArray(kCommandPayload, '\0'));
}

QByteArray BuildConnectFrame(std::uint8_t option, std::uint8_t projectModel) {
    QByteArray payload(kCommandPayload, '\0');
    payload[0] = static_cast<char>(option);
    payload[1] = static_cast<char>(projectModel);
    payload[2] = 1;
    payload[3] = 1;
    return BuildFrame(CMD_CONNECT, payload);
}

QByteArray BuildFileInfoFrame(const QString& name, const QByteArray& data) {
    QByteArray payload(kFileInfoPayload, '\0');
    const QByteArray name8 = ToSystemCodePage(name).left(kFileNameBytes);
    payload.replace(0, name8.size(), name8);
    PutBE32(payload, 32, static_cast<std::uint32_t>(data.size()));
    payload.replace(36, 16, QCryptographicHash::hash(data, QCryptographicHash::Md5));
    PutBE16(payload, 53, Crc16(data));
    return BuildFrame(CMD_FILE_INFO, payload);
}
