#pragma once

#include <QString>

// The installed designer's version texts, read from the version component "GXGetVersion.so"
// in the program folder. The component is loaded only while it is read.
struct VersionTexts {
    bool loaded = false; // false: the component is missing or does not load
    QString version;     // compared with the server's; "1.0.1000.100" without the component
    QString display;     // shown to the user; empty without the component
};

// The version the designer reports when it has no component of its own.
inline const QString kFallbackVersion = QStringLiteral("1.0.1000.100");

VersionTexts ReadVersionComponent(const QString& programFolder);
