#include "TextFont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QMutexLocker>

namespace {

// The screen device that every measurement uses: a 96-dpi image, the resolution of the
// designer's canvas.
const QImage& ScreenDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return device;
}

QFont MakeFont(const QString& face, int tenthsOfPoint) {
    QFont font(face.left(31));
    font.setPointSizeF(tenthsOfPoint / 10.0);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

int LineHeight(const QFont& font) {
    return QFontMetrics(font, const_cast<QImage*>(&ScreenDevice())).height();
}

QMutex& CacheMutex() {
    static QMutex mutex;
    return mutex;
}

QHash<QString, int>& Cache() {
    static QHash<QString, int> cache;
    return cache;
}

// Walks the point size from `size` points in tenths until the line height is `size` pixels.
// The walk is bounded so that a face that never grows cannot hang the caller.
int SearchPointSize(const QString& face, int size) {
    int tenths = size * 10;
    const int ceiling = size * 40;
    int direction = 0;
    for (;;) {
        const int height = LineHeight(MakeFont(face, tenths));
        const bool found = (direction == 0 && height == size) ||
                           (direction < 0 && height <= size) || (direction > 0 && height >= size);
        if (found)
            return height > size ? tenths - 1 : tenths;
        direction = height > size ? -1 : 1;
        tenths += direction;
        if (tenths <= 0 || tenths > ceiling)
            return -1;
    }
}

} // namespace

void RegisterFontSubstitutions() {
    for (const char16_t* name : {u"宋体", u"SimSun", u"新宋体"})
        QFont::insertSubstitution(QString::fromUtf16(name), QStringLiteral("AR PL UMing CN"));
    for (const char16_t* name : {u"黑体", u"SimHei"})
        QFont::insertSubstitution(QString::fromUtf16(name), QStringLiteral("WenQuanYi Zen Hei"));
}

bool FindFontForSize(QFont& font, const QString& face, int size) {
    if (face.isEmpty() || size <= 0 || size > kMaxFontSize)
        return false;
    const QString key = QStringLiteral("%1_%2").arg(face).arg(size);
    int tenths = -1;
    {
        QMutexLocker lock(&CacheMutex());
        auto it = Cache().constFind(key);
        if (it != Cache().constEnd()) {
            tenths = it.value();
        } else {
            tenths = SearchPointSize(face, size);
            Cache().insert(key, tenths);
        }
    }
    if (tenths < 0)
        return false;
    font = MakeFont(face, tenths);
    return true;
}

QSize TextExtent(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font, const_cast<QImage*>(&ScreenDevice()));
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QSize TextExtent(const QString& text, const QString& face, int size) {
    QFont font;
    font.setStyleStrategy(QFont::NoAntialias);
    FindFontForSize(font, face, size);
    return TextExtent(text, font);
}

QStringList GB2312FaceNames() {
    QStringList faces;
    for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese)) {
        if (!faces.contains(family))
            faces.append(family);
    }
    return faces;
}

const QList<int>& FontSizes() {
    static const QList<int> sizes{16, 24, 32, 48, 64, 80, 96, 112};
    return sizes;
}

QString FontSizeText(int size) {
    return QStringLiteral("%1x%1").arg(size);
}

QFont AnnotationFont() {
    QFont font(kDefaultFaceName);
    font.setPointSize(10);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}
