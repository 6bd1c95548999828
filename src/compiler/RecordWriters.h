#pragma once

#include "FontRegistry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

class CGraphBase;
class CHMIFrame;
struct PLCAddressCode;

// The frame table, the element index and the element records. The writers live here rather
// than in the model's element classes, so that the model knows nothing of the image format.

// What a record needs from the compile beyond its element.
struct RecordContext {
    CFontRegistry& fonts;
    int pictureNumber = 0;     // picture elements compiled so far
    int trendNumber = 0;       // this trend's number within its frame
    int trendCount = 0;        // trends of the frame
    QStringList keyPictures{}; // the key pictures named so far, by "_UP"/"_DOWN" pairs
};

// The frame's record of the frame table; `indexAddress` is where its first index entry lies.
void AppendFrameRecord(const CHMIFrame& frame, std::uint32_t indexAddress, QByteArray& frames);

// Appends the element's record to `records` and its index entry (type code, offset of the
// record in `records`) to `index`. False when a field cannot hold what the element asks for;
// `problem` then says what.
bool AppendElementRecord(const CGraphBase& element, RecordContext& context, QByteArray& index,
                         QByteArray& records, QString& problem);

// The bit address block of a lamp's record and of the alarm section, put at `at`.
void PutBitAddress(QByteArray& out, qsizetype at, const PLCAddressCode& code);

// A text of a dynamic text's item list or of the alarm section: a 0 byte, the text-byte count,
// the text bytes.
void AppendTextItem(QByteArray& out, const QByteArray& text);

// The number a function key's record carries for its key picture: kKeyPictureBase + the position
// of its "_UP" name in the compile's key-picture list, which grows by "_UP"/"_DOWN" pairs.
std::uint16_t KeyPictureNumber(int comboBoxId, QStringList& keyPictures);
