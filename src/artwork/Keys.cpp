#include "ArtworkDrawing.h"
#include "KeyGlyphs.h"
#include "Keypad.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

// The keys look like the panel's membrane keys: a light, slightly domed face in a dark rim, with
// the label printed in near-black. All coordinates are on the 32 x 32 design grid.

namespace {

const QColor kRim(0x4B, 0x53, 0x5C);
const QColor kFaceTop(0xF1, 0xF3, 0xF5);
const QColor kFaceBottom(0xC4, 0xCA, 0xD1);
const QColor kInk(0x1C, 0x22, 0x29);

enum class Arrow { Down, Up, Left, Right };

// The printed label of a key that shows no arrow: its name, and '~' (the plus-minus glyph) for
// the sign key.
const char* LabelOf(std::uint8_t keyCode) {
    if (keyCode == Key::kPlusMinus)
        return "~";
    return KeypadKeyOf(keyCode)->name;
}

void DrawFace(QPainter& p) {
    QPainterPath rim;
    rim.addRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    p.fillPath(rim, kRim);

    QLinearGradient face(0, 2, 0, 30);
    face.setColorAt(0, kFaceTop);
    face.setColorAt(1, kFaceBottom);
    QPainterPath facePath;
    facePath.addRoundedRect(QRectF(2, 2, 28, 28), 4.5, 4.5);
    p.fillPath(facePath, face);

    // Bevel: light along the top and left edges of the face, shade along the bottom and right.
    QLinearGradient bevel(2, 2, 30, 30);
    bevel.setColorAt(0, QColor(255, 255, 255, 200));
    bevel.setColorAt(0.45, QColor(255, 255, 255, 0));
    bevel.setColorAt(0.55, QColor(0, 0, 0, 0));
    bevel.setColorAt(1, QColor(0, 0, 0, 70));
    QPainterPath edge;
    edge.addRoundedRect(QRectF(2.5, 2.5, 27, 27), 4, 4);
    p.strokePath(edge, QPen(QBrush(bevel), 1));
}

// Draws `text` centred on the face, each glyph `scale` design units tall per glyph unit. The
// origin is rounded to whole pixels so that straight strokes stay sharp.
void DrawLabel(QPainter& p, const char* text, qreal scale, qreal pixelsPerUnit) {
    const qreal gap = 1.5;
    qreal width = 0;
    for (const char* c = text; *c; ++c)
        width += GlyphFor(*c).advance + (c == text ? 0 : gap);

    const auto toPixel = [&](qreal v) { return std::round(v * pixelsPerUnit) / pixelsPerUnit; };
    qreal x = toPixel(16 - width * scale / 2);
    const qreal y = toPixel(16 - kGlyphHeight * scale / 2);

    const QPen pen(kInk, kGlyphStroke, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    for (const char* c = text; *c; ++c) {
        const KeyGlyph glyph = GlyphFor(*c);
        p.save();
        p.translate(x, y);
        p.scale(scale, scale);
        p.setClipRect(QRectF(0, 0, glyph.advance, kGlyphHeight));
        p.strokePath(glyph.strokes, pen);
        p.restore();
        x += (glyph.advance + gap) * scale;
    }
}

// A bold arrow: a shaft and a wide head, drawn pointing right and turned about the key's centre.
void DrawArrow(QPainter& p, Arrow arrow) {
    static const qreal turn[] = {90, -90, 180, 0};
    QPainterPath shape;
    shape.addRect(QRectF(7, 14, 10, 4));
    shape.addPolygon(QPolygonF({{15, 8}, {25, 16}, {15, 24}}));
    shape.closeSubpath();
    shape.setFillRule(Qt::WindingFill);

    p.save();
    p.translate(16, 16);
    p.rotate(turn[static_cast<int>(arrow)]);
    p.translate(-16, -16);
    p.fillPath(shape.simplified(), kInk);
    p.restore();
}

} // namespace

QImage DrawKey(std::uint8_t keyCode, int size) {
    QImage picture = BlankPicture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal pixelsPerUnit = size / 32.0;
    p.scale(pixelsPerUnit, pixelsPerUnit);
    DrawFace(p);

    switch (keyCode) {
    case Key::kDown:
        DrawArrow(p, Arrow::Down);
        break;
    case Key::kUp:
        DrawArrow(p, Arrow::Up);
        break;
    case Key::kLeft:
        DrawArrow(p, Arrow::Left);
        break;
    case Key::kRight:
        DrawArrow(p, Arrow::Right);
        break;
    default: {
        const char* label = LabelOf(keyCode);
        // Single characters stand larger than the three-letter names.
        DrawLabel(p, label, label[1] ? 1.0 : 1.5, pixelsPerUnit);
    }
    }
    p.end();
    return FinishedPicture(picture);
}
