#include "Artwork.h"
#include "ArtworkDrawing.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

struct Picture {
    int id;
    int size;
};

std::vector<Picture> AllPictures() {
    std::vector<Picture> all;
    for (int offset = 0; offset <= 20; ++offset) { // 20 keys, then the hand
        all.push_back({2000 + offset, 32});
        all.push_back({3000 + offset, 64});
    }
    for (int id : {244, 245, 247, 248})
        all.push_back({id, 32});
    for (int id : {144, 145, 147, 148})
        all.push_back({id, 64});
    return all;
}

bool IsInk(QRgb c) {
    return qGray(c) < 80;
}

int InkCount(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            count += IsInk(picture.pixel(x, y));
    }
    return count;
}

// Ink pixels in the half of the picture that `direction` points into.
int InkTowards(const QImage& picture, QPoint direction) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            // From the picture's centre to the pixel's centre, in half pixels.
            const QPoint offset(2 * x + 1 - picture.width(), 2 * y + 1 - picture.height());
            count += IsInk(picture.pixel(x, y)) && QPoint::dotProduct(offset, direction) > 0;
        }
    }
    return count;
}

bool IsWhiteInRgb565(QRgb c) {
    return qRed(c) >= 0xF8 && qGreen(c) >= 0xFC && qBlue(c) >= 0xF8;
}

// A pixel that is white in RGB565 but cannot be reached from the border over such pixels, or
// (-1, -1) when there is none.
QPoint TransparentHole(const QImage& picture) {
    const int w = picture.width();
    const int h = picture.height();
    std::vector<char> reached(w * h, 0);
    std::vector<QPoint> todo;
    for (int i = 0; i < w; ++i)
        todo.insert(todo.end(), {{i, 0}, {i, h - 1}, {0, i}, {w - 1, i}});
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h || reached[p.y() * w + p.x()] ||
            !IsWhiteInRgb565(picture.pixel(p)))
            continue;
        reached[p.y() * w + p.x()] = 1;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (IsWhiteInRgb565(picture.pixel(x, y)) && !reached[y * w + x])
                return {x, y};
        }
    }
    return {-1, -1};
}

} // namespace

TEST(Artwork, EveryPictureHasItsSizeAndFormat) {
    for (const Picture& expected : AllPictures()) {
        SCOPED_TRACE(expected.id);
        const QImage picture = Artwork(expected.id);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(expected.size, expected.size));
        EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    }
}

TEST(Artwork, UnknownNumbersGiveNoPicture) {
    for (int id : {-1, 0, 143, 146, 149, 243, 246, 249, 1999, 2021, 2999, 3021, 4000}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(Artwork(id).isNull());
    }
}

TEST(Artwork, LitLampsShowTheirColourAtTheCentre) {
    struct Lamp {
        int id;
        bool green;
    };
    for (const Lamp lamp : {Lamp{244, true}, Lamp{245, false}, Lamp{247, true}, Lamp{248, false},
                            Lamp{144, true}, Lamp{145, false}, Lamp{147, true}, Lamp{148, false}}) {
        SCOPED_TRACE(lamp.id);
        const QImage picture = Artwork(lamp.id);
        const int s = picture.width();
        long r = 0, g = 0, b = 0;
        for (int y = s * 3 / 8; y < s * 5 / 8; ++y) {
            for (int x = s * 3 / 8; x < s * 5 / 8; ++x) {
                const QRgb c = picture.pixel(x, y);
                r += qRed(c);
                g += qGreen(c);
                b += qBlue(c);
            }
        }
        const long lit = lamp.green ? g : r;
        const long other = lamp.green ? r : g;
        EXPECT_GT(lit, 2 * other);
        EXPECT_GT(lit, 2 * b);
    }
}

TEST(Artwork, RoundLampsLeaveTheCornersFreeAndSquareLampsFillThem) {
    for (int id : {244, 245, 247, 248, 144, 145, 147, 148}) {
        SCOPED_TRACE(id);
        const QImage picture = Artwork(id);
        const int corner = picture.width() / 8;
        const bool round = id % 100 < 47;
        EXPECT_EQ(picture.pixel(corner, corner) == qRgb(255, 255, 255), round);
    }
}

TEST(Artwork, EveryKeyAndTheHandLookDifferent) {
    for (int base : {2000, 3000}) {
        std::set<QByteArray> seen;
        for (int offset = 0; offset <= 20; ++offset) {
            const QImage picture = Artwork(base + offset);
            const QByteArray pixels(reinterpret_cast<const char*>(picture.constBits()),
                                    picture.sizeInBytes());
            EXPECT_TRUE(seen.insert(pixels).second) << base + offset;
        }
    }
}

TEST(Artwork, ArrowKeysPointTheirWay) {
    // The head of an arrow holds more ink than its shaft.
    struct ArrowKey {
        int code;
        QPoint direction;
    };
    for (int base : {2000, 3000}) {
        for (const ArrowKey key : {ArrowKey{2, {0, 1}}, ArrowKey{3, {0, -1}}, ArrowKey{4, {-1, 0}},
                                   ArrowKey{6, {1, 0}}}) {
            SCOPED_TRACE(base + key.code);
            const QImage picture = Artwork(base + key.code);
            EXPECT_GT(InkTowards(picture, key.direction),
                      InkTowards(picture, -key.direction) * 5 / 4);
        }
    }
}

TEST(Artwork, DigitKeysFollowThePanelsKeyCodes) {
    // Codes 10..19 carry the digits 0, 3, 2, 1, 6, 7, 8, 9, 4, 5: the "1" (code 13) is the digit
    // with the least ink.
    for (int base : {2000, 3000}) {
        const int one = InkCount(Artwork(base + 13));
        for (int code = 10; code <= 19; ++code) {
            if (code != 13) {
                EXPECT_GT(InkCount(Artwork(base + code)), one) << base + code;
            }
        }
    }
}

// The Emulator draws these pictures over the screen with RGB565 white (0xFFFF) transparent: the
// surroundings are pure white, and whatever else reduces to white must touch them, so that no
// hole opens inside a key face, a lamp or the hand.
TEST(Artwork, OnlyTheSurroundingsAreTransparentInRgb565) {
    for (const Picture& expected : AllPictures()) {
        SCOPED_TRACE(expected.id);
        const QImage picture = Artwork(expected.id);
        EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
        EXPECT_EQ(TransparentHole(picture), QPoint(-1, -1));
    }
}

TEST(Artwork, DrawingAgainGivesTheSamePixels) {
    for (const Picture& expected : AllPictures()) {
        SCOPED_TRACE(expected.id);
        const QImage again = DrawArtwork(expected.id);
        EXPECT_EQ(again, Artwork(expected.id));
        EXPECT_EQ(again, DrawArtwork(expected.id));
    }
}
