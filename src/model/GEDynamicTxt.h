#pragma once

#include "ModelAddress.h"
#include "TextElement.h"
#include "TextItem.h"
#include "ValueRange.h"

#include <memory>

// One of up to 256 texts, chosen by the value of a PLC register.
class CGEDynamicTxt : public CTextElement {
public:
    explicit CGEDynamicTxt(const CPLCEntity* plc);
    // Every property, the texts in a list of the copy's own.
    CGEDynamicTxt(const CGEDynamicTxt& other);

    // The rectangle becomes the union of the extents of every text (empty texts add nothing).
    void RecalcSize() override;

    // The values an entry may take, bounded by the register's size and signedness.
    ValueRange GetValueRange() const;
    bool IsValueUsed(std::int64_t value) const { return m_pTexts->IsValueUsed(value); }
    // The entry the canvas shows.
    const CTextItem& FirstText() const { return (*m_pTexts)[0]; }

    void Draw(QPainter& painter) const override;
    std::unique_ptr<CGraphBase> Clone() const override;
    std::unique_ptr<CGraphBase> ExactCopy() const override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml, const QString& labelName) const override;

    CPLCAddress m_Reg;
    std::unique_ptr<CTextList> m_pTexts;
    std::int32_t m_nDataFormat = kFormatDec;

protected:
    const CPLCAddress* KindMainAddress() const override { return &m_Reg; }
};
