#pragma once

#include <QString>

// The application's profile (recent files, window placement, serial port, last PLC), kept where
// the desktop keeps application settings (QSettings, organisation "Halvern-Koravel",
// application "designer"). Values live under "section/entry".
QString ProfileReadString(const QString& section, const QString& entry, const QString& def = {});
int ProfileReadInt(const QString& section, const QString& entry, int def);
void ProfileWriteString(const QString& section, const QString& entry, const QString& value);
void ProfileWriteInt(const QString& section, const QString& entry, int value);
