// The project check in the window: the dock's findings, a click leading to the element, the
// budget pane following the edits, F7.

#include "CanvasTestSupport.h"
#include "GEPicture.h"
#include "TextFont.h"
#include "commands/ElementCommands.h"

#include <QDockWidget>
#include <QLabel>
#include <QTreeWidget>

namespace {

constexpr int kWaitMs = 10000;

QLabel* BudgetPane(CMainFrame& frame) {
    return frame.findChild<QLabel*>(QStringLiteral("budgetPane"));
}

// A full-screen picture in one colour; pictures of different colours take their own pixels.
std::unique_ptr<CGraphBase> FullScreenPicture(QRgb colour) {
    auto picture = std::make_unique<CGEPicture>();
    QImage image(480, 272, QImage::Format_RGB32);
    image.fill(colour);
    const bool taken = picture->SetBitmap(image);
    Q_ASSERT(taken);
    Q_UNUSED(taken);
    picture->SetRect(QRect(0, 0, 480, 272));
    return picture;
}

} // namespace

class CheckDockTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The faces the designer draws with, as its start-up registers them.
        RegisterFontSubstitutions();
        QSettings(QStringLiteral("Halvern-Koravel"), QStringLiteral("designer")).clear();
    }

    void f7ShowsTheFindingsAndAClickLeadsToTheElement() {
        CKoravelDoc doc(Catalog());
        CMainFrame frame(doc);
        frame.resize(1280, 800);
        frame.show();
        QApplication::setActiveWindow(&frame);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        auto* dock = frame.findChild<QDockWidget*>(QStringLiteral("checkDock"));
        QVERIFY(dock && dock->isHidden());
        QCOMPARE(frame.Action("check-project")->shortcut(), QKeySequence(Qt::Key_F7));
        QVERIFY(!frame.Action("check-project")->isEnabled());

        QVERIFY(frame.OpenProject(QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr")));
        QVERIFY(frame.Action("check-project")->isEnabled());
        QTest::keyClick(&frame, Qt::Key_F7);
        QVERIFY(dock->isVisible());

        auto* list = dock->findChild<QTreeWidget*>(QStringLiteral("findingList"));
        QVERIFY(QTest::qWaitFor([list] { return list->topLevelItemCount() > 0; }, kWaitMs));
        QTreeWidgetItem* error = nullptr;
        for (int i = 0; i < list->topLevelItemCount() && !error; ++i) {
            if (list->topLevelItem(i)->toolTip(0) == QStringLiteral("错误"))
                error = list->topLevelItem(i);
        }
        QVERIFY(error);
        QCOMPARE(error->text(0), QStringLiteral("画面 1  元件 3 (寄存器)"));
        QVERIFY(error->text(1).startsWith(QStringLiteral("输入上限 4294967295")));
        QVERIFY(dock->findChild<QLabel*>(QStringLiteral("checkSummary"))
                    ->text()
                    .startsWith(QStringLiteral("1 个错误，")));

        // From another frame, the click makes frame 1 current and selects the register alone.
        doc.ShowFrame(doc.Project().m_Frames.back().get());
        QVERIFY(doc.CurrentFrame()->m_nID != 1);
        const QRect row = list->visualItemRect(error);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(doc.CurrentFrame()->m_nID, std::uint16_t(1));
        QCOMPARE(doc.Selection(),
                 QList<CGraphBase*>{doc.CurrentFrame()->m_Parts[3].get()});
    }

    void theBudgetPaneFollowsTheEditsAndTurnsRedAboveTheLimit() {
        Designer window;
        QLabel* pane = BudgetPane(window.Frame());
        QVERIFY(QTest::qWaitFor([pane] { return pane->text().startsWith("镜像 "); }, kWaitMs));
        const auto kib = [pane] { return pane->text().section(u' ', 1, 1).toInt(); };
        QVERIFY(QTest::qWaitFor([&] { return kib() > 0; }, kWaitMs));
        const int empty = kib();
        QVERIFY(pane->styleSheet().isEmpty());

        // 480 x 272 pixels of two bytes each.
        const auto add = [&](QRgb colour) {
            std::vector<std::unique_ptr<CGraphBase>> elements;
            elements.push_back(FullScreenPicture(colour));
            window.Doc().Push(new CmdAddElements(window.Doc(), &window.Current(),
                                                 std::move(elements),
                                                 CmdAddElements::Select::Added, "图片"));
        };
        add(qRgb(255, 0, 0));
        QVERIFY(QTest::qWaitFor([&] { return kib() >= empty + 255; }, kWaitMs));
        QCOMPARE(pane->text(), QStringLiteral("镜像 %1 / 1024 KB").arg(kib()));
        QVERIFY(pane->styleSheet().isEmpty());

        for (const QRgb colour : {qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(0, 0, 0)})
            add(colour);
        QVERIFY(QTest::qWaitFor([&] { return kib() > 1024; }, kWaitMs));
        QVERIFY(pane->styleSheet().contains(QStringLiteral("color")));
        QVERIFY(pane->toolTip().contains(QStringLiteral("largest pictures")));

        window.Doc().UndoStack().undo();
        QVERIFY(QTest::qWaitFor([&] { return kib() < 1024; }, kWaitMs));
        QVERIFY(pane->styleSheet().isEmpty());
    }
};

QTEST_MAIN(CheckDockTest)
#include "tst_checkdock.moc"
