#include "DriverFile.h"

#include "AtomicFile.h"
#include "Crc16.h"
#include "PLCEntity.h"
#include "ProgramFolder.h"

#include <QFileInfo>

namespace {

constexpr char kTag[] = {'R', 'V'};
constexpr qsizetype kTrailerSize = 4;

} // namespace

QString DriverFileForModel(int model) {
    if (model == kModelPlcPanel20)
        return kIntegratedDriver20;
    if (model == kModelPlcPanel32)
        return kIntegratedDriver32;
    return {};
}

QString DriverFilePath(const QString& fileName) {
    return ProgramFilePath(QStringLiteral("PLC/") + fileName);
}

QString DriverFilePath(const CPLCEntity& plc) {
    return DriverFilePath(plc.GetPTCFile());
}

bool IsValidDriver(const QByteArray& driver) {
    if (driver.size() < kTrailerSize)
        return false;
    const qsizetype body = driver.size() - kTrailerSize;
    if (driver[body] != kTag[0] || driver[body + 1] != kTag[1])
        return false;
    const std::uint16_t stored =
        static_cast<std::uint16_t>(static_cast<std::uint8_t>(driver[body + 2]) |
                                   static_cast<std::uint8_t>(driver[body + 3]) << 8);
    return Crc16(reinterpret_cast<const std::uint8_t*>(driver.constData()),
                 static_cast<std::size_t>(body)) == stored;
}

bool CheckDriverFile(const QString& path) {
    // Read-only: an installed program folder need not be writable for its drivers to be valid.
    QByteArray driver;
    return QFileInfo(path).isFile() && ReadWholeFile(path, driver) && IsValidDriver(driver);
}

bool LoadDriverFile(const QString& path, QByteArray& driver) {
    return QFileInfo(path).isFile() && ReadWholeFile(path, driver);
}

void AppendDriverTrailer(QByteArray& driver) {
    const std::uint16_t crc = Crc16(driver);
    driver.append(kTag[0]);
    driver.append(kTag[1]);
    driver.append(static_cast<char>(crc & 0xFF));
    driver.append(static_cast<char>(crc >> 8));
}
