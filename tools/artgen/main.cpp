// artgen --out DIR: writes every built-in picture as DIR/<resource number>.png, and all of them
// enlarged four times on one contact sheet, DIR/sheet.png, for people to look at.

#include "Artwork.h"

#include <QDir>
#include <QPainter>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kHighestNumber = 3999;
constexpr int kSheetScale = 4;
constexpr int kSheetColumns = 8;
constexpr int kCell = 64 * kSheetScale + 8;

QImage ContactSheet(const std::vector<QImage>& pictures) {
    const int rows = (static_cast<int>(pictures.size()) + kSheetColumns - 1) / kSheetColumns;
    QImage sheet(kSheetColumns * kCell, rows * kCell, QImage::Format_RGB32);
    sheet.fill(QColor(0x90, 0x90, 0x90));
    QPainter p(&sheet);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const QImage& picture = pictures[i];
        const QSize enlarged = picture.size() * kSheetScale;
        const int column = static_cast<int>(i) % kSheetColumns;
        const int row = static_cast<int>(i) / kSheetColumns;
        p.drawImage(QRect(QPoint(column * kCell + 4, row * kCell + 4), enlarged), picture);
    }
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::strcmp(argv[1], "--out") != 0) {
        std::fprintf(stderr, "usage: artgen --out DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "artgen: cannot create %s\n", argv[2]);
        return 1;
    }

    std::vector<QImage> pictures;
    for (int id = 0; id <= kHighestNumber; ++id) {
        const QImage picture = Artwork(id);
        if (picture.isNull())
            continue;
        if (!picture.save(out.filePath(QString("%1.png").arg(id)))) {
            std::fprintf(stderr, "artgen: cannot write %d.png\n", id);
            return 1;
        }
        pictures.push_back(picture);
    }
    if (!ContactSheet(pictures).save(out.filePath("sheet.png"))) {
        std::fprintf(stderr, "artgen: cannot write sheet.png\n");
        return 1;
    }
    return 0;
}
