// The element usage table: its rows for one frame and for all, the address columns by kind, a
// click selecting on the canvas and in the frame list, the stacking buttons, the refill after
// edits, the filter and the column that flags suspicious addresses.

#include "CanvasTestSupport.h"
#include "DlgAddressList.h"
#include "FormListBrowser.h"
#include "FormListControl.h"
#include "GEFuncKey.h"
#include "GERegister.h"
#include "GEStaticTxt.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

QStringList Column(const QTableWidget& list, int column, bool shownOnly = false) {
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (!shownOnly || !list.isRowHidden(row))
            texts << list.item(row, column)->text();
    }
    return texts;
}

} // namespace

class UsageTableTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    // Frame "1" with a static text, a register and a jump key; frame "2" with an indicator and
    // a key that sets a coil.
    struct Fixture {
        Designer window;
        CHMIFrame* one = nullptr;
        CHMIFrame* two = nullptr;
        CGERegister* reg = nullptr;
        CGEFuncKey* jump = nullptr;
        CGEFuncKey* setter = nullptr;

        template <typename Kind> Kind* Add(CHMIFrame& frame, int kind, const QRect& rect) {
            std::unique_ptr<CGraphBase> element =
                CGraphBase::CreateByType(kind, window.Doc().Project().m_pCurrentPLC);
            element->SetRect(rect);
            return static_cast<Kind*>(frame.AddElement(std::move(element)));
        }

        Fixture() {
            CKoravelDoc& doc = window.Doc();
            one = doc.CurrentFrame();
            one->m_strDesc = QStringLiteral("start");
            Add<CGEStaticTxt>(*one, kTypeStaticText, QRect(10, 10, 64, 32));
            reg = Add<CGERegister>(*one, kTypeRegister, QRect(10, 60, 80, 32));
            reg->m_Reg.SetAddress(100);
            jump = Add<CGEFuncKey>(*one, kTypeFunctionKey, QRect(200, 60, 32, 32));
            jump->m_nType = kActionJumpFrame;
            two = doc.Project().NewFrame(2, QStringLiteral("second"));
            Add<CGraphBase>(*two, kTypeIndicator, QRect(10, 10, 32, 32));
            setter = Add<CGEFuncKey>(*two, kTypeFunctionKey, QRect(60, 10, 32, 32));
            setter->m_SubWire.m_Wire.SetAddress(7);
            doc.Project().m_pCurrentFrame = one;
            doc.NotifyFramesChanged();
            doc.UndoStack().clear();
        }

        DlgAddressList& Table() { return window.Frame().FormView().UsageTable(); }
        QTableWidget& List() { return Table().List(); }
        template <typename Widget> Widget& Find(const char* name) {
            return *Table().findChild<Widget*>(QString::fromLatin1(name));
        }
        void ClickRow(int row) {
            QTableWidget& list = List();
            list.scrollToItem(list.item(row, 0));
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                              list.visualItemRect(list.item(row, 2)).center());
        }
    };

private slots:
    void initTestCase() { RedirectProfile(m_home.filePath("config")); }
    void init() { ClearProfile(); }

    void listsEveryElementWithKindAndAddress() {
        Fixture f;
        QVERIFY(f.window.Action("usage-table").isEnabled());
        f.window.Action("usage-table").trigger();
        QVERIFY(f.Table().isVisible());
        QCOMPARE(f.Table().windowTitle(), QStringLiteral("元件使用表"));
        QTableWidget& list = f.List();
        QCOMPARE(list.rowCount(), 5);
        QCOMPARE(Column(list, 0), (QStringList{"1", "1", "1", "2", "2"}));
        QCOMPARE(Column(list, 1), (QStringList{"start", "start", "start", "second", "second"}));
        QCOMPARE(Column(list, 2), (QStringList{"0", "1", "2", "0", "1"}));
        QCOMPARE(Column(list, 3),
                 (QStringList{"静态文字", "寄存器", "功能键", "指示灯", "功能键"}));
        const QString regType = f.reg->m_Reg.GetTypeName();
        const QString wireType = f.setter->m_SubWire.m_Wire.GetTypeName();
        QVERIFY(!regType.isEmpty());
        QCOMPARE(Column(list, 4),
                 (QStringList{"-", regType, "-",
                              static_cast<const CGraphBase*>(f.two->m_Parts[0].get())
                                  ->MainAddress()
                                  ->GetTypeName(),
                              wireType}));
        QCOMPARE(Column(list, 5).mid(0, 3), (QStringList{"-", "100", "-"}));
        QCOMPARE(list.item(4, 5)->text(), QStringLiteral("7"));
        QCOMPARE(list.horizontalHeaderItem(4)->text(), QStringLiteral("元件"));
        QCOMPARE(list.item(1, 5)->textAlignment(), int(Qt::AlignCenter));
        QVERIFY(f.Find<QRadioButton>("allFrames").isChecked());
        QVERIFY(f.Find<QComboBox>("frameChoice").isHidden());
    }

    void stackingNeedsAChosenElement() {
        Fixture f;
        f.window.Action("usage-table").trigger();
        QString message;
        AnswerMessage(&message);
        f.Find<QPushButton>("upOneLayer").click();
        QCOMPARE(message, QStringLiteral("请单击选中一个控件图形！"));
        QCOMPARE(f.window.Doc().UndoStack().count(), 0);
    }

    void clickShowsTheElementAndRestacks() {
        Fixture f;
        f.window.Action("usage-table").trigger();
        f.ClickRow(3); // the indicator of frame 2
        CKoravelDoc& doc = f.window.Doc();
        QCOMPARE(doc.CurrentFrame(), f.two);
        QCOMPARE(doc.Selection(), QList<CGraphBase*>{f.two->m_Parts[0].get()});
        QCOMPARE(f.window.Frame().FrameListBar().List().SelectedFrames(),
                 std::vector<CHMIFrame*>{f.two});
        CGraphBase* indicator = f.two->m_Parts[0].get();
        f.Find<QPushButton>("bringToTop").click();
        QCOMPARE(f.two->IndexOf(indicator), 1);
        QVERIFY(doc.IsModified());
        // The rows follow, the chosen element's row selected.
        QCOMPARE(Column(f.List(), 3).mid(3), (QStringList{"功能键", "指示灯"}));
        QCOMPARE(f.List().selectedItems().front()->row(), 4);
        f.Find<QPushButton>("downOneLayer").click();
        QCOMPARE(f.two->IndexOf(indicator), 0);
        QCOMPARE(f.List().selectedItems().front()->row(), 3);
    }

    void refilledAfterDeletesAndUndo() {
        Fixture f;
        f.window.Action("usage-table").trigger();
        f.ClickRow(1); // the register
        f.window.Action("delete-elements").trigger();
        QCOMPARE(Column(f.List(), 3), (QStringList{"静态文字", "功能键", "指示灯", "功能键"}));
        QCOMPARE(Column(f.List(), 2), (QStringList{"0", "1", "0", "1"}));
        f.window.Doc().UndoStack().undo();
        QCOMPARE(f.List().rowCount(), 5);
        // The element deleted with its frame is no longer listed.
        f.window.Frame().FrameListBar().List().SelectFrameRow(f.two);
        f.window.Action("delete-frame").trigger();
        QCOMPARE(f.List().rowCount(), 3);
    }

    void givenFrameMode() {
        Fixture f;
        f.window.Action("usage-table").trigger();
        f.Find<QRadioButton>("givenFrame").click();
        auto& combo = f.Find<QComboBox>("frameChoice");
        QVERIFY(combo.isVisible());
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.itemText(0), QStringLiteral("1 start"));
        QCOMPARE(combo.itemText(1), QStringLiteral("2 second"));
        QCOMPARE(Column(f.List(), 2), (QStringList{"0", "1", "2"}));
        combo.setCurrentIndex(1);
        QCOMPARE(Column(f.List(), 0), (QStringList{"2", "2"}));
        f.Find<QRadioButton>("allFrames").click();
        QVERIFY(combo.isHidden());
        QCOMPARE(f.List().rowCount(), 5);
    }

    void filterAndNotes() {
        Fixture f;
        // A second register reads the same register two units wide; a second key sets the
        // same coil as the first.
        auto* wide = f.Add<CGERegister>(*f.two, kTypeRegister, QRect(100, 100, 80, 32));
        wide->m_Reg = f.reg->m_Reg;
        wide->m_Reg.SetRegNum(2);
        auto* other = f.Add<CGEFuncKey>(*f.two, kTypeFunctionKey, QRect(200, 100, 32, 32));
        other->m_SubWire.m_Wire = f.setter->m_SubWire.m_Wire;
        f.window.Action("usage-table").trigger();
        QTableWidget& list = f.List();
        QCOMPARE(Column(list, 6),
                 (QStringList{"", "宽度不一", "", "", "多键写入", "宽度不一", "多键写入"}));
        auto& filter = f.Find<QLineEdit>("usageFilter");
        filter.setText(QStringLiteral("功能"));
        QCOMPARE(Column(list, 3, true), (QStringList{"功能键", "功能键", "功能键"}));
        filter.setText(f.reg->m_Reg.GetTypeName() + QStringLiteral("100"));
        QCOMPARE(Column(list, 0, true), (QStringList{"1", "2"}));
        filter.clear();
        QCOMPARE(Column(list, 0, true).size(), 7);
    }

    void closeBoxHides() {
        Fixture f;
        f.window.Action("usage-table").trigger();
        DlgAddressList* table = &f.Table();
        table->close();
        QVERIFY(table->isHidden());
        QCOMPARE(&f.Table(), table);
        f.window.Action("usage-table").trigger();
        QVERIFY(table->isVisible());
        QCOMPARE(f.List().rowCount(), 5);
    }
};

QTEST_MAIN(UsageTableTest)
#include "tst_usagetable.moc"
