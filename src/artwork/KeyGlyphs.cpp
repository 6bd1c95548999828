#include "KeyGlyphs.h"

#include <QTransform>

namespace {

QPainterPath Lines(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.moveTo(*points.begin());
    for (auto p = points.begin() + 1; p != points.end(); ++p)
        path.lineTo(*p);
    return path;
}

// A circle (or ellipse) arc on the box `r`, Qt angles: degrees counter-clockwise from 3 o'clock.
QPainterPath Arc(const QRectF& r, qreal start, qreal sweep) {
    QPainterPath path;
    path.arcMoveTo(r, start);
    path.arcTo(r, start, sweep);
    return path;
}

// Several strokes as one path (not their union: each is stroked on its own).
QPainterPath Strokes(std::initializer_list<QPainterPath> parts) {
    QPainterPath path;
    for (const QPainterPath& part : parts)
        path.addPath(part);
    return path;
}

// Seen upside down, a 6 is a 9.
QPainterPath Turned(const QPainterPath& path, qreal advance) {
    return QTransform(-1, 0, 0, -1, advance, kGlyphHeight).map(path);
}

QPainterPath Six() {
    QPainterPath path = Arc(QRectF(1, 1, 4, 5), 30, 150);
    path.lineTo(1, 6.5);
    path.addEllipse(QRectF(1, 4.5, 4, 4.5));
    return path;
}

} // namespace

KeyGlyph GlyphFor(char c) {
    switch (c) {
    case 'A':
        return {
            Strokes({Lines({{0.6, 10}, {3, 0}, {3.5, 0}, {5.9, 10}}), Lines({{1.5, 7}, {5, 7}})}),
            6.5};
    case 'C':
        return {Arc(QRectF(1, 1, 4.5, 8), 45, 270), 6};
    case 'E':
        return {Strokes({Lines({{5, 1}, {1, 1}, {1, 9}, {5, 9}}), Lines({{1, 5}, {4.5, 5}})}), 5};
    case 'L':
        return {Lines({{1, 0}, {1, 9}, {5, 9}}), 5};
    case 'M':
        return {Strokes({Lines({{1, 10}, {1, 0}}), Lines({{7, 10}, {7, 0}}),
                         Lines({{0.5, -1}, {4, 7}, {7.5, -1}})}),
                8};
    case 'N':
        return {Strokes({Lines({{1, 10}, {1, 0}}), Lines({{5, 0}, {5, 10}}),
                         Lines({{0.6, -1}, {5.4, 11}})}),
                6};
    case 'R': {
        QPainterPath bowl = Lines({{1, 10}, {1, 1}, {3, 1}});
        bowl.arcTo(QRectF(1, 1, 4, 4), 90, -180);
        bowl.lineTo(1, 5);
        return {Strokes({bowl, Lines({{3, 5}, {5.8, 10.5}})}), 6};
    }
    case 'S': {
        QPainterPath s = Arc(QRectF(1, 1, 4, 4), 20, 250);
        s.arcTo(QRectF(1, 5, 4, 4), 90, -250);
        return {s, 6};
    }
    case 'T':
        return {Strokes({Lines({{0, 1}, {6, 1}}), Lines({{3, 1}, {3, 10}})}), 6};
    case '0': {
        QPainterPath o;
        o.addRoundedRect(QRectF(1, 1, 4, 8), 2, 2);
        return {o, 6};
    }
    case '1':
        return {Lines({{0.8, 3}, {3, 1}, {3, 10}}), 5};
    case '2': {
        QPainterPath two = Arc(QRectF(1, 1, 4, 4), 165, -195);
        two.lineTo(1, 9);
        two.lineTo(5.5, 9);
        return {two, 6};
    }
    case '3': {
        QPainterPath three = Arc(QRectF(1, 1, 4, 4), 150, -240);
        three.lineTo(2, 5);
        three.moveTo(3, 5);
        three.arcTo(QRectF(1, 5, 4, 4), 90, -240);
        return {three, 6};
    }
    case '4':
        return {Strokes({Lines({{5, 0}, {5, 10}}), Lines({{4.4, 0}, {1, 7}, {7, 7}})}), 7};
    case '5': {
        QPainterPath five = Lines({{5, 1}, {1, 1}, {1, 5}, {2.6, 5}});
        five.arcTo(QRectF(0.6, 5, 4.4, 4), 90, -180);
        five.lineTo(0.6, 9);
        return {five, 6};
    }
    case '6':
        return {Six(), 6};
    case '7':
        return {Lines({{0, 1}, {5, 1}, {2.2, 10}}), 6};
    case '8': {
        QPainterPath eight;
        eight.addEllipse(QRectF(1.2, 1, 3.6, 4));
        eight.addEllipse(QRectF(1, 5, 4, 4));
        return {eight, 6};
    }
    case '9':
        return {Turned(Six(), 6), 6};
    case '~':
        return {
            Strokes({Lines({{1, 3}, {9, 3}}), Lines({{5, 0}, {5, 6}}), Lines({{1, 9}, {9, 9}})}),
            10};
    default:
        return {};
    }
}
