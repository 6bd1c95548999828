#pragma once

#include <QString>

// The generator's settings, kept in "batchtool_config.dll" of the program folder, section
// "batchtool".
inline constexpr char kBatchToolSettingsFile[] = "batchtool_config.dll";

struct BatchToolSettings {
    QString title;
    QString version; // kept here only; it goes into no tool
    QString password;
    bool bpass = false; // login password required
    bool busb = false;  // publish as a ZIP with the USB driver
    QString plcfile;    // the PLC ladder program
};

BatchToolSettings LoadBatchToolSettings(const QString& path);

// Writes the five values and, when it names an existing file, "plcfile"; false when the file
// cannot be written.
bool SaveBatchToolSettings(const BatchToolSettings& settings, const QString& path);
