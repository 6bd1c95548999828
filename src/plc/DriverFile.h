#pragma once

#include <QByteArray>
#include <QString>

class CPLCEntity;

// Driver files: the protocol program that the panel runs for a PLC, kept in the folder PLC of
// the program folder. A valid driver ends with "RV" and the CRC-16 of everything before the
// trailer, low byte first. The designer passes drivers on without looking inside.

// The PLC integrated in the panels of models 210 and 220. Its driver is not the catalog's
// PTCFile but the variant the panel's model asks for.
inline constexpr int kIntegratedPlcId = 3;

// Panel model codes, as the panel reports them when connected.
inline constexpr int kModelTextPanel = 200;
inline constexpr int kModelPlcPanel20 = 210;
inline constexpr int kModelPlcPanel32 = 220;

// The integrated PLC's driver files, by variant.
inline const QString kIntegratedDriver20 = QStringLiteral("3-QFLX_20.bin");
inline const QString kIntegratedDriver32 = QStringLiteral("3-QFLX_32.bin");
// The name under which the panel receives and keeps its driver, whichever it is.
inline const QString kPanelDriverName = QStringLiteral("com1prog.bin");

// The driver file a panel with an integrated PLC takes; empty for other models.
QString DriverFileForModel(int model);

QString DriverFilePath(const QString& fileName);
QString DriverFilePath(const CPLCEntity& plc);
bool IsValidDriver(const QByteArray& driver);
bool CheckDriverFile(const QString& path);
// The whole file, trailer included; false when it cannot be read.
bool LoadDriverFile(const QString& path, QByteArray& driver);
void AppendDriverTrailer(QByteArray& driver);
