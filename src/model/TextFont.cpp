#include "TextFont.h"

#include "GlyphLayout.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QMutexLocker>
#include <QRawFont>

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

namespace {

std::uint16_t BigEndian16(const QByteArray& table, qsizetype offset) {
    return static_cast<std::uint16_t>((static_cast<std::uint8_t>(table[offset]) << 8) |
                                      static_cast<std::uint8_t>(table[offset + 1]));
}

// One name record's text: Windows Unicode records are big-endian UTF-16, others are taken
// byte for byte.
QString NameRecordText(const QByteArray& bytes, std::uint16_t platform, std::uint16_t encoding) {
    if (platform != 3 || encoding != 1)
        return QString::fromLatin1(bytes);
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(BigEndian16(bytes, i));
    return text;
}

} // namespace

QStringList FaceFullNames(const QString& face) {
    const bool vertical = face.startsWith(u'@');
    const QRawFont raw = QRawFont::fromFont(QFont(vertical ? face.mid(1) : face));
    const QByteArray table = raw.fontTable("name");
    QStringList names;
    if (table.size() < 6)
        return names;
    const int count = BigEndian16(table, 2);
    const int strings = BigEndian16(table, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + static_cast<qsizetype>(i) * 12;
        if (record + 12 > table.size())
            break;
        if (BigEndian16(table, record + 6) != 4)
            continue;
        const qsizetype length = BigEndian16(table, record + 8);
        const qsizetype offset = strings + BigEndian16(table, record + 10);
        if (offset + length > table.size())
            continue;
        const QString name = NameRecordText(table.mid(offset, length), BigEndian16(table, record),
                                            BigEndian16(table, record + 2));
        names.append(vertical ? u'@' + name : name);
    }
    return names;
}

int FaceIndexForName(const QStringList& faces, const QString& name) {
    if (faces.isEmpty())
        return -1;
    const int exact = static_cast<int>(faces.indexOf(name));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < faces.size(); ++i) {
        if (FaceFullNames(faces[i]).contains(name))
            return i;
    }
    return 0;
}

const QList<int>& FontSizes() {
    // The sizes the panel has glyphs for.
    static const QList<int> sizes(kGlyphPixelSizes.begin(), kGlyphPixelSizes.end());
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
