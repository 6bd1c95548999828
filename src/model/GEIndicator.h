#pragma once

#include "GraphBase.h"
#include "ModelAddress.h"

// A lamp that shows the state of one PLC bit.
class CGEIndicator : public CGraphBase {
public:
    explicit CGEIndicator(const CPLCEntity* plc);

    void Draw(QPainter& painter) const override;
    std::unique_ptr<CGraphBase> Clone() const override;
    std::unique_ptr<CGraphBase> ExactCopy() const override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml, const QString& labelName) const override;
    // The resource number of the lamp picture; 0 for a shape without one.
    virtual int LampBitmapId() const;

    std::int32_t m_nLogic = 0; // 0 positive, 1 negative
    std::int32_t m_nShape = 0; // 0 round, 1 square
    std::uint32_t m_nONColor = 0x0000FF00;
    std::uint32_t m_nOFFColor = 0x000000FF;
    CPLCAddress m_Wire;

protected:
    const CPLCAddress* KindMainAddress() const override { return &m_Wire; }
};
