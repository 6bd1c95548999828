// The frame panel in the main window: each edit of the current frame is one undoable step that
// marks the project modified, the frame list follows the description and the number.

#include "PanelFixture.h"

#include "FormListBrowser.h"
#include "FormListControl.h"
#include "MainFrm.h"
#include "panels/DlgFrame.h"

#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>

using namespace panels;

namespace {

// The main window on a project of the test PLC with the frames `ids`, the first current.
struct MainWindow {
    explicit MainWindow(const QList<int>& ids) : doc(TestCatalog()), frame(doc) {
        doc.NewProject(TestPlc(), CCommPara());
        CKoravelProject& project = doc.Project();
        project.TakeFrame(0);
        for (const int id : ids)
            project.NewFrame(id, QStringLiteral("desc %1").arg(id));
        doc.UndoStack().setClean();
        frame.resize(1280, 800);
        frame.show();
        doc.NotifyFramesChanged();
        doc.ShowFrame(project.m_Frames.front().get());
    }

    QWidget* Panel() const { return &frame.FormView().FramePanel(); }
    template <typename W> W* Find(const QString& name) const {
        return Panel()->findChild<W*>(name);
    }
    QStringList Rows(int column) const {
        const CFormListControl& list = frame.FrameListBar().List();
        QStringList rows;
        for (int row = 0; row < list.rowCount(); ++row)
            rows << list.item(row, column)->text();
        return rows;
    }

    CKoravelDoc doc;
    CMainFrame frame;
};

} // namespace

class FramePanelTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_home.filePath("config"));
    }

    void showsTheCurrentFrame() {
        MainWindow window({1, 2});
        QCOMPARE(window.frame.FormView().ShownPanel(), window.Panel());
        QCOMPARE(window.Find<CNumEditCtrl>("frameNumber")->text(), QStringLiteral("1"));
        QCOMPARE(window.Find<QPlainTextEdit>("description")->toPlainText(),
                 QStringLiteral("desc 1"));
        window.doc.ShowFrame(window.doc.Project().FindFrame(2));
        QCOMPARE(window.Find<CNumEditCtrl>("frameNumber")->text(), QStringLiteral("2"));
        QCOMPARE(window.Find<CNumEditCtrl>("prevId")->text(), QStringLiteral("1"));
        QCOMPARE(window.Find<CNumEditCtrl>("nextId")->text(), QStringLiteral("3"));
    }

    // The list row changes as the user types, and the project counts as changed.
    void descriptionUpdatesTheFrameList() {
        MainWindow window({1, 2});
        auto* desc = window.Find<QPlainTextEdit>("description");
        desc->selectAll();
        TypeText(desc, QStringLiteral("主画面"));
        QCOMPARE(window.Rows(1), (QStringList{"主画面", "desc 2"}));
        QCOMPARE(window.doc.CurrentFrame()->m_strDesc, QStringLiteral("主画面"));
        QVERIFY(window.doc.IsModified());
        QVERIFY(window.frame.windowTitle().contains(u'*'));
        QCOMPARE(window.doc.UndoStack().count(), 1);
        window.doc.UndoStack().undo();
        QCOMPARE(window.Rows(1), (QStringList{"desc 1", "desc 2"}));
        QCOMPARE(desc->toPlainText(), QStringLiteral("desc 1"));
        QVERIFY(!window.doc.IsModified());
    }

    void keysAndColour() {
        MainWindow window({1, 2});
        CHMIFrame* first = window.doc.CurrentFrame();
        Type(window.Find<CNumEditCtrl>("prevId"), QStringLiteral("9"));
        Type(window.Find<CNumEditCtrl>("nextId"), QStringLiteral("70000"));
        ChooseColour(window.Find<CColorButton>("backColour"), 39); // white
        QCOMPARE(first->m_nPrevID, 9);
        QCOMPARE(first->m_nNextID, 65535);
        QCOMPARE(first->m_nBkColor, 0x00FFFFFFu);
        QCOMPARE(window.doc.UndoStack().count(), 3);
        // Undone from another frame, the frame comes back with its panel.
        window.doc.ShowFrame(window.doc.Project().FindFrame(2));
        window.doc.UndoStack().undo();
        QCOMPARE(window.doc.CurrentFrame(), first);
        QCOMPARE(window.Find<CColorButton>("backColour")->GetColor(), 0x00FFFFC0u);
        window.doc.UndoStack().undo();
        window.doc.UndoStack().undo();
        QCOMPARE(first->m_nPrevID, 0);
        QCOMPARE(window.Find<CNumEditCtrl>("prevId")->text(), QStringLiteral("0"));
    }

    // A frame's number is its place in the list: a new one sorts the list, one in use is
    // refused.
    void numberSortsTheListAndMustBeFree() {
        MainWindow window({1, 2, 3});
        CHMIFrame* first = window.doc.CurrentFrame();
        auto* number = window.Find<CNumEditCtrl>("frameNumber");
        Type(number, QStringLiteral("5"));
        QCOMPARE(first->m_nID, std::uint16_t(5));
        QCOMPARE(first->m_strName, QStringLiteral("5"));
        QCOMPARE(window.Rows(0), (QStringList{"2", "3", "5"}));
        QCOMPARE(window.doc.CurrentFrame(), first);
        QCOMPARE(window.frame.FrameListBar().List().SelectedFrames(),
                 std::vector<CHMIFrame*>{first});

        MessageAnswerer answerer;
        Type(number, QStringLiteral("3"));
        QCOMPARE(answerer.texts, QStringList{kFrameExistsMessage});
        QCOMPARE(first->m_nID, std::uint16_t(5));
        QCOMPARE(number->text(), QStringLiteral("5"));

        window.doc.UndoStack().undo();
        QCOMPARE(window.Rows(0), (QStringList{"1", "2", "3"}));
        QCOMPARE(number->text(), QStringLiteral("1"));
        QVERIFY(!window.doc.IsModified());
    }

    // The frame panel lets go of a frame that was deleted.
    void aDeletedFrameLeavesNoPanel() {
        MainWindow window({1, 2});
        CHMIFrame* second = window.doc.Project().FindFrame(2);
        window.doc.ShowFrame(second);
        auto& panel = window.frame.FormView().FramePanel();
        QCOMPARE(panel.Frame(), second);
        window.frame.FrameListBar().List().SelectFrameRow(second);
        window.frame.Action("delete-frame")->trigger();
        QVERIFY(window.doc.Project().PositionOf(second) < 0);
        QVERIFY(panel.Frame() != second);
    }
};

QTEST_MAIN(FramePanelTest)
#include "tst_framepanel.moc"
