#include "ColorButton.h"
#include "ColourPopup.h"

#include <QApplication>
#include <QColorDialog>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {

constexpr std::uint32_t kAuto = CColorButton::kAutomatic;

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

// The palette as a user reads it in the popup, box by box.
const std::pair<std::uint32_t, const char*> kExpectedPalette[] = {
    {Rgb(0, 0, 0), "Black"},
    {Rgb(165, 42, 0), "Brown"},
    {Rgb(0, 64, 64), "Dark Olive Green"},
    {Rgb(0, 85, 0), "Dark Green"},
    {Rgb(0, 0, 94), "Dark Teal"},
    {Rgb(0, 0, 139), "Dark blue"},
    {Rgb(75, 0, 130), "Indigo"},
    {Rgb(40, 40, 40), "Dark grey"},
    {Rgb(139, 0, 0), "Dark red"},
    {Rgb(255, 104, 32), "Orange"},
    {Rgb(139, 139, 0), "Dark yellow"},
    {Rgb(0, 147, 0), "Green"},
    {Rgb(56, 142, 142), "Teal"},
    {Rgb(0, 0, 255), "Blue"},
    {Rgb(123, 123, 192), "Blue-grey"},
    {Rgb(102, 102, 102), "Grey - 40"},
    {Rgb(255, 0, 0), "Red"},
    {Rgb(255, 173, 91), "Light orange"},
    {Rgb(50, 205, 50), "Lime"},
    {Rgb(60, 179, 113), "Sea green"},
    {Rgb(127, 255, 212), "Aqua"},
    {Rgb(125, 158, 192), "Light blue"},
    {Rgb(128, 0, 128), "Violet"},
    {Rgb(127, 127, 127), "Grey - 50"},
    {Rgb(255, 192, 203), "Pink"},
    {Rgb(255, 215, 0), "Gold"},
    {Rgb(255, 255, 0), "Yellow"},
    {Rgb(0, 255, 0), "Bright green"},
    {Rgb(64, 224, 208), "Turquoise"},
    {Rgb(192, 255, 255), "Skyblue"},
    {Rgb(72, 0, 72), "Plum"},
    {Rgb(192, 192, 192), "Light grey"},
    {Rgb(255, 228, 225), "Rose"},
    {Rgb(210, 180, 140), "Tan"},
    {Rgb(255, 255, 224), "Light yellow"},
    {Rgb(152, 251, 152), "Pale green "},
    {Rgb(175, 238, 238), "Pale turquoise"},
    {Rgb(104, 131, 139), "Pale blue"},
    {Rgb(230, 230, 250), "Lavender"},
    {Rgb(255, 255, 255), "White"},
};

// Every notification of a button, in the order they came.
class Recorder {
public:
    explicit Recorder(CColorButton& button) {
        auto add = [this](const char* name) {
            return [this, name](std::uint32_t colour) {
                log << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(colour, 0, 16);
            };
        };
        QObject::connect(&button, &CColorButton::SelectionChanged, add("changed"));
        QObject::connect(&button, &CColorButton::PopupOpened, add("opened"));
        QObject::connect(&button, &CColorButton::PopupClosed, add("closed"));
        QObject::connect(&button, &CColorButton::SelectionEnded, add("ended"));
        QObject::connect(&button, &CColorButton::SelectionCancelled, add("cancelled"));
    }
    QStringList log;
};

// Answers the next modal colour dialog with `answer` once it is up, while the returned timer
// lives.
std::unique_ptr<QTimer> AnswerColourDialog(std::function<void(QColorDialog*)> answer) {
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [timer = timer.get(), answer] {
        if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            answer(dialog);
        }
    });
    timer->start(10);
    return timer;
}

} // namespace

class ColorButtonTest : public QObject {
    Q_OBJECT

private:
    // A shown window holding one button.
    struct Window {
        Window() : button(new CColorButton(&widget)) {
            auto* layout = new QVBoxLayout(&widget);
            layout->addWidget(button);
            widget.show();
        }
        QWidget widget;
        CColorButton* button;
    };

    static CColourPopup* Open(CColorButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        return button->findChild<CColourPopup*>();
    }

    static QPoint CentreOf(CColourPopup* popup, const char* box) {
        return popup->findChild<QWidget*>(box)->geometry().center();
    }

private slots:
    void paletteBoxesInOrder_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < CColourPopup::kColourCount; ++i) {
            QTest::addRow("%s", kExpectedPalette[i].second) << i;
        }
    }

    void paletteBoxesInOrder() {
        QFETCH(int, index);
        Window window;
        Recorder recorder(*window.button);
        CColourPopup* popup = Open(window.button);
        QVERIFY(popup != nullptr);
        const QString box = QStringLiteral("colourBox%1").arg(index);
        QCOMPARE(popup->findChild<QWidget*>(box)->toolTip(),
                 QString::fromLatin1(kExpectedPalette[index].second));

        QTest::mouseClick(popup, Qt::LeftButton, {}, CentreOf(popup, qPrintable(box)));
        QCOMPARE(window.button->GetColor(), kExpectedPalette[index].first);
        QCOMPARE(recorder.log.filter("ended"),
                 QStringList{QStringLiteral("ended %1").arg(kExpectedPalette[index].first, 0, 16)});
    }

    void automaticBoxEndsWithTheMarker() {
        Window window;
        window.button->SetColor(Rgb(255, 0, 0));
        Recorder recorder(*window.button);
        CColourPopup* popup = Open(window.button);
        QCOMPARE(popup->findChild<QWidget*>("defaultBox")->isVisible(), true);

        QTest::mouseClick(popup, Qt::LeftButton, {}, CentreOf(popup, "defaultBox"));
        QCOMPARE(window.button->GetColor(), kAuto);
        QCOMPARE(recorder.log, (QStringList{"opened ff", "changed ff000000", "closed ff000000",
                                            "ended ff000000", "changed ff000000"}));
        QTRY_VERIFY(window.button->findChild<CColourPopup*>() == nullptr);
    }

    void emptyTextsLeaveTheirBoxesOut() {
        Window window;
        window.button->SetDefaultText(QString());
        window.button->SetCustomText(QString());
        CColourPopup* popup = Open(window.button);
        QVERIFY(popup->findChild<QWidget*>("defaultBox") == nullptr);
        QVERIFY(popup->findChild<QWidget*>("customBox") == nullptr);
        QTest::keyClick(popup, Qt::Key_Escape);
    }

    // The keys move through the boxes as the popup lays them out, wrapping at the ends.
    void keyboardMoves_data() {
        QTest::addColumn<std::uint32_t>("start");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<std::uint32_t>("ended");
        const int left = Qt::Key_Left, right = Qt::Key_Right, up = Qt::Key_Up, down = Qt::Key_Down;
        QTest::newRow("left of the first colour is automatic")
            << Rgb(0, 0, 0) << QList<int>{left} << kAuto;
        QTest::newRow("right runs on to the next row")
            << Rgb(40, 40, 40) << QList<int>{right} << Rgb(139, 0, 0);
        QTest::newRow("right of white passes the custom box and wraps to automatic")
            << Rgb(255, 255, 255) << QList<int>{right, right} << kAuto;
        QTest::newRow("left of automatic wraps through the custom box to white")
            << kAuto << QList<int>{left, left} << Rgb(255, 255, 255);
        QTest::newRow("up from the third row reaches automatic")
            << Rgb(255, 0, 0) << QList<int>{up, up, up} << kAuto;
        QTest::newRow("up from automatic wraps through the custom box to the last row")
            << kAuto << QList<int>{up, up} << Rgb(255, 228, 225);
        QTest::newRow("down from the last row wraps to the first row, same column")
            << Rgb(255, 255, 255) << QList<int>{down, down, down} << Rgb(40, 40, 40);
        QTest::newRow("a colour not in the palette starts on the custom box")
            << Rgb(1, 2, 3) << QList<int>{down, down} << Rgb(0, 0, 0);
    }

    void keyboardMoves() {
        QFETCH(std::uint32_t, start);
        QFETCH(QList<int>, keys);
        QFETCH(std::uint32_t, ended);
        Window window;
        window.button->SetColor(start);
        QSignalSpy endedSpy(window.button, &CColorButton::SelectionEnded);
        CColourPopup* popup = Open(window.button);
        // Ending on the custom box by mistake opens the colour dialog: cancel it, do not hang.
        const auto answering = AnswerColourDialog([](QColorDialog* dialog) { dialog->reject(); });
        for (int key : keys) {
            QTest::keyClick(popup, static_cast<Qt::Key>(key));
        }
        QTest::keyClick(popup, Qt::Key_Return);
        QCOMPARE(endedSpy.count(), 1);
        QCOMPARE(endedSpy.at(0).at(0).value<std::uint32_t>(), ended);
        QCOMPARE(window.button->GetColor(), ended);
    }

    void trackingShowsTheHoveredColourUntilCancelled_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("escape") << true;
        QTest::newRow("press outside") << false;
    }

    void trackingShowsTheHoveredColourUntilCancelled() {
        QFETCH(bool, byEscape);
        Window window;
        window.button->SetColor(Rgb(0, 0, 255));
        window.button->SetTrackSelection(true);
        Recorder recorder(*window.button);
        CColourPopup* popup = Open(window.button);

        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QTest::mouseMove(popup, QPoint(1, 1));
        QTest::mouseMove(popup, CentreOf(popup, "colourBox16"));
        QTRY_COMPARE(window.button->GetColor(),
                     Rgb(255, 0, 0)); // a display moves the pointer later
        if (byEscape) {
            QTest::keyClick(popup, Qt::Key_Escape);
        } else {
            QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(-20, -20));
        }
        QCOMPARE(window.button->GetColor(), Rgb(0, 0, 255));
        QCOMPARE(recorder.log,
                 (QStringList{"opened ff0000", "changed ff", "closed ff0000", "cancelled ff0000"}));
    }

    void moreColorsAsksTheColourDialog_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<std::uint32_t>("colour");
        QTest::addColumn<QString>("notification");
        QTest::newRow("OK takes the dialog's colour") << true << Rgb(1, 2, 3) << "ended 30201";
        QTest::newRow("Cancel keeps the colour") << false << Rgb(255, 215, 0) << "cancelled d7ff";
    }

    void moreColorsAsksTheColourDialog() {
        QFETCH(bool, accept);
        QFETCH(std::uint32_t, colour);
        QFETCH(QString, notification);
        Window window;
        window.button->SetColor(Rgb(255, 215, 0));
        Recorder recorder(*window.button);
        CColourPopup* popup = Open(window.button);

        QColor offered;
        const auto answering = AnswerColourDialog([&](QColorDialog* dialog) {
            offered = dialog->currentColor();
            if (accept) {
                dialog->setCurrentColor(QColor(1, 2, 3));
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        QTest::mouseClick(popup, Qt::LeftButton, {}, CentreOf(popup, "customBox"));
        QCOMPARE(offered, QColor(255, 215, 0));
        QCOMPARE(window.button->GetColor(), colour);
        QCOMPARE(recorder.log.filter(QRegularExpression("ended|cancelled")),
                 QStringList{notification});
    }

    void popupStaysOnTheScreen_data() {
        QTest::addColumn<QPoint>("corner");
        QTest::addColumn<bool>("above");
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::newRow("middle") << area.center() << false;
        QTest::newRow("right edge") << QPoint(area.right() - 30, area.top() + 50) << false;
        QTest::newRow("left of the screen") << QPoint(area.left() - 20, area.top() + 50) << false;
        QTest::newRow("bottom edge") << QPoint(area.left() + 50, area.bottom() - 30) << true;
    }

    void popupStaysOnTheScreen() {
        QFETCH(QPoint, corner);
        QFETCH(bool, above);
        QWidget window(nullptr, Qt::FramelessWindowHint);
        auto* button = new CColorButton(&window);
        button->move(0, 0);
        window.resize(button->sizeHint());
        window.move(corner);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        CColourPopup* popup = Open(button);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect buttonArea(button->mapToGlobal(QPoint(0, 0)), button->size());
        const QRect placed = popup->geometry();
        QVERIFY(placed.left() >= area.left() && placed.right() <= area.right());
        if (above) {
            QCOMPARE(placed.bottom(), buttonArea.top() - 1);
        } else {
            QCOMPARE(placed.top(), buttonArea.bottom() + 1);
            QVERIFY(placed.bottom() <= area.bottom());
        }
        QTest::keyClick(popup, Qt::Key_Escape);
    }

    // The swatch shows the colour, the default colour for automatic, and nothing when disabled.
    void buttonShowsItsColour_data() {
        QTest::addColumn<std::uint32_t>("colour");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("shown");
        QTest::addColumn<bool>("visible");
        QTest::newRow("colour") << Rgb(255, 0, 0) << true << QColor(255, 0, 0) << true;
        QTest::newRow("automatic") << kAuto << true << QColor(10, 200, 30) << true;
        QTest::newRow("disabled") << Rgb(255, 0, 0) << false << QColor(255, 0, 0) << false;
    }

    void buttonShowsItsColour() {
        QFETCH(std::uint32_t, colour);
        QFETCH(bool, enabled);
        QFETCH(QColor, shown);
        QFETCH(bool, visible);
        Window window;
        window.button->SetDefaultColor(Rgb(10, 200, 30));
        window.button->SetColor(colour);
        window.button->setEnabled(enabled);
        const QImage image = window.button->grab().toImage();
        int pixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                pixels += image.pixelColor(x, y) == shown ? 1 : 0;
            }
        }
        QCOMPARE(pixels > 100, visible);
    }
};

QTEST_MAIN(ColorButtonTest)
#include "tst_colorbutton.moc"
