#include "SelectTool.h"

#include "KoravelDoc.h"
#include "KoravelWnd.h"
#include "commands/ElementCommands.h"

void CSelectTool::PrepareMove(CKoravelWnd& wnd, CGraphBase* element, QPoint point) {
    wnd.setCursor(Qt::SizeAllCursor);
    wnd.m_mode = CKoravelWnd::Mode::Moving;
    m_pLeader = element;
    m_leaderStart = element->GetRect();
    m_grab = point - m_leaderStart.topLeft();
    wnd.m_outline = m_leaderStart;
    wnd.m_bOutlineVisible = true;
}

void CSelectTool::OnLButtonDown(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) {
    m_dragOrigin = m_lastDrag = point;
    m_bDuplicate = false;
    m_bSnapped = false;
    if (wnd.m_mode == CKoravelWnd::Mode::Moving && wnd.m_bOutlineVisible) {
        wnd.setCursor(Qt::SizeAllCursor);
        return;
    }
    wnd.setCursor(Qt::ArrowCursor);
    CKoravelDoc& doc = wnd.m_doc;
    const QList<CGraphBase*> selection = doc.Selection();
    for (CGraphBase* element : selection)
        PrepareMove(wnd, element, point);

    CHMIFrame* frame = wnd.Frame();
    CGraphBase* hit = frame ? frame->ElementAt(point) : nullptr;
    if (hit && (keys & Qt::ShiftModifier)) {
        // Shift adds an element to the selection or takes it out, and moves nothing.
        QList<CGraphBase*> changed = selection;
        if (!changed.removeOne(hit))
            changed.prepend(hit);
        doc.SetSelection(changed);
        wnd.EndTool();
        return;
    }
    if (hit) {
        if (wnd.m_mode == CKoravelWnd::Mode::Moving && !selection.isEmpty() &&
            !selection.contains(hit))
            wnd.ClearSelection();
        PrepareMove(wnd, hit, point);
        wnd.Select(hit, false);
        m_bDuplicate = (keys & Qt::ControlModifier) != 0;
        return;
    }
    wnd.ClearSelection();
    wnd.m_bOutlineVisible = false;
    m_pLeader = nullptr;
    wnd.m_mode = CKoravelWnd::Mode::RubberBand;
}

void CSelectTool::OnMouseMove(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) {
    m_lastDrag = point;
    if (wnd.m_bOutlineVisible && wnd.m_mode == CKoravelWnd::Mode::Moving && m_pLeader) {
        wnd.setCursor(Qt::SizeAllCursor);
        const QRect moved = ShiftInside(QRect(point - m_grab, wnd.m_outline.size()));
        const QList<CGraphBase*> moving = wnd.m_doc.Selection();
        wnd.m_outline = wnd.SnapOutline(moved, moving, keys);
        // A snapped outline decides the offset; otherwise the mouse does, as far as it went.
        m_bSnapped = wnd.SnapActive(keys);
        m_snappedOffset = wnd.m_outline.topLeft() - m_leaderStart.topLeft();
    } else {
        wnd.setCursor(Qt::ArrowCursor);
    }
    wnd.update();
}

const CGraphBase* CSelectTool::DraggedElement() const {
    return m_pLeader && m_lastDrag != m_dragOrigin && !m_bDuplicate ? m_pLeader : nullptr;
}

QPoint CSelectTool::DragOffset() const {
    return m_bSnapped ? m_snappedOffset : m_lastDrag - m_dragOrigin;
}

void CSelectTool::Drop(CKoravelWnd& wnd) {
    CKoravelDoc& doc = wnd.m_doc;
    CHMIFrame* frame = wnd.Frame();
    const QList<CGraphBase*> selection = doc.Selection();
    if (!frame || selection.isEmpty())
        return;
    const QPoint offset = DragOffset();
    std::vector<CmdSetRects::Change> moves;
    for (CGraphBase* element : selection) {
        const QRect moved = DragClamp(element->GetRect(), offset.x(), offset.y());
        if (moved != element->GetRect())
            moves.emplace_back(element, moved);
    }
    if (!m_bDuplicate) {
        if (!moves.empty())
            doc.Push(new CmdSetRects(doc, frame, std::move(moves), QStringLiteral("移动元件")));
        return;
    }
    // The copies stay where the elements were; the elements themselves move.
    auto* duplicate = new QUndoCommand(QStringLiteral("复制元件"));
    std::vector<std::unique_ptr<CGraphBase>> copies;
    for (CGraphBase* element : selection)
        copies.push_back(element->Clone());
    new CmdAddElements(doc, frame, std::move(copies), CmdAddElements::Select::Unchanged, {},
                       duplicate);
    if (!moves.empty())
        new CmdSetRects(doc, frame, std::move(moves), {}, 0, duplicate);
    doc.Push(duplicate);
}

void CSelectTool::OnLButtonUp(CKoravelWnd& wnd, QPoint, Qt::KeyboardModifiers) {
    if (wnd.m_mode == CKoravelWnd::Mode::Moving)
        Drop(wnd);
    m_grab = m_dragOrigin = m_lastDrag = QPoint();
    m_pLeader = nullptr;
    m_bDuplicate = false;
    m_bSnapped = false;
    wnd.EndTool();
}
