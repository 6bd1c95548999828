#pragma once

#include "PLCEntity.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

// The PLC driver catalog: every PLC description of "Factory.dll" in the program folder, read
// once at start-up. Descriptions stay alive until the process ends, so documents and addresses
// may keep pointers to them.
class CPLCFactory {
public:
    // The one catalog of the process, empty until it is loaded.
    static CPLCFactory& Instance();

    // A catalog of its own (the process-wide one is Instance()).
    CPLCFactory() = default;
    CPLCFactory(const CPLCFactory&) = delete;
    CPLCFactory& operator=(const CPLCFactory&) = delete;

    // Reads "Factory.dll" from the program folder.
    bool Load();
    bool Load(const QString& path);
    // Reads a catalog from its scrambled bytes. Succeeds when the text is well-formed XML with
    // the elements Drivers and PLCS; a description with an ID met before replaces it.
    bool ReadCatalog(const QByteArray& scrambled);

    // The description with `id`, or none.
    const CPLCEntity* GetPLC(std::uint16_t id) const;
    // Number of descriptions, the local one included.
    int GetCount() const { return static_cast<int>(m_mapPLC.size()); }
    const QString& GetSoftVersion() const { return m_strSoftVersion; }

private:
    QString m_strSoftVersion = QStringLiteral("1.0");
    std::map<std::uint16_t, const CPLCEntity*> m_mapPLC;
    // Owns every description read, also those replaced in the map: descriptions read after a
    // replaced local description still link to it.
    std::vector<std::unique_ptr<CPLCEntity>> m_entities;
};
