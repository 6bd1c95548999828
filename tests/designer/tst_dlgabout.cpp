#include "DlgAbout.h"

#include <QLabel>
#include <QTest>

class DlgAboutTest : public QObject {
    Q_OBJECT

private slots:
    // The icon comes from the program's resources through the SVG support: both must be
    // linked in for it to show.
    void showsTheApplicationIconAndTheVersion() {
        DlgAbout dialog(QStringLiteral("9.8.7"));
        QCOMPARE(dialog.windowTitle(), "关于我们");
        const QPixmap icon = dialog.findChild<QLabel*>(QStringLiteral("applicationIcon"))->pixmap();
        QVERIFY(!icon.isNull());
        const QImage image = icon.toImage();
        QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2).alpha() > 0);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("version"))->text(), "版本 9.8.7");
        QVERIFY(!DlgAbout::BuildVersion().isEmpty());
    }
};

QTEST_MAIN(DlgAboutTest)
#include "tst_dlgabout.moc"
