#include "NumEditCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

Q_DECLARE_METATYPE(NumFormat)

namespace {

using Value = std::int64_t;

// A shown, active window with the edit under test and a second edit to move the focus to.
struct Window {
    Window() : edit(new CNumEditCtrl(&widget)), other(new QLineEdit(&widget)) {
        auto* layout = new QVBoxLayout(&widget);
        layout->addWidget(edit);
        layout->addWidget(other);
        widget.show();
        widget.activateWindow();
    }
    bool Ready() { return QTest::qWaitForWindowActive(&widget); }

    QWidget widget;
    CNumEditCtrl* edit;
    QLineEdit* other;
};

QList<std::int64_t> Reported(const QSignalSpy& spy) {
    QList<std::int64_t> values;
    for (const QList<QVariant>& call : spy) {
        values << call.at(0).value<std::int64_t>();
    }
    return values;
}

} // namespace

class NumEditTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheValueInItsFormat_data() {
        QTest::addColumn<NumFormat>("format");
        QTest::addColumn<Value>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("hex") << NumFormat::Hex << Value(255) << "FF";
        QTest::newRow("octal") << NumFormat::Oct << Value(8) << "10";
        QTest::newRow("decimal") << NumFormat::Dec << Value(65535) << "65535";
        QTest::newRow("signed") << NumFormat::DecSign << Value(-32768) << "-32768";
        QTest::newRow("hex beyond 32 bits")
            << NumFormat::Hex << Value(0x123456789A) << "123456789A";
        QTest::newRow("decimal beyond 32 bits")
            << NumFormat::Dec << Value(4294967296) << "4294967296";
        QTest::newRow("a stored format out of range shows decimal")
            << static_cast<NumFormat>(7) << Value(255) << "255";
    }

    void showsTheValueInItsFormat() {
        QFETCH(NumFormat, format);
        QFETCH(Value, value);
        QFETCH(QString, text);
        CNumEditCtrl edit;
        edit.SetFormat(format);
        QSignalSpy reported(&edit, &CNumEditCtrl::ValueEdited);
        edit.SetValue(value);
        QCOMPARE(edit.text(), text);
        QCOMPARE(edit.GetValue(), value);
        QCOMPARE(reported.count(), 0);
    }

    // Dialog data exchange works in decimal whatever the edit shows.
    void exchangesDecimalText() {
        CNumEditCtrl edit;
        edit.SetFormat(NumFormat::Hex);
        edit.SetValue(255);
        QCOMPARE(edit.text(), "FF");
        QCOMPARE(edit.GetDecimalText(), "255");
        edit.SetDecimalText("4096");
        QCOMPARE(edit.text(), "1000");
        QCOMPARE(edit.GetValue(), 4096);
    }

    void formatChangeShowsTheSameValue() {
        CNumEditCtrl edit;
        edit.SetValue(255);
        edit.SetFormat(NumFormat::Oct);
        QCOMPARE(edit.text(), "377");
        edit.SetFormat(NumFormat::Hex);
        QCOMPARE(edit.text(), "FF");
    }

    void emptyEditReadsZero() {
        CNumEditCtrl edit;
        edit.setText(QString());
        QCOMPARE(edit.GetValue(), 0);
        QCOMPARE(edit.text(), "0");
    }

    void typedCharactersMustFitTheFormat_data() {
        QTest::addColumn<NumFormat>("format");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Value>("value");
        QTest::addColumn<int>("refused");
        QTest::newRow("decimal refuses letters") << NumFormat::Dec << "12a3" << Value(123) << 1;
        QTest::newRow("decimal refuses a minus") << NumFormat::Dec << "-7" << Value(7) << 1;
        QTest::newRow("signed takes a minus") << NumFormat::DecSign << "-12" << Value(-12) << 0;
        QTest::newRow("octal refuses 8 and 9") << NumFormat::Oct << "789" << Value(7) << 2;
        QTest::newRow("hex takes both cases") << NumFormat::Hex << "1aFg" << Value(0x1AF) << 1;
    }

    void typedCharactersMustFitTheFormat() {
        QFETCH(NumFormat, format);
        QFETCH(QString, typed);
        QFETCH(Value, value);
        QFETCH(int, refused);
        CNumEditCtrl edit;
        edit.SetFormat(format);
        edit.setText(QString());
        QSignalSpy beeps(&edit, &CNumEditCtrl::InputRefused);
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.GetValue(), value);
        QCOMPARE(beeps.count(), refused);
    }

    void controlKeysPass() {
        CNumEditCtrl edit;
        edit.SetValue(123);
        QSignalSpy beeps(&edit, &CNumEditCtrl::InputRefused);
        edit.setCursorPosition(3);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QCOMPARE(edit.text(), "2");
        QCOMPARE(beeps.count(), 0);
    }

    void pasteMustFitTheFormat_data() {
        QTest::addColumn<NumFormat>("format");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");
        QTest::newRow("12a into decimal") << NumFormat::Dec << "12a"
                                          << "7";
        QTest::newRow("a line break into decimal") << NumFormat::Dec << "12\n"
                                                   << "7";
        QTest::newRow("digits into decimal") << NumFormat::Dec << "123"
                                             << "123";
        QTest::newRow("12a into hex") << NumFormat::Hex << "12a"
                                      << "12a";
        QTest::newRow("a minus into signed") << NumFormat::DecSign << "-40"
                                             << "-40";
    }

    void pasteMustFitTheFormat() {
        QFETCH(NumFormat, format);
        QFETCH(QString, clipboard);
        QFETCH(QString, text);
        CNumEditCtrl edit;
        edit.SetFormat(format);
        edit.SetValue(7);
        edit.selectAll();
        QApplication::clipboard()->setText(clipboard);
        QSignalSpy beeps(&edit, &CNumEditCtrl::InputRefused);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), text);
        QCOMPARE(beeps.count(), text == "7" ? 1 : 0);
    }

    void typingReportsEveryChange() {
        CNumEditCtrl edit;
        QSignalSpy reported(&edit, &CNumEditCtrl::ValueEdited);
        edit.selectAll();
        QTest::keyClicks(&edit, "1234");
        QCOMPARE(Reported(reported), (QList<std::int64_t>{1, 12, 123, 1234}));
        edit.SetValue(5);
        QCOMPARE(reported.count(), 4);
    }

    void losingTheFocusCorrects_data() {
        QTest::addColumn<bool>("evenOnly");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("even only: 7 becomes 6") << true << 0.0 << 65535.0 << "7"
                                                << "6";
        QTest::newRow("above the maximum") << false << 0.0 << 10.0 << "500"
                                           << "10";
        QTest::newRow("below the minimum") << false << 5.0 << 10.0 << "2"
                                           << "5";
        QTest::newRow("empty") << false << 0.0 << 10.0 << ""
                               << "0";
        QTest::newRow("even only stays even at an odd maximum") << true << 0.0 << 9.0 << "12"
                                                                << "8";
        QTest::newRow("even only stays even at an odd minimum") << true << 3.0 << 9.0 << "0"
                                                                << "4";
        QTest::newRow("a value in range stays") << true << 0.0 << 10.0 << "4"
                                                << "4";
    }

    void losingTheFocusCorrects() {
        QFETCH(bool, evenOnly);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Window window;
        QVERIFY(window.Ready());
        window.edit->SetRange(minimum, maximum);
        window.edit->SetEvenOnly(evenOnly);
        window.edit->setFocus();
        window.edit->selectAll();
        QTest::keyClick(window.edit, Qt::Key_Backspace);
        QTest::keyClicks(window.edit, typed);
        QSignalSpy reported(window.edit, &CNumEditCtrl::ValueEdited);

        window.other->setFocus();
        QCOMPARE(window.edit->text(), shown);
        QCOMPARE(window.edit->selectedText(), shown);
        // The selection is kept but not painted until the focus comes back.
        const QPalette unfocused = window.edit->palette();
        QCOMPARE(unfocused.color(QPalette::Highlight), unfocused.color(QPalette::Base));
        window.edit->setFocus();
        QCOMPARE(window.edit->palette().color(QPalette::Highlight),
                 window.other->palette().color(QPalette::Highlight));
        window.other->setFocus();
        const bool corrected = typed != shown && !typed.isEmpty();
        QCOMPARE(Reported(reported),
                 corrected ? QList<std::int64_t>{shown.toLongLong()} : QList<std::int64_t>{});
    }
};

QTEST_MAIN(NumEditTest)
#include "tst_numeditctrl.moc"
