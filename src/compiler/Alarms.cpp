#include "Alarms.h"

#include "AlarmList.h"
#include "AtomicFile.h"
#include "FontRegistry.h"
#include "ImageBytes.h"
#include "ProgramFolder.h"
#include "RecordLayout.h"
#include "RecordWriters.h"
#include "SectionLayout.h"

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
    namespace Layout = AlarmSectionLayout;
    const int font = fonts.RegisteredFontNumber(alarms.m_strFontName);
    const auto count = static_cast<std::uint32_t>(texts.size());
    section = QByteArray(Layout::kOffsets + Layout::kOffsetSize * count, '\0');
    PutBitAddress(section, Layout::kAddress, alarms.m_Alarm.Encode());
    PutU8(section, Layout::kCount, count);
    PutU8(section, Layout::kLongest, static_cast<std::uint32_t>(longest));
    PutBE16(section, Layout::kBackground, Rgb565(alarms.m_nBkColor));
    PutBE16(section, Layout::kTextBackground, Rgb565(alarms.m_nTxtBkColor));
    PutBE16(section, Layout::kTextColour, Rgb565(alarms.m_nTxtForeColor));
    PutU8(section, Layout::kTextBackgroundFlag, alarms.m_bTextBackground ? kDrawBackground : 0);
    PutU8(section, Layout::kFont, static_cast<std::uint32_t>(font));
    PutU8(section, Layout::kSizeIndex, static_cast<std::uint32_t>(SizeIndex(alarms.m_nFontSize)));
    for (std::uint32_t i = 0; i < count; ++i) {
        PutBE32(section, Layout::kOffsets + Layout::kOffsetSize * i,
                static_cast<std::uint32_t>(section.size()) - Layout::kOffsetBase);
        AppendTextItem(section, texts[i]);
    }
    return true;
}

void WriteAlarmFile(const QByteArray& section) {
    const QString folder = ProgramFilePath(QStringLiteral("OutPut"));
    if (QDir(folder).exists())
        WriteFileAtomically(folder + QStringLiteral("/alarm.bin"), section);
}
