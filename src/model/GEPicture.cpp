#include "GEPicture.h"

#include "ByteOrder.h"
#include "DebugLog.h"
#include "Markup.h"
#include "XmlValue.h"

#include <QPainter>

#include <limits>

namespace {

// Pictures are megabytes of text in a project file: both directions work on the characters
// directly rather than piece by piece.
QString JoinHex(const QByteArray& bytes, int count, bool upper) {
    if (count <= 0)
        return {};
    static const char lowerDigits[] = "0123456789abcdef";
    static const char upperDigits[] = "0123456789ABCDEF";
    const char* digits = upper ? upperDigits : lowerDigits;
    QString text(count * 3 - 1, u'|');
    QChar* out = text.data();
    for (int i = 0; i < count; ++i, out += 3) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        out[0] = QLatin1Char(digits[byte >> 4]);
        out[1] = QLatin1Char(digits[byte & 0xF]);
    }
    return text;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Fills `target` with the low bytes of the "|"-separated hexadecimal pieces of `text`; at
// most target.size() pieces are taken, missing ones leave 0. A piece of exactly two digits,
// as the designer writes them, is read at once; any other goes through the general reader.
void SplitHex(const QString& text, QByteArray& target) {
    const QStringView all(text);
    const qsizetype size = all.size();
    qsizetype index = 0;
    qsizetype start = 0;
    while (index < target.size() && start <= size) {
        qsizetype end = start;
        while (end < size && all[end] != u'|')
            ++end;
        const int high = end - start == 2 ? HexDigit(all[start].unicode()) : -1;
        const int low = high >= 0 ? HexDigit(all[start + 1].unicode()) : -1;
        target[index++] = static_cast<char>(
            low >= 0 ? high << 4 | low : ParseHex(all.mid(start, end - start)) & 0xFF);
        if (end == size)
            break;
        start = end + 1;
    }
}

// The largest picture a header may describe (2048 x 2048 pixels): the panel is 480 x 272, so
// anything beyond that is a damaged file, not a picture.
constexpr std::int64_t kMaxImageBytes = 16LL * 1024 * 1024;
constexpr int kMaxSide = 2048;

// The pieces a "|"-separated text holds, empty ones included, as SplitHex reads them.
qsizetype CountPieces(const QString& text) {
    return text.isEmpty() ? 0 : text.count(u'|') + 1;
}

} // namespace

CGEPicture::CGEPicture() : CGraphBase(kTypePicture) {}

void CGEPicture::FillHeader(int width, int height) {
    m_HeadBlock = QByteArray(kHeaderBlockSize, '\0');
    PutLE32(m_HeadBlock, 0, kHeaderSize);
    PutLE32(m_HeadBlock, 4, static_cast<std::uint32_t>(width));
    PutLE32(m_HeadBlock, 8, static_cast<std::uint32_t>(height));
    PutLE16(m_HeadBlock, 12, 1);
    PutLE16(m_HeadBlock, 14, 32);
    PutLE32(m_HeadBlock, 20, static_cast<std::uint32_t>(width * 4 * height));
}

std::int32_t CGEPicture::HeaderField(int offset) const {
    if (m_HeadBlock.size() < offset + 4)
        return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(m_HeadBlock[offset + i]);
    return static_cast<std::int32_t>(value);
}

int CGEPicture::BitmapWidth() const {
    return HeaderField(4);
}

int CGEPicture::BitmapHeight() const {
    return HeaderField(8);
}

bool CGEPicture::LoadBitmapFile(const QString& path) {
    QImage image(path);
    if (image.isNull())
        return false;
    if (!SetBitmap(image))
        return false;
    m_strFilePath = path;
    return true;
}

bool CGEPicture::SetBitmap(const QImage& source) {
    if (source.isNull() || source.width() > kMaxSide || source.height() > kMaxSide)
        return false;
    // The pixels are taken from the bitmap itself, the bytes that drawing it unstretched and
    // reading it back would give.
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    FillHeader(width, height);
    m_Data = QByteArray(width * 4 * height, '\0');
    for (int i = 0; i < height; ++i) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(height - 1 - i));
        char* row = m_Data.data() + static_cast<qsizetype>(i) * width * 4;
        for (int j = 0; j < width; ++j) {
            row[j * 4 + 0] = static_cast<char>(qBlue(line[j]));
            row[j * 4 + 1] = static_cast<char>(qGreen(line[j]));
            row[j * 4 + 2] = static_cast<char>(qRed(line[j]));
        }
    }
    m_bCaptured = true;
    return true;
}

QImage CGEPicture::ToImage() const {
    const int width = BitmapWidth();
    const int height = BitmapHeight();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<std::int64_t>(width) * height * 4 > m_Data.size())
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    for (int i = 0; i < height; ++i) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(height - 1 - i));
        const char* row = m_Data.constData() + static_cast<qsizetype>(i) * width * 4;
        for (int j = 0; j < width; ++j)
            line[j] = qRgb(static_cast<std::uint8_t>(row[j * 4 + 2]),
                           static_cast<std::uint8_t>(row[j * 4 + 1]),
                           static_cast<std::uint8_t>(row[j * 4 + 0]));
    }
    return image;
}

void CGEPicture::Draw(QPainter& painter) const {
    const QImage image = ToImage();
    if (!image.isNull())
        painter.drawImage(GetRect(), image);
}

std::unique_ptr<CGraphBase> CGEPicture::Clone() const {
    auto copy = std::make_unique<CGEPicture>();
    copy->CopyFrom(*this);
    copy->m_HeadBlock = m_HeadBlock;
    copy->m_Data = m_Data;
    copy->m_bCaptured = m_bCaptured;
    return copy;
}

bool CGEPicture::SaveXml(CMarkup& xml, const QString& labelName) const {
    CGraphBase::SaveXml(xml, labelName);
    const QByteArray head =
        m_HeadBlock.size() == kHeaderBlockSize ? m_HeadBlock : QByteArray(kHeaderBlockSize, '\0');
    xml.AppendChild(u"BMPHead");
    xml.SetChildAttribute(u"Head", JoinHex(head, kHeaderBlockSize, true));
    xml.AppendChild(u"BMPData");
    xml.SetChildAttribute(u"Data", JoinHex(m_Data, static_cast<int>(m_Data.size()), false));
    return true;
}

bool CGEPicture::HeaderFitsImageSize() const {
    const std::int64_t width = BitmapWidth();
    const std::int64_t height = BitmapHeight();
    const std::int64_t imageSize = static_cast<std::uint32_t>(HeaderField(20));
    return width >= 0 && width <= kMaxSide && height >= 0 && height <= kMaxSide &&
           width * 4 * height <= imageSize && imageSize <= kMaxImageBytes;
}

bool CGEPicture::LoadXml(CMarkup& xml, const CPLCEntity*) {
    LoadCommon(xml);
    m_bCaptured = true;
    if (!xml.NextChild(u"BMPHead"))
        return false;
    const QString head = xml.ChildAttribute(u"Head");
    if (head.isEmpty())
        return false;
    QByteArray block(kHeaderBlockSize, '\0');
    SplitHex(head, block);
    m_HeadBlock = block;
    if (!xml.NextChild(u"BMPData"))
        return false;
    const QString data = xml.ChildAttribute(u"Data");
    // The header is believed only as far as the stored data backs it, so a few bytes of file
    // never turn into megabytes of invented pixels: a header that claims more pixels than its
    // image size, or an image size that the data does not fill, marks a damaged picture.
    const qsizetype imageSize = static_cast<std::uint32_t>(HeaderField(20));
    if (!HeaderFitsImageSize() || CountPieces(data) < imageSize)
        return false;
    m_Data = QByteArray(imageSize, '\0');
    SplitHex(data, m_Data);
    DebugLogLine(data);
    return true;
}

std::unique_ptr<CGraphBase> CGEPicture::ExactCopy() const {
    return std::unique_ptr<CGraphBase>(new CGEPicture(*this));
}
