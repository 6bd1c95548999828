// Pictures from arbitrary bytes, both ways they enter a project. Byte 0 chooses:
//   even: the rest is a bitmap file, loaded as the picture command loads it;
//   odd:  the rest is a stored picture: element width and height (BE16, signed), the 48-byte
//         header block, then the pixel data, read as the project file reader reads it.
// Either way the picture is drawn, converted by the compiler and must survive being written
// and read back unchanged.

#include "BuildOutputs.h"
#include "GEPicture.h"
#include "Markup.h"
#include "Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString Hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex('|'));
}

std::int16_t SignedBE16(const QByteArray& bytes, int at) {
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) << 8 |
                                     static_cast<std::uint8_t>(bytes[at + 1]));
}

bool ReadPart(const QString& text, CGEPicture& picture) {
    CMarkup xml;
    return xml.SetDocumentText(text) && xml.NextElement(u"Part") && picture.LoadXml(xml, nullptr);
}

bool LoadStored(const QByteArray& input, CGEPicture& picture) {
    if (input.size() < 4 + CGEPicture::kHeaderBlockSize)
        return false;
    const QString text =
        QStringLiteral("<Part Type=\"Picture\" ID=\"5\" LabelName=\"\"><Position Left=\"0\" "
                       "Top=\"0\" Width=\"%1\" Height=\"%2\" SameColor=\"0\"/>"
                       "<BMPHead Head=\"%3\"/><BMPData Data=\"%4\"/></Part>")
            .arg(SignedBE16(input, 0))
            .arg(SignedBE16(input, 2))
            .arg(Hex(input.mid(4, CGEPicture::kHeaderBlockSize)))
            .arg(Hex(input.mid(4 + CGEPicture::kHeaderBlockSize)));
    return ReadPart(text, picture);
}

bool LoadFile(const QByteArray& input, CGEPicture& picture) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("picture.bmp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(input) != input.size())
        std::abort();
    file.close();
    if (!picture.LoadBitmapFile(path))
        return false;
    picture.m_nWidth = picture.BitmapWidth();
    picture.m_nHeight = picture.BitmapHeight();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    CGEPicture picture;
    if (!((data[0] & 1) ? LoadStored(input, picture) : LoadFile(input, picture)))
        return 0;

    QImage canvas(480, 272, QImage::Format_RGB32);
    QPainter painter(&canvas);
    picture.Draw(painter);
    painter.end();
    // As the compile converts it: only while an image could hold it.
    if (PictureDataSize(picture) <= kMaxImageSize)
        (void)PictureData(picture);

    CMarkup xml;
    xml.AppendElement(u"Part");
    picture.SaveXml(xml, QString());
    CGEPicture read;
    if (!ReadPart(xml.GetDocumentText(), read) || read.m_HeadBlock != picture.m_HeadBlock ||
        read.m_Data != picture.m_Data)
        std::abort();
    return 0;
}
