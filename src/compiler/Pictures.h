#pragma once

#include <QByteArray>

#include <vector>

class CGEPicture;

// The element's pixels as the panel shows them: Width x Height, rows top to bottom, RGB565
// low byte first. Pixels the stored bitmap does not cover are black.
QByteArray PictureData(const CGEPicture& picture);
// The size of PictureData(picture), known without converting a pixel.
qint64 PictureDataSize(const CGEPicture& picture);

// The picture section: count, (offset, length) per picture counted from the section start,
// then the data, in compile order. Empty without pictures.
QByteArray BuildPictureSection(const std::vector<const CGEPicture*>& pictures);
