#pragma once

#include "PLCFactory.h"
#include "Scramble.h"

#include <QString>

// Catalog fixtures are written as plain XML and read the way Factory.dll is read: scrambled.
inline QByteArray ScrambledCatalog(const QString& xml) {
    QByteArray data = xml.toUtf8();
    XorScramble(data);
    return data;
}

inline bool ReadCatalogText(CPLCFactory& catalog, const QString& xml) {
    return catalog.ReadCatalog(ScrambledCatalog(xml));
}

// A catalog holding the given PLC elements.
inline QString CatalogWith(const QString& plcs) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                          "<Drivers SoftVersion=\"2.5\"><PLCS>%1</PLCS></Drivers>")
        .arg(plcs);
}
