#pragma once

#include "GraphBase.h"
#include "ModelAddress.h"

// A lamp that shows the state of one PLC bit.
class CGEIndicator : public CGraphBase {
public:
    explicit CGEIndicator(const CPLCEntity* plc);

    void Draw(QPainter& painter) override;
    void DrawLabel(QPainter& painter) override;
    std::unique_ptr<CGraphBase> Clone() const override;
    void RebindAddresses(const CPLCEntity* plc) override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml) const override;
    // The resource number of the lamp picture; 0 for a shape without one.
    virtual int LampBitmapId() const;
    virtual CPLCAddress& GetWire() { return m_Wire; }
    // Binds the bit to `type`, one of the current PLC's wire types.
    virtual void SetWireType(const CPLCRegType* type, int index);

    std::int32_t m_nLogic = 0; // 0 positive, 1 negative
    std::int32_t m_nShape = 0; // 0 round, 1 square
    std::uint32_t m_nONColor = 0x0000FF00;
    std::uint32_t m_nOFFColor = 0x000000FF;
    CPLCAddress m_Wire;
};
