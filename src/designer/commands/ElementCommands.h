#pragma once

#include <QList>
#include <QRect>
#include <QUndoCommand>

#include <memory>
#include <utility>
#include <vector>

class CGraphBase;
class CHMIFrame;
class CKoravelDoc;

// The canvas's edits of a frame's elements. Each remembers the frame's current element and the
// canvas selection from before it and puts them back on undo; redo and undo both make the
// frame current again, so the user sees what changed.

// New elements (placed, pasted, duplicated, copied) put into a frame as AddElement puts them:
// on top, a picture at the back. Undo takes the very objects out again and holds them, so a
// redo puts the same objects back at the same positions.
class CmdAddElements : public QUndoCommand {
public:
    enum class Select { Added, Unchanged };

    CmdAddElements(CKoravelDoc& doc, CHMIFrame* frame,
                   std::vector<std::unique_ptr<CGraphBase>> elements, Select select,
                   const QString& text, QUndoCommand* parent = nullptr);
    ~CmdAddElements() override;
    void redo() override;
    void undo() override;

private:
    CKoravelDoc& m_doc;
    CHMIFrame* m_pFrame;
    std::vector<std::unique_ptr<CGraphBase>> m_held; // while not in the frame
    std::vector<CGraphBase*> m_elements;
    std::vector<int> m_positions; // ascending, where the first redo put the elements
    QList<CGraphBase*> m_selectionBefore;
    QList<CGraphBase*> m_selectionAfter;
    CGraphBase* m_pCurrentBefore;
    CGraphBase* m_pCurrentAfter = nullptr;
};

// Elements taken out of a frame (deleted or cut). The frame's new current element is selected
// afterwards, as the delete command leaves it.
class CmdRemoveElements : public QUndoCommand {
public:
    CmdRemoveElements(CKoravelDoc& doc, CHMIFrame* frame, const QList<CGraphBase*>& elements,
                      const QString& text);
    ~CmdRemoveElements() override;
    void redo() override;
    void undo() override;

private:
    CKoravelDoc& m_doc;
    CHMIFrame* m_pFrame;
    std::vector<std::pair<int, std::unique_ptr<CGraphBase>>> m_taken; // by position, ascending
    std::vector<CGraphBase*> m_elements;
    QList<CGraphBase*> m_selectionBefore;
    CGraphBase* m_pCurrentBefore;
};

// New rectangles for some elements of a frame: a drag, a copy's move, aligning, distributing,
// same width or height, arrow-key moves and resizes. Commands of one series of arrow presses
// on the same elements merge into one step.
class CmdSetRects : public QUndoCommand {
public:
    using Change = std::pair<CGraphBase*, QRect>;

    // `series` 0 never merges.
    CmdSetRects(CKoravelDoc& doc, CHMIFrame* frame, std::vector<Change> after, const QString& text,
                int series = 0, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    void Apply(const std::vector<Change>& rects);

    CKoravelDoc& m_doc;
    CHMIFrame* m_pFrame;
    std::vector<Change> m_before;
    std::vector<Change> m_after;
    QList<CGraphBase*> m_selection;
    int m_nSeries;
};

// A new drawing order of a frame's elements (the stacking commands).
class CmdRestack : public QUndoCommand {
public:
    CmdRestack(CKoravelDoc& doc, CHMIFrame* frame, std::vector<CGraphBase*> order,
               const QString& text);
    void redo() override;
    void undo() override;

private:
    void Apply(const std::vector<CGraphBase*>& order);

    CKoravelDoc& m_doc;
    CHMIFrame* m_pFrame;
    std::vector<CGraphBase*> m_before;
    std::vector<CGraphBase*> m_after;
    QList<CGraphBase*> m_selection;
};
