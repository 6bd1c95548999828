#include "ModelTestSupport.h"

#include "AtomicFile.h"
#include "Scramble.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const char* const kUnitCatalog = R"(<?xml version="1.0" encoding="UTF-8"?>
<Drivers SoftVersion="7.1">
<PLCS>
<PLC ID="1" Name="Units" PTCFile="units.bin" Verison="1">
<Wires>
<Wire TypeName="X" TypeValue="1" BitWidth="1" AddrInc="1" OptMode="OM_READ"/>
<Wire TypeName="Y" TypeValue="2" BitWidth="1" AddrInc="1" OptMode="OM_READWRITE"/>
</Wires>
<Regs>
<Reg TypeName="B" TypeValue="3" BitWidth="1" AddrInc="1" OptMode="OM_READWRITE"><RegNum RegNumList="1"/></Reg>
<Reg TypeName="W" TypeValue="4" BitWidth="2" AddrInc="1" OptMode="OM_READWRITE"><RegNum RegNumList="1"/></Reg>
<Reg TypeName="L" TypeValue="5" BitWidth="2" AddrInc="2" OptMode="OM_READWRITE"><RegNum RegNumList="2"/></Reg>
</Regs>
<AlarmList>
<Wire TypeName="A" TypeValue="6" BitWidth="1" AddrInc="1" OptMode="OM_READ"/>
</AlarmList>
</PLC>
</PLCS>
</Drivers>
)";

} // namespace

QByteArray Scrambled(QByteArray bytes) {
    XorScramble(bytes);
    return bytes;
}

const CPLCFactory& ShippedCatalog() {
    static CPLCFactory catalog;
    static const bool loaded = [] {
        QByteArray source;
        ReadWholeFile(QStringLiteral(KV_SOURCE_DIR "/data/catalog/Factory.xml"), source);
        return catalog.ReadCatalog(Scrambled(source));
    }();
    (void)loaded;
    return catalog;
}

const CPLCEntity* CompactPLC() {
    return ShippedCatalog().GetPLC(2);
}

const CPLCFactory& UnitCatalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.ReadCatalog(Scrambled(QByteArray(kUnitCatalog)));
    (void)loaded;
    return catalog;
}

const CPLCEntity* UnitPLC() {
    return UnitCatalog().GetPLC(1);
}

QString Document(const QString& body) {
    return QStringLiteral("<Root>") + body + "</Root>";
}

QString SavedText(const CKoravelProject& project) {
    return project.SaveXmlText(QDateTime(QDate(2024, 3, 1), QTime(9, 5, 3)));
}

bool LoadText(CKoravelProject& project, const QString& text, QStringList* messages) {
    QStringList ignored;
    return project.LoadBytes(CMarkup::EncodeUtf8(text), ShippedCatalog(),
                             messages ? *messages : ignored);
}

QString LineOf(const QString& text, const QString& tag) {
    const QString open = u'<' + tag;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(open + u' ') || line.startsWith(open + u'>') ||
            line.startsWith(open + u'/'))
            return line;
    }
    return {};
}

QString TempPath(const QString& name) {
    static QTemporaryDir dir;
    return dir.filePath(name);
}

QByteArray ReadBytes(const QString& path) {
    QByteArray bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
