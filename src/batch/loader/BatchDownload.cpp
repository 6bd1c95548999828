#include "BatchDownload.h"

#include "BatchTool.h"
#include "CodePage.h"
#include "DriverFile.h"
#include "PackageArchive.h"

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace {

constexpr std::uint8_t kPlcRunning = 0x31;
constexpr std::uint8_t kAckByte = 0x06;
constexpr int kDriverAttempts = 4;

enum Slot { DriverSlot200, ProjectSlot, DriverSlot210, DriverSlot220, PlcProgramSlot, SlotCount };

// An entry goes into the first slot whose file name its name contains.
const std::array<QString, SlotCount> kSlotFiles{kPanelDriverName, QStringLiteral("sheetpara.dat"),
                                                kIntegratedDriver20, kIntegratedDriver32,
                                                QStringLiteral("rvplc.pwm")};

const QString kNoPanel = QStringLiteral("USB连接失败，找不到KV250设备！");

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

QString SizeText(qsizetype size) {
    if (size < 1024)
        return QString::asprintf("%d Bit", static_cast<int>(size));
    return QString::asprintf("%.02f KB", static_cast<double>(size) / 1024);
}

std::optional<Slot> SlotOf(const QString& entryName) {
    // The archive stores lower-cased names; the slot names are compared the same way.
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (entryName.contains(kSlotFiles[std::size_t(slot)], Qt::CaseInsensitive))
            return static_cast<Slot>(slot);
    }
    return std::nullopt;
}

Slot DriverSlotFor(int model) {
    if (model == kModelPlcPanel20)
        return DriverSlot210;
    if (model == kModelPlcPanel32)
        return DriverSlot220;
    return DriverSlot200;
}

class Download {
public:
    Download(LibUSBDown& usb, DownloadDisplay& display, const BatchDownloadHooks& hooks)
        : m_usb(usb), m_display(display), m_hooks(hooks) {}

    bool Run(const BatchPackageSource& source);

private:
    bool End(const QString& line = {}) {
        if (!line.isEmpty())
            Log(line);
        m_display.EnableDownloadButtons(false);
        m_usb.CloseDevice();
        return false;
    }

    void Log(const QString& line) { m_display.AddDownloadLog(line); }
    bool Registered() const { return !m_hooks.registered || m_hooks.registered(); }

    std::unique_ptr<PackageArchive> OpenArchive(const BatchPackageSource& source);
    bool Extract(PackageArchive& archive);
    bool SendWithRetry(const QString& name, const QByteArray& data, int attempts);

    LibUSBDown& m_usb;
    DownloadDisplay& m_display;
    const BatchDownloadHooks& m_hooks;
    std::array<QByteArray, SlotCount> m_slots;
};

std::unique_ptr<PackageArchive> Download::OpenArchive(const BatchPackageSource& source) {
    std::unique_ptr<PackageArchive> archive = source.ownPackage
                                                  ? PackageArchive::Open(source.archive)
                                                  : PackageArchive::OpenFile(source.path);
    if (archive)
        return archive;
    if (source.ownPackage && m_hooks.showMessage)
        m_hooks.showMessage(QStringLiteral("数据文件已损坏，无法打开！"));
    else
        Log(QStringLiteral("打开数据文件失败：") + source.path);
    return nullptr;
}

bool Download::Extract(PackageArchive& archive) {
    Log(QStringLiteral("正在解压数据文件..."));
    const std::vector<PackageArchive::Entry>& entries = archive.Entries();
    for (int i = 0; i < static_cast<int>(entries.size()) && Registered(); ++i) {
        const std::optional<Slot> slot = SlotOf(entries[std::size_t(i)].name);
        if (!slot)
            continue;
        if (!archive.Extract(i, m_slots[*slot])) {
            Log(QStringLiteral("数据文件已损坏：") + entries[std::size_t(i)].name);
            return false;
        }
    }
    // A package without the project would leave the panel with nothing to show.
    if (m_slots[ProjectSlot].isEmpty()) {
        Log(QStringLiteral("数据文件中没有工程文件！"));
        return false;
    }
    return true;
}

// The designer's wrapper sets the abort flag after its last attempt; this one leaves it, so
// the driver may take one more attempt and a later download is not ended by it.
bool Download::SendWithRetry(const QString& name, const QByteArray& data, int attempts) {
    int result = TRANSFER_NO_REPLY;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        result = m_usb.SendFile(data, name);
        if (result == TRANSFER_ACKED)
            break;
        if (result == TRANSFER_ABORTED) {
            Log(QStringLiteral("手动取消, retrying..."));
            break;
        }
        if (result == TRANSFER_NAK)
            Log(QStringLiteral("CRC错误 , retrying..."));
        else if (result == TRANSFER_TIMEOUT)
            Log(QStringLiteral("下载超时 , retrying..."));
        else
            Log(QStringLiteral("其他错误 , retrying..."));
    }
    Pause(50);
    return result == TRANSFER_ACKED;
}

bool Download::Run(const BatchPackageSource& source) {
    if (source.ownPackage && source.archive.isEmpty())
        return End(QStringLiteral("读取批量下载数据失败，程序文件已损坏！"));
    if (!m_usb.OpenDevice())
        return End(kNoPanel);
    m_usb.SendConnect();
    Log(QStringLiteral("正在读取型号..."));
    UsbReply reply;
    if (m_usb.ReadReply(reply) != 1)
        return End(kNoPanel);
    const int model = reply.bytes[3];
    if (reply.bytes[7] == kPlcRunning) {
        Log(QStringLiteral("一体机PLC正在运行，建议取消下载..."));
        if (!m_hooks.confirmRunningPlc || !m_hooks.confirmRunningPlc())
            return End(QStringLiteral("一体机PLC正在运行，手动取消下载！"));
    }
    if (model != kModelTextPanel && model != kModelPlcPanel20 && model != kModelPlcPanel32)
        return End(QString::asprintf("读取型号错误！硬件型号: %d", model));

    Log(QStringLiteral("读取型号成功，正在准备下载..."));
    const auto start = std::chrono::steady_clock::now();
    Pause(1000);

    {
        const std::unique_ptr<PackageArchive> archive = OpenArchive(source);
        if (!archive || !Extract(*archive))
            return End();
    }

    // A package made for another PLC has no driver for this panel; flashing an empty driver
    // would leave the panel unable to talk to its PLC.
    const QByteArray& driver = m_slots[DriverSlotFor(model)];
    if (driver.isEmpty()) {
        Log(QString::asprintf("硬件型号: %d    工程型号: %d", model, int(kModelTextPanel)));
        return End(QStringLiteral("该工程是为其他PLC制作的，不能下载到此型号的面板！"));
    }
    Log(QStringLiteral("正在下载驱动文件...  ") + SizeText(driver.size()));
    if (!SendWithRetry(kPanelDriverName, driver, kDriverAttempts))
        return End(QStringLiteral("下载驱动文件出错，请检查USB连接线..."));

    const QByteArray& program = m_slots[PlcProgramSlot];
    if (program.isEmpty()) {
        Log(QStringLiteral("没有PLC梯形图程序，跳过..."));
    } else {
        Log(QStringLiteral("正在下载PLC梯形图程序...  ") + SizeText(program.size()));
        if (!m_usb.SendFileWithRetry(QStringLiteral("rvplc.pwm"), program))
            return End(QStringLiteral("下载PLC梯形图程序出错，请检查USB连接线..."));
    }

    Pause(500);
    const QByteArray& project = m_slots[ProjectSlot];
    Log(QStringLiteral("正在下载工程文件...  ") + SizeText(project.size()));
    if (!m_usb.SendFileWithRetry(QStringLiteral("sheetpara.dat"), project))
        return End(QStringLiteral("下载工程文件出错，请检查USB连接线..."));

    m_usb.SendWriteFlash();
    m_display.SetOverallProgressText(QStringLiteral("正在写入Flash..."));
    m_slots = {};
    if (!Registered()) {
        m_usb.CloseDevice();
        Log(QStringLiteral("下载已取消！"));
    }
    if (m_usb.ReadReply(reply) != 1)
        return End(QStringLiteral("写入Flash失败，没有收到应答！"));
    if (reply.bytes[0] != kAckByte) {
        Pause(200);
        return End(QStringLiteral("写入Flash失败！"));
    }
    m_display.SetOverallProgressPos(100);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Log(QString::asprintf("下载成功，共耗时: %.1f秒", seconds)); // to a tenth of a second
    m_display.EnableDownloadButtons(false);
    m_usb.SendRestart();
    Pause(100);
    m_usb.CloseDevice();
    Pause(100);
    return true;
}

} // namespace

bool BatchDownload(LibUSBDown& usb, DownloadDisplay& display, const BatchPackageSource& source,
                   const BatchDownloadHooks& hooks) {
    Download download(usb, display, hooks);
    return download.Run(source);
}

bool LoginMatches(const QString& typed, const QByteArray& stored) {
    QByteArray bytes =
        ToSystemCodePage(typed.left(int(kLoginPasswordBytes))).left(kLoginPasswordBytes);
    bytes.append(QByteArray(kLoginPasswordBytes - bytes.size(), '\0'));
    return stored.size() == kLoginPasswordBytes && bytes == stored;
}
