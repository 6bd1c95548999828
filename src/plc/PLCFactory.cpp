#include "PLCFactory.h"

#include "AtomicFile.h"
#include "Crc16.h"
#include "Markup.h"
#include "ProgramFolder.h"
#include "Scramble.h"

#include <QFileInfo>

namespace {

constexpr char kTag[] = {'R', 'V'};
constexpr qsizetype kTrailerSize = 4;

} // namespace

CPLCFactory& CPLCFactory::Instance() {
    // Created on first use and kept until the process ends.
    static CPLCFactory catalog;
    return catalog;
}

bool CPLCFactory::Load() {
    return Load(ProgramFilePath(QStringLiteral("Factory.dll")));
}

bool CPLCFactory::Load(const QString& path) {
    // Unscrambled in memory: the program folder may be read-only, and no plain copy of the
    // catalog may be left behind.
    QByteArray data;
    return ReadWholeFile(path, data) && ReadCatalog(data);
}

bool CPLCFactory::ReadCatalog(const QByteArray& scrambled) {
    QByteArray data = scrambled;
    XorScramble(data);
    CMarkup xml;
    if (!xml.SetDocumentText(
            CMarkup::DecodeUtf8(data.constData(), static_cast<std::size_t>(data.size()))))
        return false;
    if (!xml.NextElement(u"Drivers"))
        return false;
    const QString softVersion = xml.Attribute(u"SoftVersion");
    if (!softVersion.isEmpty())
        m_strSoftVersion = softVersion;
    if (!xml.NextChild(u"PLCS"))
        return false;
    xml.EnterElement();
    while (xml.NextChild(u"PLC")) {
        auto plc = std::make_unique<CPLCEntity>();
        // Only a description read before this one can be linked, so the local one comes first.
        if (!plc->LoadXml(xml, GetPLC(0)))
            continue;
        m_mapPLC[plc->GetProtocolID()] = plc.get();
        m_entities.push_back(std::move(plc));
    }
    return true;
}

const CPLCEntity* CPLCFactory::GetPLC(std::uint16_t id) const {
    const auto it = m_mapPLC.find(id);
    return it == m_mapPLC.end() ? nullptr : it->second;
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
