#include "Pictures.h"

#include "GEPicture.h"
#include "ImageBytes.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcPictures, "kv.compiler", QtWarningMsg)

QByteArray PictureData(const CGEPicture& picture) {
    const int width = std::max(0, picture.m_nWidth);
    const int height = std::max(0, picture.m_nHeight);
    const int storedWidth = std::max(0, picture.BitmapWidth());
    const int storedHeight = std::max(0, picture.BitmapHeight());
    const QByteArray& data = picture.PixelData();
    QByteArray out;
    if (data.isEmpty())
        return out;
    out.reserve(static_cast<qsizetype>(width) * height * 2);
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up, four bytes a pixel: blue, green, red, unused.
        const qsizetype row = static_cast<qsizetype>(storedHeight - 1 - y) * storedWidth * 4;
        for (int x = 0; x < width; ++x) {
            const qsizetype at = row + static_cast<qsizetype>(x) * 4;
            std::uint32_t colour = 0;
            if (y < storedHeight && x < storedWidth && at + 3 < data.size()) {
                const auto byte = [&](int i) { return static_cast<std::uint8_t>(data[at + i]); };
                colour = std::uint32_t{byte(2)} | std::uint32_t{byte(1)} << 8 |
                         std::uint32_t{byte(0)} << 16;
            }
            AppendLE16(out, Rgb565(colour));
        }
    }
    return out;
}

QByteArray BuildPictureSection(const std::vector<const CGEPicture*>& pictures) {
    QByteArray section;
    if (pictures.empty())
        return section;
    AppendBE16(section, static_cast<std::uint32_t>(pictures.size()));
    QByteArray data;
    auto offset = static_cast<std::uint32_t>(2 + 8 * pictures.size());
    for (const CGEPicture* picture : pictures) {
        const QByteArray pixels = PictureData(*picture);
        AppendBE32(section, offset);
        AppendBE32(section, static_cast<std::uint32_t>(pixels.size()));
        data.append(pixels);
        offset += static_cast<std::uint32_t>(pixels.size());
    }
    section.append(data);
    qCDebug(lcPictures, "PicLen = %08x\r\n", static_cast<unsigned>(section.size()));
    return section;
}
