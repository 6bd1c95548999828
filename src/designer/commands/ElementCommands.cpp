#include "ElementCommands.h"

#include "KoravelDoc.h"

#include <algorithm>

namespace {

// Makes `frame` current when it is not, then selects `selection` on it.
void Show(CKoravelDoc& doc, CHMIFrame* frame, const QList<CGraphBase*>& selection) {
    if (doc.CurrentFrame() != frame)
        doc.ShowFrame(frame);
    doc.SetSelection(selection);
}

void SetRectExactly(CGraphBase& element, const QRect& rect) {
    element.m_nLeft = rect.x();
    element.m_nTop = rect.y();
    element.m_nWidth = rect.width();
    element.m_nHeight = rect.height();
}

QRect ExactRect(const CGraphBase& element) {
    return QRect(element.m_nLeft, element.m_nTop, element.m_nWidth, element.m_nHeight);
}

// Undo ids of the commands that merge.
constexpr int kSetRectsId = 0x4B52;

} // namespace

// --- Adding ---------------------------------------------------------------------------------

CmdAddElements::CmdAddElements(CKoravelDoc& doc, CHMIFrame* frame,
                               std::vector<std::unique_ptr<CGraphBase>> elements, Select select,
                               const QString& text, QUndoCommand* parent)
    : QUndoCommand(text, parent), m_doc(doc), m_pFrame(frame), m_held(std::move(elements)),
      m_selectionBefore(doc.Selection()), m_pCurrentBefore(frame->m_pCurrentElement) {
    for (const auto& element : m_held)
        m_elements.push_back(element.get());
    if (select == Select::Unchanged) {
        m_selectionAfter = m_selectionBefore;
    } else {
        // The one added last is the most recently selected.
        for (CGraphBase* element : m_elements)
            m_selectionAfter.prepend(element);
    }
}

CmdAddElements::~CmdAddElements() = default;

void CmdAddElements::redo() {
    if (m_positions.empty()) {
        for (auto& element : m_held)
            m_pFrame->AddElement(std::move(element));
        for (CGraphBase* element : m_elements)
            m_positions.push_back(m_pFrame->IndexOf(element));
        std::sort(m_positions.begin(), m_positions.end());
        m_pCurrentAfter = m_pFrame->m_pCurrentElement;
    } else {
        // Held in the order of their positions, so ascending inserts rebuild the same parts.
        for (std::size_t i = 0; i < m_positions.size(); ++i)
            m_pFrame->InsertElement(m_positions[i], std::move(m_held[i]));
        m_pFrame->m_pCurrentElement = m_pCurrentAfter;
    }
    m_held.clear();
    Show(m_doc, m_pFrame, m_selectionAfter);
}

void CmdAddElements::undo() {
    m_held.resize(m_positions.size());
    for (std::size_t i = m_positions.size(); i-- > 0;)
        m_held[i] = m_pFrame->TakeElement(m_positions[i]);
    m_pFrame->m_pCurrentElement = m_pCurrentBefore;
    Show(m_doc, m_pFrame, m_selectionBefore);
}

// --- Removing -------------------------------------------------------------------------------

CmdRemoveElements::CmdRemoveElements(CKoravelDoc& doc, CHMIFrame* frame,
                                     const QList<CGraphBase*>& elements, const QString& text)
    : QUndoCommand(text), m_doc(doc), m_pFrame(frame), m_elements(elements.begin(), elements.end()),
      m_selectionBefore(doc.Selection()), m_pCurrentBefore(frame->m_pCurrentElement) {}

CmdRemoveElements::~CmdRemoveElements() = default;

void CmdRemoveElements::redo() {
    std::vector<int> positions;
    for (CGraphBase* element : m_elements)
        positions.push_back(m_pFrame->IndexOf(element));
    std::sort(positions.begin(), positions.end());
    m_taken.clear();
    for (auto it = positions.rbegin(); it != positions.rend(); ++it)
        m_taken.emplace(m_taken.begin(), *it, m_pFrame->TakeElement(*it));
    // The neighbour that TakeElement made current is what the user sees selected next.
    CGraphBase* next = m_pFrame->m_pCurrentElement;
    Show(m_doc, m_pFrame, next ? QList<CGraphBase*>{next} : QList<CGraphBase*>{});
}

void CmdRemoveElements::undo() {
    for (auto& [position, element] : m_taken)
        m_pFrame->InsertElement(position, std::move(element));
    m_taken.clear();
    m_pFrame->m_pCurrentElement = m_pCurrentBefore;
    Show(m_doc, m_pFrame, m_selectionBefore);
}

// --- Rectangles -----------------------------------------------------------------------------

CmdSetRects::CmdSetRects(CKoravelDoc& doc, CHMIFrame* frame, std::vector<Change> after,
                         const QString& text, int series, QUndoCommand* parent)
    : QUndoCommand(text, parent), m_doc(doc), m_pFrame(frame), m_after(std::move(after)),
      m_selection(doc.Selection()), m_nSeries(series) {
    for (const auto& [element, rect] : m_after)
        m_before.emplace_back(element, ExactRect(*element));
}

void CmdSetRects::Apply(const std::vector<Change>& rects) {
    for (const auto& [element, rect] : rects)
        SetRectExactly(*element, rect);
    Show(m_doc, m_pFrame, m_selection);
}

void CmdSetRects::redo() {
    Apply(m_after);
}

void CmdSetRects::undo() {
    Apply(m_before);
}

int CmdSetRects::id() const {
    return m_nSeries != 0 ? kSetRectsId : -1;
}

bool CmdSetRects::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const CmdSetRects*>(other);
    if (next->m_nSeries != m_nSeries || next->m_pFrame != m_pFrame ||
        next->m_after.size() != m_after.size())
        return false;
    for (std::size_t i = 0; i < m_after.size(); ++i) {
        if (next->m_after[i].first != m_after[i].first)
            return false;
    }
    m_after = next->m_after;
    return true;
}

// --- Stacking -------------------------------------------------------------------------------

CmdRestack::CmdRestack(CKoravelDoc& doc, CHMIFrame* frame, std::vector<CGraphBase*> order,
                       const QString& text)
    : QUndoCommand(text), m_doc(doc), m_pFrame(frame), m_after(std::move(order)),
      m_selection(doc.Selection()) {
    for (const auto& part : frame->m_Parts)
        m_before.push_back(part.get());
}

void CmdRestack::Apply(const std::vector<CGraphBase*>& order) {
    std::vector<std::unique_ptr<CGraphBase>> parts;
    parts.reserve(order.size());
    for (CGraphBase* element : order) {
        auto it = std::find_if(m_pFrame->m_Parts.begin(), m_pFrame->m_Parts.end(),
                               [element](const auto& part) { return part.get() == element; });
        parts.push_back(std::move(*it));
    }
    m_pFrame->m_Parts = std::move(parts);
    Show(m_doc, m_pFrame, m_selection);
}

void CmdRestack::redo() {
    Apply(m_after);
}

void CmdRestack::undo() {
    Apply(m_before);
}
