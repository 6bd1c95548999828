#pragma once

#include "GraphBase.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A bitmap placed on a frame. The pixel data is 32 bits a pixel (blue, green, red, 0), rows
// from the bottom of the picture to the top, no padding; the header block is the 40-byte
// bitmap header followed by 8 zero bytes, exactly what the project file stores.
class CGEPicture : public CGraphBase {
public:
    static constexpr int kHeaderSize = 40;
    static constexpr int kHeaderBlockSize = 48;
    // The decoded pixel bytes that all pictures of one project may hold together: far above
    // what a panel image of 1 MiB can carry, so only a damaged or hostile file reaches it.
    static constexpr qsizetype kProjectPixelBudget = 64 * 1024 * 1024;

    CGEPicture();

    // Loads a bitmap file and takes its pixels; false (keeping no bitmap) when the file is not
    // a picture.
    bool LoadBitmapFile(const QString& path);
    // Takes the pixels of `image` as the picture's bitmap; false for a picture wider or higher
    // than 2048 pixels.
    bool SetBitmap(const QImage& image);

    int BitmapWidth() const;
    int BitmapHeight() const;
    // Image-size bytes in stored order, for the compiler.
    const QByteArray& PixelData() const { return m_Data; }
    // The pixels as an image (top row first), for drawing and for checks.
    QImage ToImage() const;

    void Draw(QPainter& painter) const override;
    std::unique_ptr<CGraphBase> Clone() const override;
    std::unique_ptr<CGraphBase> ExactCopy() const override;
    // False, and the picture is dropped, when its header claims more than the stored data holds.
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml, const QString& labelName) const override;

    QString m_strFilePath;  // not stored in the project file
    QByteArray m_HeadBlock; // 48 bytes, empty while the picture has no bitmap
    QByteArray m_Data;      // image-size bytes
    bool m_bCaptured = false;

private:
    void FillHeader(int width, int height);
    // Sides of 0 to 2048 pixels, within an image size of at most 16 MiB.
    bool HeaderFitsImageSize() const;
    std::int32_t HeaderField(int offset) const;
};
