// The canvas driven by mouse and keys in panel coordinates: placing every kind, pictures and
// their size rules, the trend limit, dragging with its clamp, Ctrl-duplicating, the rubber band,
// copying, stacking, the layer numbers, zoom, arrow keys, snapping, the clipboard between two
// designers, undo and redo of every edit, and the canvas's pixels against reviewed pictures.

#include "CanvasTestSupport.h"
#include "ElementClipboard.h"
#include "GEFuncKey.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "ModelAddress.h"
#include "TextFont.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QUndoStack>

#include <functional>
#include <map>

namespace {

const QString kGoldenDir = QStringLiteral(KV_SOURCE_DIR "/tests/designer/golden");

QRect RectOf(const CGraphBase* element) {
    return element->GetRect();
}

CGraphBase* AddElement(CHMIFrame& frame, int kind, const QRect& rect, const CPLCEntity* plc) {
    std::unique_ptr<CGraphBase> element = CGraphBase::CreateByType(kind, plc);
    element->SetRect(rect);
    if (kind == kTypeStaticText)
        static_cast<CGEStaticTxt&>(*element).m_strText = QStringLiteral("温度");
    return frame.AddElement(std::move(element));
}

// Little-endian fields of a hand-made bitmap file.
void Put16(QByteArray& bytes, int value) {
    bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}
void Put32(QByteArray& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

// A 4 x 2 bitmap with a five-colour palette whose rows read, top first, red red green green
// and blue blue white white; 4-bit uncompressed or 8-bit run-length encoded, which Qt's own
// writer does not produce.
QByteArray HandMadeBitmap(int bits) {
    const std::uint32_t palette[] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    QByteArray pixels;
    if (bits == 4) {
        // Bottom row first, two pixels a byte, rows padded to 4 bytes.
        pixels.append(char(0x33)).append(char(0x44)).append(2, '\0');
        pixels.append(char(0x11)).append(char(0x22)).append(2, '\0');
    } else {
        // Runs of (count, index), end of line, end of bitmap.
        pixels.append(char(2)).append(char(3)).append(char(2)).append(char(4));
        pixels.append(char(0)).append(char(0));
        pixels.append(char(2)).append(char(1)).append(char(2)).append(char(2));
        pixels.append(char(0)).append(char(0)).append(char(0)).append(char(1));
    }
    const int offset = 14 + 40 + 5 * 4;
    QByteArray file("BM");
    Put32(file, static_cast<std::uint32_t>(offset + pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    Put32(file, 40);
    Put32(file, 4);
    Put32(file, 2);
    Put16(file, 1);
    Put16(file, bits);
    Put32(file, bits == 4 ? 0 : 1);
    Put32(file, static_cast<std::uint32_t>(pixels.size()));
    Put32(file, 2835);
    Put32(file, 2835);
    Put32(file, 5);
    Put32(file, 0);
    for (const std::uint32_t rgb : palette)
        Put32(file, rgb);
    return file + pixels;
}

QImage ColourBlocks() {
    QImage image(4, 2, QImage::Format_RGB32);
    const QRgb rows[2][4] = {
        {qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 255, 0)},
        {qRgb(0, 0, 255), qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(255, 255, 255)}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, rows[y][x]);
    }
    return image;
}

// Compares `actual` with the reviewed picture `name`; KV_UPDATE_GOLDEN=1 writes it instead.
// A mismatch leaves the actual picture beside the test for review.
bool MatchesGolden(const QImage& actual, const QString& name, QString& why) {
    const QString path = kGoldenDir + u'/' + name;
    if (qEnvironmentVariableIntValue("KV_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(kGoldenDir);
        return actual.save(path);
    }
    const QImage golden = QImage(path).convertToFormat(QImage::Format_RGB32);
    const QImage shown = actual.convertToFormat(QImage::Format_RGB32);
    if (golden == shown)
        return true;
    const QString saved = QStringLiteral(KV_TEST_DIR "/actual-") + name;
    shown.save(saved);
    why = QStringLiteral("%1 differs from %2 (actual picture: %3)").arg(name, path, saved);
    return false;
}

} // namespace

class CanvasTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    // Frame "1" with an indicator A, a bar B, a key C and a static text D, and a second frame
    // "2"; the history starts here.
    struct Fixture {
        Designer window;
        CHMIFrame* one = nullptr;
        CHMIFrame* two = nullptr;
        CGraphBase* a = nullptr;
        CGraphBase* b = nullptr;
        CGraphBase* c = nullptr;
        CGraphBase* d = nullptr;

        Fixture() {
            CKoravelDoc& doc = window.Doc();
            CKoravelProject& project = doc.Project();
            const CPLCEntity* plc = project.m_pCurrentPLC;
            one = doc.CurrentFrame();
            a = AddElement(*one, kTypeIndicator, QRect(40, 40, 32, 32), plc);
            b = AddElement(*one, kTypeBar, QRect(120, 60, 32, 128), plc);
            c = AddElement(*one, kTypeFunctionKey, QRect(200, 100, 40, 40), plc);
            d = AddElement(*one, kTypeStaticText, QRect(300, 150, 64, 32), plc);
            two = project.NewFrame(2, QStringLiteral("second"));
            project.m_pCurrentFrame = one;
            doc.NotifyFramesChanged();
            doc.UndoStack().clear();
            doc.UndoStack().setClean();
            doc.ShowFrame(one);
        }
    };

private slots:
    void initTestCase() {
        RedirectProfile(m_home.filePath("config"));
        // The faces the designer draws with.
        RegisterFontSubstitutions();
    }
    void init() {
        ClearProfile();
        QGuiApplication::clipboard()->clear();
    }

    void placesEveryKindWithItsDefaultOutline_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("size");
        QTest::newRow("static text") << "static-text" << int(kTypeStaticText) << QSize(128, 32);
        QTest::newRow("register") << "register" << int(kTypeRegister) << QSize(80, 32);
        QTest::newRow("indicator") << "indicator" << int(kTypeIndicator) << QSize(32, 32);
        QTest::newRow("function key") << "function-key" << int(kTypeFunctionKey) << QSize(32, 32);
        QTest::newRow("bar") << "bar" << int(kTypeBar) << QSize(32, 128);
        QTest::newRow("trend") << "trend" << int(kTypeTrend) << QSize(192, 96);
        QTest::newRow("dynamic text") << "dynamic-text" << int(kTypeDynamicText) << QSize(160, 32);
    }
    void placesEveryKindWithItsDefaultOutline() {
        QFETCH(QString, action);
        QFETCH(int, kind);
        QFETCH(QSize, size);
        Designer window;
        CGraphBase* placed = window.Place(action.toLatin1().constData(), QPoint(20, 30));
        QVERIFY(placed);
        QCOMPARE(placed->m_nTypeCode, kind);
        QCOMPARE(RectOf(placed), QRect(QPoint(20, 30), size));
        QCOMPARE(window.Doc().Selection(), QList<CGraphBase*>{placed});
        QCOMPARE(window.Canvas().ToolMode(), CKoravelWnd::Mode::None);
        QCOMPARE(window.Current().m_Parts.size(), std::size_t{1});
    }

    void outlineStaysInsideThePanel() {
        Designer window;
        // The register's 80 x 32 outline at (470, 260) would stick out: it lands at (400, 240).
        CGraphBase* placed = window.Place("register", QPoint(470, 260));
        QCOMPARE(RectOf(placed), QRect(400, 240, 80, 32));
        // The mouse far off the canvas is held at its edge.
        window.Action("indicator").trigger();
        window.Mouse(QEvent::MouseMove, QPoint(-40, -40), Qt::NoButton);
        window.Mouse(QEvent::MouseButtonPress, QPoint(-40, -40), Qt::LeftButton);
        window.Mouse(QEvent::MouseButtonRelease, QPoint(-40, -40), Qt::LeftButton);
        QCOMPARE(RectOf(window.Doc().Selection().front()), QRect(0, 0, 32, 32));
    }

    void escapeEndsPlacing() {
        Designer window;
        window.Action("bar").trigger();
        QCOMPARE(window.Canvas().ToolMode(), CKoravelWnd::Mode::Placing);
        window.Key(Qt::Key_Escape);
        QCOMPARE(window.Canvas().ToolMode(), CKoravelWnd::Mode::None);
        window.Click(QPoint(50, 50));
        QVERIFY(window.Current().m_Parts.empty());
    }

    void pictureSizeRules_data() {
        QTest::addColumn<QSize>("bitmap");
        QTest::addColumn<QSize>("placed"); // empty: refused
        QTest::newRow("wide, fits when scaled") << QSize(960, 200) << QSize(480, 100);
        QTest::newRow("both too big") << QSize(960, 800) << QSize();
        QTest::newRow("tall, too wide when scaled") << QSize(400, 544) << QSize();
        QTest::newRow("tall, fits when scaled") << QSize(300, 544) << QSize(150, 272);
        QTest::newRow("fits as it is") << QSize(300, 200) << QSize(300, 200);
    }
    void pictureSizeRules() {
        QFETCH(QSize, bitmap);
        QFETCH(QSize, placed);
        QTemporaryDir folder;
        const QString path = folder.filePath("picture.bmp");
        QImage image(bitmap, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(path, "BMP"));
        Designer window;
        QString message;
        if (placed.isEmpty())
            AnswerMessage(&message);
        const bool armed = window.Canvas().PlacePicture(path);
        QCOMPARE(armed, !placed.isEmpty());
        if (!armed) {
            QCOMPARE(message,
                     QStringLiteral("图片尺寸太大，无法载入!位图尺寸最好接近480 * 272像素"));
            return;
        }
        window.Move(QPoint(0, 0));
        window.Click(QPoint(0, 0));
        QCOMPARE(window.Current().m_Parts.size(), std::size_t{1});
        const auto& picture = static_cast<const CGEPicture&>(*window.Current().m_Parts.front());
        QCOMPARE(RectOf(&picture), QRect(QPoint(0, 0), placed));
        QCOMPARE(QSize(picture.BitmapWidth(), picture.BitmapHeight()), bitmap);
    }

    void pictureDepths_data() {
        QTest::addColumn<QByteArray>("file");
        const auto saved = [](QImage::Format format) {
            QImage image = ColourBlocks();
            if (format == QImage::Format_Indexed8)
                image = image.convertToFormat(format, Qt::ThresholdDither);
            else
                image = image.convertToFormat(format);
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
            return bytes;
        };
        QTest::newRow("4-bit") << HandMadeBitmap(4);
        QTest::newRow("8-bit RLE") << HandMadeBitmap(8);
        QTest::newRow("8-bit") << saved(QImage::Format_Indexed8);
        QTest::newRow("24-bit") << saved(QImage::Format_RGB888);
        QTest::newRow("32-bit") << saved(QImage::Format_ARGB32);
    }
    void pictureDepths() {
        QFETCH(QByteArray, file);
        QTemporaryDir folder;
        const QString path = folder.filePath("depth.bmp");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        Designer window;
        QVERIFY(window.Canvas().PlacePicture(path));
        window.Click(QPoint(10, 10));
        const auto& picture = static_cast<const CGEPicture&>(*window.Current().m_Parts.front());
        QCOMPARE(RectOf(&picture), QRect(10, 10, 4, 2));
        QCOMPARE(picture.ToImage(), ColourBlocks());
    }

    void monochromeBitmap() {
        QTemporaryDir folder;
        const QString path = folder.filePath("mono.bmp");
        QImage mono(16, 8, QImage::Format_Mono);
        mono.fill(0);
        mono.setColor(0, qRgb(0, 0, 0));
        mono.setColor(1, qRgb(255, 255, 255));
        mono.setPixel(3, 2, 1);
        QVERIFY(mono.save(path, "BMP"));
        Designer window;
        QVERIFY(window.Canvas().PlacePicture(path));
        window.Click(QPoint(0, 0));
        const QImage image =
            static_cast<const CGEPicture&>(*window.Current().m_Parts.front()).ToImage();
        QCOMPARE(image.pixel(3, 2), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(4, 2), qRgb(0, 0, 0));
    }

    void pictureThatDoesNotLoad() {
        QTemporaryDir folder;
        const QString path = folder.filePath("broken.bmp");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("BM not really a bitmap");
        out.close();
        Designer window;
        QString message;
        AnswerMessage(&message);
        QVERIFY(!window.Canvas().PlacePicture(path));
        QCOMPARE(message, QStringLiteral("载入图片失败!"));
        QCOMPARE(window.Canvas().ToolMode(), CKoravelWnd::Mode::None);
    }

    void fifthTrendIsRefused() {
        Designer window;
        for (int i = 0; i < 4; ++i)
            QVERIFY(window.Place("trend", QPoint(0, 40 * i)));
        const QString before = Saved(window.Doc());
        QString message;
        AnswerMessage(&message);
        window.Place("trend", QPoint(200, 100));
        QCOMPARE(message, QStringLiteral("每页只允许放置4个趋势图!"));
        QCOMPARE(window.Current().CountTrends(), std::uint8_t{4});
        QCOMPARE(Saved(window.Doc()), before);
        QCOMPARE(window.Canvas().ToolMode(), CKoravelWnd::Mode::None);
    }

    void dragKeepsElementsInsideThePanel_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("past the right edge")
            << QPoint(50, 50) << QPoint(479, 60) << QPoint(448, 50);
        QTest::newRow("to a negative x") << QPoint(50, 50) << QPoint(0, 50) << QPoint(0, 40);
        QTest::newRow("past the bottom") << QPoint(50, 50) << QPoint(60, 271) << QPoint(50, 240);
        QTest::newRow("inside") << QPoint(50, 50) << QPoint(150, 70) << QPoint(140, 60);
    }
    void dragKeepsElementsInsideThePanel() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QPoint, topLeft);
        Fixture f;
        f.window.Drag(from, to);
        QCOMPARE(RectOf(f.a).topLeft(), topLeft);
        QCOMPARE(RectOf(f.a).size(), QSize(32, 32));
        QCOMPARE(f.window.Doc().UndoStack().count(), 1);
    }

    void ctrlDragLeavesACopy() {
        Fixture f;
        const QString before = Saved(f.window.Doc());
        f.window.Drag(QPoint(50, 50), QPoint(250, 50), Qt::ControlModifier);
        QCOMPARE(f.one->m_Parts.size(), std::size_t{5});
        const CGraphBase* copy = f.one->m_Parts.back().get();
        QCOMPARE(copy->m_nTypeCode, int(kTypeIndicator));
        QCOMPARE(RectOf(copy), QRect(40, 40, 32, 32));
        QCOMPARE(RectOf(f.a), QRect(240, 40, 32, 32));
        QCOMPARE(f.window.Doc().Selection(), QList<CGraphBase*>{f.a});
        QCOMPARE(f.window.Doc().UndoStack().count(), 1);
        f.window.Doc().UndoStack().undo();
        QCOMPARE(Saved(f.window.Doc()), before);
    }

    void clickSelectsAndEmptyCanvasClears() {
        Fixture f;
        f.window.Click(QPoint(130, 100));
        QCOMPARE(f.window.Doc().Selection(), QList<CGraphBase*>{f.b});
        f.window.Click(QPoint(50, 50));
        QCOMPARE(f.window.Doc().Selection(), QList<CGraphBase*>{f.a});
        f.window.Click(QPoint(210, 110), Qt::ShiftModifier);
        QCOMPARE(f.window.Doc().Selection(), (QList<CGraphBase*>{f.c, f.a}));
        f.window.Click(QPoint(450, 20));
        QVERIFY(f.window.Doc().Selection().isEmpty());
        QCOMPARE(f.window.Doc().UndoStack().count(), 0);
    }

    void doubleClickLeavesNothingSelected() {
        Fixture f;
        f.window.Click(QPoint(50, 50));
        f.window.Mouse(QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton);
        f.window.Mouse(QEvent::MouseButtonRelease, QPoint(50, 50), Qt::LeftButton);
        f.window.Mouse(QEvent::MouseButtonDblClick, QPoint(50, 50), Qt::LeftButton);
        f.window.Mouse(QEvent::MouseButtonRelease, QPoint(60, 60), Qt::LeftButton);
        QVERIFY(f.window.Doc().Selection().isEmpty());
        QCOMPARE(RectOf(f.a), QRect(40, 40, 32, 32));
    }

    void rubberBandTakesElementsByTheirCorners_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<bool>("selected"); // the indicator at (40, 40, 32, 32)
        QTest::newRow("holds the top-left corner") << QPoint(10, 10) << QPoint(41, 41) << true;
        QTest::newRow("right edge on the element") << QPoint(10, 10) << QPoint(40, 60) << false;
        QTest::newRow("bottom edge on the element") << QPoint(10, 10) << QPoint(60, 40) << false;
        QTest::newRow("left and top edges on its corner")
            << QPoint(90, 90) << QPoint(72, 72) << true;
        QTest::newRow("too small to count") << QPoint(30, 30) << QPoint(40, 45) << false;
    }
    void rubberBandTakesElementsByTheirCorners() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(bool, selected);
        Fixture f;
        f.window.Drag(from, to);
        QCOMPARE(f.window.Doc().Selection().contains(f.a), selected);
        QVERIFY(!f.window.Doc().Selection().contains(f.b));
    }

    void rubberBandSelectsInFrontInPartsOrder() {
        Fixture f;
        f.window.Drag(QPoint(0, 0), QPoint(479, 271));
        QCOMPARE(f.window.Doc().Selection(), (QList<CGraphBase*>{f.d, f.c, f.b, f.a}));
    }

    void copyMovesTheSelectionToTheRightClick() {
        Fixture f;
        f.window.Click(QPoint(50, 50));
        // No right-click yet: the source goes to (0, 0), its copy stays.
        f.window.Action("copy-elements").trigger();
        QCOMPARE(RectOf(f.a), QRect(0, 0, 32, 32));
        QCOMPARE(RectOf(f.one->m_Parts.back().get()), QRect(40, 40, 32, 32));
        QVERIFY(ClipboardHasElements());
        // Near the corner it is shifted inside.
        f.window.RightClick(QPoint(470, 260));
        QCOMPARE(f.window.Canvas().LastRightClick(), QPoint(470, 260));
        f.window.Action("copy-elements").trigger();
        QCOMPARE(RectOf(f.a), QRect(448, 240, 32, 32));
        QCOMPARE(f.one->m_Parts.size(), std::size_t{6});
        QCOMPARE(f.window.Doc().Selection(), QList<CGraphBase*>{f.a});
    }

    void rightClickAddsTheElementToTheSelection() {
        Fixture f;
        f.window.Click(QPoint(50, 50));
        f.window.RightClick(QPoint(130, 100));
        QCOMPARE(f.window.Doc().Selection(), (QList<CGraphBase*>{f.b, f.a}));
    }

    void stackingAtTheEndsChangesNothing() {
        Fixture f;
        QUndoStack& stack = f.window.Doc().UndoStack();
        f.window.Click(QPoint(310, 160)); // D, on top
        f.window.Action("up-one-layer").trigger();
        f.window.Click(QPoint(50, 50)); // A, at the back
        f.window.Action("down-one-layer").trigger();
        f.window.Action("send-to-bottom").trigger();
        QCOMPARE(stack.count(), 0);
        f.window.Action("up-one-layer").trigger();
        QCOMPARE(f.one->IndexOf(f.a), 1);
        f.window.Action("bring-to-top").trigger();
        QCOMPARE(f.one->IndexOf(f.a), 3);
        QCOMPARE(f.one->IndexOf(f.d), 2);
        QVERIFY(f.window.Doc().IsModified());
        // Stacking needs exactly one element, aligning more than one.
        f.window.Click(QPoint(130, 100), Qt::ShiftModifier);
        QVERIFY(!f.window.Action("bring-to-top").isEnabled());
        QVERIFY(f.window.Action("align-left").isEnabled());
        QVERIFY(!f.window.Action("distribute-horizontal").isEnabled());
    }

    void layerNumbersStartAtZeroOnEveryFrame() {
        Fixture f;
        AddElement(*f.two, kTypeRegister, QRect(10, 10, 80, 32),
                   f.window.Doc().Project().m_pCurrentPLC);
        AddElement(*f.two, kTypeIndicator, QRect(100, 10, 32, 32), nullptr);
        f.window.Action("layer-labels").trigger();
        const QString saved = Saved(f.window.Doc());
        f.window.Action("layer-labels").trigger();
        QCOMPARE(saved.count(QStringLiteral("LabelName=\"(0)\"")), 2);
        QCOMPARE(saved.count(QStringLiteral("LabelName=\"(1)\"")), 2);
        QCOMPARE(saved.count(QStringLiteral("LabelName=\"(3)\"")), 1);
        QVERIFY(!Saved(f.window.Doc()).contains(QStringLiteral("LabelName=\"(0)\"")));
    }

    void deleteSelectsTheNeighbour() {
        Fixture f;
        f.window.Click(QPoint(130, 100));
        f.window.Action("delete-elements").trigger();
        QCOMPARE(f.one->m_Parts.size(), std::size_t{3});
        QCOMPARE(f.window.Doc().Selection(), QList<CGraphBase*>{f.a});
    }

    void everyEditUndoesAndRedoesExactly_data() {
        QTest::addColumn<QString>("edit");
        for (const char* edit : {"place",
                                 "drag",
                                 "ctrl-drag",
                                 "copy",
                                 "delete",
                                 "cut",
                                 "paste",
                                 "align-left",
                                 "align-right",
                                 "align-top",
                                 "align-bottom",
                                 "distribute-horizontal",
                                 "distribute-vertical",
                                 "same-width",
                                 "same-height",
                                 "bring-to-top",
                                 "send-to-bottom",
                                 "up-one-layer",
                                 "down-one-layer",
                                 "arrows",
                                 "ctrl-arrows"})
            QTest::newRow(edit) << QString::fromLatin1(edit);
    }
    void everyEditUndoesAndRedoesExactly() {
        QFETCH(QString, edit);
        Fixture f;
        Designer& w = f.window;
        CKoravelDoc& doc = w.Doc();
        const auto selectAll = [&] { w.Drag(QPoint(0, 0), QPoint(479, 271)); };
        // Each edit: what selects its elements first, then the edit itself.
        const std::map<QString, std::pair<std::function<void()>, std::function<void()>>> edits{
            {"place", {[] {}, [&] { w.Place("bar", QPoint(400, 20)); }}},
            {"drag",
             {[&] {
                  w.Click({50, 50});
              },
              [&] {
                  w.Drag({50, 50}, {90, 120});
              }}},
            {"ctrl-drag",
             {[&] {
                  w.Click({50, 50});
              },
              [&] {
                  w.Drag({50, 50}, {90, 120}, Qt::ControlModifier);
              }}},
            {"copy",
             {[&] {
                  selectAll();
                  w.RightClick({400, 200});
              },
              [&] { w.Action("copy-elements").trigger(); }}},
            {"delete", {selectAll, [&] { w.Action("delete-elements").trigger(); }}},
            {"cut",
             {[&] {
                  w.Click({50, 50});
              },
              [&] { w.Action("cut").trigger(); }}},
            {"paste",
             {[&] {
                  PutElementsOnClipboard(*f.one, {f.b, f.c});
              },
              [&] { w.Action("paste").trigger(); }}},
            {"same-width", {selectAll, [&] { w.Action("same-width").trigger(); }}},
            {"same-height", {selectAll, [&] { w.Action("same-height").trigger(); }}},
            {"arrows",
             {[&] {
                  w.Click({50, 50});
              },
              [&] {
                  w.Key(Qt::Key_Right);
                  w.Key(Qt::Key_Down, Qt::ShiftModifier);
              }}},
            {"ctrl-arrows",
             {[&] {
                  w.Click({130, 100});
              },
              [&] {
                  w.Key(Qt::Key_Right, Qt::ControlModifier);
                  w.Key(Qt::Key_Up, Qt::ControlModifier);
              }}},
        };
        std::function<void()> select = selectAll;
        std::function<void()> run = [&] { w.Action(edit.toLatin1().constData()).trigger(); };
        if (edit.endsWith(QStringLiteral("layer")) || edit.startsWith(QStringLiteral("bring")) ||
            edit.startsWith(QStringLiteral("send")))
            select = [&] { w.Click({130, 100}); };
        if (const auto it = edits.find(edit); it != edits.end())
            std::tie(select, run) = it->second;

        select();
        const QList<CGraphBase*> selectionBefore = doc.Selection();
        const QString before = Saved(doc);
        const int count = doc.UndoStack().count();
        run();
        const QString after = Saved(doc);
        const QList<CGraphBase*> selectionAfter = doc.Selection();
        QVERIFY2(after != before, "the edit changed nothing");
        QCOMPARE(doc.UndoStack().count(), count + 1);
        QVERIFY(doc.IsModified());

        doc.ShowFrame(f.two);
        doc.UndoStack().undo();
        QCOMPARE(Saved(doc), before);
        QCOMPARE(doc.CurrentFrame(), f.one);
        QCOMPARE(doc.Selection(), selectionBefore);
        doc.ShowFrame(f.two);
        doc.UndoStack().redo();
        QCOMPARE(Saved(doc), after);
        QCOMPARE(doc.CurrentFrame(), f.one);
        QCOMPARE(doc.Selection(), selectionAfter);
        doc.UndoStack().undo();
        QCOMPARE(Saved(doc), before);
        QVERIFY(!doc.IsModified());
    }

    void aligningAndSpreading() {
        Fixture f;
        f.window.Drag(QPoint(0, 0), QPoint(479, 271));
        f.window.Action("align-right").trigger();
        for (const CGraphBase* e : {f.a, f.b, f.c, f.d})
            QCOMPARE(e->m_nLeft + e->m_nWidth, 364);
        f.window.Action("distribute-vertical").trigger();
        // A 40..72, B 60..188, C 100..140, D 150..182: the first and last by top stay, the
        // gaps between are equal.
        QCOMPARE(f.a->m_nTop, 40);
        QCOMPARE(f.d->m_nTop, 150);
        QCOMPARE(f.b->m_nTop, 42);
        QCOMPARE(f.c->m_nTop, 140);
        f.window.Doc().UndoStack().undo();
        f.window.Action("same-height").trigger();
        // D, the text, was selected last: its height is the reference; its own size stays.
        QCOMPARE(f.a->m_nHeight, 32);
        QCOMPARE(f.b->m_nHeight, 32);
        QCOMPARE(f.c->m_nHeight, 32);
    }

    void zoomKeepsEditingInPanelPixels() {
        Designer window;
        CKoravelWnd& canvas = window.Canvas();
        canvas.SetZoom(3);
        QCOMPARE(canvas.size(), QSize(1440, 816));
        // Each of the 3 x 3 screen pixels of a panel pixel is that pixel.
        for (const QPoint corner : {QPoint(300, 150), QPoint(302, 152)})
            QCOMPARE(canvas.ToPanel(corner), QPoint(100, 50));
        CGraphBase* placed = window.Place("indicator", QPoint(100, 50));
        QCOMPARE(RectOf(placed), QRect(100, 50, 32, 32));
        window.Click(QPoint(300, 200));
        QVERIFY(window.Doc().Selection().isEmpty());
        window.Click(QPoint(131, 81));
        QCOMPARE(window.Doc().Selection(), QList<CGraphBase*>{placed});
        window.Drag(QPoint(131, 81), QPoint(141, 86));
        QCOMPARE(RectOf(placed).topLeft(), QPoint(110, 55));
    }

    void zoomStepsAndStaysInTheProfile() {
        {
            Designer window;
            QCOMPARE(window.Canvas().Zoom(), 1);
            QVERIFY(!window.Action("zoom-out").isEnabled());
            QList<int> steps;
            while (window.Action("zoom-in").isEnabled()) {
                window.Action("zoom-in").trigger();
                steps << window.Canvas().Zoom();
            }
            QCOMPARE(steps, (QList<int>{2, 3, 4, 6, 8}));
            QVERIFY(window.Action("zoom-8").isChecked());
            window.Action("zoom-out").trigger();
            QCOMPARE(window.Canvas().Zoom(), 6);
        }
        Designer again;
        QCOMPARE(again.Canvas().Zoom(), 6);
        // Fit: the largest whole factor the view holds.
        again.Action("zoom-fit").trigger();
        const QSize room = again.Canvas().parentWidget()->size();
        const int fit = std::min(room.width() / 480, room.height() / 272);
        QCOMPARE(again.Canvas().Zoom(), std::max(fit, 1));
    }

    void arrowsMoveAndMergeIntoOneStep() {
        Fixture f;
        f.window.Click(QPoint(50, 50));
        const QString before = Saved(f.window.Doc());
        for (int i = 0; i < 3; ++i)
            f.window.Key(Qt::Key_Right);
        f.window.Key(Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(RectOf(f.a), QRect(43, 32, 32, 32));
        QCOMPARE(f.window.Doc().UndoStack().count(), 1);
        // Against the top edge the drag clamp holds it at 0.
        for (int i = 0; i < 6; ++i)
            f.window.Key(Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(f.a->m_nTop, 0);
        // Sizing starts a step of its own; a text's size follows its text.
        f.window.Key(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(f.a->m_nWidth, 33);
        QCOMPARE(f.window.Doc().UndoStack().count(), 2);
        f.window.Click(QPoint(310, 160));
        f.window.Key(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(f.d->m_nWidth, 64);
        QCOMPARE(f.window.Doc().UndoStack().count(), 2);
        // A click in between starts a new series.
        f.window.Click(QPoint(45, 5));
        f.window.Key(Qt::Key_Left);
        QCOMPARE(f.window.Doc().UndoStack().count(), 3);
        f.window.Click(QPoint(45, 5));
        f.window.Key(Qt::Key_Left);
        QCOMPARE(f.window.Doc().UndoStack().count(), 4);
        for (int i = 0; i < 4; ++i)
            f.window.Doc().UndoStack().undo();
        QCOMPARE(Saved(f.window.Doc()), before);
    }

    void tabWalksTheElements() {
        Fixture f;
        f.window.Key(Qt::Key_Tab);
        QCOMPARE(f.window.Doc().Selection(), QList<CGraphBase*>{f.a});
        f.window.Key(Qt::Key_Tab);
        QCOMPARE(f.window.Doc().Selection(), QList<CGraphBase*>{f.b});
        f.window.Key(Qt::Key_Backtab, Qt::ShiftModifier);
        f.window.Key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.window.Doc().Selection(), QList<CGraphBase*>{f.d});
    }

    void snapsToEdgesAndToTheGrid_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<QPoint>("topLeft");
        // A dragged by (226, 0) would have its right edge at 298, 2 pixels from D's left edge,
        // and its centre at 56, 4 pixels from B's top edge.
        QTest::newRow("to D's left and B's top edge") << 1 << false << QPoint(268, 44);
        QTest::newRow("Alt bypasses") << 1 << true << QPoint(266, 40);
        // At 4x the 2 panel pixels are 8 screen pixels: too far, the grid of 8 takes it.
        QTest::newRow("too far at 4x") << 4 << false << QPoint(264, 40);
    }
    void snapsToEdgesAndToTheGrid() {
        QFETCH(int, zoom);
        QFETCH(bool, alt);
        QFETCH(QPoint, topLeft);
        Fixture f;
        f.window.Canvas().SetZoom(zoom);
        f.window.Action("snap").trigger();
        QVERIFY(f.window.Canvas().Preferences().snap);
        f.window.Drag(QPoint(50, 50), QPoint(276, 50), alt ? Qt::AltModifier : Qt::NoModifier);
        QCOMPARE(RectOf(f.a).topLeft(), topLeft);
    }

    void snapsToTheGridAwayFromEdges() {
        Fixture f;
        f.window.Action("snap").trigger();
        f.window.Action("snap-grid-16").trigger();
        f.window.Drag(QPoint(50, 50), QPoint(77, 240));
        // Left 67 goes to 64; top 230 to 224.
        QCOMPARE(RectOf(f.a).topLeft(), QPoint(64, 224));
    }

    void pasteIntoAnotherDesigner() {
        Fixture source;
        auto& reg = static_cast<CGERegister&>(
            *AddElement(*source.one, kTypeRegister, QRect(20, 200, 80, 32),
                        source.window.Doc().Project().m_pCurrentPLC));
        reg.m_Reg.SetAddress(123);
        source.window.Doc().SetSelection({&reg, source.a});
        source.window.Action("copy-elements").trigger();

        Designer target;
        target.Doc().NewProject(Catalog().GetPLC(4), CCommPara());
        const CPLCEntity* plc = target.Doc().Project().m_pCurrentPLC;
        QVERIFY(target.Action("paste").isEnabled());
        target.Action("paste").trigger();
        CHMIFrame& frame = target.Current();
        QCOMPARE(frame.m_Parts.size(), std::size_t{2});
        const auto& pasted = static_cast<const CGERegister&>(*frame.m_Parts.back());
        // Beside where the originals were, and bound to this project's PLC.
        QCOMPARE(RectOf(frame.m_Parts.front().get()), QRect(48, 48, 32, 32));
        QCOMPARE(RectOf(&pasted), QRect(28, 208, 80, 32));
        QCOMPARE(pasted.m_Reg.GetAddress(), std::uint16_t{123});
        const auto types = plc->GetTypeList(PLC_WORD, pasted.m_Reg.GetMode());
        QVERIFY(std::find(types.begin(), types.end(), pasted.m_Reg.GetRegType()) != types.end());
        // At a right-click, and clamped to the panel.
        target.RightClick(QPoint(460, 250));
        target.Action("paste").trigger();
        QCOMPARE(frame.m_Parts.size(), std::size_t{4});
        QCOMPARE(RectOf(frame.m_Parts.back().get()), QRect(400, 240, 80, 32));
        QCOMPARE(target.Doc().Selection().size(), 2);
    }

    void pasteRefusesAFifthTrend() {
        Fixture f;
        const CPLCEntity* plc = f.window.Doc().Project().m_pCurrentPLC;
        CGraphBase* trend = AddElement(*f.one, kTypeTrend, QRect(0, 0, 192, 96), plc);
        PutElementsOnClipboard(*f.one, {trend, f.a});
        for (int i = 0; i < 4; ++i)
            AddElement(*f.two, kTypeTrend, QRect(0, 40 * i, 192, 96), plc);
        f.window.Doc().ShowFrame(f.two);
        QString message;
        AnswerMessage(&message);
        f.window.Action("paste").trigger();
        QCOMPARE(message, QStringLiteral("每页只允许放置4个趋势图!"));
        QCOMPARE(f.two->CountTrends(), std::uint8_t{4});
        QCOMPARE(f.two->m_Parts.size(), std::size_t{5});
    }

    void clipboardCarriesProjectXml() {
        Fixture f;
        f.window.Doc().SetSelection({f.c});
        f.window.Action("cut").trigger();
        QCOMPARE(f.one->m_Parts.size(), std::size_t{3});
        const QString text = QGuiApplication::clipboard()->text();
        QVERIFY(text.startsWith(QStringLiteral("<Parts>")));
        QVERIFY(text.contains(QStringLiteral("Type=\"FunctionKey\"")));
        // Text that is not ours pastes nothing.
        QGuiApplication::clipboard()->setText(QStringLiteral("<Parts><Part ID=\"99\"/></Parts>"));
        QVERIFY(!f.window.Action("paste").isEnabled());
        QVERIFY(
            ElementsFromXml(QStringLiteral("<Parts><Part ID=\"99\"/></Parts>"), nullptr).empty());
        QVERIFY(ElementsFromXml(QStringLiteral("<Parts"), nullptr).empty());
    }

    void canvasPixels_data() {
        QTest::addColumn<int>("zoom");
        QTest::newRow("1x") << 1;
        QTest::newRow("4x") << 4;
    }
    void canvasPixels() {
        QFETCH(int, zoom);
        Designer window;
        CKoravelDoc& doc = window.Doc();
        CHMIFrame& frame = window.Current();
        const CPLCEntity* plc = doc.Project().m_pCurrentPLC;
        QImage gradient(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x)
                gradient.setPixel(x, y, qRgb(x * 4, y * 5, 128));
        }
        auto picture = std::make_unique<CGEPicture>();
        QVERIFY(picture->SetBitmap(gradient));
        picture->SetRect(QRect(400, 16, 64, 48));
        frame.AddElement(std::move(picture));
        AddElement(frame, kTypeStaticText, QRect(16, 16, 64, 32), plc);
        CGraphBase* reg = AddElement(frame, kTypeRegister, QRect(16, 72, 80, 32), plc);
        AddElement(frame, kTypeIndicator, QRect(130, 72, 32, 32), plc);
        AddElement(frame, kTypeFunctionKey, QRect(180, 72, 32, 32), plc);
        CGraphBase* bar = AddElement(frame, kTypeBar, QRect(240, 40, 32, 128), plc);
        AddElement(frame, kTypeTrend, QRect(290, 150, 160, 96), plc);
        AddElement(frame, kTypeDynamicText, QRect(16, 140, 160, 32), plc);
        doc.SetAnnotations({true, true});
        doc.SetSelection({reg, bar});
        window.Canvas().SetZoom(zoom);
        const QImage shown =
            zoom == 1 ? window.Canvas().Render() : window.Canvas().grab().toImage();
        doc.SetAnnotations({});
        QCOMPARE(shown.size(), QSize(480 * zoom, 272 * zoom));
        QString why;
        QVERIFY2(MatchesGolden(shown, QStringLiteral("canvas-%1x.png").arg(zoom), why),
                 qPrintable(why));
    }
};

QTEST_MAIN(CanvasTest)
#include "tst_canvas.moc"
