#include "NumSpinCtrl.h"

#include <QApplication>
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

class NumSpinTest : public QObject {
    Q_OBJECT

private:
    enum Press { KeyUp, KeyDown, ClickUp, ClickDown };

    static void Spin(CNumSpinCtrl* spin, Press press) {
        CNumEditCtrl* edit = spin->GetBuddy();
        const QPoint up(spin->width() / 2, spin->height() / 4);
        const QPoint down(spin->width() / 2, spin->height() * 3 / 4);
        switch (press) {
        case KeyUp:
            QTest::keyClick(edit, Qt::Key_Up);
            break;
        case KeyDown:
            QTest::keyClick(edit, Qt::Key_Down);
            break;
        case ClickUp:
            QTest::mouseClick(spin, Qt::LeftButton, {}, up);
            break;
        case ClickDown:
            QTest::mouseClick(spin, Qt::LeftButton, {}, down);
            break;
        }
    }

private slots:
    void stepsAndWrapsAround_data() {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("step");
        QTest::addColumn<Value>("start");
        QTest::addColumn<int>("press");
        QTest::addColumn<Value>("result");
        for (const auto& [how, up, down] :
             {std::tuple{"key", KeyUp, KeyDown}, std::tuple{"click", ClickUp, ClickDown}}) {
            QTest::addRow("%s: up at 10 wraps to 0", how)
                << 0.0 << 10.0 << 1.0 << Value(10) << int(up) << Value(0);
            QTest::addRow("%s: down at 0 wraps to 10", how)
                << 0.0 << 10.0 << 1.0 << Value(0) << int(down) << Value(10);
            QTest::addRow("%s: up", how) << 0.0 << 10.0 << 1.0 << Value(5) << int(up) << Value(6);
            QTest::addRow("%s: new frame 6000 wraps to 0", how)
                << 0.0 << 6000.0 << 1.0 << Value(6000) << int(up) << Value(0);
            QTest::addRow("%s: copy frame 1 wraps to 65535", how)
                << 1.0 << 65535.0 << 1.0 << Value(1) << int(down) << Value(65535);
            QTest::addRow("%s: even step", how)
                << 0.0 << 100.0 << 2.0 << Value(98) << int(up) << Value(100);
            QTest::addRow("%s: even step past the end", how)
                << 0.0 << 100.0 << 2.0 << Value(100) << int(up) << Value(0);
            QTest::addRow("%s: a typed value beyond the range steps from the end", how)
                << 0.0 << 10.0 << 1.0 << Value(500) << int(down) << Value(9);
        }
    }

    void stepsAndWrapsAround() {
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(double, step);
        QFETCH(Value, start);
        QFETCH(int, press);
        QFETCH(Value, result);
        QWidget window;
        auto* edit = new CNumEditCtrl(&window);
        auto* spin = new CNumSpinCtrl(edit);
        spin->Bind(minimum, maximum, step, start, NumFormat::Dec);
        window.show();
        QSignalSpy reported(edit, &CNumEditCtrl::ValueEdited);

        Spin(spin, static_cast<Press>(press));
        QCOMPARE(edit->GetValue(), result);
        QCOMPARE(Reported(reported), QList<std::int64_t>{result});
    }

    void enabledOnlyForARange_data() {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("range") << 0.0 << 10.0 << true;
        QTest::newRow("single value") << 5.0 << 5.0 << false;
    }

    void enabledOnlyForARange() {
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(bool, enabled);
        QWidget window;
        auto* edit = new CNumEditCtrl(&window);
        auto* spin = new CNumSpinCtrl(edit);
        window.show();
        spin->SetRange(minimum, maximum);
        QCOMPARE(edit->isEnabled(), enabled);
        QCOMPARE(spin->isEnabled(), enabled);
    }

    // The binding gives the edit the range, the format, and even-only for an even step.
    void bindingSetsUpTheEdit() {
        Window window;
        QVERIFY(window.Ready());
        auto* spin = new CNumSpinCtrl(window.edit);
        spin->Bind(0, 0x7FE, 2, 0x10, NumFormat::Hex);
        QCOMPARE(window.edit->text(), "10");
        Spin(spin, KeyUp);
        QCOMPARE(window.edit->text(), "12");

        window.edit->setFocus();
        window.edit->selectAll();
        QTest::keyClicks(window.edit, "FFF");
        window.other->setFocus();
        QCOMPARE(window.edit->text(), "7FE");
        window.edit->setFocus();
        window.edit->selectAll();
        QTest::keyClicks(window.edit, "7");
        window.other->setFocus();
        QCOMPARE(window.edit->text(), "6");
    }

    void sitsInsideTheEditAtItsRight() {
        QWidget window;
        auto* edit = new CNumEditCtrl(&window);
        auto* spin = new CNumSpinCtrl(edit);
        edit->resize(120, edit->sizeHint().height());
        window.show();
        QVERIFY(spin->isVisible());
        QVERIFY(spin->geometry().right() < edit->width());
        QVERIFY(spin->geometry().left() > edit->width() / 2);
        QCOMPARE(edit->textMargins().right(), spin->width());
    }
};

QTEST_MAIN(NumSpinTest)
#include "tst_numspinctrl.moc"
