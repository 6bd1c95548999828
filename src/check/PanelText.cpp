#include "PanelText.h"

#include "FontRegistry.h"
#include "GEDynamicTxt.h"
#include "GEStaticTxt.h"
#include "KoravelProject.h"

std::vector<PanelText> PanelTexts(const CKoravelProject& project) {
    std::vector<PanelText> texts;
    for (const auto& frame : project.m_Frames) {
        for (std::size_t i = 0; i < frame->m_Parts.size(); ++i) {
            const CGraphBase& part = *frame->m_Parts[i];
            const FindingPlace place = FindingPlace::OfElement(*frame, static_cast<int>(i));
            if (part.m_nTypeCode == kTypeStaticText) {
                const auto& text = static_cast<const CGEStaticTxt&>(part);
                texts.push_back({place, {}, text.m_strText, text.m_strFontName, text.m_nFontSize});
            } else if (part.m_nTypeCode == kTypeDynamicText) {
                const auto& dynamic = static_cast<const CGEDynamicTxt&>(part);
                for (const CTextItem& item : *dynamic.m_pTexts) {
                    if (item.IsInUse())
                        texts.push_back({place, QStringLiteral("条目 %1").arg(item.m_nID),
                                         item.m_strContent, dynamic.m_strFontName,
                                         dynamic.m_nFontSize});
                }
            }
        }
    }
    if (const CAlarmList* alarms = project.m_pAlarmList.get()) {
        int alarm = 0;
        for (const CTextItem& item : *alarms->m_pTexts) {
            if (!item.IsInUse())
                continue;
            texts.push_back({FindingPlace::Of(CheckPart::kAlarmList),
                             QStringLiteral("报警 %1").arg(alarm++), item.m_strContent,
                             alarms->m_strFontName, alarms->m_nFontSize});
        }
    }
    return texts;
}

int PanelGlyphSize(int size) {
    return PixelSize(SizeIndex(size));
}

int PanelTextWidth(const QString& text, int size) {
    const int glyph = PanelGlyphSize(size);
    int width = 0;
    for (const QChar c : CutToTextBytes(text))
        width += c.unicode() < 128 ? glyph / 2 : glyph;
    return width;
}

QString Labelled(const QString& label, const QString& message) {
    return label.isEmpty() ? message : label + QStringLiteral("：") + message;
}
