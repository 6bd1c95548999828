#pragma once

#include <QByteArray>
#include <QString>

class CAlarmList;
class CFontRegistry;

// The alarm section: the alarm bit address, the look of the alarm screen and the texts with
// non-empty content, encoded in the list's font. False when a count would overflow its byte
// or the font its glyph numbers; `problem` says which.
bool BuildAlarmSection(const CAlarmList& alarms, CFontRegistry& fonts, QByteArray& section,
                       QString& problem);

// Writes the section to "OutPut/alarm.bin" in the program folder. A missing folder or a file
// that cannot be written only loses the file.
void WriteAlarmFile(const QByteArray& section);
