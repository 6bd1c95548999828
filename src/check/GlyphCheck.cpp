// Characters against the faces they are drawn in: the compiler rasterises every glyph from the
// element's face at one of the panel's sizes, so a character the face lacks reaches the panel
// as another face's glyph or as nothing, and a half-width character wider than its cell loses
// its edges.

#include "CheckContext.h"
#include "PanelText.h"

#include "FontRegistry.h"
#include "GERegister.h"
#include "GlyphLayout.h"
#include "GlyphRaster.h"
#include "KoravelProject.h"

#include <QHash>
#include <QRawFont>

#include <map>

namespace {

constexpr int kCharsNamed = 8;

// What one face can draw at one size, asked once per character.
class FaceCoverage {
public:
    bool CanDraw(const QString& face, int size, char16_t c) {
        Face& entry = Get(face, size);
        return entry.raw.isValid() && entry.raw.supportsCharacter(QChar(c));
    }

    bool Overflows(const QString& face, int size, char16_t c) {
        Face& entry = Get(face, size);
        const auto it = entry.overflows.constFind(c);
        if (it != entry.overflows.constEnd())
            return it.value();
        const bool overflows = GlyphOverflowsCell(face, size, size / 2, c);
        entry.overflows.insert(c, overflows);
        return overflows;
    }

private:
    struct Face {
        QRawFont raw;
        QHash<char16_t, bool> overflows;
    };

    Face& Get(const QString& face, int size) {
        const auto key = std::make_pair(face, size);
        auto it = m_faces.find(key);
        if (it == m_faces.end())
            it = m_faces.emplace(key, Face{QRawFont::fromFont(GlyphFont(face, size)), {}}).first;
        return it->second;
    }

    std::map<std::pair<QString, int>, Face> m_faces;
};

// “A”“B”, control characters by their code, and how many more there are.
QString CharsText(const QStringList& chars) {
    QString text;
    for (qsizetype i = 0; i < chars.size() && i < kCharsNamed; ++i) {
        const QString& c = chars[i];
        text += c.size() == 1 && !c[0].isPrint()
                    ? QStringLiteral("U+%1").arg(c[0].unicode(), 4, 16, QChar(u'0')).toUpper()
                    : QStringLiteral("“%1”").arg(c);
    }
    if (chars.size() > kCharsNamed)
        text += QStringLiteral(" 等 %1 个").arg(chars.size());
    return text;
}

struct TextGlyphs {
    QStringList missing;
    QStringList outsidePlane; // pairs of code units: the compiler encodes each unit alone
    QStringList overflowing;
};

TextGlyphs Examine(FaceCoverage& coverage, const QString& text, const QString& face, int size) {
    TextGlyphs glyphs;
    const auto note = [](QStringList& list, const QString& c) {
        if (!list.contains(c))
            list.append(c);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            note(glyphs.outsidePlane, text.mid(i, 2));
            ++i;
        } else if (c.isSurrogate() || !coverage.CanDraw(face, size, c.unicode())) {
            note(glyphs.missing, QString(c));
        } else if (c.unicode() < 128 && coverage.Overflows(face, size, c.unicode())) {
            note(glyphs.overflowing, QString(c));
        }
    }
    return glyphs;
}

void Report(const CheckContext& context, const FindingPlace& place, const QString& label,
            const TextGlyphs& glyphs, const QString& face, int size) {
    if (!glyphs.missing.isEmpty())
        context.Error(place,
                      Labelled(label, QStringLiteral("字体“%1” %2 点阵缺少 %3，面板显示错字或空白")
                                          .arg(face)
                                          .arg(size)
                                          .arg(CharsText(glyphs.missing))));
    if (!glyphs.outsidePlane.isEmpty())
        context.Error(place, Labelled(label, QStringLiteral("%1 不在基本字符集内，面板无法显示")
                                                 .arg(CharsText(glyphs.outsidePlane))));
    if (!glyphs.overflowing.isEmpty())
        context.Warning(place,
                        Labelled(label, QStringLiteral("%1 宽于 %2 像素的半角格，面板上缺一部分")
                                            .arg(CharsText(glyphs.overflowing))
                                            .arg(size / 2)));
}

void CheckSize(const CheckContext& context, const FindingPlace& place, int size) {
    if (PanelGlyphSize(size) != size)
        context.Warning(place, QStringLiteral("字号 %1 不是面板的字号，面板按 %2 点阵显示")
                                   .arg(size)
                                   .arg(PanelGlyphSize(size)));
}

// The digits the register shows, in the fixed glyphs every register font begins with.
QString RegisterChars(const CGERegister& reg) {
    const QString all = QString::fromUtf16(kRegisterGlyphs);
    return reg.m_nDataFormat == kFormatHex ? all : all.left(10) + all.mid(16);
}

} // namespace

void CheckGlyphs(const CheckContext& context) {
    FaceCoverage coverage;
    FindingPlace sized{CheckPart::kImage, -1}; // no text has this place
    for (const PanelText& text : PanelTexts(context.project)) {
        const int size = PanelGlyphSize(text.size);
        // Every text of a dynamic text or of the alarm list has the same size.
        if (text.place != sized) {
            sized = text.place;
            CheckSize(context, text.place, text.size);
        }
        // Only what the record holds reaches the panel.
        Report(context, text.place, text.label,
               Examine(coverage, CutToTextBytes(text.text), text.face, size), text.face, size);
    }
    for (const auto& frame : context.project.m_Frames) {
        for (std::size_t i = 0; i < frame->m_Parts.size(); ++i) {
            if (frame->m_Parts[i]->m_nTypeCode != kTypeRegister)
                continue;
            const auto& reg = static_cast<const CGERegister&>(*frame->m_Parts[i]);
            const FindingPlace place = FindingPlace::OfElement(*frame, static_cast<int>(i));
            const int size = PanelGlyphSize(reg.m_nFontSize);
            CheckSize(context, place, reg.m_nFontSize);
            Report(context, place, QStringLiteral("数字"),
                   Examine(coverage, RegisterChars(reg), reg.m_strFontName, size),
                   reg.m_strFontName, size);
        }
    }
}
