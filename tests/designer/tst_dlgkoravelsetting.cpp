#include "DlgKoravelSetting.h"
#include "NumEditCtrl.h"
#include "PLCFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

constexpr int kHighestFrame = 12;

// The clock texts of the settings dialog, one line break of the program's own form each.
const QString kClock = QStringLiteral("秒:%1  分:%2  时:%3  \r\n\r\n日:%4  月:%5  年:%6  星期:%7");
const QString kPackedClock = QStringLiteral(
    "%1:秒  %2:时(高8位)+分(低8位)\r\n\r\n%3:月(高8位)+日(低8位)  %4:年(高8位)+星期(低8位)");

} // namespace

class DlgKoravelSettingTest : public QObject {
    Q_OBJECT

    CPLCFactory m_catalog;
    const CPLCEntity* m_pModbus = nullptr;

    template <typename T> static T* Find(QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }

    static QString Text(QWidget& dialog, const char* name) {
        return Find<QLabel>(dialog, name)->text();
    }

    // A shown, active dialog, so that the focus moves as the user moves it.
    std::unique_ptr<DlgKoravelSetting> Open(const CKoravelSetting& setting) {
        auto dialog = std::make_unique<DlgKoravelSetting>(setting, *m_pModbus, kHighestFrame);
        dialog->show();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            qFatal("the dialog does not become active");
        return dialog;
    }

    // Types over a number field's content, then moves the focus on as the user would.
    static void Type(QWidget& dialog, const char* name, const QString& text) {
        auto* edit = Find<CNumEditCtrl>(dialog, name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        Find<QPushButton>(dialog, "cancelButton")->setFocus();
    }

    static void Click(QWidget& dialog, const char* name) {
        QTest::mouseClick(Find<QAbstractButton>(dialog, name), Qt::LeftButton, {},
                          QPoint(8, Find<QAbstractButton>(dialog, name)->height() / 2));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_catalog.Load(QStringLiteral(KV_BIN_DIR "/Factory.dll")));
        m_pModbus = m_catalog.GetPLC(1);
        QVERIFY(m_pModbus);
    }

    void openingClampsTheStartAndScreenSaverFramesAtOnce() {
        CKoravelSetting setting(m_pModbus);
        setting.m_nBeginFrame = 50;
        setting.m_nSaverFrame = 0;
        setting.m_nUseFrameIndex = 40;
        auto dialog = Open(setting);
        QCOMPARE(Find<CNumEditCtrl>(*dialog, "beginFrame")->text(), "12");
        QCOMPARE(Find<CNumEditCtrl>(*dialog, "saverFrame")->text(), "1");
        dialog->reject();
        QCOMPARE(dialog->GetSetting().m_nBeginFrame, 12);
        QCOMPARE(dialog->GetSetting().m_nSaverFrame, 1);
        QCOMPARE(dialog->GetSetting().m_nUseFrameIndex, 40);
    }

    void fieldsKeepTheirRanges_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("start frame above the highest") << "beginFrame"
                                                       << "13"
                                                       << "12";
        QTest::newRow("start frame 0") << "beginFrame"
                                       << "0"
                                       << "1";
        QTest::newRow("start-up frame above the highest") << "useFrameIndex"
                                                          << "99"
                                                          << "12";
        QTest::newRow("password") << "passWord"
                                  << "12345"
                                  << "9999";
        QTest::newRow("screen saver") << "waitTime"
                                      << "61"
                                      << "60";
        QTest::newRow("start-up time") << "useFrameSecond"
                                       << "300"
                                       << "255";
        QTest::newRow("station within the PLC's") << "station"
                                                  << "248"
                                                  << "247";
        QTest::newRow("address within the type's") << "regAddress"
                                                   << "0"
                                                   << "1";
    }

    void fieldsKeepTheirRanges() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        CKoravelSetting setting(m_pModbus);
        setting.m_bUseFrame = true;
        auto dialog = Open(setting);
        Type(*dialog, qPrintable(field), typed);
        QCOMPARE(Find<CNumEditCtrl>(*dialog, qPrintable(field))->text(), shown);
    }

    void toolTips() {
        CKoravelSetting setting(m_pModbus);
        auto dialog = Open(setting);
        const std::pair<const char*, const char*> tips[] = {
            {"beginFrame", "文本开机画面序号."},
            {"passWord", "设置密码\n\n数字范围: 1 - 65535\n\n0表示不使用."},
            {"waitTime", "屏保时间\n\n数字范围: 1 - 60\n\n单位：分钟\n\n设置为0则背光常亮"},
            {"showFrame", "屏保显示画面."},
            {"saverFrame", "屏保显示画面序号."},
            {"backLight", "屏保时关闭背光."},
        };
        for (const auto& [name, tip] : tips)
            QCOMPARE(Find<QWidget>(*dialog, name)->toolTip(), QString::fromUtf8(tip));
    }

    void theRadioButtonsSwitchTheScreenSaverFrame() {
        CKoravelSetting setting(m_pModbus);
        auto dialog = Open(setting);
        auto* saverFrame = Find<CNumEditCtrl>(*dialog, "saverFrame");
        QVERIFY(!saverFrame->isEnabled());
        Click(*dialog, "showFrame");
        QVERIFY(saverFrame->isEnabled());
        Click(*dialog, "backLight");
        QVERIFY(!saverFrame->isEnabled());
    }

    // The registers are counted from Reg's address in steps of the type's address increment,
    // and shown again at every change.
    void controlRegisterTexts_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("autoChange");
        QTest::addColumn<QString>("reportFrame");
        QTest::addColumn<QString>("clock");
        auto names = [](const QString& type, int first, int count, int step) {
            QStringList list;
            for (int i = 0; i < count; ++i)
                list << type + QString::number(first + i * step);
            return list;
        };
        auto fill = [](QString format, const QStringList& parts) {
            for (const QString& part : parts)
                format = format.arg(part);
            return format;
        };
        QTest::newRow("auto change and clock")
            << "4X"
            << "100" << QStringList{"autoChange", "useClock"} << "4X100(文本<-设备)"
            << "" << fill(kClock, names("4X", 101, 7, 1));
        QTest::newRow("all three, packed clock")
            << "4X"
            << "100" << QStringList{"autoChange", "reportFrame", "useClock", "useClockOld"}
            << "4X100(文本<-设备)"
            << "4X101(文本->设备)" << fill(kPackedClock, names("4X", 102, 4, 1));
        QTest::newRow("a type of two registers per step")
            << "LDW"
            << "10" << QStringList{"reportFrame", "useClock", "useClockOld"} << ""
            << "LDW10(文本->设备)" << fill(kPackedClock, names("LDW", 12, 4, 2));
        QTest::newRow("nothing switched on") << "4X"
                                             << "100" << QStringList{} << ""
                                             << ""
                                             << "";
    }

    void controlRegisterTexts() {
        QFETCH(QString, type);
        QFETCH(QString, address);
        QFETCH(QStringList, switches);
        QFETCH(QString, autoChange);
        QFETCH(QString, reportFrame);
        QFETCH(QString, clock);
        CKoravelSetting setting(m_pModbus);
        auto dialog = Open(setting);
        Find<QComboBox>(*dialog, "regType")->setCurrentText(type);
        Type(*dialog, "regAddress", address);
        for (const QString& name : switches)
            Click(*dialog, qPrintable(name));
        QCOMPARE(Text(*dialog, "autoChangeRegister"), autoChange);
        QCOMPARE(Text(*dialog, "reportFrameRegister"), reportFrame);
        QCOMPARE(Text(*dialog, "clockRegisters"), clock);
        QCOMPARE(Text(*dialog, "useClockRegister"), clock.isEmpty() ? "" : "(文本->设备)");
        QCOMPARE(Find<QLabel>(*dialog, "clockRegisters")->isVisible(), !clock.isEmpty());
    }

    void theOldClockModeGoesWithTheClock() {
        CKoravelSetting setting(m_pModbus);
        setting.m_bUseClock = true;
        setting.m_bUseClockOld = true;
        auto dialog = Open(setting);
        auto* old = Find<QCheckBox>(*dialog, "useClockOld");
        QVERIFY(old->isVisible());
        Click(*dialog, "useClock");
        QVERIFY(!old->isVisible());
        QVERIFY(!old->isChecked());
        QVERIFY(!dialog->GetSetting().m_bUseClockOld);
        Click(*dialog, "useClock");
        QVERIFY(old->isVisible());
        QVERIFY(!old->isChecked());
    }

    void anotherTypeMovesTheAddressIntoItsBounds() {
        CKoravelSetting setting(m_pModbus);
        setting.m_Reg.SetAddress(100);
        auto dialog = Open(setting);
        Find<QComboBox>(*dialog, "regType")->setCurrentText("RCP");
        QCOMPARE(Find<CNumEditCtrl>(*dialog, "regAddress")->text(), "1");
        QCOMPARE(dialog->GetSetting().m_Reg.GetTypeName(), "RCP");
        QCOMPARE(dialog->GetSetting().m_Reg.GetIndex(), 5);
        QCOMPARE(dialog->GetSetting().m_Reg.GetAddress(), 1);
        // Typing beyond the type's bounds is corrected at once.
        auto* edit = Find<CNumEditCtrl>(*dialog, "regAddress");
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "7");
        QCOMPARE(edit->text(), "1");
    }

    void aStoredTypeIsFoundByNameElseByPosition() {
        CKoravelSetting named(m_pModbus);
        named.m_Reg.SetRegType(m_pModbus->GetTypeList(PLC_WORD, PLC_ANY)[3], 0);
        QCOMPARE(Find<QComboBox>(*Open(named), "regType")->currentText(), "LWI");
        CKoravelSetting untyped(m_pModbus);
        untyped.m_Reg.SetRegType(nullptr, 2);
        QCOMPARE(Find<QComboBox>(*Open(untyped), "regType")->currentText(), "LW");
    }

    void clearingTheStartUpFrameHidesAndResetsItsFields() {
        CKoravelSetting setting(m_pModbus);
        setting.m_bUseFrame = true;
        setting.m_nUseFrameIndex = 5;
        setting.m_nUseFrameSecond = 9;
        auto dialog = Open(setting);
        auto* index = Find<CNumEditCtrl>(*dialog, "useFrameIndex");
        auto* second = Find<CNumEditCtrl>(*dialog, "useFrameSecond");
        QCOMPARE(index->text(), "5");
        Click(*dialog, "useFrame");
        QVERIFY(!index->isVisible());
        QVERIFY(!second->isVisible());
        Click(*dialog, "useFrame");
        QVERIFY(index->isVisible());
        QCOMPARE(index->text(), "1");
        QCOMPARE(second->text(), "2");
        Click(*dialog, "okButton");
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->GetSetting().m_nUseFrameIndex, 1);
        QCOMPARE(dialog->GetSetting().m_nUseFrameSecond, 2);
    }

    void fieldsOfAClearedStartUpFrameAreHiddenOnOpening() {
        CKoravelSetting setting(m_pModbus);
        setting.m_nUseFrameIndex = 5;
        auto dialog = Open(setting);
        QVERIFY(!Find<CNumEditCtrl>(*dialog, "useFrameIndex")->isVisible());
        QCOMPARE(Find<CNumEditCtrl>(*dialog, "useFrameIndex")->text(), "5");
    }

    void enterAndEscapeMoveTheFocus_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void enterAndEscapeMoveTheFocus() {
        QFETCH(int, key);
        CKoravelSetting setting(m_pModbus);
        auto dialog = Open(setting);
        auto* beginFrame = Find<CNumEditCtrl>(*dialog, "beginFrame");
        beginFrame->setFocus();
        QTest::keyClick(beginFrame, Qt::Key(key));
        QVERIFY(dialog->isVisible());
        QCOMPARE(QApplication::focusWidget(), Find<QWidget>(*dialog, "passWord"));
        // Not even on a button.
        auto* ok = Find<QPushButton>(*dialog, "okButton");
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key(key));
        QVERIFY(dialog->isVisible());
        QVERIFY(QApplication::focusWidget() != ok);
    }

    // OK takes every field; Cancel keeps only what the dialog took at once: the control
    // register switches, type and address.
    void okAndCancelHandOut_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void okAndCancelHandOut() {
        QFETCH(bool, ok);
        CKoravelSetting setting(m_pModbus);
        setting.m_Reg.SetAddress(100);
        auto dialog = Open(setting);
        Type(*dialog, "beginFrame", "3");
        Type(*dialog, "passWord", "1234");
        Type(*dialog, "waitTime", "10");
        Click(*dialog, "showFrame");
        Type(*dialog, "saverFrame", "4");
        Click(*dialog, "useFrame");
        Type(*dialog, "useFrameIndex", "5");
        Type(*dialog, "useFrameSecond", "6");
        Click(*dialog, "canOffline");
        Type(*dialog, "station", "7");
        Find<QComboBox>(*dialog, "regType")->setCurrentText("3X");
        Type(*dialog, "regAddress", "200");
        Click(*dialog, "autoChange");
        Click(*dialog, "reportFrame");
        Click(*dialog, "useClock");
        Click(*dialog, "useClockOld");
        Click(*dialog, ok ? "okButton" : "cancelButton");
        QCOMPARE(dialog->result(), int(ok ? QDialog::Accepted : QDialog::Rejected));

        const CKoravelSetting& s = dialog->GetSetting();
        const CKoravelSetting& before = setting;
        QCOMPARE(s.m_nBeginFrame, ok ? 3 : before.m_nBeginFrame);
        QCOMPARE(s.m_nPassWord, ok ? 1234 : before.m_nPassWord);
        QCOMPARE(s.m_nWaitTime, ok ? 10 : before.m_nWaitTime);
        QCOMPARE(s.m_bBackLight, ok ? false : before.m_bBackLight);
        QCOMPARE(s.m_nSaverFrame, ok ? 4 : before.m_nSaverFrame);
        QCOMPARE(s.m_bUseFrame, ok ? true : before.m_bUseFrame);
        QCOMPARE(s.m_nUseFrameIndex, ok ? 5 : before.m_nUseFrameIndex);
        QCOMPARE(s.m_nUseFrameSecond, ok ? 6 : before.m_nUseFrameSecond);
        QCOMPARE(s.m_bCanOffline, ok ? true : before.m_bCanOffline);
        QCOMPARE(s.m_Reg.GetStation(), ok ? 7 : before.m_Reg.GetStation());
        // Taken at once, kept by both.
        QCOMPARE(s.m_Reg.GetTypeName(), "3X");
        QCOMPARE(s.m_Reg.GetIndex(), 1);
        QCOMPARE(s.m_Reg.GetAddress(), 200);
        QVERIFY(s.m_bAutoChange && s.m_bReportFrame && s.m_bUseClock && s.m_bUseClockOld);
    }
};

QTEST_MAIN(DlgKoravelSettingTest)
#include "tst_dlgkoravelsetting.moc"
