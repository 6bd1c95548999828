// A small project built from nothing in the main window, every element placed with the canvas's
// tools, every property set in the panels and the alarm list dialog as a user sets it, saved,
// compiled with `designer --compile` and shown by the Emulator: what the panels set is what the
// panel shows. The pictures stay beside the test program (buildproject-*.png) for review.

#include "PanelFixture.h"

#include "AlarmList.h"
#include "EditableGrid.h"
#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "KoravelWnd.h"
#include "MainFrm.h"
#include "panels/DlgAlarmList.h"
#include "panels/DlgFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>

using namespace panels;

namespace {

const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.Load(KV_BIN_DIR "/Factory.dll");
    Q_ASSERT(loaded);
    return catalog;
}

// The compact PLC: bits M, data registers D.
constexpr std::uint16_t kCompactPlc = 2;

void Choose(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    panels::Choose(list, index);
}

// The exit code of `program`; what it wrote is shown when it failed.
int Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    const int code =
        finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (code != 0)
        qWarning("%s", process.readAll().constData());
    return code;
}

// How many pixels of `rect` in `picture` are close to `colour`.
int Count(const QImage& picture, const QRect& rect, QColor colour) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 16 &&
                std::abs(pixel.green() - colour.green()) < 16 &&
                std::abs(pixel.blue() - colour.blue()) < 16)
                ++count;
        }
    }
    return count;
}

} // namespace

class BuildProjectTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_work;

    // Places an element of the kind of `action` with the canvas's tool, its top left corner
    // clicked at `at`, then puts it exactly at `at` in its panel's position fields.
    static CGraphBase* Place(CKoravelDoc& doc, CMainFrame& frame, const char* action, QPoint at) {
        CKoravelWnd& canvas = frame.FormView().Canvas();
        const auto mouse = [&canvas](QEvent::Type type, QPoint point, Qt::MouseButtons held) {
            const QPointF local = canvas.ToWidget(point);
            QMouseEvent event(type, local, canvas.mapToGlobal(local), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(&canvas, &event);
        };
        frame.Action(QString::fromLatin1(action))->trigger();
        mouse(QEvent::MouseMove, at, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
        const QList<CGraphBase*> selected = doc.Selection();
        Q_ASSERT_X(selected.size() == 1, "Place", action);
        QWidget* panel = frame.FormView().ShownPanel();
        Type(panel->findChild<CNumEditCtrl*>("positionX"), QString::number(at.x()));
        Type(panel->findChild<CNumEditCtrl*>("positionY"), QString::number(at.y()));
        return selected.front();
    }

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_home.filePath("config"));
        RegisterFontSubstitutions();
    }

    void buildSaveCompileAndShow() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.resize(1280, 800);
        frame.show();
        doc.NewProject(Catalog().GetPLC(kCompactPlc), CCommPara());
        CKoravelFormView& view = frame.FormView();
        const auto find = [&view](const QString& name) {
            QWidget* found = view.ShownPanel()->findChild<QWidget*>(name);
            Q_ASSERT_X(found, "find", qPrintable(name));
            return found;
        };
        const auto number = [&](const QString& name) {
            return static_cast<CNumEditCtrl*>(find(name));
        };
        const auto list = [&](const QString& name) { return static_cast<QComboBox*>(find(name)); };
        const auto place = [&](const char* action, QPoint at) {
            return Place(doc, frame, action, at);
        };

        // The frame: a dark blue background.
        ChooseColour(
            static_cast<CColorButton*>(view.FramePanel().findChild<QWidget*>("backColour")), 5);

        auto* title = static_cast<CGEStaticTxt*>(place("static-text", QPoint(10, 10)));
        auto* text = static_cast<QLineEdit*>(find("text"));
        text->selectAll();
        TypeText(text, QStringLiteral("温度 Temp"));
        Choose(list("fontSize"), QStringLiteral("24x24"));
        ChooseColour(static_cast<CColorButton*>(find("foreColour")), 26); // yellow
        Click(static_cast<QCheckBox*>(find("background")));               // off

        auto* reg = static_cast<CGERegister*>(place("register", QPoint(10, 50)));
        Type(number("address"), QStringLiteral("10"));
        Type(number("pointBits"), QStringLiteral("1"));
        Choose(list("fontSize"), QStringLiteral("24x24"));
        Choose(list("border"), QStringLiteral("有边框"));

        auto* lamp = static_cast<CGEIndicator*>(place("indicator", QPoint(300, 50)));
        Type(number("address"), QStringLiteral("5"));
        Choose(list("shape"), QStringLiteral("方形"));

        auto* key = static_cast<CGEFuncKey*>(place("function-key", QPoint(440, 230)));
        Click(static_cast<QRadioButton*>(find("action2")));
        Type(number("jumpNumber"), QStringLiteral("2"));
        Choose(list("key"), QStringLiteral("ENT"));

        auto* bar = static_cast<CGEBar*>(place("bar", QPoint(10, 100)));
        Type(number("sizeWidth"), QStringLiteral("40"));
        Type(number("sizeHeight"), QStringLiteral("120"));
        Type(number("address"), QStringLiteral("20"));
        Type(number("upperLimit"), QStringLiteral("100"));
        ChooseColour(static_cast<CColorButton*>(find("foreColour")), 16); // red

        auto* trend = static_cast<CGETrend*>(place("trend", QPoint(60, 100)));
        Type(number("sizeWidth"), QStringLiteral("200"));
        Type(number("sizeHeight"), QStringLiteral("120"));
        Type(number("address"), QStringLiteral("20"));
        Type(number("upperLimit"), QStringLiteral("100"));
        Type(number("samplingPoint"), QStringLiteral("30"));

        QImage bitmap(64, 32, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        QPainter(&bitmap).fillRect(8, 8, 48, 16, QColor(0, 160, 0));
        const QString bmp = m_work.filePath("logo.bmp");
        QVERIFY(bitmap.save(bmp, "BMP"));
        QTimer::singleShot(0, [bmp] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // The name goes into the dialog's own name field, as a user types it.
            dialog->setDirectory(QFileInfo(bmp).path());
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QFileInfo(bmp).fileName());
            static_cast<QDialog*>(dialog)->accept();
        });
        auto* picture = static_cast<CGEPicture*>(place("picture", QPoint(400, 10)));
        Type(number("positionX"), QStringLiteral("390"));

        auto* state = static_cast<CGEDynamicTxt*>(place("dynamic-text", QPoint(300, 120)));
        Type(number("address"), QStringLiteral("30"));
        Choose(list("fontSize"), QStringLiteral("24x24"));
        auto* grid = static_cast<CEditableGrid*>(find("texts"));
        EditCell(grid, 0, 2, QStringLiteral("停止"));
        EditCell(grid, 1, 1, QStringLiteral("1"));
        EditCell(grid, 1, 2, QStringLiteral("运行"));
        EditCell(grid, 2, 1, QStringLiteral("2"));
        EditCell(grid, 2, 2, QStringLiteral("故障"));

        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<DlgAlarmList*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            Type(dialog->findChild<CNumEditCtrl*>("address"), QStringLiteral("100"));
            auto* alarms = dialog->findChild<CEditableGrid*>("alarmTexts");
            EditCell(alarms, 0, 1, QStringLiteral("电机过热"));
            EditCell(alarms, 1, 1, QStringLiteral("油压低"));
            dialog->findChild<QPushButton*>("okButton")->click();
        });
        frame.Action("alarm-list")->trigger();

        // What the panels set is in the model.
        QCOMPARE(title->m_strText, QStringLiteral("温度 Temp"));
        QCOMPARE(int(reg->m_Reg.GetAddress()), 10);
        QCOMPARE(int(reg->m_byPointBits), 1);
        QCOMPARE(int(lamp->m_Wire.GetAddress()), 5);
        QCOMPARE(key->m_nType, int(kActionJumpFrame));
        QCOMPARE(int(key->m_SubJmp.m_nNumber), 2);
        QCOMPARE(bar->m_nUpperLimit, 100);
        QCOMPARE(trend->m_nSamplingPoint, 30);
        QCOMPARE(picture->m_nLeft, 390);
        QCOMPARE((*state->m_pTexts)[2].m_strContent, QStringLiteral("故障"));
        QCOMPARE((*doc.Project().m_pAlarmList->m_pTexts)[1].m_strContent, QStringLiteral("油压低"));
        QVERIFY(doc.IsModified());

        const QString project = m_work.filePath("small.kvpr");
        QVERIFY(doc.Save(project));
        frame.grab().save(QDir(KV_TEST_DIR).filePath("buildproject-window.png"));
        const QString image = m_work.filePath("sheetpara.dat");
        QCOMPARE(Run(KV_BIN_DIR "/designer", {"--compile", project, "--output", image}), 0);

        const QString running = QDir(KV_TEST_DIR).filePath("buildproject-panel.png");
        QCOMPARE(
            Run(KV_BIN_DIR "/Emulator",
                {"--image", image, "--poke", "word:10=1234", "--poke", "word:20=50", "--poke",
                 "bit:5=1", "--poke", "word:30=1", "--run-ms", "1500", "--screenshot", running}),
            0);
        const QImage panel(running);
        QCOMPARE(panel.size(), QSize(480, 272));
        // The bar at 50 of 0 to 100: red below its middle, white above.
        QVERIFY(Count(panel, QRect(15, 170, 30, 45), Qt::red) > 30 * 40);
        QVERIFY(Count(panel, QRect(15, 105, 30, 45), Qt::white) > 30 * 40);
        // The title in yellow straight on the dark blue frame.
        QVERIFY(Count(panel, title->GetRect(), Qt::yellow) > 20);
        QVERIFY(Count(panel, title->GetRect(), Qt::white) == 0);
        // The picture where the panel put it.
        QVERIFY(Count(panel, QRect(398, 18, 48, 16), QColor(0, 160, 0)) > 40 * 12);

        // Both alarms raised, the ALM key shows their texts in the alarm list's red.
        const QString alarms = QDir(KV_TEST_DIR).filePath("buildproject-alarms.png");
        QCOMPARE(Run(KV_BIN_DIR "/Emulator",
                     {"--image", image, "--poke", "bit:100=1", "--poke", "bit:101=1", "--press",
                      "ALM@300", "--run-ms", "1500", "--screenshot", alarms}),
                 0);
        QVERIFY(Count(QImage(alarms), QRect(0, 0, 480, 80), Qt::red) > 50);
    }
};

QTEST_MAIN(BuildProjectTest)
#include "tst_buildproject.moc"
