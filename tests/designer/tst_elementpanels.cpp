// The element panels driven as a user drives them: typed values with their corrections, the
// rules between fields, the lists and checks, each edit one undoable step that shows the element
// again when undone, and a panel that never outlives its element.

#include "PanelFixture.h"

#include "EditableGrid.h"
#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "commands/FrameCommands.h"
#include "panels/DlgFrame.h"
#include "panels/DlgFunckeyMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

using namespace panels;

namespace {

std::unique_ptr<CGEBar> NewBar() {
    return std::make_unique<CGEBar>(TestPlc());
}

} // namespace

class ElementPanelsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterFontSubstitutions(); }

    void positionCorrections_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        // A 64 × 32 bar at (10, 10).
        QTest::newRow("X beyond the panel goes to 0") << "positionX"
                                                      << "500" << 0 << 10;
        QTest::newRow("Y beyond the panel goes to the bottom") << "positionY"
                                                               << "500" << 10 << 240;
        QTest::newRow("X that fits") << "positionX"
                                     << "416" << 416 << 10;
    }

    void positionCorrections() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(int, left);
        QFETCH(int, top);
        Window window;
        CGEBar* bar = window.Add(NewBar(), QRect(10, 10, 64, 32));
        auto* edit = window.Find<CNumEditCtrl>(field);
        Type(edit, typed);
        QCOMPARE(bar->GetRect(), QRect(left, top, 64, 32));
        QCOMPARE(edit->text(), QString::number(field == u"positionX" ? left : top));
        // Typing the digits one by one is one step, which undo takes back and shows.
        QCOMPARE(window.doc.UndoStack().count(), 1);
        window.doc.UndoStack().undo();
        QCOMPARE(bar->GetRect(), QRect(10, 10, 64, 32));
        QCOMPARE(window.Find<CNumEditCtrl>(field)->text(), QStringLiteral("10"));
        QVERIFY(!window.doc.IsModified());
    }

    void registerDigitsAndDecimals_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("integerBits");
        QTest::addColumn<int>("pointBits");
        // From 5 digits with 2 decimals.
        QTest::newRow("fewer digits than decimals") << "integerBits"
                                                    << "2" << 2 << 1;
        QTest::newRow("more decimals than digits") << "pointBits"
                                                   << "7" << 8 << 7;
        QTest::newRow("ten decimals keep the digits") << "pointBits"
                                                      << "10" << 5 << 10;
        QTest::newRow("digits forced into 1 to 10") << "integerBits"
                                                    << "0" << 1 << 0;
        QTest::newRow("ten digits") << "integerBits"
                                    << "10" << 10 << 2;
    }

    void registerDigitsAndDecimals() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(int, integerBits);
        QFETCH(int, pointBits);
        Window window;
        auto reg = std::make_unique<CGERegister>(TestPlc());
        reg->m_byIntegerBits = 5;
        reg->m_byPointBits = 2;
        CGERegister* added = window.Add(std::move(reg), QRect(10, 10, 50, 20));
        const QSize before = added->GetRect().size();
        Type(window.Find<CNumEditCtrl>(field), typed);
        QCOMPARE(int(added->m_byIntegerBits), integerBits);
        QCOMPARE(int(added->m_byPointBits), pointBits);
        QCOMPARE(window.Find<CNumEditCtrl>("integerBits")->text(), QString::number(integerBits));
        QCOMPARE(window.Find<CNumEditCtrl>("pointBits")->text(), QString::number(pointBits));
        // The element takes the size of its sample number.
        QCOMPARE(added->GetRect().size(),
                 TextExtent(added->SampleText(), added->m_strFontName, added->m_nFontSize));
        QVERIFY(added->GetRect().size() != before);
        window.doc.UndoStack().undo();
        QCOMPARE(int(added->m_byIntegerBits), 5);
        QCOMPARE(int(added->m_byPointBits), 2);
    }

    // The rule between digits and decimals waits for the end of the typing, and belongs to the
    // register that was typed into.
    void typingEndsWithItsElement() {
        Window window;
        auto typedInto = std::make_unique<CGERegister>(TestPlc());
        typedInto->m_byPointBits = 2;
        CGERegister* first = window.Add(std::move(typedInto), QRect(10, 10, 50, 20));
        auto other = std::make_unique<CGERegister>(TestPlc());
        other->m_byIntegerBits = 1;
        other->m_byPointBits = 3; // as a file may hold it
        CGERegister* second = window.Add(std::move(other), QRect(10, 100, 50, 20));
        window.doc.SetSelection({first});
        auto* digits = window.Find<CNumEditCtrl>("integerBits");
        digits->selectAll();
        QTest::keyClicks(digits, QStringLiteral("1"));
        QCOMPARE(int(first->m_byIntegerBits), 1);
        QCOMPARE(int(first->m_byPointBits), 2);
        window.doc.SetSelection({second});
        QTest::keyClick(digits, Qt::Key_Return);
        QCOMPARE(int(second->m_byPointBits), 3);
        QCOMPARE(window.doc.UndoStack().count(), 1);
    }

    void registerNumberFormat() {
        Window window;
        auto reg = std::make_unique<CGERegister>(TestPlc());
        reg->m_byPointBits = 2;
        reg->m_nRawLowerLimit = 10;
        CGERegister* added = window.Add(std::move(reg), QRect(10, 10, 50, 20));
        Click(window.Find<QCheckBox>("formatSigned"));
        QCOMPARE(added->m_nDataFormat, int(kFormatDecSign));
        QCOMPARE(added->SampleText(), QStringLiteral("-123.45"));
        Click(window.Find<QRadioButton>("formatHex"));
        QCOMPARE(added->m_nDataFormat, int(kFormatHex));
        QCOMPARE(int(added->m_byPointBits), 0);
        QVERIFY(!window.Find<QCheckBox>("formatSigned")->isEnabled());
        QVERIFY(!window.Find<QCheckBox>("formatSigned")->isChecked());
        // The limits follow the range of the format: a signed byte, shown in hexadecimal.
        QCOMPARE(window.Find<CNumEditCtrl>("rawUpperLimit")->text(), QStringLiteral("7F"));
        window.doc.UndoStack().undo();
        window.doc.UndoStack().undo();
        QCOMPARE(added->m_nDataFormat, int(kFormatDec));
        QCOMPARE(int(added->m_byPointBits), 2);
    }

    // Setting a value on the panel needs a type the PLC lets it write; the password needs the
    // setting, the engineering limits need limits of engineering data.
    void registerSettingAndLimits() {
        Window window;
        CGERegister* reg =
            window.Add(std::make_unique<CGERegister>(TestPlc()), QRect(10, 10, 50, 20));
        auto* setting = window.Find<QCheckBox>("setting");
        auto* encrypt = window.Find<QCheckBox>("encrypt");
        QVERIFY(setting->isEnabled());
        QVERIFY(!encrypt->isEnabled());
        Click(setting);
        QVERIFY(reg->m_bSetting);
        QVERIFY(encrypt->isEnabled());

        QVERIFY(!window.Find<QComboBox>("valueKind")->isEnabled());
        QVERIFY(!window.Find<CNumEditCtrl>("rawUpperLimit")->isEnabled());
        Click(window.Find<QCheckBox>("haveLimit"));
        QVERIFY(window.Find<CNumEditCtrl>("rawUpperLimit")->isEnabled());
        QVERIFY(!window.Find<CNumEditCtrl>("engUpperLimit")->isEnabled());
        Choose(window.Find<QComboBox>("valueKind"), 1);
        QCOMPARE(reg->m_nComboBoxID, 1);
        QVERIFY(window.Find<CNumEditCtrl>("engUpperLimit")->isEnabled());

        Choose(window.Find<QComboBox>("addressType"), 2); // R, read only
        QCOMPARE(reg->m_Reg.GetTypeName(), QStringLiteral("R"));
        QVERIFY(!setting->isEnabled());
        QCOMPARE(window.doc.UndoStack().count(), 4);
    }

    void barLimits() {
        Window window;
        CGEBar* bar = window.Add(NewBar(), QRect(10, 10, 40, 100));
        QCOMPARE(UnitCount(bar->m_Reg), 1); // a byte: 0 to 255
        bar->m_nLowerLimit = 100;
        window.view.ElementPanel(kTypeBar)->Refresh();

        // The first digits of a number do not overturn the other limit.
        Type(window.Find<CNumEditCtrl>("upperLimit"), QStringLiteral("200"));
        QCOMPARE(bar->m_nUpperLimit, 200);
        QCOMPARE(bar->m_nLowerLimit, 100);

        Type(window.Find<CNumEditCtrl>("upperLimit"), QStringLiteral("300"));
        QCOMPARE(window.Find<CNumEditCtrl>("upperLimit")->text(), QStringLiteral("255"));
        QCOMPARE(bar->m_nUpperLimit, 255);

        Type(window.Find<CNumEditCtrl>("lowerLimit"), QStringLiteral("255"));
        QCOMPARE(bar->m_nLowerLimit, 255);
        QCOMPARE(bar->m_nUpperLimit, 255); // cannot go above the range
        Type(window.Find<CNumEditCtrl>("upperLimit"), QStringLiteral("255"));
        QCOMPARE(bar->m_nLowerLimit, 254);
        QCOMPARE(window.Find<CNumEditCtrl>("lowerLimit")->text(), QStringLiteral("254"));

        while (window.doc.UndoStack().canUndo())
            window.doc.UndoStack().undo();
        QCOMPARE(bar->m_nUpperLimit, 65535);
    }

    void barDirectionTurnsAndShifts() {
        Window window;
        CGEBar* bar = window.Add(NewBar(), QRect(400, 10, 32, 128));
        Choose(window.Find<QComboBox>("direction"), 2); // 向左
        QCOMPARE(bar->m_nDrawDir, 2);
        QCOMPARE(bar->GetRect(), QRect(352, 10, 128, 32));
        QCOMPARE(window.Find<CNumEditCtrl>("positionX")->text(), QStringLiteral("352"));
        QCOMPARE(window.Find<CNumEditCtrl>("sizeWidth")->text(), QStringLiteral("128"));
        Choose(window.Find<QComboBox>("direction"), 3); // 向右: still horizontal
        QCOMPARE(bar->GetRect(), QRect(352, 10, 128, 32));
        QCOMPARE(window.doc.UndoStack().count(), 1);
        window.doc.UndoStack().undo();
        QCOMPARE(bar->GetRect(), QRect(400, 10, 32, 128));
        QCOMPARE(bar->m_nDrawDir, 0);
    }

    void sizeWithinThePanel() {
        Window window;
        CGEBar* bar = window.Add(NewBar(), QRect(400, 200, 40, 60));
        Type(window.Find<CNumEditCtrl>("sizeWidth"), QStringLiteral("100"));
        QCOMPARE(bar->GetRect(), QRect(380, 200, 100, 60));
        Type(window.Find<CNumEditCtrl>("sizeHeight"), QStringLiteral("900"));
        QCOMPARE(window.Find<CNumEditCtrl>("sizeHeight")->text(), QStringLiteral("272"));
        QCOMPARE(bar->GetRect(), QRect(380, 0, 100, 272));
        // Too small a side becomes 32 when the typing ends.
        auto trend = std::make_unique<CGETrend>(TestPlc());
        CGETrend* added = window.Add(std::move(trend), QRect(10, 10, 100, 100));
        Type(window.Find<CNumEditCtrl>("sizeWidth"), QStringLiteral("5"));
        QCOMPARE(added->m_nWidth, 32);
    }

    void trendSampling_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("94 points") << "samplingPoint"
                                   << "94" << 94;
        QTest::newRow("95 points") << "samplingPoint"
                                   << "95" << 94;
        QTest::newRow("no points") << "samplingPoint"
                                   << "0" << 1;
        QTest::newRow("no interval") << "samplingTime"
                                     << "0" << 1;
        QTest::newRow("a long interval") << "samplingTime"
                                         << "70000" << 60000;
    }

    void trendSampling() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(int, stored);
        Window window;
        CGETrend* trend =
            window.Add(std::make_unique<CGETrend>(TestPlc()), QRect(10, 10, 200, 100));
        const QString before = Saved(window.doc);
        auto* edit = window.Find<CNumEditCtrl>(field);
        Type(edit, typed);
        QCOMPARE(edit->text(), QString::number(stored));
        QCOMPARE(field == u"samplingPoint" ? trend->m_nSamplingPoint
                                           : static_cast<int>(trend->m_nSamplingTime),
                 stored);
        QVERIFY(window.doc.IsModified());
        QCOMPARE(window.doc.UndoStack().count(), 1);
        window.doc.UndoStack().undo();
        QCOMPARE(Saved(window.doc), before);
    }

    void keyHandAndHiddenSizes() {
        Window window;
        CGEFuncKey* key =
            window.Add(std::make_unique<CGEFuncKey>(TestPlc()), QRect(100, 100, 32, 32));
        auto* hand = window.Find<QCheckBox>("hand");
        Click(hand);
        QCOMPARE(key->GetRect(), QRect(100, 100, 64, 32));
        Click(window.Find<QCheckBox>("hide"));
        QVERIFY(key->m_bHide);
        QVERIFY(!key->m_bHand);
        QCOMPARE(key->GetRect(), QRect(100, 100, 32, 32));
        QVERIFY(!hand->isChecked());
        QVERIFY(!hand->isEnabled());
        QVERIFY(!window.Find<QCheckBox>("double")->isEnabled());
        window.doc.UndoStack().undo();
        QCOMPARE(key->GetRect(), QRect(100, 100, 64, 32));
        QVERIFY(hand->isChecked());
        QVERIFY(hand->isEnabled());
        window.doc.UndoStack().undo();
        QCOMPARE(key->GetRect(), QRect(100, 100, 32, 32));
    }

    void keyDoubleAndKey() {
        Window window;
        CGEFuncKey* key =
            window.Add(std::make_unique<CGEFuncKey>(TestPlc()), QRect(460, 100, 32, 32));
        Click(window.Find<QCheckBox>("double"));
        QCOMPARE(key->GetRect(), QRect(416, 100, 64, 64));
        Choose(window.Find<QComboBox>("key"), 8);
        QCOMPARE(key->m_nComboBoxID, 8);
        QCOMPARE(window.Find<QComboBox>("key")->currentText(), QStringLiteral("0"));
    }

    void keyActionPanels() {
        Window window;
        CGEFuncKey* key =
            window.Add(std::make_unique<CGEFuncKey>(TestPlc()), QRect(100, 100, 32, 32));
        auto* panel = static_cast<DlgFunckeyMain*>(window.view.ElementPanel(kTypeFunctionKey));
        QVERIFY(panel->ActionPanel(kActionSetWire)->isVisible());

        Click(window.Find<QRadioButton>("action1"));
        QCOMPARE(key->m_nType, int(kActionSetRegister));
        QWidget* setRegister = panel->ActionPanel(kActionSetRegister);
        QVERIFY(setRegister->isVisible());
        QVERIFY(!panel->ActionPanel(kActionSetWire)->isVisible());
        QVERIFY(!setRegister->findChild<QComboBox*>("registerCount")->isEnabled());
        // A byte register takes 0 to 255.
        Type(setRegister->findChild<CNumEditCtrl*>("parameter"), QStringLiteral("300"));
        QCOMPARE(key->m_SubReg.m_nParameter, 255);

        Click(window.Find<QRadioButton>("action2"));
        Click(window.Find<QRadioButton>("jumpKind1"));
        QCOMPARE(key->m_SubJmp.m_nRadioID, 3);
        QVERIFY(!window.Find<CNumEditCtrl>("jumpNumber")->isEnabled());

        Click(window.Find<QRadioButton>("action3"));
        QWidget* recipe = panel->ActionPanel(kActionRecipe);
        key->m_SubRecipe.m_Reg.SetAddress(50);
        Click(recipe->findChild<QRadioButton*>("recipeMode2"));
        QCOMPARE(key->m_SubRecipe.m_nRadioID, 2);
        QCOMPARE(int(key->m_SubRecipe.m_Reg.GetAddress()), 0);
        QCOMPARE(recipe->findChild<QLabel*>("lengthLabel")->text(), QStringLiteral("递增量"));
        QVERIFY(recipe->findChild<CNumEditCtrl*>("transferLimit")->isVisible());
        QCOMPARE(recipe->findChild<QComboBox*>("addressType")->currentText(), QStringLiteral("LW"));
        QVERIFY(!recipe->findChild<QComboBox*>("addressType")->isEnabled());
        QCOMPARE(key->m_SubRecipe.m_Reg.GetTypeName(), QStringLiteral("B"));
        Type(recipe->findChild<CNumEditCtrl*>("transferLength"), QStringLiteral("0"));
        QCOMPARE(key->m_SubRecipe.m_nTransferLen, 1u);

        Click(window.Find<QRadioButton>("action4"));
        QWidget* steps = panel->ActionPanel(kActionMultiSet);
        Click(steps->findChild<QRadioButton*>("stepMode1"));
        QCOMPARE(key->m_SubMulStatus.m_nRadioID, 1);
        QCOMPARE(steps->findChild<QLabel*>("limitLabel")->text(), QStringLiteral("下限："));
        Click(steps->findChild<QCheckBox*>("stepSigned"));
        Type(steps->findChild<CNumEditCtrl*>("stepLimit"), QStringLiteral("-500"));
        QCOMPARE(steps->findChild<CNumEditCtrl*>("stepLimit")->text(), QStringLiteral("-128"));
        QCOMPARE(key->m_SubMulStatus.m_nLowerLimit, -128);

        // Undone step by step, each shows the action that was in force.
        window.doc.UndoStack().undo();
        QCOMPARE(key->m_SubMulStatus.m_nLowerLimit, 0);
        QVERIFY(steps->isVisible());
    }

    void staticTextTooWideForThePanel() {
        Window window;
        auto text = std::make_unique<CGEStaticTxt>();
        text->SetFontSize(48);
        text->SetText(QStringLiteral("短"));
        CGEStaticTxt* added = window.Add(std::move(text), QRect(100, 50, 10, 10));
        added->SetText(QStringLiteral("短")); // the size follows the text again
        MessageAnswerer answerer;
        TypeText(window.Find<QLineEdit>("text"), QStringLiteral("一二三四五六七八九十甲乙"));
        // Every character beyond the panel is told of, and kept.
        QVERIFY(!answerer.texts.isEmpty());
        QCOMPARE(answerer.texts.front(),
                 QStringLiteral("文本越界,请删除部分字符串来适应屏幕尺寸!"));
        QVERIFY(added->m_nWidth > kPanelWidth);
        QCOMPARE(added->m_strText, QStringLiteral("短一二三四五六七八九十甲乙"));
        QCOMPARE(window.doc.UndoStack().count(), 1);
        window.doc.UndoStack().undo();
        QCOMPARE(added->m_strText, QStringLiteral("短"));
        QCOMPARE(window.Find<QLineEdit>("text")->text(), QStringLiteral("短"));
    }

    void staticTextMovesInsideWhenItGrows() {
        Window window;
        auto text = std::make_unique<CGEStaticTxt>();
        text->SetFontSize(32);
        text->SetText(QStringLiteral("A"));
        CGEStaticTxt* added = window.Add(std::move(text), QRect(440, 50, 10, 10));
        added->SetText(QStringLiteral("A"));
        QTest::keyClicks(window.Find<QLineEdit>("text"), QStringLiteral("BCDE"));
        QCOMPARE(added->m_strText, QStringLiteral("ABCDE"));
        QCOMPARE(added->m_nLeft + added->m_nWidth, kPanelWidth);
        QCOMPARE(window.doc.UndoStack().count(), 1);
    }

    void newDynamicTextGrid() {
        Window window;
        CGEDynamicTxt* text =
            window.Add(std::make_unique<CGEDynamicTxt>(TestPlc()), QRect(10, 10, 100, 30));
        auto* grid = window.Find<CEditableGrid>("texts");
        QCOMPARE(grid->rowCount(), 256);
        QCOMPARE(grid->GetCellText(0, 0), QStringLiteral("1"));
        QCOMPARE(grid->GetCellText(0, 1).trimmed(), QStringLiteral("0"));
        QCOMPARE(grid->GetCellText(0, 2), QStringLiteral("动态文字串"));
        for (int row = 1; row < 256; ++row) {
            QCOMPARE(grid->GetCellText(row, 0), QString::number(row + 1));
            QVERIFY(grid->GetCellText(row, 1).isEmpty());
            QVERIFY(grid->GetCellText(row, 2).isEmpty());
        }
        QVERIFY(!window.doc.IsModified());

        EditCell(grid, 1, 1, QStringLiteral("7"));
        EditCell(grid, 1, 2, QStringLiteral("运行"));
        QCOMPARE((*text->m_pTexts)[1].m_nValue, 7);
        QCOMPARE((*text->m_pTexts)[1].m_strContent, QStringLiteral("运行"));
        QCOMPARE((*text->m_pTexts)[0].m_nValue, 0);
        QCOMPARE((*text->m_pTexts)[2].m_nValue, -1); // untouched rows stay out of use
        QCOMPARE(window.doc.UndoStack().count(), 2);

        // A value that another text answers to is refused.
        EditCell(grid, 2, 1, QStringLiteral("7"));
        {
            MessageAnswerer answerer;
            EditCell(grid, 2, 2, QStringLiteral("停止"));
            QCOMPARE(answerer.texts, QStringList{QStringLiteral("值不能重复，请重新输入！")});
        }
        QVERIFY((*text->m_pTexts)[2].m_strContent.isEmpty());
        QVERIFY(grid->GetCellText(2, 2).isEmpty());

        // A byte register takes values up to 255; HEX/BCD shows them in hexadecimal.
        EditCell(grid, 2, 1, QStringLiteral("999"));
        QCOMPARE((*text->m_pTexts)[2].m_nValue, 255);
        Click(window.Find<QRadioButton>("formatHex"));
        QCOMPARE(grid->GetCellText(1, 1), QStringLiteral("7"));
        QCOMPARE(grid->GetCellText(2, 1), QStringLiteral("FF"));

        while (window.doc.UndoStack().canUndo())
            window.doc.UndoStack().undo();
        QCOMPARE(grid->GetCellText(1, 2), QString());
        QCOMPARE((*text->m_pTexts)[1].m_nValue, -1);
    }

    void addressGroupFollowsThePlc() {
        Window window;
        CGEIndicator* lamp =
            window.Add(std::make_unique<CGEIndicator>(TestPlc()), QRect(10, 10, 32, 32));
        auto* types = window.Find<QComboBox>("addressType");
        QCOMPARE(types->count(), 3); // X, M, W
        QCOMPARE(types->currentText(), QStringLiteral("X"));
        QVERIFY(!window.Find<CNumEditCtrl>("shift")->isVisible());
        QVERIFY(!window.Find<QComboBox>("registerCount")->isVisible());

        auto* station = window.Find<CNumEditCtrl>("station");
        QVERIFY(station->isEnabled());
        Type(station, QStringLiteral("50"));
        QCOMPARE(station->text(), QStringLiteral("31"));
        QCOMPARE(int(lamp->m_Wire.GetStation()), 31);

        Type(window.Find<CNumEditCtrl>("address"), QStringLiteral("999"));
        QCOMPARE(int(lamp->m_Wire.GetAddress()), 377);

        Choose(types, 2);
        QCOMPARE(lamp->m_Wire.GetTypeName(), QStringLiteral("W"));
        QCOMPARE(lamp->m_Wire.GetIndex(), 2);
        auto* shift = window.Find<CNumEditCtrl>("shift");
        QVERIFY(shift->isVisible());
        Type(shift, QStringLiteral("1F"));
        QCOMPARE(shift->text(), QStringLiteral("F"));
        QCOMPARE(int(lamp->m_Wire.GetShift()), 15);

        // A register of two words counts 1 or 2.
        auto* reg = window.Add(std::make_unique<CGERegister>(TestPlc()), QRect(100, 100, 50, 20));
        Choose(window.Find<QComboBox>("addressType"), 1);
        auto* count = window.Find<QComboBox>("registerCount");
        QVERIFY(count->isVisible());
        Choose(count, 1);
        QCOMPARE(int(reg->m_Reg.GetRegNum()), 2);
        QCOMPARE(UnitCount(reg->m_Reg), 4);
    }

    void indicatorShapeLogicAndDouble() {
        Window window;
        CGEIndicator* lamp =
            window.Add(std::make_unique<CGEIndicator>(TestPlc()), QRect(460, 10, 32, 32));
        const QString before = Saved(window.doc);
        Choose(window.Find<QComboBox>("shape"), 1);
        Choose(window.Find<QComboBox>("logic"), 1);
        Click(window.Find<QCheckBox>("double"));
        QCOMPARE(lamp->m_nShape, 1);
        QCOMPARE(lamp->m_nLogic, 1);
        QCOMPARE(lamp->GetRect(), QRect(416, 10, 64, 64));
        QCOMPARE(window.doc.UndoStack().count(), 3);
        window.doc.UndoStack().undo();
        QVERIFY(!window.Find<QCheckBox>("double")->isChecked());
        window.doc.UndoStack().undo();
        window.doc.UndoStack().undo();
        QCOMPARE(Saved(window.doc), before);
        QCOMPARE(window.Find<QComboBox>("shape")->currentIndex(), 0);
    }

    // Colours, font, number format and background flag reach every selected element of the
    // panel's kind in one step; the position stays the panel's own element's.
    void severalSelectedElementsAtOnce() {
        Window window;
        auto* first = window.Add(std::make_unique<CGEStaticTxt>(), QRect(10, 10, 40, 20));
        auto* second = window.Add(std::make_unique<CGEStaticTxt>(), QRect(10, 60, 40, 20));
        auto* lamp = window.Add(std::make_unique<CGEIndicator>(TestPlc()), QRect(10, 100, 32, 32));
        window.doc.SetSelection({first, lamp, second});
        QCOMPARE(window.Panel(), window.view.ElementPanel(kTypeStaticText));
        const QString before = Saved(window.doc);

        ChooseColour(window.Find<CColorButton>("foreColour"), 16); // red
        QCOMPARE(first->m_nForeColor, 0x000000FFu);
        QCOMPARE(second->m_nForeColor, 0x000000FFu);
        QCOMPARE(window.doc.UndoStack().count(), 1);
        Choose(window.Find<QComboBox>("fontSize"), 0);
        QCOMPARE(first->m_nFontSize, 16);
        QCOMPARE(second->m_nFontSize, 16);
        Click(window.Find<QCheckBox>("background"));
        QCOMPARE(first->m_nSameColor, second->m_nSameColor);
        Type(window.Find<CNumEditCtrl>("positionX"), QStringLiteral("30"));
        QCOMPARE(first->m_nLeft, 30);
        QCOMPARE(second->m_nLeft, 10);

        window.doc.UndoStack().undo();
        window.doc.UndoStack().undo();
        window.doc.UndoStack().undo();
        QCOMPARE(first->m_nForeColor, 0x000000FFu);
        window.doc.UndoStack().undo();
        QCOMPARE(Saved(window.doc), before);
        QCOMPARE(window.doc.Selection(), (QList<CGraphBase*>{first, second}));
    }

    // The register's border colour, beside its border choice, is a colour like the others:
    // every selected register in one step.
    void registerBorderColourReachesTheSelection() {
        Window window;
        auto* first = window.Add(std::make_unique<CGERegister>(TestPlc()), QRect(10, 10, 50, 20));
        auto* second = window.Add(std::make_unique<CGERegister>(TestPlc()), QRect(10, 60, 50, 20));
        window.doc.SetSelection({first, second});
        const QString before = Saved(window.doc);

        ChooseColour(window.Find<CColorButton>("borderColour"), 16); // red
        QCOMPARE(first->m_nBorderColor, 0x000000FFu);
        QCOMPARE(second->m_nBorderColor, 0x000000FFu);
        QCOMPARE(window.doc.UndoStack().count(), 1);
        window.doc.UndoStack().undo();
        QCOMPARE(Saved(window.doc), before);
        QCOMPARE(window.Find<CColorButton>("borderColour")->GetColor(), first->m_nBorderColor);
    }

    // Undo shows the frame of the element, selects it and shows its panel with the value put
    // back.
    void undoShowsTheElementInItsFrame() {
        Window window;
        CGEBar* bar = window.Add(NewBar(), QRect(10, 10, 40, 100));
        Type(window.Find<CNumEditCtrl>("positionY"), QStringLiteral("50"));
        CHMIFrame* first = window.doc.CurrentFrame();
        CHMIFrame* other = window.doc.Project().NewFrame(2, QStringLiteral("other"));
        window.doc.Project().m_pCurrentFrame = first;
        window.doc.ShowFrame(other);
        QCOMPARE(window.Panel(), &window.view.FramePanel());
        window.doc.UndoStack().undo();
        QCOMPARE(window.doc.CurrentFrame(), window.doc.Project().FindFrame(1));
        QCOMPARE(window.doc.Selection(), QList<CGraphBase*>{bar});
        QCOMPARE(window.Panel(), window.view.ElementPanel(kTypeBar));
        QCOMPARE(window.Find<CNumEditCtrl>("positionY")->text(), QStringLiteral("10"));
        window.doc.UndoStack().redo();
        QCOMPARE(window.Find<CNumEditCtrl>("positionY")->text(), QStringLiteral("50"));
    }

    // A panel never keeps an element that left the project: deleted, or gone with its project.
    void aDeletedElementLeavesNoPanel() {
        Window window;
        CGEBar* bar = window.Add(NewBar(), QRect(10, 10, 40, 100));
        CElementPanel* panel = window.view.ElementPanel(kTypeBar);
        QCOMPARE(panel->Element(), bar);
        window.doc.Push(new CmdClearElements(window.doc, window.doc.CurrentFrame()));
        QCOMPARE(panel->Element(), nullptr);
        QVERIFY(!panel->isVisible());
        window.doc.UndoStack().undo();
        QCOMPARE(panel->Element(), nullptr);
        window.doc.SetSelection({bar});
        QCOMPARE(panel->Element(), bar);
        window.doc.NewProject(TestPlc(), CCommPara());
        QCOMPARE(panel->Element(), nullptr);
        QCOMPARE(window.Panel(), &window.view.FramePanel());
    }
};

QTEST_MAIN(ElementPanelsTest)
#include "tst_elementpanels.moc"
