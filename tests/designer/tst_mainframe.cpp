// The main window driven through its actions: the command table's enabled states, the menus,
// the status panes, the frame list, the recent files, the placement and the save prompt.

#include "DlgCopyFrame.h"
#include "DlgDriverSetting.h"
#include "DlgNewFrame.h"
#include "FormListBrowser.h"
#include "FormListControl.h"
#include "KoravelDoc.h"
#include "MainFrm.h"
#include "PLCFactory.h"
#include "Profile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");

const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.Load(KV_BIN_DIR "/Factory.dll");
    Q_ASSERT(loaded);
    return catalog;
}

// Answers the next modal message box with `button` and keeps its text.
void Answer(QMessageBox::StandardButton button, QString* text = nullptr) {
    QTimer::singleShot(0, [button, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

// Works the next modal dialog of type D with `act`, then presses its button `button`
// ("okButton" or "cancelButton"); keeps the frame number the dialog proposed.
template <typename D>
void Work(const char* button, const std::function<void(D&)>& act = {},
          QString* proposed = nullptr) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (proposed)
            *proposed = dialog->template findChild<QLineEdit*>("frameNumber")->text();
        if (act)
            act(*dialog);
        dialog->template findChild<QPushButton*>(button)->click();
    });
}

QStringList MenuTitles(const QMainWindow& window) {
    QStringList titles;
    for (const QAction* action : window.menuBar()->actions())
        titles << action->text();
    return titles;
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase() {
        // The profile of this test, never the user's.
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_home.filePath("config"));
    }

    void init() {
        QSettings(QStringLiteral("Halvern-Koravel"), QStringLiteral("designer")).clear();
    }

    void menusInTheirOrderWithAccessKeys() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        QCOMPARE(MenuTitles(frame),
                 (QStringList{"文件(&F)", "编辑(&E)", "查看(&V)", "画面(&P)", "元件(&D)",
                              "设置(&S)", "下位机(&U)", "帮助(&H)"}));
        QCOMPARE(frame.Action("new")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(frame.Action("undo")->text(), QStringLiteral("撤销(&U)"));
        QCOMPARE(frame.Action("redo")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
        QCOMPARE(frame.Action("download")->text(), QStringLiteral("下载组态(&D) "));
        QCOMPARE(frame.Action("save")->statusTip(), QStringLiteral("保存活动文档"));
        QCOMPARE(frame.Action("save")->toolTip(), QStringLiteral("保存"));
    }

    void commandStatesBeforeAndAfterAProjectExists() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        struct State {
            const char* action;
            bool empty;   // without a project
            bool project; // with the demo open
        } const states[] = {
            {"new", true, true},
            {"open", true, true},
            {"software-update", true, true},
            {"save", false, false},
            {"save-as", false, true},
            {"change-driver", false, true},
            {"new-frame", false, true},
            {"copy-frame", false, true},
            {"delete-frame", false, true},
            {"clear-elements", false, true},
            {"panel-settings", false, true},
            {"undo", false, false},
            {"upload", false, false},
            {"serial-port", false, false},
            {"global-functions", false, false},
        };
        for (const State& s : states)
            QVERIFY2(frame.Action(s.action)->isEnabled() == s.empty, s.action);
        QVERIFY(frame.OpenProject(kDemo));
        for (const State& s : states)
            QVERIFY2(frame.Action(s.action)->isEnabled() == s.project, s.action);
    }

    void statusPanesFollowTheProject() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        QCOMPARE(frame.StatusPane(2), QStringLiteral("无协议"));
        QCOMPARE(frame.StatusPane(3), QStringLiteral("空工程路径"));
        QCOMPARE(frame.StatusPane(4), QStringLiteral("COM1:"));
        QVERIFY(frame.OpenProject(kDemo));
        QCOMPARE(frame.StatusPane(2), doc.Project().m_pCurrentPLC->GetName());
        QCOMPARE(frame.StatusPane(3), QFileInfo(kDemo).absoluteFilePath());
        QCOMPARE(frame.windowTitle(), QStringLiteral("demo.kvpr - designer"));

        // A deep path is shown shortened and does not widen the window.
        QTemporaryDir dir;
        const QString deep = dir.filePath(QStringLiteral("产线工程/").repeated(30));
        QVERIFY(QDir().mkpath(deep));
        const QString copy = QDir(deep).filePath(QStringLiteral("demo.kvpr"));
        QVERIFY(QFile::copy(kDemo, copy));
        QVERIFY(frame.OpenProject(copy));
        QCOMPARE(frame.StatusPane(3), copy);
        const auto* pane = frame.findChild<QLabel*>(QStringLiteral("statusPane3"));
        QVERIFY(pane->text().endsWith(QStringLiteral("demo.kvpr")));
        QCOMPARE(pane->toolTip(), copy);
        QVERIFY(frame.minimumSizeHint().width() < 1280);
    }

    void frameListRowsAndClicks() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        QVERIFY(frame.OpenProject(kDemo));
        CFormListControl& list = frame.FrameListBar().List();
        QCOMPARE(list.rowCount(), int(doc.Project().m_Frames.size()));
        QCOMPARE(list.item(0, 0)->text(), doc.Project().m_Frames[0]->m_strName);
        list.selectRow(1);
        QCOMPARE(doc.CurrentFrame(), doc.Project().m_Frames[1].get());
    }

    // Deleting frames from the list and undoing it brings back the same saved project.
    void deleteFromTheListAndUndo() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        QVERIFY(frame.OpenProject(kDemo));
        const QString before = doc.Project().SaveXmlText(QDateTime());
        frame.FrameListBar().List().selectAll();
        frame.Action("delete-frame")->trigger();
        QCOMPARE(doc.Project().m_Frames.size(), std::size_t(1));
        QCOMPARE(frame.windowTitle(), QStringLiteral("demo.kvpr * - designer"));
        QVERIFY(frame.Action("undo")->isEnabled());
        frame.Action("undo")->trigger();
        QCOMPARE(doc.Project().SaveXmlText(QDateTime()), before);
        QCOMPARE(frame.windowTitle(), QStringLiteral("demo.kvpr - designer"));
        QCOMPARE(frame.FrameListBar().List().rowCount(), int(doc.Project().m_Frames.size()));
    }

    void recentFilesAndTheRemovalOfOneThatNoLongerLoads() {
        QTemporaryDir dir;
        const QString copy = dir.filePath("copy.kvpr");
        QVERIFY(QFile::copy(kDemo, copy));
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        QVERIFY(frame.OpenProject(copy));
        QCOMPARE(ProfileReadString("Recent File List", "File1"), copy);
        QVERIFY(QFile::remove(copy));
        QString text;
        Answer(QMessageBox::Ok, &text);
        QVERIFY(!frame.OpenProject(copy));
        QVERIFY(text.startsWith(QStringLiteral("工程文件已经损坏，打开出错！")));
        QCOMPARE(ProfileReadString("Recent File List", "File1"), QString());
    }

    void placementOfTheFirstStartAndAStoredOne() {
        {
            CKoravelDoc doc(Catalog());
            CMainFrame frame(doc);
            frame.RestorePlacement();
            const QRect screen = QApplication::primaryScreen()->availableGeometry();
            QCOMPARE(frame.geometry(), QRect(10, 10, screen.width() / 2, screen.height() / 2));
        }
        ProfileWriteInt("Main Window", "x", 40);
        ProfileWriteInt("Main Window", "y", 50);
        ProfileWriteInt("Main Window", "cx", 700);
        ProfileWriteInt("Main Window", "cy", 500);
        ProfileWriteInt("Main Window", "State", 1);
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.RestorePlacement();
        QCOMPARE(frame.geometry(), QRect(0, 0, 700, 500));
    }

    // A modified project is offered for saving before it is closed or another opens; Cancel
    // keeps everything.
    void saveIsOfferedBeforeAModifiedProjectGoes() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.show();
        QVERIFY(frame.OpenProject(kDemo));
        frame.Action("clear-elements")->trigger();
        QVERIFY(doc.IsModified());

        QString text;
        Answer(QMessageBox::Cancel, &text);
        QVERIFY(!frame.OpenProject(kDemo));
        QCOMPARE(text,
                 QStringLiteral("将改动保存到 %1？").arg(QFileInfo(kDemo).absoluteFilePath()));
        QVERIFY(doc.IsModified());

        Answer(QMessageBox::Cancel);
        QVERIFY(!frame.close());
        QVERIFY(frame.isVisible());

        Answer(QMessageBox::No);
        QVERIFY(frame.close());
    }

    void newCancelledLeavesAnUntitledDocumentWithoutPlc() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.show();
        QVERIFY(frame.OpenProject(kDemo));
        Work<DlgDriverSetting>("cancelButton");
        frame.Action("new")->trigger();
        QVERIFY(!doc.HasPlc());
        QCOMPARE(frame.windowTitle(), QStringLiteral("无标题 - designer"));
        QCOMPARE(frame.StatusPane(2), QStringLiteral("无协议"));
        QVERIFY(!frame.Action("new-frame")->isEnabled());

        Work<DlgDriverSetting>("okButton");
        frame.Action("new")->trigger();
        QVERIFY(doc.HasPlc());
        QCOMPARE(doc.Project().m_Frames.size(), std::size_t(1));
        QCOMPARE(frame.windowTitle(), QStringLiteral("无标题 * - designer"));
    }

    // Cancelled numbers are used up: the third dialog proposes N + 2.
    void newFrameNumbersSkipCancelledOnes() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.show();
        QVERIFY(frame.OpenProject(kDemo));
        QStringList proposed;
        for (const char* button : {"cancelButton", "cancelButton", "okButton"}) {
            QString number;
            Work<DlgNewFrame>(button, {}, &number);
            frame.Action("new-frame")->trigger();
            proposed << number;
        }
        const int first = proposed[0].toInt();
        QCOMPARE(proposed, (QStringList{QString::number(first), QString::number(first + 1),
                                        QString::number(first + 2)}));
        QCOMPARE(doc.CurrentFrame()->m_nID, std::uint16_t(first + 2));
        QVERIFY(doc.IsModified());
        frame.Action("undo")->trigger();
        QVERIFY(!doc.Project().FindFrame(std::uint16_t(first + 2)));
    }

    void copyFrameOntoAnExistingNumberIsRefused() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.show();
        QVERIFY(frame.OpenProject(kDemo));
        const std::size_t frames = doc.Project().m_Frames.size();
        const QString other = doc.Project().m_Frames[1]->m_strName;
        QString message;
        Work<DlgCopyFrame>("okButton", [other](DlgCopyFrame& dialog) {
            dialog.findChild<QLineEdit*>("frameNumber")->setText(other);
        });
        QTimer::singleShot(50, [&message] { Answer(QMessageBox::Ok, &message); });
        frame.Action("copy-frame")->trigger();
        QTRY_COMPARE(message, QStringLiteral("Frame Already Exist!"));
        QCOMPARE(doc.Project().m_Frames.size(), frames);
        QVERIFY(!doc.IsModified());
    }

    void aBusyDocumentKeepsTheWindowOpen() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.show();
        doc.SetBusy(true);
        QVERIFY(!frame.close());
        doc.SetBusy(false);
        QVERIFY(frame.close());
    }
};

QTEST_MAIN(MainFrameTest)
#include "tst_mainframe.moc"
