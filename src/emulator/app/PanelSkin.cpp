#include "PanelSkin.h"

#include "PanelKeys.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kWidth = 870;
constexpr int kHeight = 486;
const QRectF kCase(6, 6, kWidth - 12, kHeight - 12);
constexpr qreal kCaseRadius = 30;

void DrawCase(QPainter& p) {
    QLinearGradient body(0, 0, 0, kHeight);
    body.setColorAt(0, QColor(0xE4, 0xE7, 0xEB));
    body.setColorAt(0.5, QColor(0xC9, 0xCE, 0xD4));
    body.setColorAt(1, QColor(0xA3, 0xA9, 0xB1));
    p.setPen(QPen(QColor(0x5A, 0x5F, 0x66), 3));
    p.setBrush(body);
    p.drawRoundedRect(kCase, kCaseRadius, kCaseRadius);
    // A soft highlight along the upper edge, as on a moulded front.
    p.setPen(QPen(QColor(255, 255, 255, 150), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(kCase.adjusted(5, 5, -5, -5), kCaseRadius - 5, kCaseRadius - 5);
}

void DrawBezel(QPainter& p) {
    const QRectF bezel(kDisplayLeft - 22, kDisplayTop - 22, 480 + 44, 272 + 44);
    QLinearGradient frame(bezel.topLeft(), bezel.bottomLeft());
    frame.setColorAt(0, QColor(0x3A, 0x3E, 0x45));
    frame.setColorAt(1, QColor(0x1E, 0x20, 0x24));
    p.setPen(QPen(QColor(0x15, 0x16, 0x18), 2));
    p.setBrush(frame);
    p.drawRoundedRect(bezel, 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(QRect(kDisplayLeft - 2, kDisplayTop - 2, 484, 276));
}

void DrawLabels(QPainter& p) {
    QFont brand(QStringLiteral("DejaVu Sans"));
    brand.setPixelSize(22);
    brand.setBold(true);
    p.setFont(brand);
    p.setPen(QColor(0x2B, 0x3A, 0x55));
    p.drawText(QRect(kDisplayLeft - 20, 18, 200, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("KV250"));
    QFont maker(QStringLiteral("DejaVu Sans"));
    maker.setPixelSize(12);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(maker);
    p.setPen(QColor(0x4A, 0x50, 0x58));
    p.drawText(QRect(kDisplayLeft + 290, 18, 210, 30), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("HALVERN-KORAVEL"));
    // Status lamps over the keypad: power lit, communication dark.
    const struct {
        int x;
        QColor colour;
        const char* text;
    } lamps[] = {{660, QColor(0x3C, 0xD2, 0x4A), "PWR"}, {730, QColor(0x4A, 0x3A, 0x20), "COM"}};
    for (const auto& lamp : lamps) {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
        p.setBrush(lamp.colour);
        p.drawEllipse(QPointF(lamp.x, 62), 6, 6);
        p.setPen(QColor(0x3A, 0x3F, 0x46));
        p.drawText(QRect(lamp.x + 10, 52, 50, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QLatin1String(lamp.text));
    }
}

void DrawArrow(QPainter& p, const QRectF& area, int angle) {
    QPainterPath arrow;
    arrow.moveTo(0, -11);
    arrow.lineTo(10, 7);
    arrow.lineTo(-10, 7);
    arrow.closeSubpath();
    p.save();
    p.translate(area.center());
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF2, 0xF4, 0xF6));
    p.drawPath(arrow);
    p.restore();
}

void DrawKey(QPainter& p, const PanelKey& key) {
    const QRectF area = QRectF(key.area).adjusted(1, 1, -1, -1);
    const bool function = key.code <= 0x07;
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    if (function) {
        face.setColorAt(0, QColor(0x4F, 0x6E, 0x9C));
        face.setColorAt(1, QColor(0x2C, 0x43, 0x66));
    } else {
        face.setColorAt(0, QColor(0x5C, 0x61, 0x69));
        face.setColorAt(1, QColor(0x33, 0x37, 0x3D));
    }
    p.setPen(QPen(QColor(0x1A, 0x1C, 0x20), 2));
    p.setBrush(face);
    p.drawRoundedRect(area, 9, 9);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(area.adjusted(3, 3, -3, -3), 7, 7);
    const QString label = QLatin1String(key.label);
    const int angle = label == QLatin1String("UP")      ? 0
                      : label == QLatin1String("RIGHT") ? 90
                      : label == QLatin1String("Down")  ? 180
                      : label == QLatin1String("LEFT")  ? 270
                                                        : -1;
    if (angle >= 0) {
        DrawArrow(p, area, angle);
        return;
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(label.size() == 1 ? 26 : 17);
    p.setFont(font);
    p.setPen(QColor(0xF2, 0xF4, 0xF6));
    p.drawText(area, Qt::AlignCenter, label);
}

void DrawKeyWells(QPainter& p) {
    p.setPen(QPen(QColor(0x8C, 0x92, 0x9A), 1));
    p.setBrush(QColor(0xB4, 0xBA, 0xC1));
    p.drawRoundedRect(QRectF(632, 88, 208, 270), 14, 14);
    p.drawRoundedRect(QRectF(88, 376, 712, 80), 14, 14);
}

} // namespace

QImage PanelSkin() {
    QImage skin(kWidth, kHeight, QImage::Format_RGB32);
    skin.fill(Qt::white);
    QPainter p(&skin);
    p.setRenderHint(QPainter::Antialiasing);
    DrawCase(p);
    DrawBezel(p);
    DrawKeyWells(p);
    DrawLabels(p);
    for (const PanelKey& key : PanelKeys())
        DrawKey(p, key);
    return skin;
}

QImage PanelMask() {
    QImage mask(kWidth, kHeight, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(kCase.adjusted(-2, -2, 2, 2), kCaseRadius, kCaseRadius);
    return mask;
}

QRegion PanelShape() {
    // Built from the runs of each row rather than through a QBitmap, whose colour table
    // decides which bit value a region keeps and once turned the shape inside out.
    const QImage mask = PanelMask();
    const QRgb outside = QColor(Qt::white).rgb();
    QRegion shape;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && line[x] == outside)
                ++x;
            const int start = x;
            while (x < mask.width() && line[x] != outside)
                ++x;
            if (x > start)
                shape += QRect(start, y, x - start, 1);
        }
    }
    return shape;
}

QImage ComposePanel(const QImage& display) {
    QImage panel(kWidth, kHeight, QImage::Format_ARGB32);
    panel.fill(Qt::transparent);
    QPainter p(&panel);
    p.setClipRegion(PanelShape());
    p.drawImage(0, 0, PanelSkin());
    p.drawImage(kDisplayLeft, kDisplayTop, display);
    return panel;
}
