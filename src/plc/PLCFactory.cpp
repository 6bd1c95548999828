#include "PLCFactory.h"

#include "AtomicFile.h"
#include "Markup.h"
#include "ProgramFolder.h"
#include "Scramble.h"

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
