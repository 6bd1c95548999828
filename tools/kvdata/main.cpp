// Build-time helper: scrambles the readable PLC catalog into the program folder's Factory.dll
// and writes a placeholder driver for every driver file that the catalog names, plus the two
// variants of the integrated PLC. The catalog must load, or the build fails.
//
// Usage: kvdata CATALOG.xml OUT/Factory.dll OUT/PLC

#include "AtomicFile.h"
#include "DriverFile.h"
#include "PLCFactory.h"
#include "Scramble.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <limits>
#include <utility>

namespace {

void Fail(const QString& message) {
    std::fprintf(stderr, "kvdata: %s\n", qPrintable(message));
}

// Driver names come from the catalog; they must stay inside the driver folder.
bool IsPlainFileName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\');
}

bool WriteDriver(const QDir& folder, const QString& fileName, const QString& purpose) {
    if (!IsPlainFileName(fileName)) {
        Fail(QStringLiteral("driver name \"%1\" is not a plain file name").arg(fileName));
        return false;
    }
    QByteArray driver =
        QStringLiteral("KV250 PLC driver placeholder\n"
                       "File: %1\n"
                       "For: %2\n"
                       "This is not panel firmware. The real driver comes with the panel; "
                       "this file only lets the designer check, load and download a driver.\n")
            .arg(fileName, purpose)
            .toUtf8();
    AppendDriverTrailer(driver);
    QString error;
    if (!WriteFileAtomically(folder.filePath(fileName), driver, &error)) {
        Fail(QStringLiteral("cannot write ") + error);
        return false;
    }
    return true;
}

bool WriteDrivers(const CPLCFactory& catalog, const QString& folderPath) {
    if (!QDir().mkpath(folderPath)) {
        Fail(QStringLiteral("cannot create %1").arg(folderPath));
        return false;
    }
    const QDir folder(folderPath);
    for (int id = 0; id <= std::numeric_limits<std::uint16_t>::max(); ++id) {
        const CPLCEntity* plc = catalog.GetPLC(static_cast<std::uint16_t>(id));
        if (!plc || plc->GetPTCFile().isEmpty())
            continue;
        const QString purpose = QStringLiteral("PLC %1 \"%2\", driver version %3")
                                    .arg(id)
                                    .arg(plc->GetName())
                                    .arg(int(plc->GetVerison()));
        if (!WriteDriver(folder, plc->GetPTCFile(), purpose))
            return false;
    }
    const std::pair<QString, const char*> variants[] = {{kIntegratedDriver20, "20"},
                                                        {kIntegratedDriver32, "32"}};
    for (const auto& [fileName, variant] : variants) {
        if (!WriteDriver(folder, fileName,
                         QStringLiteral("PLC %1, panels that ask for variant %2")
                             .arg(kIntegratedPlcId)
                             .arg(QLatin1String(variant))))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        Fail(QStringLiteral("usage: kvdata CATALOG.xml OUT/Factory.dll OUT/PLC"));
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    QByteArray catalog;
    QString error;
    if (!ReadWholeFile(source, catalog, &error)) {
        Fail(QStringLiteral("cannot read ") + error);
        return 1;
    }
    XorScramble(catalog);
    CPLCFactory factory;
    if (!factory.ReadCatalog(catalog)) {
        Fail(QStringLiteral("%1 does not load as a PLC catalog").arg(source));
        return 1;
    }
    if (!WriteFileAtomically(target, catalog, &error)) {
        Fail(QStringLiteral("cannot write ") + error);
        return 1;
    }
    return WriteDrivers(factory, QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
