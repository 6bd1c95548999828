// Pictures of every panel with the demo's elements, as `designer --window-screenshot PROJECT
// --select FRAME:POSITION` shows them, compared pixel for pixel with the reviewed pictures in
// tests/designer/golden. A picture that differs is written beside the test program for review;
// KV_UPDATE_GOLDEN=1 writes the current pictures as the reviewed ones.

#include "AlarmList.h"
#include "KoravelDoc.h"
#include "KoravelFormView.h"
#include "LumoKoravel.h"
#include "MainFrm.h"
#include "PLCFactory.h"
#include "TextFont.h"
#include "panels/DlgAlarmList.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");
const QString kGolden = QStringLiteral(KV_SOURCE_DIR "/tests/designer/golden");

const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.Load(KV_BIN_DIR "/Factory.dll");
    Q_ASSERT(loaded);
    return catalog;
}

// Compares `picture` with the reviewed picture `name`, or writes it in its place when asked.
void CompareWithGolden(const QImage& picture, const QString& name) {
    const QString golden = QDir(kGolden).filePath(name + QStringLiteral(".png"));
    if (qEnvironmentVariableIntValue("KV_UPDATE_GOLDEN") == 1) {
        QVERIFY(QDir().mkpath(kGolden));
        QVERIFY(picture.save(golden));
        return;
    }
    const QImage expected(golden);
    QVERIFY2(!expected.isNull(), qPrintable(golden + QStringLiteral(" is missing")));
    const QImage actual = picture.convertToFormat(expected.format());
    if (actual != expected) {
        const QString written = QDir(KV_TEST_DIR).filePath(name + QStringLiteral("-actual.png"));
        actual.save(written);
        QFAIL(qPrintable(QStringLiteral("%1 differs from %2").arg(written, golden)));
    }
}

} // namespace

class PanelShotsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_home.filePath("config"));
        RegisterFontSubstitutions();
    }

    void panels_data() {
        QTest::addColumn<QString>("select");
        QTest::addColumn<QString>("panel");
        QTest::newRow("frame") << "1"
                               << "framePanel";
        QTest::newRow("picture") << "1:0"
                                 << "picturePanel";
        QTest::newRow("static text") << "1:1"
                                     << "staticTextPanel";
        QTest::newRow("register") << "1:3"
                                  << "registerPanel";
        QTest::newRow("dynamic text") << "1:4"
                                      << "dynamicTextPanel";
        QTest::newRow("indicator") << "1:5"
                                   << "indicatorPanel";
        QTest::newRow("jump key") << "1:6"
                                  << "functionKeyPanel";
        QTest::newRow("coil key") << "1:7"
                                  << "functionKeyPanel";
        QTest::newRow("bar") << "2:1"
                             << "barPanel";
        QTest::newRow("trend") << "2:2"
                               << "trendPanel";
        QTest::newRow("register key") << "2:3"
                                      << "functionKeyPanel";
        QTest::newRow("recipe key") << "2:4"
                                    << "functionKeyPanel";
        QTest::newRow("multi-state key") << "2:5"
                                         << "functionKeyPanel";
    }

    // The whole panel, also the part the property area shows only when scrolled.
    void panels() {
        QFETCH(QString, select);
        QFETCH(QString, panel);
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.resize(1280, 800);
        frame.show();
        QStringList messages;
        QVERIFY(doc.Load(kDemo, messages));
        QVERIFY(SelectForScreenshot(doc, select));
        QWidget* shown = frame.FormView().ShownPanel();
        QVERIFY(shown);
        QCOMPARE(shown->objectName(), panel);
        QApplication::processEvents();
        CompareWithGolden(shown->grab().toImage(),
                          QStringLiteral("panel-") + QString(select).replace(u':', u'-'));
    }

    void alarmListDialog() {
        CKoravelDoc doc(Catalog());
        QStringList messages;
        QVERIFY(doc.Load(kDemo, messages));
        DlgAlarmList dialog(doc.Project().m_pAlarmList.get(), doc.Project().m_pCurrentPLC);
        dialog.show();
        QApplication::processEvents();
        CompareWithGolden(dialog.grab().toImage(), QStringLiteral("alarm-list"));
    }

    // The command line: the window picture with a selection, and a selection that is not there.
    void windowScreenshotSelects() {
        const QString out = m_home.filePath("window.png");
        QProcess designer;
        designer.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        designer.start(QStringLiteral(KV_BIN_DIR "/designer"),
                       {"--window-screenshot", out, kDemo, "--select", "2:1"});
        QVERIFY(designer.waitForFinished(60000));
        QCOMPARE(designer.exitCode(), 0);
        QCOMPARE(QImage(out).size(), QSize(1280, 800));

        designer.start(QStringLiteral(KV_BIN_DIR "/designer"),
                       {"--window-screenshot", out, kDemo, "--select", "2:99"});
        QVERIFY(designer.waitForFinished(60000));
        QCOMPARE(designer.exitCode(), 1);
    }
};

QTEST_MAIN(PanelShotsTest)
#include "tst_panelshots.moc"
