#pragma once

#include "DownloadDisplay.h"
#include "DriverFile.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>

struct usb_dev_handle;

// Transfer results.
inline constexpr int TRANSFER_ACKED = 3;     // written; when waiting, ACK received
inline constexpr int TRANSFER_ABORTED = 2;   // the abort flag was set before or during it
inline constexpr int TRANSFER_TIMEOUT = 1;   // no ACK within the allowed reads; abort flag set
inline constexpr int TRANSFER_NAK = 0;       // NAK for the last piece
inline constexpr int TRANSFER_NO_REPLY = -1; // nothing to send

// One block read from the panel; `size` is how many of its bytes actually arrived.
struct UsbReply {
    std::array<std::uint8_t, 32> bytes{};
    int size = 0;
};

// What one download needs from the compiled project.
struct DownloadJob {
    QByteArray image;  // sent as "sheetpara.dat"
    QByteArray driver; // the project PLC's driver, for a model 200
    int plcId = 0;     // protocol id of the project's PLC
    // Loads a driver file of the program's PLC folder by name (DriverFileForModel), checked as
    // the compiler checks drivers; nullopt when it cannot be loaded.
    std::function<std::optional<QByteArray>(const QString& fileName)> loadDriver;
    // Asked while the panel's integrated PLC runs: true goes on with the download. Without
    // it the answer is no.
    std::function<bool()> confirmRunningPlc;
};

// The USB link to one panel and the download protocol over it. One object serves one
// download; every operation runs on the thread that runs the download, except Abort, which
// any thread may call to stop it at its next step.
class LibUSBDown {
public:
    explicit LibUSBDown(DownloadDisplay& display);
    ~LibUSBDown(); // closes a device still open
    LibUSBDown(const LibUSBDown&) = delete;
    LibUSBDown& operator=(const LibUSBDown&) = delete;

    void Abort() { m_abort = true; }
    bool IsAborted() const { return m_abort; }

    // The link.
    bool OpenDevice();
    int Transfer(bool waitAck, const QByteArray& frame, UsbReply* reply = nullptr);
    int ReadReply(UsbReply& reply); // 1 success, -1 failure, 0 already aborted
    void CloseDevice();
    void ResetAndClose();

    // The commands.
    int SendConnect();
    int SendRestart();
    int SendWriteFlash();
    // Sends the flash write and reads the panel's answer: empty when the panel confirmed that
    // it stored the files, else the line that says why not.
    QString WriteFlashFailure();
    bool SendFileInfo(const QString& name, const QByteArray& data);
    int SendFile(const QByteArray& data, const QString& name);
    bool SendFileWithRetry(const QString& name, const QByteArray& data);

    // The designer's whole conversation; 1 when the panel took the project, else 0.
    int Download(const DownloadJob& job);

private:
    enum class Ack { Received, Refused, Missing };

    void WritePiece(const char* bytes, int size);
    void ReadBlock(UsbReply& block, int timeoutMs);
    Ack AwaitAck(int maxReads, bool nakEndsWait, UsbReply& block);
    bool SendDriver(int model, const DownloadJob& job);
    int Stop(std::initializer_list<QString> lines);
    int GiveUp(const QString& line);

    DownloadDisplay& m_display;
    usb_dev_handle* m_handle = nullptr;
    std::atomic<bool> m_abort = false;
    std::uint8_t m_connectOption = 0;
    std::uint8_t m_projectModel = kModelTextPanel;
};
