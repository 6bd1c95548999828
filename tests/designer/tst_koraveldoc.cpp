// The document's commands: each one changes the project, undo gives back exactly the project
// before it (its saved text), redo exactly the one after it, and the modified state follows
// the undo stack.

#include "KoravelDoc.h"
#include "PLCFactory.h"
#include "commands/FrameCommands.h"
#include "commands/ProjectCommands.h"

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

std::uint16_t CurrentId(const CKoravelDoc& doc) {
    return doc.CurrentFrame() ? doc.CurrentFrame()->m_nID : 0;
}

// A project of frames numbered `ids`, each with one static text, saved as it is.
void MakeFrames(CKoravelDoc& doc, const QList<int>& ids) {
    doc.NewProject(Catalog().GetPLC(1), CCommPara());
    CKoravelProject& project = doc.Project();
    std::unique_ptr<CHMIFrame> initial = project.TakeFrame(0);
    for (const int id : ids) {
        CHMIFrame* frame = project.NewFrame(id, QStringLiteral("desc %1").arg(id));
        frame->AddElement(CGraphBase::CreateByType(kTypeStaticText, project.m_pCurrentPLC));
    }
    project.m_pCurrentFrame = project.m_Frames.front().get();
    doc.UndoStack().setClean();
}

} // namespace

class KoravelDocTest : public QObject {
    Q_OBJECT

private:
    // Pushes `command`, then checks undo and redo against the saved texts.
    void CheckUndoRedo(CKoravelDoc& doc, const std::function<QUndoCommand*()>& command) {
        const QString before = Saved(doc);
        doc.Push(command());
        const QString after = Saved(doc);
        QVERIFY(after != before);
        QVERIFY(doc.IsModified());
        doc.UndoStack().undo();
        QCOMPARE(Saved(doc), before);
        QVERIFY(!doc.IsModified());
        doc.UndoStack().redo();
        QCOMPARE(Saved(doc), after);
        doc.UndoStack().undo();
        QCOMPARE(Saved(doc), before);
    }

private slots:
    void deleteFrames_data() {
        QTest::addColumn<QList<int>>("frames");
        QTest::addColumn<QList<int>>("deleted");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("left");
        QTest::newRow("middle frames")
            << QList<int>{1, 2, 3, 4} << QList<int>{2, 3} << 1 << QList<int>{1, 4};
        QTest::newRow("first frames")
            << QList<int>{1, 2, 3} << QList<int>{1, 2} << 3 << QList<int>{3};
        QTest::newRow("every frame") << QList<int>{4, 7} << QList<int>{4, 7} << 1 << QList<int>{1};
    }

    void deleteFrames() {
        QFETCH(QList<int>, frames);
        QFETCH(QList<int>, deleted);
        QFETCH(int, current);
        QFETCH(QList<int>, left);
        CKoravelDoc doc(Catalog());
        MakeFrames(doc, frames);
        std::vector<CHMIFrame*> chosen;
        for (const int id : deleted)
            chosen.push_back(doc.Project().FindFrame(std::uint16_t(id)));
        CheckUndoRedo(doc, [&] { return new CmdDeleteFrames(doc, chosen); });
        // Undone, the first deleted frame is back and current, with its description.
        QCOMPARE(int(CurrentId(doc)), deleted.front());
        QCOMPARE(doc.CurrentFrame()->m_strDesc, QStringLiteral("desc %1").arg(deleted.front()));
        doc.UndoStack().redo();
        QCOMPARE(int(CurrentId(doc)), current);
        QList<int> ids;
        for (const auto& frame : doc.Project().m_Frames)
            ids << frame->m_nID;
        QCOMPARE(ids, left);
    }

    // Redo after undo after redo puts back the very frame objects, so later commands that
    // hold them stay valid.
    void deletedDefaultFrameIsTheSameObjectOnRedo() {
        CKoravelDoc doc(Catalog());
        MakeFrames(doc, {5});
        doc.Push(new CmdDeleteFrames(doc, {doc.Project().FindFrame(5)}));
        CHMIFrame* fresh = doc.CurrentFrame();
        QCOMPARE(fresh->m_nID, std::uint16_t(1));
        doc.Push(new CmdClearElements(doc, doc.Project().FindFrame(1))); // nothing to clear
        doc.UndoStack().undo();
        doc.UndoStack().undo();
        doc.UndoStack().redo();
        QCOMPARE(doc.CurrentFrame(), fresh);
    }

    void addFrameInNumberOrder() {
        CKoravelDoc doc(Catalog());
        MakeFrames(doc, {2, 10});
        auto frame = std::make_unique<CHMIFrame>();
        frame->m_nID = 7;
        frame->m_strName = QStringLiteral("7");
        CHMIFrame* added = frame.get();
        CheckUndoRedo(doc, [&] {
            return new CmdAddFrame(doc, std::move(frame), QStringLiteral("新建画面"));
        });
        doc.UndoStack().redo();
        QCOMPARE(doc.CurrentFrame(), added);
        QCOMPARE(doc.Project().PositionOf(added), 1);
        QCOMPARE(added->m_nListOrder, std::uint16_t(1));
    }

    void clearElementsOfTheDemoFrame() {
        CKoravelDoc doc(Catalog());
        QStringList messages;
        QVERIFY(doc.Load(kDemo, messages));
        CHMIFrame* frame = doc.CurrentFrame();
        QVERIFY(!frame->m_Parts.empty());
        CheckUndoRedo(doc, [&] { return new CmdClearElements(doc, frame); });
    }

    void settingsAndTheirAbsence() {
        CKoravelDoc doc(Catalog());
        MakeFrames(doc, {1});
        CKoravelSetting changed(doc.Project().m_pCurrentPLC);
        changed.m_nPassWord = 1234;
        changed.m_bUseClock = true;
        CheckUndoRedo(doc, [&] { return new CmdChangeSettings(doc, changed); });

        doc.Project().m_pSetting.reset(); // a file without settings
        doc.UndoStack().clear();
        doc.UndoStack().setClean();
        CheckUndoRedo(doc, [&] { return new CmdChangeSettings(doc, changed); });
        QVERIFY(!doc.Project().m_pSetting);
    }

    // Another PLC re-binds every address, the control registers and the alarm bit too; undo
    // puts back the old PLC's bindings exactly.
    void changeDriverRebindsAndUndoRestores() {
        CKoravelDoc doc(Catalog());
        QStringList messages;
        QVERIFY(doc.Load(kDemo, messages));
        doc.Project().EnsureAlarmList();
        doc.UndoStack().setClean();
        const CPLCEntity* before = doc.Project().m_pCurrentPLC;
        const CPLCEntity* other = Catalog().GetPLC(before->GetProtocolID() == 1 ? 2 : 1);
        CCommPara comm = doc.Project().m_CommPara;
        comm.m_nBaudRate = 19200;
        CheckUndoRedo(doc, [&] { return new CmdChangeDriver(doc, other, comm); });
        QCOMPARE(doc.Project().m_pCurrentPLC, before);
        doc.UndoStack().redo();
        QCOMPARE(doc.Project().m_pCurrentPLC, other);
        QCOMPARE(doc.Project().m_CommPara.m_nBaudRate, 19200);
    }

    void aNewProjectIsModifiedUntilSaved() {
        CKoravelDoc doc(Catalog());
        QVERIFY(!doc.HasPlc());
        QCOMPARE(doc.Title(), QStringLiteral("无标题"));
        doc.NewProject(Catalog().GetPLC(1), CCommPara());
        QVERIFY(doc.IsModified());
        QCOMPARE(doc.Project().m_Frames.size(), std::size_t(1));
        QVERIFY(doc.Project().m_pSetting);
        const QString path = QDir::temp().filePath(QStringLiteral("kv-doc-test.kvpr"));
        QVERIFY(doc.Save(path));
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.Title(), QStringLiteral("kv-doc-test.kvpr"));
        QFile::remove(path);
    }

    // A file that does not load leaves the open project as it was.
    void aFailedOpenKeepsTheProject() {
        CKoravelDoc doc(Catalog());
        QStringList messages;
        QVERIFY(doc.Load(kDemo, messages));
        const QString before = Saved(doc);
        QString reason;
        QVERIFY(!doc.Load(QStringLiteral("/nonexistent/x.kvpr"), messages, &reason));
        QVERIFY(!reason.isEmpty());
        QCOMPARE(Saved(doc), before);
        QCOMPARE(doc.Path(), QFileInfo(kDemo).absoluteFilePath());
    }
};

QTEST_MAIN(KoravelDocTest)
#include "tst_koraveldoc.moc"
