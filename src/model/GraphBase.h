#pragma once

#include "ElementType.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>

class CMarkup;
class CPLCAddress;
class CPLCEntity;
class QPainter;

// The panel display: the only bounds that the clamping rules use.
inline constexpr int kPanelWidth = 480;
inline constexpr int kPanelHeight = 272;

// The `Type` text of a `Part` by type code; "" outside 1 to 8.
QString ElementKindName(int typeCode);

// Colours are colour references laid out 0x00BBGGRR.
QColor ColorFromRef(std::uint32_t colour);

// Base of every element kind. Members are public: the canvas, the property panels and the
// compiler read and write them directly.
class CGraphBase {
public:
    explicit CGraphBase(int typeCode);
    virtual ~CGraphBase() = default;
    CGraphBase(const CGraphBase&) = delete;
    CGraphBase& operator=(const CGraphBase&) = delete;

    // A new element of the kind with its class defaults, bound to `plc`; null for a type code
    // outside 1 to 8.
    static std::unique_ptr<CGraphBase> CreateByType(int typeCode, const CPLCEntity* plc);

    virtual void Draw(QPainter& painter);
    virtual void DrawLabel(QPainter& painter);
    virtual void DrawTracker(QPainter& painter) const;
    virtual bool HitTest(QPoint point) const;
    virtual void MoveBy(int dx, int dy);
    // A detached copy with the members this kind copies; CHMIFrame::AddElement puts it into a
    // frame.
    virtual std::unique_ptr<CGraphBase> Clone() const = 0;
    virtual void CopyFrom(const CGraphBase& other);
    virtual void RebindAddresses(const CPLCEntity* plc);
    // The cursor's main position is the element's `Part`.
    virtual bool LoadXml(CMarkup& xml, const CPLCEntity* plc);
    virtual bool SaveXml(CMarkup& xml) const;

    QRect GetRect() const;
    void SetRect(const QRect& rect);
    void SetRect(int left, int top, int right, int bottom);
    void SetDouble(bool on, int panelWidth = kPanelWidth, int panelHeight = kPanelHeight);
    QPoint HandlePoint(int handle) const;

    // Designer-wide annotation settings that new elements take.
    static bool s_bDefaultShowAddrLabel;
    static bool s_bDefaultShowLayerLabel;

    std::int32_t m_nLeft = 0;
    std::int32_t m_nTop = 0;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nHeight = 0;
    bool m_bDouble = false;
    bool m_bReverse = false;
    std::int32_t m_nSameColor = 1;
    std::int32_t m_nTypeCode;
    QString m_strLabelName;
    bool m_bShowAddrLabel;
    bool m_bShowLayerLabel;
    std::uint8_t m_byFrameNumber = 0;
    std::uint8_t m_byLayerNumber = 0;

protected:
    // `Part` attributes Type, ID and LabelName, then the `Position` child.
    void SavePartHead(CMarkup& xml) const;
    void SavePosition(CMarkup& xml) const;
    void LoadCommon(CMarkup& xml);
    // The annotation above the element; `address` is the main address, null for none.
    void DrawAnnotation(QPainter& painter, const CPLCAddress* address);
};
