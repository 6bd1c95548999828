// The commands of the property panels: each edit is one step that undo and redo take back
// exactly (the saved project text), consecutive edits of one property merge, and undo shows
// what it changed.

#include "AlarmList.h"
#include "GEBar.h"
#include "GEStaticTxt.h"
#include "KoravelDoc.h"
#include "PLCFactory.h"
#include "commands/PropertyCommands.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");

const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.Load(KV_BIN_DIR "/Factory.dll");
    Q_ASSERT(loaded);
    return catalog;
}

QString Saved(const CKoravelDoc& doc) {
    return doc.Project().SaveXmlText(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
}

void LoadDemo(CKoravelDoc& doc) {
    QStringList messages;
    QVERIFY(doc.Load(kDemo, messages));
}

CmdChangeElement* MoveTo(CKoravelDoc& doc, CGraphBase* element, int left) {
    return new CmdChangeElement(doc, {element}, QStringLiteral("left"),
                                [left](CGraphBase& e) { e.m_nLeft = left; });
}

QList<int> FrameIds(const CKoravelDoc& doc) {
    QList<int> ids;
    for (const auto& frame : doc.Project().m_Frames)
        ids << frame->m_nID;
    return ids;
}

} // namespace

class PropertyCommandsTest : public QObject {
    Q_OBJECT

private:
    void CheckUndoRedo(CKoravelDoc& doc, QUndoCommand* command) {
        const QString before = Saved(doc);
        const bool wasModified = doc.IsModified();
        doc.Push(command);
        const QString after = Saved(doc);
        QVERIFY(after != before);
        QVERIFY(doc.IsModified());
        doc.UndoStack().undo();
        QCOMPARE(Saved(doc), before);
        QCOMPARE(doc.IsModified(), wasModified);
        doc.UndoStack().redo();
        QCOMPARE(Saved(doc), after);
    }

private slots:
    // Every kind of the demo, changed in a property of its own and in a shared one.
    void everyKindComesBackExactly() {
        CKoravelDoc doc(Catalog());
        LoadDemo(doc);
        for (const auto& frame : doc.Project().m_Frames) {
            for (const auto& part : frame->m_Parts) {
                CheckUndoRedo(doc, new CmdChangeElement(doc, {part.get()}, QStringLiteral("size"),
                                                        [](CGraphBase& e) {
                                                            e.m_nWidth += 2;
                                                            e.m_nSameColor = !e.m_nSameColor;
                                                        }));
            }
        }
    }

    void typingIntoOnePropertyIsOneStep() {
        CKoravelDoc doc(Catalog());
        LoadDemo(doc);
        CHMIFrame* frame = doc.CurrentFrame();
        CGraphBase* title = frame->m_Parts[1].get();
        CGraphBase* caption = frame->m_Parts[2].get();
        const QString before = Saved(doc);
        for (const int left : {1, 12, 123})
            doc.Push(MoveTo(doc, title, left));
        QCOMPARE(doc.UndoStack().count(), 1);
        QCOMPARE(title->m_nLeft, 123);
        // Another property or another element is another step.
        doc.Push(new CmdChangeElement(doc, {title}, QStringLiteral("top"),
                                      [](CGraphBase& e) { e.m_nTop = 7; }));
        doc.Push(MoveTo(doc, caption, 99));
        QCOMPARE(doc.UndoStack().count(), 3);
        doc.UndoStack().undo();
        doc.UndoStack().undo();
        doc.UndoStack().undo();
        QCOMPARE(Saved(doc), before);
    }

    // Typed back to where it began, or changed to what it was, the edit leaves no step.
    void anEditThatChangesNothingLeavesNoStep() {
        CKoravelDoc doc(Catalog());
        LoadDemo(doc);
        CGraphBase* title = doc.CurrentFrame()->m_Parts[1].get();
        const int left = title->m_nLeft;
        doc.Push(MoveTo(doc, title, left));
        QCOMPARE(doc.UndoStack().count(), 0);
        doc.Push(MoveTo(doc, title, left + 5));
        doc.Push(MoveTo(doc, title, left));
        QCOMPARE(doc.UndoStack().count(), 0);
        QVERIFY(!doc.IsModified());
    }

    // Saving ends a step: the next edit of the same property is undone on its own.
    void savingEndsTheMerging() {
        CKoravelDoc doc(Catalog());
        LoadDemo(doc);
        CGraphBase* title = doc.CurrentFrame()->m_Parts[1].get();
        doc.Push(MoveTo(doc, title, 20));
        doc.UndoStack().setClean();
        doc.Push(MoveTo(doc, title, 30));
        QCOMPARE(doc.UndoStack().count(), 2);
        doc.UndoStack().undo();
        QCOMPARE(title->m_nLeft, 20);
        QVERIFY(!doc.IsModified());
    }

    void undoShowsTheFrameAndSelectsTheElement() {
        CKoravelDoc doc(Catalog());
        LoadDemo(doc);
        CHMIFrame* trendFrame = doc.Project().FindFrame(2);
        CGraphBase* bar = trendFrame->m_Parts[1].get();
        doc.ShowFrame(trendFrame);
        doc.Push(MoveTo(doc, bar, 100));
        doc.ShowFrame(doc.Project().FindFrame(1));
        QSignalSpy shown(&doc, &CKoravelDoc::elementShown);
        doc.UndoStack().undo();
        QCOMPARE(doc.CurrentFrame(), trendFrame);
        QCOMPARE(doc.Selection(), QList<CGraphBase*>{bar});
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.last().at(0).value<CGraphBase*>(), bar);
        QCOMPARE(bar->m_nLeft, 10);
    }

    void severalElementsAreOneStep() {
        CKoravelDoc doc(Catalog());
        LoadDemo(doc);
        CHMIFrame* frame = doc.CurrentFrame();
        auto* title = static_cast<CGEStaticTxt*>(frame->m_Parts[1].get());
        auto* caption = static_cast<CGEStaticTxt*>(frame->m_Parts[2].get());
        const QString before = Saved(doc);
        doc.Push(new CmdChangeElement(
            doc, {title, caption}, QStringLiteral("colour"),
            [](CGraphBase& e) { static_cast<CGEStaticTxt&>(e).m_nForeColor = 0x0000FF; }));
        QCOMPARE(title->m_nForeColor, 0x0000FFu);
        QCOMPARE(caption->m_nForeColor, 0x0000FFu);
        QCOMPARE(doc.UndoStack().count(), 1);
        doc.UndoStack().undo();
        QCOMPARE(Saved(doc), before);
        QCOMPARE(doc.Selection(), (QList<CGraphBase*>{title, caption}));
    }

    // A new number moves the frame to its place among the others; undo puts it back with its
    // ListOrder, so the file is as it was.
    void aNewFrameNumberSortsTheFrameList() {
        CKoravelDoc doc(Catalog());
        LoadDemo(doc);
        CHMIFrame* first = doc.Project().FindFrame(1);
        QSignalSpy rebuilt(&doc, &CKoravelDoc::framesChanged);
        FrameProperties after = FrameProperties::Of(*first);
        after.id = 5;
        after.name = QStringLiteral("5");
        CheckUndoRedo(doc, new CmdChangeFrame(doc, first, QStringLiteral("number"), after));
        QCOMPARE(FrameIds(doc), (QList<int>{2, 3, 5}));
        QCOMPARE(doc.Project().PositionOf(first), 2);
        QCOMPARE(first->m_nListOrder, std::uint16_t(2));
        QCOMPARE(doc.CurrentFrame(), first);
        QVERIFY(!rebuilt.isEmpty());
        doc.UndoStack().undo();
        QCOMPARE(FrameIds(doc), (QList<int>{1, 2, 3}));
        QCOMPARE(doc.Project().FindFrame(1), first);

        // Among frames of the same number, after them.
        CHMIFrame* last = doc.Project().FindFrame(3);
        after = FrameProperties::Of(*last);
        after.id = 1;
        after.name = QStringLiteral("1a");
        doc.Push(new CmdChangeFrame(doc, last, QStringLiteral("number"), after));
        QCOMPARE(FrameIds(doc), (QList<int>{1, 1, 2}));
        QCOMPARE(doc.Project().PositionOf(last), 1);
    }

    void descriptionTypingIsOneStepAndUpdatesTheList() {
        CKoravelDoc doc(Catalog());
        LoadDemo(doc);
        CHMIFrame* frame = doc.Project().FindFrame(2);
        QSignalSpy described(&doc, &CKoravelDoc::frameDescriptionChanged);
        FrameProperties after = FrameProperties::Of(*frame);
        for (const QString& desc :
             {QStringLiteral("L"), QStringLiteral("Le"), QStringLiteral("Lev")}) {
            after.desc = desc;
            doc.Push(new CmdChangeFrame(doc, frame, QStringLiteral("desc"), after));
        }
        QCOMPARE(doc.UndoStack().count(), 1);
        QCOMPARE(frame->m_strDesc, QStringLiteral("Lev"));
        QCOMPARE(described.count(), 3);
        QCOMPARE(described.last().at(0).value<std::uint16_t>(), std::uint16_t(2));
        doc.ShowFrame(doc.Project().FindFrame(1));
        doc.UndoStack().undo();
        QCOMPARE(frame->m_strDesc, QStringLiteral("Trend"));
        QCOMPARE(doc.CurrentFrame(), frame);
        QVERIFY(doc.Selection().isEmpty());
    }

    void theAlarmListIsExchangedWhole() {
        CKoravelDoc doc(Catalog());
        doc.NewProject(Catalog().GetPLC(2), CCommPara());
        doc.UndoStack().setClean();
        auto list = std::make_unique<CAlarmList>(doc.Project().m_pCurrentPLC);
        (*list->m_pTexts)[0].m_strContent = QStringLiteral("过热");
        CAlarmList* pushed = list.get();
        CheckUndoRedo(doc, new CmdChangeAlarmList(doc, std::move(list)));
        QCOMPARE(doc.Project().m_pAlarmList.get(), pushed);
        doc.UndoStack().undo();
        QVERIFY(!doc.Project().m_pAlarmList);
    }
};

QTEST_MAIN(PropertyCommandsTest)
#include "tst_propertycommands.moc"
