#pragma once

#include <QString>
#include <QUndoCommand>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CAlarmList;
class CGraphBase;
class CHMIFrame;
class CKoravelDoc;
class CKoravelProject;

// The frame holding `element`; null when no frame of the project holds it.
CHMIFrame* FrameOfElement(const CKoravelProject& project, const CGraphBase* element);

// A property panel's edit of one element, or of several selected elements of one kind at once.
// The change is carried out on the first redo, keeping each element's state (its memento) before
// and after it; undo and redo put that state back in place, make the frame current and select
// the elements, which shows their panel. Consecutive edits of the same property of the same
// elements are one step; an edit that changes nothing leaves no step.
class CmdChangeElement : public QUndoCommand {
public:
    using Change = std::function<void(CGraphBase&)>;

    CmdChangeElement(CKoravelDoc& doc, const std::vector<CGraphBase*>& elements,
                     const QString& property, Change change);

    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    struct State {
        CGraphBase* element;
        QString before;
        QString after;
    };

    void Restore(bool after);
    bool ChangesNothing() const;

    CKoravelDoc& m_doc;
    CHMIFrame* m_pFrame;
    QString m_strProperty;
    Change m_change; // until it has been carried out
    std::vector<State> m_states;
};

// What the frame panel edits; a frame's number is also its name and its place in the list.
struct FrameProperties {
    std::uint16_t id = 1;
    QString name;
    QString desc;
    std::int32_t prevId = 0;
    std::int32_t nextId = 0;
    std::uint32_t bkColor = 0;

    static FrameProperties Of(const CHMIFrame& frame);
    bool operator==(const FrameProperties&) const = default;
};

// An edit of the frame panel. A new number moves the frame to its place in the number order
// of the frame list; undo puts it back where it was. Consecutive edits of the same property of
// the same frame are one step.
class CmdChangeFrame : public QUndoCommand {
public:
    CmdChangeFrame(CKoravelDoc& doc, CHMIFrame* frame, const QString& property,
                   const FrameProperties& after);

    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    // The frame's place in the list and its ListOrder together with its properties.
    struct Placed {
        FrameProperties properties;
        int position = 0;
        std::uint16_t listOrder = 0;
    };

    void Apply(const Placed& state, bool show);

    CKoravelDoc& m_doc;
    CHMIFrame* m_pFrame;
    QString m_strProperty;
    Placed m_before;
    Placed m_after;
    bool m_bDone = false;
};

// The alarm list as the alarm list dialog left it when it closed with OK, in place of the
// project's (or of none). Redo and undo exchange the two objects.
class CmdChangeAlarmList : public QUndoCommand {
public:
    CmdChangeAlarmList(CKoravelDoc& doc, std::unique_ptr<CAlarmList> alarmList);
    ~CmdChangeAlarmList() override;

    void redo() override;
    void undo() override;

private:
    void Exchange();

    CKoravelDoc& m_doc;
    std::unique_ptr<CAlarmList> m_held;
};
