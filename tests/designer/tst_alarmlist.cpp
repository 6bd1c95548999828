// The alarm list dialog: its grid names each alarm bit, its settings reach the project as one
// undoable step on OK and not at all on Cancel; the command is there while a frame is.

#include "PanelFixture.h"

#include "AlarmList.h"
#include "EditableGrid.h"
#include "MainFrm.h"
#include "panels/DlgAlarmList.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>

#include <functional>

using namespace panels;

namespace {

QStringList Labels(const CEditableGrid* grid, int count) {
    QStringList labels;
    for (int row = 0; row < count; ++row)
        labels << grid->GetCellText(row, 0);
    return labels;
}

// Runs the alarm list command of `doc`, with `use` doing what the user does in the dialog.
void RunCommand(CKoravelDoc& doc, const std::function<void(DlgAlarmList&)>& use) {
    QTimer::singleShot(0, [use] {
        auto* dialog = qobject_cast<DlgAlarmList*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        use(*dialog);
    });
    EditAlarmList(doc, nullptr);
}

void Press(DlgAlarmList& dialog, const char* button) {
    dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

} // namespace

class AlarmListTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_home.filePath("config"));
        RegisterFontSubstitutions();
    }

    void theGridNamesEachAlarmBit() {
        DlgAlarmList dialog(nullptr, TestPlc());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("报警列表"));
        auto* grid = dialog.findChild<CEditableGrid*>("alarmTexts");
        QCOMPARE(grid->rowCount(), 256);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("线图"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("报警内容"));
        QCOMPARE(Labels(grid, 2), (QStringList{"X0", "X1"}));
        Type(dialog.findChild<CNumEditCtrl*>("address"), QStringLiteral("10"));
        QCOMPARE(Labels(grid, 3), (QStringList{"X10", "X11", "X12"}));
        QCOMPARE(grid->GetCellText(255, 0), QStringLiteral("X265"));
        Choose(dialog.findChild<QComboBox*>("addressType"), 1);
        QCOMPARE(Labels(grid, 2), (QStringList{"M10", "M11"}));
        QCOMPARE(dialog.AlarmList().m_Alarm.GetTypeName(), QStringLiteral("M"));
        // Typed beyond the type's bounds, the address stops at the last bit.
        Type(dialog.findChild<CNumEditCtrl*>("address"), QStringLiteral("9999"));
        QCOMPARE(dialog.findChild<CNumEditCtrl*>("address")->text(), QStringLiteral("7679"));
    }

    void okIsOneStep() {
        Window window;
        const QString before = Saved(window.doc);
        RunCommand(window.doc, [](DlgAlarmList& dialog) {
            ChooseColour(dialog.findChild<CColorButton*>("windowColour"), 39);
            ChooseColour(dialog.findChild<CColorButton*>("textColour"), 13);
            Click(dialog.findChild<QCheckBox*>("background"));
            Choose(dialog.findChild<QComboBox*>("fontSize"), 2);
            Type(dialog.findChild<CNumEditCtrl*>("address"), QStringLiteral("10"));

            auto* grid = dialog.findChild<CEditableGrid*>("alarmTexts");
            EditCell(grid, 0, 1, QStringLiteral("电机过热"));
            EditCell(grid, 1, 1, QStringLiteral("Low oil"));
            Press(dialog, "okButton");
        });
        const CAlarmList* list = window.doc.Project().m_pAlarmList.get();
        QVERIFY(list);
        QCOMPARE(list->m_nBkColor, 0x00FFFFFFu);
        QCOMPARE(list->m_nTxtForeColor, 0x00FF0000u);
        QVERIFY(list->m_bTextBackground);
        QCOMPARE(list->m_nFontSize, FontSizes()[2]);
        QCOMPARE(int(list->m_Alarm.GetAddress()), 10);
        QCOMPARE((*list->m_pTexts)[0].m_strContent, QStringLiteral("电机过热"));
        QCOMPARE((*list->m_pTexts)[1].m_strContent, QStringLiteral("Low oil"));
        QCOMPARE(window.doc.UndoStack().count(), 1);
        QVERIFY(window.doc.IsModified());
        window.doc.UndoStack().undo();
        QCOMPARE(Saved(window.doc), before);
        window.doc.UndoStack().redo();
        QCOMPARE(window.doc.Project().m_pAlarmList.get(), list);

        // Opened again, it shows what it holds; OK without a change adds no step.
        RunCommand(window.doc, [](DlgAlarmList& dialog) {
            auto* grid = dialog.findChild<CEditableGrid*>("alarmTexts");
            QCOMPARE(grid->GetCellText(1, 1), QStringLiteral("Low oil"));
            QCOMPARE(grid->GetCellText(0, 0), QStringLiteral("X10"));
            Press(dialog, "okButton");
        });
        QCOMPARE(window.doc.UndoStack().count(), 1);
    }

    void cancelLeavesTheProject() {
        Window window;
        CAlarmList& list = window.doc.Project().EnsureAlarmList();
        (*list.m_pTexts)[0].m_strContent = QStringLiteral("急停");
        const QString before = Saved(window.doc);
        RunCommand(window.doc, [](DlgAlarmList& dialog) {
            ChooseColour(dialog.findChild<CColorButton*>("textBackColour"), 16);
            EditCell(dialog.findChild<CEditableGrid*>("alarmTexts"), 0, 1, QStringLiteral("x"));
            Press(dialog, "cancelButton");
        });
        QCOMPARE(Saved(window.doc), before);
        QCOMPARE(window.doc.UndoStack().count(), 0);
        // Cancelled on a project without an alarm list, it leaves none.
        window.doc.NewProject(TestPlc(), CCommPara());
        RunCommand(window.doc, [](DlgAlarmList& dialog) { Press(dialog, "cancelButton"); });
        QVERIFY(!window.doc.Project().m_pAlarmList);
    }

    void theCommandNeedsAFrame() {
        CKoravelDoc doc(TestCatalog());
        CMainFrame frame(doc);
        QVERIFY(!frame.Action("alarm-list")->isEnabled());
        doc.NewProject(TestPlc(), CCommPara());
        QVERIFY(frame.Action("alarm-list")->isEnabled());
        doc.ResetToEmpty();
        QVERIFY(!frame.Action("alarm-list")->isEnabled());
    }
};

QTEST_MAIN(AlarmListTest)
#include "tst_alarmlist.moc"
