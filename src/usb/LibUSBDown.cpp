#include "LibUSBDown.h"

#include "UsbFrame.h"

#include <QCryptographicHash>

#include <usb.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr int kVendorId = 0x05AC;
constexpr int kProductId = 0x8888;
constexpr int kConfiguration = 1;
constexpr int kInterface = 0;
constexpr int kEndpointOut = 0x03;
constexpr int kEndpointIn = 0x81;

constexpr int kPieceSize = 512;
constexpr int kWriteTimeoutMs = 5000;
constexpr int kAckTimeoutMs = 20000;
constexpr int kReplyTimeoutMs = 10000;
constexpr int kPieceAckReads = 2;
constexpr int kLastPieceAckReads = 4;
constexpr int kFileAttempts = 3;

constexpr std::uint8_t kPlcRunning = 0x31;

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

QString FileSizeText(qsizetype size) {
    if (size < 1024)
        return QString::asprintf("%d Bit", static_cast<int>(size));
    return QString::asprintf("%.02f KB", static_cast<double>(size) / 1024);
}

QString ModelLine(int model) {
    return QString::asprintf("硬件型号: %d    工程型号: %d", model, kModelTextPanel);
}

bool ModelAccepted(int model, int plcId) {
    if (model == kModelTextPanel)
        return true;
    return (model == kModelPlcPanel20 || model == kModelPlcPanel32) && plcId == kIntegratedPlcId;
}

} // namespace

LibUSBDown::LibUSBDown(DownloadDisplay& display) : m_display(display) {}

LibUSBDown::~LibUSBDown() {
    CloseDevice();
}

bool LibUSBDown::OpenDevice() {
    usb_init();
    usb_find_busses();
    usb_find_devices();
    for (usb_bus* bus = usb_get_busses(); bus; bus = bus->next) {
        for (struct usb_device* dev = bus->devices; dev; dev = dev->next) {
            if (dev->descriptor.idVendor != kVendorId || dev->descriptor.idProduct != kProductId)
                continue;
            usb_dev_handle* handle = usb_open(dev);
            if (!handle)
                continue;
            // The panel works without them on some hosts; their failure is not the caller's.
            usb_set_configuration(handle, kConfiguration);
            usb_claim_interface(handle, kInterface);
            m_handle = handle;
            return true;
        }
    }
    return false;
}

void LibUSBDown::WritePiece(const char* bytes, int size) {
    // A lost write shows up as a missing acknowledgement, so its result is not needed.
    if (m_handle)
        usb_bulk_write(m_handle, kEndpointOut, bytes, size, kWriteTimeoutMs);
}

void LibUSBDown::ReadBlock(UsbReply& block, int timeoutMs) {
    block.bytes.fill(0xFF);
    block.size = 0;
    if (!m_handle)
        return;
    const int got = usb_bulk_read(
        m_handle, kEndpointIn, reinterpret_cast<char*>(block.bytes.data()), kReplySize, timeoutMs);
    if (got > 0 && got <= kReplySize)
        block.size = got;
}

LibUSBDown::Ack LibUSBDown::AwaitAck(int maxReads, bool nakEndsWait, UsbReply& block) {
    for (int read = 0; read < maxReads; ++read) {
        if (read > 0) {
            Pause(5);
            if (m_abort)
                return Ack::Missing;
        }
        ReadBlock(block, kAckTimeoutMs);
        if (block.size > 0 && block.bytes[0] == kAck)
            return Ack::Received;
        if (nakEndsWait && block.size > 0 && block.bytes[0] == kNak)
            return Ack::Refused;
    }
    return Ack::Missing;
}

int LibUSBDown::Transfer(bool waitAck, const QByteArray& frame, UsbReply* reply) {
    if (m_abort)
        return TRANSFER_ABORTED;
    if (frame.isEmpty())
        return TRANSFER_NO_REPLY;
    const char* piece = frame.constData();
    qsizetype remaining = frame.size();
    UsbReply block;
    while (remaining > kPieceSize) {
        if (m_abort)
            return TRANSFER_ABORTED;
        WritePiece(piece, kPieceSize);
        piece += kPieceSize;
        remaining -= kPieceSize;
        // Only the last piece may be refused; a NAK in between is just not an ACK.
        if (waitAck && AwaitAck(kPieceAckReads, false, block) != Ack::Received) {
            if (m_abort.exchange(true))
                return TRANSFER_ABORTED;
            return TRANSFER_TIMEOUT;
        }
    }
    WritePiece(piece, static_cast<int>(remaining));
    Pause(1);
    if (!waitAck)
        return TRANSFER_ACKED;
    switch (AwaitAck(kLastPieceAckReads, true, block)) {
    case Ack::Received:
        if (reply)
            *reply = block;
        return TRANSFER_ACKED;
    case Ack::Refused:
        return TRANSFER_NAK;
    case Ack::Missing:
        break;
    }
    if (m_abort.exchange(true))
        return TRANSFER_ABORTED;
    ResetAndClose();
    return TRANSFER_TIMEOUT;
}

int LibUSBDown::ReadReply(UsbReply& reply) {
    if (m_abort)
        return 0;
    Pause(400);
    ReadBlock(reply, kReplyTimeoutMs);
    return reply.size == kReplySize ? 1 : -1;
}

void LibUSBDown::CloseDevice() {
    if (!m_handle)
        return;
    // usb_close frees the handle whatever it returns, so it must never be used again.
    usb_close(m_handle);
    m_handle = nullptr;
}

void LibUSBDown::ResetAndClose() {
    if (m_handle) {
        SendRestart();
        Pause(100);
        CloseDevice();
    }
    Pause(100);
}

int LibUSBDown::SendConnect() {
    return Transfer(false, BuildConnectFrame(m_connectOption, m_projectModel));
}

int LibUSBDown::SendRestart() {
    return Transfer(false, BuildCommandFrame(CMD_RESTART));
}

int LibUSBDown::SendWriteFlash() {
    return Transfer(false, BuildCommandFrame(CMD_WRITE_FLASH));
}

QString LibUSBDown::WriteFlashFailure() {
    SendWriteFlash();
    UsbReply reply;
    if (ReadReply(reply) != 1)
        return QStringLiteral("写入Flash失败，没有收到应答！");
    if (reply.bytes[0] != kAck)
        return QStringLiteral("写入Flash失败！");
    return {};
}

bool LibUSBDown::SendFileInfo(const QString& name, const QByteArray& data) {
    UsbReply reply;
    if (Transfer(true, BuildFileInfoFrame(name, data), &reply) != TRANSFER_ACKED)
        return false;
    // The digest sits in bytes 1 to 16; a shorter answer holds no digest at all.
    if (reply.size < 17)
        return false;
    const QByteArray md5 = QCryptographicHash::hash(data, QCryptographicHash::Md5);
    return std::equal(md5.begin(), md5.end(), reply.bytes.begin() + 1,
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

int LibUSBDown::SendFile(const QByteArray& data, const QString& name) {
    if (m_abort)
        return TRANSFER_ABORTED;
    const int size = static_cast<int>(data.size());
    m_display.SetFileProgressRange(size);
    const QString kind = name.contains(QLatin1String("sheet")) ? QStringLiteral("工程文件")
                                                               : QStringLiteral("驱动文件");
    const QString sizeText = FileSizeText(size);
    if (SendFileInfo(name, data)) {
        m_display.AddDownloadLog(QStringLiteral("[Y] ") + kind + QStringLiteral("  ") + sizeText);
        return TRANSFER_ACKED;
    }
    m_display.AddDownloadLog(QStringLiteral("[N] ") + kind + QStringLiteral("  ") + sizeText);
    Pause(50);

    const int blocks = size / kBlockSize;
    int sent = 0;
    for (;;) {
        const int length = std::min(kBlockSize, size - sent);
        const bool last = size - sent <= kBlockSize;
        const int result = Transfer(true, BuildFrame(CMD_FILE_DATA, data.mid(sent, length)));
        if (result != TRANSFER_ACKED)
            return result;
        sent += length;
        m_display.SetFileProgressText(QString::asprintf("%d/%d", sent / kBlockSize, blocks));
        m_display.SetFileProgressPos(sent);
        if (last)
            break;
        if (m_abort)
            return TRANSFER_ABORTED;
    }
    m_display.SetFileProgressText(QString::asprintf("%d/%d", blocks, blocks));
    m_display.SetFileProgressPos(size);
    return Transfer(true, BuildCommandFrame(CMD_FILE_END));
}

bool LibUSBDown::SendFileWithRetry(const QString& name, const QByteArray& data) {
    int result = TRANSFER_NO_REPLY;
    for (int attempt = 1; attempt <= kFileAttempts; ++attempt) {
        result = SendFile(data, name);
        if (result == TRANSFER_ACKED)
            break;
        if (result == TRANSFER_ABORTED) {
            m_display.AddDownloadLog(QStringLiteral("手动取消, retrying..."));
            break;
        }
        if (result == TRANSFER_NAK)
            m_display.AddDownloadLog(QStringLiteral("CRC错误 , retrying..."));
        else if (result == TRANSFER_TIMEOUT)
            m_display.AddDownloadLog(QStringLiteral("下载超时 , retrying..."));
        else
            m_display.AddDownloadLog(QStringLiteral("其他错误 , retrying..."));
        if (attempt == kFileAttempts)
            m_abort = true;
    }
    Pause(50);
    return result == TRANSFER_ACKED;
}

int LibUSBDown::Stop(std::initializer_list<QString> lines) {
    m_abort = true;
    m_display.EnableDownloadButtons(false);
    CloseDevice();
    for (const QString& line : lines)
        m_display.AddDownloadLog(line);
    return 0;
}

int LibUSBDown::GiveUp(const QString& line) {
    m_display.EnableDownloadButtons(false);
    m_display.AddDownloadLog(line);
    return 0;
}

bool LibUSBDown::SendDriver(int model, const DownloadJob& job) {
    QByteArray driver = job.driver;
    const QString modelDriver = DriverFileForModel(model);
    if (!modelDriver.isEmpty()) {
        const std::optional<QByteArray> loaded =
            job.loadDriver ? job.loadDriver(modelDriver) : std::nullopt;
        if (!loaded) {
            m_display.AddDownloadLog(QString::asprintf("LoadBin%d == NULL", model));
            return false;
        }
        driver = *loaded;
    }
    if (driver.isEmpty())
        return false;
    return SendFileWithRetry(kPanelDriverName, driver);
}

int LibUSBDown::Download(const DownloadJob& job) {
    const auto start = std::chrono::steady_clock::now();
    m_display.ResetDownloadPanel();
    if (!OpenDevice()) {
        m_display.EnableDownloadButtons(false);
        m_display.AddDownloadLog(QStringLiteral("USB连接失败，找不到KV250设备！"));
        return 0;
    }

    SendConnect();
    UsbReply reply;
    if (ReadReply(reply) != 1)
        return Stop({QStringLiteral("读取型号失败！")});
    const int model = reply.bytes[3];
    if (reply.bytes[7] == kPlcRunning) {
        m_display.AddDownloadLog(QStringLiteral("一体机PLC正在运行，建议取消下载..."));
        if (!job.confirmRunningPlc || !job.confirmRunningPlc())
            return Stop({ModelLine(model), QStringLiteral("一体机PLC正在运行，手动取消下载！")});
    }
    if (!ModelAccepted(model, job.plcId))
        return Stop({QStringLiteral("读取型号错误！"), ModelLine(model)});

    m_display.AddDownloadLog(QStringLiteral("读取型号成功！"));
    m_display.AddDownloadLog(QStringLiteral("正在准备下载..."));
    if (m_abort) {
        m_display.EnableDownloadButtons(false);
        return 0;
    }

    m_display.SetOverallProgressText(QStringLiteral("1/2"));
    m_display.SetOverallProgressPos(50);
    m_display.AddDownloadLog(QStringLiteral("正在下载驱动文件..."));
    if (!SendDriver(model, job))
        return GiveUp(QStringLiteral("下载驱动文件出错，请检查USB连接线..."));

    m_display.AddDownloadLog(QStringLiteral("正在下载工程文件..."));
    if (!SendFileWithRetry(QStringLiteral("sheetpara.dat"), job.image))
        return GiveUp(QStringLiteral("下载工程文件出错，请检查USB连接线..."));

    // A cancel after the last file would leave the flash unwritten; never report that as done.
    if (m_abort) {
        m_display.EnableDownloadButtons(false);
        return 0;
    }
    m_display.SetOverallProgressPos(100);
    m_display.SetOverallProgressText(QStringLiteral("2/2"));
    m_display.AddDownloadLog(QStringLiteral("组态下载完毕..."));
    // Only the panel's ACK says the files reached its flash; anything else is a failed download.
    if (const QString failure = WriteFlashFailure(); !failure.isEmpty())
        return Stop({failure});
    m_display.AddDownloadLog(QStringLiteral("写入Flash操作成功..."));
    m_display.AddDownloadLog(QStringLiteral("正在重启KV250..."));

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The panel's one answer after the files was the flash write's, read above; waiting for
    // another after the restarts would only add the reply timeout to every download.
    for (int i = 0; i < 3; ++i) {
        SendRestart();
        Pause(100);
    }
    m_display.AddDownloadLog(QString::asprintf("下载重启完毕，共耗时: %.2fs", seconds));
    Pause(1000);
    m_display.EnableDownloadButtons(false);
    return 1;
}
