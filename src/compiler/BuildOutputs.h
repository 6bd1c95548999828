#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <memory>

class CKoravelProject;
class CPLCEntity;
class ICompileProgress;
class NamedSharedMemory;

// What the compile job leaves for the download, the emulator and the batch tool.

inline constexpr qsizetype kMaxImageSize = 0x100000;
inline const QString kImageTooLargeMessage = QStringLiteral("画面数据已经超过容量，请精简画面！");
inline const QString kDriverMissingMessage =
    QStringLiteral("编译出错：型号不支持或者驱动文件丢失！\r\n\r\n请联系厂商增加驱动：%1");
inline const QString kDriverDamagedMessage =
    QStringLiteral("编译出错：驱动文件已损坏，请重新安装软件！\r\n\r\n请联系厂商增加驱动：%1");
inline const QString kDriverAllocMessage = QStringLiteral("GlobalAlloc Driver memory ERROR");
inline const QString kDriverReadMessage = QStringLiteral("GXLoadFileToBuffer Driver memory ERROR");
inline const QString kEmulatorMissingMessage = QStringLiteral("m_bMonitor ERROR");

// The image as the panel loads it: refused above 0x100000 bytes with kImageTooLargeMessage,
// otherwise padded with zero bytes to a multiple of 4.
bool PadImage(const QByteArray& image, QByteArray& padded, QString& error);

// Checks and loads the driver file at `path` for `plc` (PTCFile names it in the messages).
bool LoadPLCDriver(const CPLCEntity& plc, const QString& path, QByteArray& driver, QString& error);

// The integrated PLC's driver in the variant the panel asks for ("20" or "32"). For any other
// PLC the download log gets a line and the load fails without a message; without a PLC it
// fails silently.
bool LoadDriverVariant20(const CPLCEntity* plc, QByteArray& driver, QString& error,
                         QStringList& log);
bool LoadDriverVariant32(const CPLCEntity* plc, QByteArray& driver, QString& error,
                         QStringList& log);
// The variant a panel with an integrated PLC names by its file name; false, with nothing to
// say, for a name that is neither.
bool LoadDriverVariantNamed(const CPLCEntity* plc, const QString& fileName, QByteArray& driver,
                            QString& error, QStringList& log);

// The emulator program named by "setting.ini" (section "Header", key "Monitor"), the default
// program folder + "Emulator" when the key is empty or names no file; the key is written back.
QString EmulatorPath();

// Writes the hand-over of the padded image into `memory`; false when the memory is too small.
bool WriteHandover(NamedSharedMemory& memory, const QByteArray& padded, std::uint8_t key);

// The hand-over of the padded image under its fixed name, with a random key from 0 to 127;
// null when the memory cannot be created. The name is removed when the object goes.
std::unique_ptr<NamedSharedMemory> CreateHandover(const QByteArray& padded);

// Starts `program` with the hand-over's name and waits until it has ended or `abort` is set;
// the program then goes on running on its own. A failure to start is not reported.
void RunEmulator(const QString& program, const std::atomic<bool>& abort);

// What the compile is for; the window's compile job goes on accordingly.
enum class BuildMode { Download = 1, Emulator = 2, BatchTool = 3 };

struct CompileOutputs {
    QByteArray image;  // padded
    QByteArray driver; // the PLC's driver file; empty for the integrated PLC
};

// The compile job's part common to every build mode: compile, size limit and padding, and the
// driver of a PLC other than the integrated one. False with the message for the user.
bool RunCompileJob(const CKoravelProject& project, CompileOutputs& outputs, QString& error,
                   ICompileProgress* progress = nullptr, const std::atomic<bool>* abort = nullptr);
