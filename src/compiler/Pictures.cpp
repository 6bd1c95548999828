#include "Pictures.h"

#include "GEPicture.h"
#include "ImageBytes.h"
#include "SectionLayout.h"

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
    out.reserve(static_cast<qsizetype>(width) * height * PictureSectionLayout::kPixelSize);
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

qint64 PictureDataSize(const CGEPicture& picture) {
    if (picture.PixelData().isEmpty())
        return 0;
    return qint64{std::max(0, picture.m_nWidth)} * std::max(0, picture.m_nHeight) *
           PictureSectionLayout::kPixelSize;
}

QByteArray BuildPictureSection(const std::vector<const CGEPicture*>& pictures) {
    namespace Layout = PictureSectionLayout;
    if (pictures.empty())
        return {};
    const auto entries = static_cast<std::uint32_t>(Layout::kEntrySize * pictures.size());
    QByteArray section(Layout::kEntries + entries, '\0');
    PutBE16(section, Layout::kCount, static_cast<std::uint16_t>(pictures.size()));
    std::uint32_t entry = Layout::kEntries;
    for (const CGEPicture* picture : pictures) {
        const QByteArray pixels = PictureData(*picture);
        PutBE32(section, entry + Layout::kEntryOffset, static_cast<std::uint32_t>(section.size()));
        PutBE32(section, entry + Layout::kEntryLength, static_cast<std::uint32_t>(pixels.size()));
        section.append(pixels);
        entry += Layout::kEntrySize;
    }
    qCDebug(lcPictures, "PicLen = %08x\r\n", static_cast<unsigned>(section.size()));
    return section;
}
