#pragma once

#include "GraphBase.h"
#include "ModelAddress.h"
#include "TextItem.h"
#include "ValueRange.h"

#include <memory>

// One of up to 256 texts, chosen by the value of a PLC register.
class CGEDynamicTxt : public CGraphBase {
public:
    explicit CGEDynamicTxt(const CPLCEntity* plc);

    void SetFontName(const QString& face);
    void SetFontSize(int size);
    // The rectangle becomes the union of the extents of every text (empty texts add nothing).
    void RecalcSize();

    // The values an entry may take, bounded by the register's size and signedness.
    ValueRange GetValueRange() const;
    bool IsValueUsed(std::int64_t value) const { return m_pTexts->IsValueUsed(value); }
    int PositionOf(const CTextItem* item) const { return m_pTexts->PositionOf(item); }
    // The entry the canvas shows.
    const CTextItem& FirstText() const { return (*m_pTexts)[0]; }

    void Draw(QPainter& painter) override;
    void DrawLabel(QPainter& painter) override;
    std::unique_ptr<CGraphBase> Clone() const override;
    void RebindAddresses(const CPLCEntity* plc) override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml) const override;

    CPLCAddress m_Reg;
    std::unique_ptr<CTextList> m_pTexts;
    std::int32_t m_nDataFormat = kFormatDec;
    std::uint32_t m_nBkColor = 0x00FFFFFF;
    std::uint32_t m_nForeColor = 0x00FF0000;
    QString m_strFontName;
    std::int32_t m_nFontSize = 32;
};
