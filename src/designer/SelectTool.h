#pragma once

#include "CanvasTool.h"

#include <QRect>

class CGraphBase;

// Selects by click and by rubber band, moves the selection by dragging (the element under the
// mouse leads, its outline follows the mouse) and duplicates it with Ctrl held.
class CSelectTool : public CCanvasTool {
public:
    void OnLButtonDown(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) override;
    void OnMouseMove(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) override;
    void OnLButtonUp(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) override;

    // The element that the outline stands for while it is dragged away; null otherwise.
    const CGraphBase* DraggedElement() const;
    // The offset that a drop now would move the selection by.
    QPoint DragOffset() const;

private:
    void PrepareMove(CKoravelWnd& wnd, CGraphBase* element, QPoint point);
    void Drop(CKoravelWnd& wnd);

    QPoint m_dragOrigin;
    QPoint m_lastDrag;
    QPoint m_grab;
    CGraphBase* m_pLeader = nullptr;
    QRect m_leaderStart;
    bool m_bDuplicate = false;
    bool m_bSnapped = false;
    QPoint m_snappedOffset;
};
