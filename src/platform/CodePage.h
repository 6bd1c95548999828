#pragma once

#include <QByteArray>
#include <QString>

// The few 8-bit texts of files and the USB link (file names, batch tool title and password,
// version texts) are in the code page a Chinese Windows system uses: GBK (code page 936).
// Characters that GBK cannot hold, and bytes that do not decode, become '?', so a damaged text
// never ends a conversion early.
QByteArray ToSystemCodePage(const QString& text);
QString FromSystemCodePage(const QByteArray& bytes);
