#pragma once

#include <QString>

// The program folder is the folder of the running executable: the base of every relative path
// (catalog, drivers, logs, INI files, outputs).
QString ProgramFolder();

// `relative` resolved against the program folder ("PLC/1-MODBUS.bin" -> "/opt/kv250/PLC/...").
QString ProgramFilePath(const QString& relative);
