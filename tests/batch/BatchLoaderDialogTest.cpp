#include "BatchLoaderDialog.h"
#include "LoginDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// Fontconfig keeps its font cache until exit; LeakSanitizer reports it in sanitizer builds.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace {

// Answers the next message box once it is shown; its text goes to `text`.
void AnswerNextMessageBox(QString* text) {
    QTimer::singleShot(0, [text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextMessageBox(text);
            return;
        }
        *text = box->text();
        box->accept();
    });
}

template <typename T> T* Child(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no child named %s", name);
    return child;
}

} // namespace

class BatchLoaderDialogTest : public QObject {
    Q_OBJECT

private slots:
    void loginTakesSixteenCharactersAndClosesOnTheFourthFailure() {
        {
            LoginDialog login("0123456789abcdef");
            login.show();
            // The seventeenth character is not taken.
            QTest::keyClicks(Child<QLineEdit>(login, "password"), "0123456789abcdefX");
            QTest::mouseClick(Child<QPushButton>(login, "login"), Qt::LeftButton);
            QCOMPARE(login.result(), QDialog::Accepted);
        }
        LoginDialog login(QByteArray("pw") + QByteArray(14, '\0'));
        login.show();
        QTest::keyClicks(Child<QLineEdit>(login, "password"), "wrong");
        auto* button = Child<QPushButton>(login, "login");
        // Enter does not log in; only the button does.
        QTest::keyClick(&login, Qt::Key_Return);
        QVERIFY(login.isVisible());
        for (int i = 0; i < LoginDialog::kAllowedFailures; ++i) {
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(login.isVisible());
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
        }
        QString message;
        AnswerNextMessageBox(&message);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!login.isVisible());
        QCOMPARE(login.result(), QDialog::Rejected);
        QVERIFY2(message.contains("4"), qPrintable(message));
    }

    void mainDialogStartsIdleWithItsTitle() {
        BatchLoaderDialog dialog({true, {}, {}}, QStringLiteral("三号线"));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("三号线"));
        QVERIFY(Child<QPushButton>(dialog, "start")->isEnabled());
        int percent = 0;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            percent += label->text() == "100%";
        QCOMPARE(percent, 2);
        dialog.AddLogLine("11:00:00 一行");
        QCOMPARE(Child<QListWidget>(dialog, "log")->currentRow(), 0);
        dialog.grab().save(KV_TEST_DIR "/batchloader-dialog.png");

        BatchLoaderDialog fixed({false, {}, "Varnel.hmi"}, {});
        QCOMPARE(fixed.windowTitle(), QStringLiteral("KV250 批量下载工具"));
    }
};

QTEST_MAIN(BatchLoaderDialogTest)
#include "BatchLoaderDialogTest.moc"
