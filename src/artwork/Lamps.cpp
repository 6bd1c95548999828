#include "ArtworkDrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

// A lit lamp: a brushed metal bezel around a glowing lens, bright in the middle and deeper
// towards the rim, with a soft reflection at the top left. Coordinates are on the 32 x 32
// design grid.

namespace {

struct LensColours {
    QColor glow;
    QColor body;
    QColor edge;
};

LensColours ColoursOf(LampColour colour) {
    if (colour == LampColour::Green)
        return {QColor(0xB4, 0xFF, 0xA8), QColor(0x22, 0xD0, 0x32), QColor(0x06, 0x6A, 0x12)};
    return {QColor(0xFF, 0xB0, 0x9C), QColor(0xE8, 0x22, 0x18), QColor(0x84, 0x08, 0x06)};
}

QPainterPath Outline(LampShape shape, const QRectF& r, qreal cornerRadius) {
    QPainterPath path;
    if (shape == LampShape::Round)
        path.addEllipse(r);
    else
        path.addRoundedRect(r, cornerRadius, cornerRadius);
    return path;
}

void DrawBezel(QPainter& p, LampShape shape) {
    p.fillPath(Outline(shape, QRectF(0.5, 0.5, 31, 31), 5), QColor(0x3A, 0x40, 0x48));
    QLinearGradient metal(0, 1, 0, 31);
    metal.setColorAt(0, QColor(0xE2, 0xE6, 0xEA));
    metal.setColorAt(1, QColor(0x70, 0x78, 0x82));
    p.fillPath(Outline(shape, QRectF(1.5, 1.5, 29, 29), 4), metal);
    // The seat of the lens, shaded the other way so the lens sits in the bezel.
    QLinearGradient seat(0, 4, 0, 28);
    seat.setColorAt(0, QColor(0x5C, 0x64, 0x6E));
    seat.setColorAt(1, QColor(0xD4, 0xD9, 0xDE));
    p.fillPath(Outline(shape, QRectF(4, 4, 24, 24), 3), seat);
}

void DrawLens(QPainter& p, LampShape shape, const LensColours& colours) {
    QRadialGradient glow(QPointF(16, 16), shape == LampShape::Round ? 11 : 13, QPointF(14, 13));
    glow.setColorAt(0, colours.glow);
    glow.setColorAt(0.45, colours.body);
    glow.setColorAt(1, colours.edge);
    const QPainterPath lens = Outline(shape, QRectF(5, 5, 22, 22), 2);
    p.fillPath(lens, glow);

    // The reflection of a light above the panel.
    QLinearGradient shine(0, 6, 0, 15);
    shine.setColorAt(0, QColor(255, 255, 255, 190));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    const QPainterPath reflection = shape == LampShape::Round
                                        ? Outline(shape, QRectF(9, 6.5, 12, 8), 0)
                                        : Outline(shape, QRectF(7, 6.5, 18, 7), 2);
    p.fillPath(reflection.intersected(lens), shine);
}

} // namespace

QImage DrawLamp(LampShape shape, LampColour colour, int size) {
    QImage picture = BlankPicture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    DrawBezel(p, shape);
    DrawLens(p, shape, ColoursOf(colour));
    p.end();
    return FinishedPicture(picture);
}
