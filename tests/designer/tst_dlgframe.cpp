#include "DlgCopyFrame.h"
#include "DlgNewFrame.h"
#include "MessageWatcher.h"
#include "NumEditCtrl.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// Types `text` over the field's content and confirms with Enter, which reaches the dialog's
// default button without the field losing the focus.
void EnterNumber(QDialog& dialog, const QString& text) {
    auto* edit = dialog.findChild<CNumEditCtrl*>(QStringLiteral("frameNumber"));
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

const QString kRangeMessage = QStringLiteral("designer|“请填入一个在%1和%2之间的整数。”");

} // namespace

class DlgFrameTest : public QObject {
    Q_OBJECT

private slots:
    void newFrameTakesNumbersFrom1To60000_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("number"); // 0: refused
        QTest::newRow("0 is refused") << "0" << 0;
        QTest::newRow("above 60000 is refused") << "60001" << 0;
        QTest::newRow("a number beyond the spin is taken") << "60000" << 60000;
        QTest::newRow("within the spin") << "5" << 5;
    }

    void newFrameTakesNumbersFrom1To60000() {
        QFETCH(QString, typed);
        QFETCH(int, number);
        DlgNewFrame dialog(7);
        dialog.show();
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("frameNumber"))->text(), "7");
        MessageWatcher watcher;
        EnterNumber(dialog, typed);
        if (number == 0) {
            QCOMPARE(watcher.Seen(), QStringList{kRangeMessage.arg(1).arg(60000)});
            QVERIFY(dialog.isVisible());
        } else {
            QVERIFY(watcher.Seen().isEmpty());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.GetNumber(), number);
        }
    }

    void newFrameDescriptionHoldsAtMost256Characters() {
        DlgNewFrame dialog(1);
        dialog.show();
        auto* desc = dialog.findChild<QLineEdit*>(QStringLiteral("frameDesc"));
        QTest::keyClicks(desc, QString(300, u'x'));
        QTest::keyClick(desc, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetNumber(), 1);
        QCOMPARE(dialog.GetDesc(), QString(256, u'x'));
    }

    void copyFrameRefusesItsOwnNumberAndNumbersBeyond16Bits_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: taken
        QTest::newRow("own number") << "3"
                                    << "提示|画面号不能相同！";
        QTest::newRow("beyond 65535") << "70000" << kRangeMessage.arg(1).arg(65535);
        QTest::newRow("0") << "0" << kRangeMessage.arg(1).arg(65535);
        QTest::newRow("another number") << "9"
                                        << "";
    }

    void copyFrameRefusesItsOwnNumberAndNumbersBeyond16Bits() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        DlgCopyFrame dialog(3, 4);
        dialog.show();
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("sourceLabel"))->text(),
                 "复制3号画面到:");
        MessageWatcher watcher;
        EnterNumber(dialog, typed);
        if (!message.isEmpty()) {
            QCOMPARE(watcher.Seen(), QStringList{message});
            QVERIFY(dialog.isVisible());
        } else {
            QVERIFY(watcher.Seen().isEmpty());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.GetNumber(), 9);
        }
    }
};

QTEST_MAIN(DlgFrameTest)
#include "tst_dlgframe.moc"
