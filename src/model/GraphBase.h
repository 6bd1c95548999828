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
// The kind's name as the designer's tables show it ("静态文字", "寄存器", ...).
QString ElementKindTitle(int typeCode);

// Colours are colour references laid out 0x00BBGGRR.
QColor ColorFromRef(std::uint32_t colour);

// The designer's two annotation switches: above each element its main address, and its layer
// (its 0-based position in its frame). They decide what is drawn and the `LabelName` a saved
// file records.
struct AnnotationFlags {
    bool address = false;
    bool layer = false;
};

// Base of every element kind. Members are public: the canvas, the property panels and the
// compiler read and write them directly.
class CGraphBase {
public:
    explicit CGraphBase(int typeCode);
    virtual ~CGraphBase() = default;
    CGraphBase& operator=(const CGraphBase&) = delete;

    // A new element of the kind with its class defaults, bound to `plc`; null for a type code
    // outside 1 to 8.
    static std::unique_ptr<CGraphBase> CreateByType(int typeCode, const CPLCEntity* plc);

    // The element's exact state: its `Part` element as the project file stores it, without the
    // annotation text, which follows from the state. Undo and the clipboard keep elements so.
    QString Memento() const;
    // A new element in the state of `memento`; null when the text is no element.
    static std::unique_ptr<CGraphBase> FromMemento(const QString& memento, const CPLCEntity* plc);
    // Puts this element back into the state of `memento`, in place, so that whoever holds the
    // element keeps it. False, changing nothing, when the memento is not one of this kind.
    bool RestoreMemento(const QString& memento, const CPLCEntity* plc);

    // The element itself, without its annotation.
    virtual void Draw(QPainter& painter) const;
    virtual void DrawTracker(QPainter& painter) const;
    virtual bool HitTest(QPoint point) const;
    virtual void MoveBy(int dx, int dy);
    // A detached copy with the members this kind copies; CHMIFrame::AddElement puts it into a
    // frame.
    virtual std::unique_ptr<CGraphBase> Clone() const = 0;
    // Every property as it is, for a detached copy of the whole project (a clone leaves some at
    // their defaults, as a pasted element has them).
    virtual std::unique_ptr<CGraphBase> ExactCopy() const = 0;
    virtual void CopyFrom(const CGraphBase& other);
    // Binds the element's addresses to `plc` after the project's PLC changed; the base binds the
    // main address.
    virtual void RebindAddresses(const CPLCEntity* plc);
    // The cursor's main position is the element's `Part`.
    virtual bool LoadXml(CMarkup& xml, const CPLCEntity* plc);
    // `labelName` is the annotation text the file records (AnnotationText).
    virtual bool SaveXml(CMarkup& xml, const QString& labelName) const;

    // The address that the annotation shows and the address panel edits; null for a static
    // text, a picture and a jump key.
    const CPLCAddress* MainAddress() const { return KindMainAddress(); }
    CPLCAddress* MainAddress() { return const_cast<CPLCAddress*>(KindMainAddress()); }

    // "D7", "(3)" or "D7 (3)" for the element at `layer` of its frame; "" when nothing is
    // shown. A picture has no annotation.
    QString AnnotationText(AnnotationFlags flags, int layer) const;
    // The annotation in red above the element, its bottom on the element's top edge.
    void DrawLabel(QPainter& painter, AnnotationFlags flags, int layer) const;

    QRect GetRect() const;
    // `rect` moved, keeping its size, to lie inside (0, 0, width, height): a left edge below 0
    // moves it right to 0, then a right edge beyond `width` moves it left to end there (so a
    // rectangle wider than the panel ends aligned right); the same vertically.
    static QRect ShiftedIntoPanel(QRect rect, int width = kPanelWidth, int height = kPanelHeight);
    void SetRect(const QRect& rect);
    void SetRect(int left, int top, int right, int bottom);
    void SetDouble(bool on, int panelWidth = kPanelWidth, int panelHeight = kPanelHeight);
    QPoint HandlePoint(int handle) const;

    std::int32_t m_nLeft = 0;
    std::int32_t m_nTop = 0;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nHeight = 0;
    bool m_bDouble = false;
    bool m_bReverse = false;
    std::int32_t m_nSameColor = 1;
    std::int32_t m_nTypeCode;

protected:
    // Only for a kind's ExactCopy: a copy that is not of the whole kind would lose properties.
    CGraphBase(const CGraphBase&) = default;

    virtual const CPLCAddress* KindMainAddress() const;
    // `Part` attributes Type, ID and LabelName, then the `Position` child.
    void SavePartHead(CMarkup& xml, const QString& labelName) const;
    void SavePosition(CMarkup& xml) const;
    void LoadCommon(CMarkup& xml);
    // `Attrib` with Double and Reverse, which every kind but the picture begins with.
    void SaveAttrib(CMarkup& xml) const;
    // Double and Reverse of `Attrib`; false when the element has no `Attrib`.
    bool LoadAttrib(CMarkup& xml);
    // ForeColor and BkColor of the current child.
    static void SaveColours(CMarkup& xml, std::uint32_t foreColor, std::uint32_t bkColor);

private:
    // Left, Top, Width and Height of the current child, a `Position`.
    void ReadRectangle(const CMarkup& xml);
    // LoadXml, then the rectangle exactly as recorded.
    bool LoadState(CMarkup& xml, const CPLCEntity* plc);
};
