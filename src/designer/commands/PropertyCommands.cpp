#include "PropertyCommands.h"

#include "KoravelDoc.h"

#include <QList>

#include <algorithm>

namespace {

// Distinct from the ids of other commands, so that only edits of the same family merge.
constexpr int kChangeElementId = 0x7500;
constexpr int kChangeFrameId = 0x7501;

} // namespace

CHMIFrame* FrameOfElement(const CKoravelProject& project, const CGraphBase* element) {
    for (const auto& frame : project.m_Frames) {
        if (frame->IndexOf(element) >= 0)
            return frame.get();
    }
    return nullptr;
}

// --- Elements -------------------------------------------------------------------------------

CmdChangeElement::CmdChangeElement(CKoravelDoc& doc, const std::vector<CGraphBase*>& elements,
                                   const QString& property, Change change)
    : QUndoCommand(property), m_doc(doc),
      m_pFrame(elements.empty() ? nullptr : FrameOfElement(doc.Project(), elements.front())),
      m_strProperty(property), m_change(std::move(change)) {
    for (CGraphBase* element : elements)
        m_states.push_back({element, {}, {}});
}

int CmdChangeElement::id() const {
    return kChangeElementId;
}

bool CmdChangeElement::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const CmdChangeElement*>(other);
    if (!next || next->m_strProperty != m_strProperty || next->m_states.size() != m_states.size())
        return false;
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        if (next->m_states[i].element != m_states[i].element)
            return false;
    }
    for (std::size_t i = 0; i < m_states.size(); ++i)
        m_states[i].after = next->m_states[i].after;
    // Typed back to where it began: no step is left.
    setObsolete(ChangesNothing());
    return true;
}

bool CmdChangeElement::ChangesNothing() const {
    return std::all_of(m_states.begin(), m_states.end(),
                       [](const State& state) { return state.before == state.after; });
}

void CmdChangeElement::redo() {
    if (!m_change) {
        Restore(true);
        return;
    }
    for (State& state : m_states) {
        state.before = state.element->Memento();
        m_change(*state.element);
        state.after = state.element->Memento();
    }
    m_change = nullptr;
    if (ChangesNothing()) {
        setObsolete(true);
        return;
    }
    // The panel that made the edit shows it already; the views show the elements again.
    for (const State& state : m_states)
        m_doc.NotifyElement(state.element);
    m_doc.NotifyCanvas();
}

void CmdChangeElement::undo() {
    Restore(false);
}

void CmdChangeElement::Restore(bool after) {
    const CPLCEntity* plc = m_doc.Project().m_pCurrentPLC;
    QList<CGraphBase*> elements;
    for (const State& state : m_states) {
        state.element->RestoreMemento(after ? state.after : state.before, plc);
        elements.append(state.element);
    }
    m_doc.ShowFrame(m_pFrame);
    m_doc.SetSelection(elements);
    for (CGraphBase* element : elements)
        m_doc.NotifyElement(element);
}

// --- Frames ---------------------------------------------------------------------------------

FrameProperties FrameProperties::Of(const CHMIFrame& frame) {
    return {frame.m_nID,     frame.m_strName, frame.m_strDesc,
            frame.m_nPrevID, frame.m_nNextID, frame.m_nBkColor};
}

CmdChangeFrame::CmdChangeFrame(CKoravelDoc& doc, CHMIFrame* frame, const QString& property,
                               const FrameProperties& after)
    : QUndoCommand(property), m_doc(doc), m_pFrame(frame), m_strProperty(property) {
    m_before = {FrameProperties::Of(*frame), doc.Project().PositionOf(frame), frame->m_nListOrder};
    m_after = {after, m_before.position, m_before.listOrder};
    if (after.id != m_before.properties.id) {
        // The place in the number order among the other frames, taken as a new frame takes it.
        int position = 0;
        for (const auto& other : doc.Project().m_Frames) {
            if (other.get() != frame && other->m_nID <= after.id)
                ++position;
        }
        m_after.position = position;
        m_after.listOrder = static_cast<std::uint16_t>(position);
    }
}

int CmdChangeFrame::id() const {
    return kChangeFrameId;
}

bool CmdChangeFrame::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const CmdChangeFrame*>(other);
    if (!next || next->m_pFrame != m_pFrame || next->m_strProperty != m_strProperty)
        return false;
    m_after = next->m_after;
    setObsolete(m_after.properties == m_before.properties && m_after.position == m_before.position);
    return true;
}

void CmdChangeFrame::redo() {
    if (!m_bDone && m_after.properties == m_before.properties) {
        setObsolete(true);
        return;
    }
    Apply(m_after, m_bDone);
    m_bDone = true;
}

void CmdChangeFrame::undo() {
    Apply(m_before, true);
}

void CmdChangeFrame::Apply(const Placed& state, bool show) {
    CKoravelProject& project = m_doc.Project();
    const FrameProperties& p = state.properties;
    const bool renumbered = m_pFrame->m_nID != p.id || m_pFrame->m_strName != p.name;
    const bool described = m_pFrame->m_strDesc != p.desc;
    m_pFrame->m_nID = p.id;
    m_pFrame->m_strName = p.name;
    m_pFrame->m_strDesc = p.desc;
    m_pFrame->m_nPrevID = p.prevId;
    m_pFrame->m_nNextID = p.nextId;
    m_pFrame->m_nBkColor = p.bkColor;
    const int position = project.PositionOf(m_pFrame);
    if (position != state.position)
        project.InsertFrameAt(state.position, project.TakeFrame(position));
    m_pFrame->m_nListOrder = state.listOrder;
    project.m_pCurrentFrame = m_pFrame;

    if (show)
        m_doc.SetSelection({}); // the frame's panel, with the values put back
    if (renumbered)
        m_doc.NotifyFramesChanged();
    else if (described)
        m_doc.NotifyFrameDescription(p.id);
    m_doc.NotifyCanvas();
}

// --- Alarm list -----------------------------------------------------------------------------

CmdChangeAlarmList::CmdChangeAlarmList(CKoravelDoc& doc, std::unique_ptr<CAlarmList> alarmList)
    : QUndoCommand(QStringLiteral("报警列表")), m_doc(doc), m_held(std::move(alarmList)) {}

CmdChangeAlarmList::~CmdChangeAlarmList() = default;

void CmdChangeAlarmList::redo() {
    Exchange();
}

void CmdChangeAlarmList::undo() {
    Exchange();
}

void CmdChangeAlarmList::Exchange() {
    std::swap(m_doc.Project().m_pAlarmList, m_held);
    m_doc.NotifyCanvas();
}
