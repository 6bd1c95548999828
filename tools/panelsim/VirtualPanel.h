#pragma once

#include "PanelConfig.h"
#include "PanelStore.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <map>
#include <optional>

using ReplyBlock = std::array<std::uint8_t, 32>;

// The panel firmware as the host sees it: every bulk write is one frame, checked strictly;
// valid frames are answered as the firmware answers them, broken ones are refused (NAK for the
// commands that are acknowledged, silence for the others). Faults of the configuration are
// applied here, counted over the acknowledged frames.
class VirtualPanel {
public:
    explicit VirtualPanel(const PanelConfig& config);

    // One frame from the host; the answer block when the panel sends one.
    std::optional<ReplyBlock> Receive(const QByteArray& frame);

    // Whether a valid restart command arrived.
    bool Restarted() const { return m_restarted; }

private:
    struct Answer {
        std::optional<ReplyBlock> block;
        const char* note = nullptr; // why a frame was refused
    };
    struct Incoming {
        QByteArray name;
        std::uint32_t size = 0;
        QByteArray md5;
        std::uint16_t crc = 0;
        QByteArray data;
    };

    Answer Handle(std::uint8_t command, const QByteArray& payload);
    Answer FileInfo(const QByteArray& payload);
    Answer FileData(const QByteArray& payload);
    Answer FileEnd();
    Answer WriteFlash();
    Answer Refuse(const char* note);
    void Log(const QByteArray& frame, bool crcOk, const Answer& answer) const;

    PanelConfig m_config;
    PanelStore m_store;
    std::optional<Incoming> m_incoming;         // the file being received
    std::map<QByteArray, QByteArray> m_pending; // received completely, not yet flashed
    int m_acknowledged = 0;                     // acknowledged frames so far
    bool m_restarted = false;
};
