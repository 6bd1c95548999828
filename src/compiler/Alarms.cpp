#include "Alarms.h"

#include "AlarmList.h"
#include "AtomicFile.h"
#include "ImageBytes.h"
#include "ProgramFolder.h"
#include "compiletext.h"

#include <QDir>

bool BuildAlarmSection(const CAlarmList& alarms, CFontRegistry& fonts, QByteArray& section,
                       QString& problem) {
    std::vector<QByteArray> texts;
    int longest = 0;
    for (const CTextItem& item : *alarms.m_pTexts) {
        if (!item.IsInUse())
            continue;
        QByteArray text;
        if (!fonts.Encode(CutToTextBytes(item.m_strContent), alarms.m_strFontName,
                          alarms.m_nFontSize, text)) {
            problem = QStringLiteral("报警列表的字体“%1”的字符超过 %2 个")
                          .arg(alarms.m_strFontName)
                          .arg(kMaxFullWidthGlyphs);
            return false;
        }
        longest = std::max(longest, static_cast<int>(text.size()));
        texts.push_back(text);
    }
    if (texts.size() > 0xFF) {
        problem = QStringLiteral("报警列表有 %1 条文字，超过 255 条").arg(texts.size());
        return false;
    }
    const int font = fonts.RegisteredFontNumber(alarms.m_strFontName);
    const PLCAddressCode code = alarms.m_Alarm.Encode();
    section.clear();
    section.append(5, '\0');
    PutU8(section, code.station);
    PutU8(section, code.typeCode);
    PutU8(section, code.address[0]);
    PutU8(section, code.address[1]);
    PutU8(section, 0);
    PutU8(section, code.subAddr);
    PutU8(section, code.shift);
    PutU8(section, static_cast<std::uint32_t>(texts.size()));
    PutU8(section, static_cast<std::uint32_t>(longest));
    AppendBE16(section, Rgb565(alarms.m_nBkColor));
    AppendBE16(section, Rgb565(alarms.m_nTxtBkColor));
    AppendBE16(section, Rgb565(alarms.m_nTxtForeColor));
    PutU8(section, alarms.m_bTextBackground ? 1 : 0);
    PutU8(section, static_cast<std::uint32_t>(font));
    PutU8(section, static_cast<std::uint32_t>(SizeIndex(alarms.m_nFontSize)));
    AppendBE32(section, 0);
    // Offsets count from the section's second byte.
    auto offset = static_cast<std::uint32_t>(26 + 4 * texts.size());
    for (const QByteArray& text : texts) {
        AppendBE32(section, offset);
        offset += static_cast<std::uint32_t>(2 + text.size());
    }
    for (const QByteArray& text : texts) {
        PutU8(section, 0);
        PutU8(section, static_cast<std::uint32_t>(text.size()));
        section.append(text);
    }
    return true;
}

void WriteAlarmFile(const QByteArray& section) {
    const QString folder = ProgramFilePath(QStringLiteral("OutPut"));
    if (QDir(folder).exists())
        WriteFileAtomically(folder + QStringLiteral("/alarm.bin"), section);
}
