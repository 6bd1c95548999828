#pragma once

#include "GraphBase.h"

#include <QString>

#include <memory>
#include <vector>

class CPLCEntity;

// One screen of the panel: its elements in drawing order (the first at the back).
class CHMIFrame {
public:
    CHMIFrame() = default;
    CHMIFrame(const CHMIFrame&) = delete;
    CHMIFrame& operator=(const CHMIFrame&) = delete;

    // Appends on top and makes it the current element; a picture goes to the back at once.
    CGraphBase* AddElement(std::unique_ptr<CGraphBase> element);
    // Puts `element` exactly at `position` (0 is the back; clamped to the parts) and makes it
    // the current element. Undo puts elements back so.
    CGraphBase* InsertElement(int position, std::unique_ptr<CGraphBase> element);
    // Takes the element at `position` out of the frame and hands it over; the current element
    // becomes the neighbour before, else after, else none. Null for a position outside the
    // parts.
    std::unique_ptr<CGraphBase> TakeElement(int position);
    void MoveToBack(CGraphBase* element);
    // The topmost element under `point`.
    CGraphBase* ElementAt(QPoint point) const;
    std::uint8_t CountTrends() const;
    // A frame with the source's Desc and detached copies of its elements; every other member
    // keeps its initial value for the caller to set.
    std::unique_ptr<CHMIFrame> CloneFrame() const;
    // The element's position in the parts, which is also its layer; -1 when not in the frame.
    int IndexOf(const CGraphBase* element) const;

    // The cursor's main element is `Frames`; appends one `Frame`. `annotations` decide each
    // element's `LabelName`.
    bool SaveXml(CMarkup& xml, AnnotationFlags annotations) const;
    // The cursor's current child is a `Frame`; false when the frame must be dropped (no
    // `Parts`, or an element of unknown kind). Pictures take their pixel bytes from
    // `pictureBytesLeft`; one that no longer fits is dropped like a damaged one.
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc, qsizetype& pictureBytesLeft);

    CGraphBase* m_pCurrentElement = nullptr;
    std::vector<std::unique_ptr<CGraphBase>> m_Parts;
    std::uint16_t m_nListOrder = 0;
    QString m_strName;
    QString m_strDesc;
    std::int32_t m_nPrevID = 0;
    std::int32_t m_nNextID = 2;
    std::uint16_t m_nID = 1;
    std::uint32_t m_nBkColor = 0x00FFFFC0;
};
