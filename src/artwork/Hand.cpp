#include "ArtworkDrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

// A hand coming out of a shirt cuff, the index finger stretched out to the right, the other
// fingers curled under it and the thumb laid across them. Coordinates are on the 32 x 32 design
// grid.

namespace {

const QColor kSkinLight(0xFB, 0xDA, 0xB6);
const QColor kSkinDark(0xE2, 0xA9, 0x7E);
const QColor kLine(0x6A, 0x3C, 0x22);
const QColor kNail(0xFD, 0xE8, 0xD6);
const QColor kCuffLight(0x5A, 0x8A, 0xD8);
const QColor kCuffDark(0x22, 0x4A, 0x92);
const QColor kCuffLine(0x14, 0x2A, 0x56);

QPainterPath Rounded(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void DrawShaded(QPainter& p, const QPainterPath& part, const QColor& light, const QColor& dark,
                const QColor& line) {
    const QRectF box = part.boundingRect();
    QLinearGradient shade(0, box.top(), 0, box.bottom());
    shade.setColorAt(0, light);
    shade.setColorAt(1, dark);
    p.fillPath(part, shade);
    p.strokePath(part, QPen(line, 1));
}

void DrawSkin(QPainter& p, const QPainterPath& part) {
    DrawShaded(p, part, kSkinLight, kSkinDark, kLine);
}

} // namespace

QImage DrawHand(int size) {
    QImage picture = BlankPicture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    DrawSkin(p, Rounded(QRectF(6.5, 9.5, 12, 18), 4.5));    // back of the hand
    DrawSkin(p, Rounded(QRectF(12.5, 9.5, 18, 5.5), 2.75)); // index finger
    p.fillPath(Rounded(QRectF(26, 10.5, 3, 2), 1), kNail);
    DrawSkin(p, Rounded(QRectF(13.5, 18.5, 8.5, 4), 2)); // curled fingers, the lowest last
    DrawSkin(p, Rounded(QRectF(13.5, 22, 7.5, 3.5), 1.75));
    DrawSkin(p, Rounded(QRectF(13, 25, 6.5, 3), 1.5));
    DrawSkin(p, Rounded(QRectF(9.5, 14.5, 14, 4.5), 2.25)); // thumb

    DrawShaded(p, Rounded(QRectF(1.5, 8.5, 6, 20), 1.5), kCuffLight, kCuffDark, kCuffLine);
    p.end();
    return FinishedPicture(picture);
}
