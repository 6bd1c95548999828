#include "FrameCommands.h"

#include "KoravelDoc.h"

#include <algorithm>

namespace {

// Where the frame list takes a frame numbered `id`: before the first with a greater number.
int SortedPosition(const CKoravelProject& project, std::uint16_t id) {
    const auto& frames = project.m_Frames;
    const auto at = std::find_if(frames.begin(), frames.end(),
                                 [id](const auto& frame) { return frame->m_nID > id; });
    return static_cast<int>(at - frames.begin());
}

CHMIFrame* FrameAt(const CKoravelProject& project, int position) {
    if (position < 0 || position >= static_cast<int>(project.m_Frames.size()))
        return nullptr;
    return project.m_Frames[std::size_t(position)].get();
}

void MakeCurrent(CKoravelDoc& doc, CHMIFrame* frame) {
    doc.Project().m_pCurrentFrame = frame;
    doc.SetSelection({});
    doc.NotifyFramesChanged();
}

} // namespace

CmdAddFrame::CmdAddFrame(CKoravelDoc& doc, std::unique_ptr<CHMIFrame> frame, const QString& text)
    : QUndoCommand(text), m_doc(doc), m_held(std::move(frame)), m_pFrame(m_held.get()) {}

CmdAddFrame::~CmdAddFrame() = default;

void CmdAddFrame::redo() {
    CKoravelProject& project = m_doc.Project();
    m_pPrevious = project.m_pCurrentFrame;
    m_nPosition = SortedPosition(project, m_pFrame->m_nID);
    m_pFrame->m_nListOrder = static_cast<std::uint16_t>(m_nPosition);
    project.InsertFrameAt(m_nPosition, std::move(m_held));
    MakeCurrent(m_doc, m_pFrame);
}

void CmdAddFrame::undo() {
    CKoravelProject& project = m_doc.Project();
    m_held = project.TakeFrame(m_nPosition);
    MakeCurrent(m_doc, m_pPrevious);
}

CmdDeleteFrames::CmdDeleteFrames(CKoravelDoc& doc, const std::vector<CHMIFrame*>& frames)
    : QUndoCommand(QStringLiteral("删除画面")), m_doc(doc), m_frames(frames) {}

CmdDeleteFrames::~CmdDeleteFrames() = default;

void CmdDeleteFrames::redo() {
    CKoravelProject& project = m_doc.Project();
    m_pPrevious = project.m_pCurrentFrame;
    std::vector<int> positions;
    for (CHMIFrame* frame : m_frames)
        positions.push_back(project.PositionOf(frame));
    std::sort(positions.begin(), positions.end());
    CHMIFrame* next = FrameAt(project, positions.front() - 1);
    if (!next)
        next = FrameAt(project, positions.back() + 1);

    m_taken.clear();
    for (auto it = positions.rbegin(); it != positions.rend(); ++it)
        m_taken.emplace(m_taken.begin(), *it, project.TakeFrame(*it));

    if (project.m_Frames.empty()) {
        m_nCounterBefore = project.m_nFrameCounter;
        if (m_heldDefault) {
            project.InsertFrameAt(0, std::move(m_heldDefault));
            project.m_nFrameCounter = m_nCounterAfter;
        } else {
            project.m_nFrameCounter = 1;
            m_pDefault = project.CreateDefaultFrame();
            m_nCounterAfter = project.m_nFrameCounter;
        }
        next = m_pDefault;
    }
    MakeCurrent(m_doc, next);
}

void CmdDeleteFrames::undo() {
    CKoravelProject& project = m_doc.Project();
    if (m_pDefault) {
        m_heldDefault = project.TakeFrame(project.PositionOf(m_pDefault));
        project.m_nFrameCounter = m_nCounterBefore;
    }
    for (auto& [position, frame] : m_taken)
        project.InsertFrameAt(position, std::move(frame));
    CHMIFrame* first = project.m_Frames.empty() ? nullptr : FrameAt(project, m_taken.front().first);
    m_taken.clear();
    MakeCurrent(m_doc, first ? first : m_pPrevious);
}

CmdClearElements::CmdClearElements(CKoravelDoc& doc, CHMIFrame* frame)
    : QUndoCommand(QStringLiteral("清空元件")), m_doc(doc), m_pFrame(frame) {}

CmdClearElements::~CmdClearElements() = default;

void CmdClearElements::redo() {
    m_taken.clear();
    while (!m_pFrame->m_Parts.empty())
        m_taken.insert(m_taken.begin(),
                       m_pFrame->TakeElement(static_cast<int>(m_pFrame->m_Parts.size()) - 1));
    m_doc.Project().m_pCurrentFrame = m_pFrame;
    m_doc.SetSelection({});
    m_doc.NotifyFramesChanged();
}

void CmdClearElements::undo() {
    for (std::size_t i = 0; i < m_taken.size(); ++i)
        m_pFrame->InsertElement(static_cast<int>(i), std::move(m_taken[i]));
    m_taken.clear();
    m_pFrame->m_pCurrentElement = nullptr;
    m_doc.Project().m_pCurrentFrame = m_pFrame;
    m_doc.SetSelection({});
    m_doc.NotifyFramesChanged();
}
