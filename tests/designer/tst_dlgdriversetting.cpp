#include "DlgDriverSetting.h"
#include "MessageWatcher.h"
#include "NumEditCtrl.h"
#include "PLCFactory.h"
#include "Profile.h"
#include "Scramble.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// What the dialog shows: PLC, baud rate, the four lists' positions and, when shown, the
// panel's station number.
struct Shown {
    QString plc;
    QString baud;
    QList<int> indexes; // data bits, stop bits, parity, communication type
    QString station;    // empty: hidden

    bool operator==(const Shown&) const = default;
};

char* toString(const Shown& s) {
    QStringList indexes;
    for (int i : s.indexes)
        indexes << QString::number(i);
    return qstrdup(qPrintable(
        QStringLiteral("%1 / %2 / %3 / %4").arg(s.plc, s.baud, indexes.join(','), s.station)));
}

} // namespace

class DlgDriverSettingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    CPLCFactory m_catalog;

    QComboBox* List(QDialog& dialog, const char* name) {
        return dialog.findChild<QComboBox*>(QLatin1String(name));
    }

    Shown ShownBy(QDialog& dialog) {
        auto* station = dialog.findChild<CNumEditCtrl*>(QStringLiteral("station"));
        const bool visible = !station->isHidden();
        const bool labelled =
            !dialog.findChild<QLabel*>(QStringLiteral("stationLabel"))->isHidden();
        return {List(dialog, "plcList")->currentText(),
                List(dialog, "baudList")->currentText(),
                {List(dialog, "dataBitList")->currentIndex(),
                 List(dialog, "stopBitList")->currentIndex(),
                 List(dialog, "parityList")->currentIndex(),
                 List(dialog, "serialTypeList")->currentIndex()},
                visible != labelled ? "label apart from its field"
                : visible           ? station->text()
                                    : QString()};
    }

private slots:
    void initTestCase() {
        // The profile lives in a folder of the test's own.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QVERIFY(m_catalog.Load(QStringLiteral(KV_BIN_DIR "/Factory.dll")));
    }

    void listsThePLCsByID() {
        DlgDriverSetting dialog(m_catalog, m_catalog.GetPLC(1), CCommPara());
        QCOMPARE(Items(List(dialog, "plcList")),
                 QStringList({"Modbus RTU", "Compact PLC (programming port)", "QF-LX 一体机",
                              "Modbus ASCII", "Modbus RTU Slave", "Compact PLC (RS-485 link)"}));
        QCOMPARE(Items(List(dialog, "parityList")), QStringList({"无", "奇校验", "偶校验"}));
        QCOMPARE(dialog.windowTitle(), "驱动设置");
    }

    // A new project starts from the catalog defaults of the PLC chosen last.
    void newProjectShowsTheDefaultsOfTheLastPLC_data() {
        QTest::addColumn<int>("remembered");
        QTest::addColumn<Shown>("shown");
        const Shown modbus{"Modbus RTU", "9600", {1, 0, 0, 2}, ""};
        QTest::newRow("nothing remembered") << -1 << modbus;
        QTest::newRow("an ID the catalog lacks") << 9 << modbus;
        QTest::newRow("the local description") << 0 << modbus;
        QTest::newRow("ID 2") << 2
                              << Shown{"Compact PLC (programming port)", "9600", {0, 0, 2, 1}, ""};
        QTest::newRow("a PLC asking for the station")
            << 5 << Shown{"Modbus RTU Slave", "19200", {1, 0, 2, 2}, "1"};
    }

    void newProjectShowsTheDefaultsOfTheLastPLC() {
        QFETCH(int, remembered);
        QFETCH(Shown, shown);
        ProfileWriteString("Protocols", "PLCID", remembered < 0 ? "" : QString::number(remembered));
        CCommPara comm;
        comm.m_nBaudRate = 4800;
        DlgDriverSetting dialog(m_catalog, nullptr, comm);
        QCOMPARE(ShownBy(dialog), shown);
    }

    void aProjectShowsItsOwnParameters() {
        CCommPara comm;
        comm.m_nBaudRate = 38400;
        comm.m_nDataBit = 1;
        comm.m_nStopBit = 1;
        comm.m_nParityBit = 1;
        comm.m_nSerialType = 0;
        comm.m_nDisplayID = 7;
        DlgDriverSetting dialog(m_catalog, m_catalog.GetPLC(5), comm);
        QCOMPARE(ShownBy(dialog), (Shown{"Modbus RTU Slave", "38400", {1, 1, 1, 0}, "7"}));
        QCOMPARE(Items(List(dialog, "baudList")),
                 QStringList({"4800", "9600", "19200", "38400", "57600", "115200"}));
    }

    void anotherPLCOrDefaultsReloadTheCatalogValues() {
        CCommPara comm;
        comm.m_nBaudRate = 38400;
        DlgDriverSetting dialog(m_catalog, m_catalog.GetPLC(1), comm);
        List(dialog, "plcList")->setCurrentIndex(4);
        QCOMPARE(ShownBy(dialog), (Shown{"Modbus RTU Slave", "19200", {1, 0, 2, 2}, "1"}));
        List(dialog, "baudList")->setCurrentIndex(0);
        List(dialog, "parityList")->setCurrentIndex(0);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("defaultsButton")),
                          Qt::LeftButton);
        QCOMPARE(ShownBy(dialog), (Shown{"Modbus RTU Slave", "19200", {1, 0, 2, 2}, "1"}));
        List(dialog, "plcList")->setCurrentIndex(2);
        QCOMPARE(ShownBy(dialog), (Shown{"QF-LX 一体机", "115200", {1, 0, 0, 0}, ""}));
    }

    void okHandsOutTheChoiceAndRemembersThePLC_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("changed");
        QTest::newRow("same PLC") << 2 << 2 << false;
        QTest::newRow("another PLC") << 2 << 4 << true;
        QTest::newRow("new project") << 0 << 2 << true;
    }

    void okHandsOutTheChoiceAndRemembersThePLC() {
        QFETCH(int, current);
        QFETCH(int, chosen);
        QFETCH(bool, changed);
        ProfileWriteInt("Protocols", "PLCID", 1);
        CCommPara comm;
        comm.m_nDisplayID = 9;
        DlgDriverSetting dialog(m_catalog, m_catalog.GetPLC(static_cast<std::uint16_t>(current)),
                                comm);
        dialog.show();
        List(dialog, "plcList")->setCurrentIndex(chosen - 1);
        List(dialog, "baudList")->setCurrentText("19200");
        List(dialog, "dataBitList")->setCurrentIndex(1);
        List(dialog, "stopBitList")->setCurrentIndex(1);
        List(dialog, "parityList")->setCurrentIndex(1);
        List(dialog, "serialTypeList")->setCurrentIndex(2);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetPLC(), m_catalog.GetPLC(static_cast<std::uint16_t>(chosen)));
        QCOMPARE(dialog.IsChanged(), changed);
        const CCommPara& result = dialog.GetCommPara();
        QCOMPARE(QList<int>({result.m_nBaudRate, result.m_nDataBit, result.m_nStopBit,
                             result.m_nParityBit, result.m_nSerialType, result.m_nDisplayID}),
                 QList<int>({19200, 1, 1, 1, 2, 9}));
        QCOMPARE(ProfileReadInt("Protocols", "PLCID", -1), chosen);
    }

    // The panel's station number is asked for only where the PLC wants it, and then kept.
    void okKeepsTheStationNumberTyped() {
        CCommPara comm;
        comm.m_nDisplayID = 3;
        DlgDriverSetting dialog(m_catalog, m_catalog.GetPLC(5), comm);
        dialog.show();
        auto* station = dialog.findChild<CNumEditCtrl*>(QStringLiteral("station"));
        station->selectAll();
        QTest::keyClicks(station, "300");
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        QCOMPARE(dialog.GetCommPara().m_nDisplayID, 255);
    }

    // A stored value that the lists do not offer selects nothing and stays as stored.
    void valuesTheListsLackStayAsStored() {
        CCommPara comm;
        comm.m_nBaudRate = 14400;
        comm.m_nParityBit = 5;
        DlgDriverSetting dialog(m_catalog, m_catalog.GetPLC(1), comm);
        QCOMPARE(List(dialog, "baudList")->currentIndex(), -1);
        QCOMPARE(List(dialog, "parityList")->currentIndex(), -1);
        dialog.accept();
        QCOMPARE(dialog.GetCommPara().m_nBaudRate, 14400);
        QCOMPARE(dialog.GetCommPara().m_nParityBit, 5);
    }

    // Without a PLC to start from, the dialog says so and cannot be confirmed until one is
    // chosen.
    void noPLCToStartFrom() {
        CPLCFactory catalog;
        QByteArray text("<Drivers><PLCS><PLC ID=\"0\" Name=\"Local\"/><PLC ID=\"2\" Name=\"Two\"/>"
                        "<PLC ID=\"3\" Name=\"Three\"/></PLCS></Drivers>");
        XorScramble(text);
        QVERIFY(catalog.ReadCatalog(text));
        ProfileWriteInt("Protocols", "PLCID", 7);

        MessageWatcher watcher;
        DlgDriverSetting dialog(catalog, nullptr, CCommPara());
        dialog.show();
        QTRY_COMPARE(watcher.Seen(), QStringList{"提示|读取上次的PLC出错了！"});
        QCOMPARE(watcher.Icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
        QComboBox* plcList = List(dialog, "plcList");
        QCOMPARE(Items(plcList), QStringList({"Two", "Three"}));
        QCOMPARE(plcList->currentIndex(), -1);
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
        QVERIFY(!ok->isEnabled());
        dialog.accept();
        QVERIFY(dialog.isVisible());

        plcList->setCurrentIndex(1);
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetPLC(), catalog.GetPLC(3));
        QCOMPARE(ProfileReadInt("Protocols", "PLCID", -1), 3);
    }
};

QTEST_MAIN(DlgDriverSettingTest)
#include "tst_dlgdriversetting.moc"
