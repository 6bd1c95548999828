#include "BatchLoaderDialog.h"
#include "LoginDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

// Fontconfig keeps its font cache until exit; LeakSanitizer reports it in sanitizer builds.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace {

class Widgets : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "batchloader_dialog_tests";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }

    // Closes the next message box once it is shown; returns its text through `text`.
    static void AnswerNextMessageBox(QString* text) {
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
};

TEST_F(Widgets, LoginTakesSixteenCharactersAndClosesOnTheFourthFailure) {
    const QByteArray stored("0123456789abcdef");
    {
        LoginDialog login(stored);
        login.PasswordEdit()->setText("0123456789abcdef");
        login.LogIn();
        EXPECT_EQ(login.result(), QDialog::Accepted);
    }
    LoginDialog login(QByteArray("pw") + QByteArray(14, '\0'));
    login.show();
    login.PasswordEdit()->setText("wrong");
    for (int i = 0; i < LoginDialog::kAllowedFailures; ++i) {
        login.LogIn();
        EXPECT_TRUE(login.isVisible()) << i;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    QString message;
    AnswerNextMessageBox(&message);
    login.LogIn();
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(login.result(), QDialog::Rejected);
    EXPECT_TRUE(message.contains("4")) << message.toStdString();
}

TEST_F(Widgets, MainDialogStartsIdleWithItsTitle) {
    BatchLoaderDialog dialog({true, {}, {}}, QStringLiteral("三号线"));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "三号线");
    EXPECT_TRUE(dialog.StartButton()->isEnabled());
    int percent = 0;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        percent += label->text() == "100%";
    EXPECT_EQ(percent, 2);
    dialog.AddLogLine("11:00:00 一行");
    EXPECT_EQ(dialog.Log()->currentRow(), 0);
    dialog.grab().save(KV_TEST_DIR "/batchloader-dialog.png");

    BatchLoaderDialog fixed({false, {}, "Varnel.hmi"}, {});
    EXPECT_EQ(fixed.windowTitle(), "KV250 批量下载工具");
}

} // namespace
