#pragma once

#include <QUndoCommand>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class CGraphBase;
class CHMIFrame;
class CKoravelDoc;

// A new or copied frame, put into the frame list by its number. Undo takes it out again and
// keeps it, so that redo puts back the very same frame.
class CmdAddFrame : public QUndoCommand {
public:
    CmdAddFrame(CKoravelDoc& doc, std::unique_ptr<CHMIFrame> frame, const QString& text);
    ~CmdAddFrame() override;
    void redo() override;
    void undo() override;

private:
    CKoravelDoc& m_doc;
    std::unique_ptr<CHMIFrame> m_held; // while undone
    CHMIFrame* m_pFrame;
    CHMIFrame* m_pPrevious = nullptr;
    int m_nPosition = 0;
};

// Frames deleted together. The frame before the first becomes current, else the one after the
// last; when none is left, the project gets a new default frame numbered 1.
class CmdDeleteFrames : public QUndoCommand {
public:
    CmdDeleteFrames(CKoravelDoc& doc, const std::vector<CHMIFrame*>& frames);
    ~CmdDeleteFrames() override;
    void redo() override;
    void undo() override;

private:
    CKoravelDoc& m_doc;
    std::vector<CHMIFrame*> m_frames;
    std::vector<std::pair<int, std::unique_ptr<CHMIFrame>>> m_taken; // by position, ascending
    CHMIFrame* m_pPrevious = nullptr;
    CHMIFrame* m_pDefault = nullptr;
    std::unique_ptr<CHMIFrame> m_heldDefault;
    std::uint16_t m_nCounterBefore = 0;
    std::uint16_t m_nCounterAfter = 0;
};

// Every element of a frame removed at once.
class CmdClearElements : public QUndoCommand {
public:
    CmdClearElements(CKoravelDoc& doc, CHMIFrame* frame);
    ~CmdClearElements() override;
    void redo() override;
    void undo() override;

private:
    CKoravelDoc& m_doc;
    CHMIFrame* m_pFrame;
    std::vector<std::unique_ptr<CGraphBase>> m_taken; // in drawing order
};
