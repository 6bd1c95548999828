// Drawing on the canvas: elements rendered into an image, checked at the pixels that matter.

#include "GEBar.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "TextFont.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr QRgb kGrey = 0xFF808080;

QImage Canvas() {
    QImage image(480, 272, QImage::Format_RGB32);
    image.fill(kGrey);
    return image;
}

template <typename Draw> QImage Render(Draw draw) {
    QImage image = Canvas();
    QPainter painter(&image);
    draw(painter);
    return image;
}

TEST(Drawing, BarFillsTheThirdItGrowsFrom) {
    struct Case {
        int dir;
        QRect filled; // inside the 30 x 90 bar at (0, 0), or its turned form
    } const cases[] = {
        {0, QRect(QPoint(0, 60), QPoint(29, 89))},
        {1, QRect(QPoint(0, 0), QPoint(29, 29))},
        {2, QRect(QPoint(20, 0), QPoint(29, 89))},
        {3, QRect(QPoint(0, 0), QPoint(9, 89))},
    };
    for (const Case& c : cases) {
        CGEBar bar(nullptr);
        bar.SetRect(0, 0, 30, 90);
        bar.m_nDrawDir = c.dir;
        const QImage image = Render([&](QPainter& p) { bar.Draw(p); });
        const QRgb blue = qRgb(0, 0, 255);
        const QRgb white = qRgb(255, 255, 255);
        // Inside the filled part (away from the white frame) blue, elsewhere white.
        EXPECT_EQ(image.pixel(c.filled.center()), blue) << c.dir;
        EXPECT_EQ(image.pixel(c.filled.left() + 1, c.filled.bottom() - 1), blue) << c.dir;
        EXPECT_EQ(image.pixel(c.filled.right() - 1, c.filled.top() + 1), blue) << c.dir;
        const QPoint outside = c.dir == 0   ? QPoint(15, 58)
                               : c.dir == 1 ? QPoint(15, 31)
                               : c.dir == 2 ? QPoint(18, 45)
                                            : QPoint(11, 45);
        EXPECT_EQ(image.pixel(outside), white) << c.dir;
        EXPECT_EQ(image.pixel(30, 45), kGrey) << c.dir;
    }
}

TEST(Drawing, TrackerHandlesAndOutline) {
    CGEBar bar(nullptr);
    bar.SetRect(100, 100, 201, 161);
    const QImage image = Render([&](QPainter& p) { bar.DrawTracker(p); });
    const QRgb black = qRgb(0, 0, 0);
    for (int handle = 1; handle <= 8; ++handle) {
        const QPoint p = bar.HandlePoint(handle);
        // The ring of the handle is black and its inside is hollow.
        EXPECT_EQ(image.pixel(p.x() - 3, p.y()), black) << handle;
        EXPECT_EQ(image.pixel(p.x(), p.y() - 3), black) << handle;
        EXPECT_NE(image.pixel(p.x() + 1, p.y() + 1), black) << handle;
    }
    // The dotted outline between the handles: some pixels of it are light grey.
    int grey = 0;
    for (int x = 110; x < 140; ++x)
        grey += image.pixel(x, 100) == qRgb(0xC0, 0xC0, 0xC0) ? 1 : 0;
    EXPECT_GT(grey, 5);
    EXPECT_LT(grey, 30);
}

TEST(Drawing, HiddenKeyShowsARedCross) {
    CGEFuncKey key(nullptr);
    key.SetRect(100, 50, 164, 114);
    key.m_bHide = true;
    const QImage image = Render([&](QPainter& p) { key.Draw(p); });
    auto isRed = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; };
    int redOnDiagonal = 0;
    for (int i = 8; i < 56; ++i)
        redOnDiagonal += isRed(image.pixel(105 + i, 55 + i)) ? 1 : 0;
    EXPECT_GT(redOnDiagonal, 10);
    int redOnOtherDiagonal = 0;
    for (int i = 8; i < 56; ++i)
        redOnOtherDiagonal += isRed(image.pixel(159 - i, 55 + i)) ? 1 : 0;
    EXPECT_GT(redOnOtherDiagonal, 10);

    key.m_bHide = false;
    const QImage plain = Render([&](QPainter& p) { key.Draw(p); });
    int red = 0;
    for (int i = 8; i < 56; ++i)
        red += isRed(plain.pixel(105 + i, 55 + i)) ? 1 : 0;
    EXPECT_EQ(red, 0);
    EXPECT_NE(plain.pixel(132, 82), kGrey); // the key picture itself
}

TEST(Drawing, HandTakesTheLeftPart) {
    CGEFuncKey key(nullptr);
    key.SetRect(100, 50, 165, 82);
    key.m_bHand = true;
    const QImage withHand = Render([&](QPainter& p) { key.Draw(p); });
    key.m_bHand = false;
    const QImage without = Render([&](QPainter& p) { key.Draw(p); });
    EXPECT_NE(withHand, without);
    EXPECT_EQ(withHand.pixel(99, 60), kGrey);
    EXPECT_EQ(withHand.pixel(165, 60), kGrey);
}

TEST(Drawing, LampAndPictureAreStretchedIntoTheElement) {
    CGEIndicator lamp(nullptr);
    lamp.SetRect(10, 10, 74, 74);
    const QImage lit = Render([&](QPainter& p) { lamp.Draw(p); });
    const QRgb centre = lit.pixel(42, 42);
    EXPECT_GT(qGreen(centre), qRed(centre)); // positive lamp: green
    lamp.m_nLogic = 1;
    const QImage dark = Render([&](QPainter& p) { lamp.Draw(p); });
    EXPECT_GT(qRed(dark.pixel(42, 42)), qGreen(dark.pixel(42, 42)));

    CGEPicture picture;
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 255, 255));
    source.setPixel(1, 0, qRgb(255, 0, 0));
    picture.SetBitmap(source);
    picture.SetRect(0, 0, 20, 10);
    const QImage image = Render([&](QPainter& p) { picture.Draw(p); });
    EXPECT_EQ(image.pixel(2, 5), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(17, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(21, 5), kGrey);
}

TEST(Drawing, StaticTextShowsTheAmpersandAndFillsItsBackground) {
    CGEStaticTxt text;
    text.SetFontSize(24);
    text.SetText(QStringLiteral("A&B"));
    text.m_nSameColor = 1;
    text.m_nBkColor = 0x0000FFFF; // yellow
    text.m_nLeft = 10;
    text.m_nTop = 10;
    const QImage image = Render([&](QPainter& p) { text.Draw(p); });
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 255, 0));
    // The width holds three characters, and blue glyph pixels are there.
    int blue = 0;
    for (int x = 10; x < 10 + text.m_nWidth; ++x)
        for (int y = 10; y < 10 + text.m_nHeight; ++y)
            blue += image.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
    EXPECT_GT(blue, 20);
    EXPECT_GT(text.m_nWidth, TextExtent(QStringLiteral("AB"), text.m_strFontName, 24).width());
}

TEST(Fonts, SearchFindsTheLineHeightAndCaches) {
    for (int size : FontSizes()) {
        QFont font;
        ASSERT_TRUE(FindFontForSize(font, QStringLiteral("宋体"), size)) << size;
        const int height = TextExtent(QStringLiteral("宋体"), font).height();
        EXPECT_LE(height, size) << size;
        EXPECT_GE(height, size - 3) << size;
        QFont again;
        ASSERT_TRUE(FindFontForSize(again, QStringLiteral("宋体"), size));
        EXPECT_EQ(again, font);
    }
    QFont font;
    EXPECT_FALSE(FindFontForSize(font, QString(), 16));
    EXPECT_FALSE(FindFontForSize(font, QStringLiteral("宋体"), 0));
    EXPECT_EQ(FontSizeText(112), QStringLiteral("112x112"));
    EXPECT_TRUE(GB2312FaceNames().contains(QStringLiteral("AR PL UMing CN")) ||
                GB2312FaceNames().contains(QStringLiteral("WenQuanYi Zen Hei")));
}

TEST(Fonts, FaceChoiceFallsBackToFullNamesThenTheFirst) {
    const QStringList faces = GB2312FaceNames();
    ASSERT_FALSE(faces.isEmpty());
    EXPECT_EQ(FaceIndexForName(faces, faces.last()), faces.size() - 1);
    EXPECT_EQ(FaceIndexForName(faces, QStringLiteral("No Such Face")), 0);
    EXPECT_EQ(FaceIndexForName({}, QStringLiteral("x")), -1);
    // The Chinese full name of WenQuanYi Zen Hei is in its name table only.
    const int zenHei = FaceIndexForName(faces, QStringLiteral("文泉驿正黑"));
    EXPECT_TRUE(faces[zenHei] == QStringLiteral("WenQuanYi Zen Hei") ||
                faces[zenHei] == QStringLiteral("文泉驿正黑"))
        << faces[zenHei].toStdString();
    EXPECT_TRUE(FaceFullNames(QStringLiteral("@WenQuanYi Zen Hei"))
                    .contains(QStringLiteral("@文泉驿正黑")));
}

TEST(Drawing, TrendShowsAxesPlotAndCurve) {
    CGETrend trend(nullptr);
    trend.SetRect(0, 0, 206, 106);
    const QImage image = Render([&](QPainter& p) { trend.Draw(p); });
    EXPECT_EQ(image.pixel(2, 103), qRgb(0x40, 0x40, 0x40)); // background corner
    EXPECT_EQ(image.pixel(100, 20), qRgb(255, 255, 255));   // plot area
    int red = 0;
    for (int x = 6; x < 206; ++x)
        for (int y = 0; y < 100; ++y)
            red += image.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
    EXPECT_GT(red, 100);
}

} // namespace
