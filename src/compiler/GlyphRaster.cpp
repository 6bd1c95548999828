#include "GlyphRaster.h"

#include "ImageBytes.h"
#include "TextFont.h"

#include <QImage>
#include <QPainter>

// A face that is not installed draws in the default face at that height, as a device context
// would with its own font.
QFont GlyphFont(const QString& face, int size) {
    QFont font;
    if (!FindFontForSize(font, face, size)) {
        font = QFont();
        font.setPixelSize(size);
    }
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

namespace {

// A canvas of the glyph cell's resolution, `width` x `size` pixels, with the painter set up as
// every glyph is drawn.
QImage GlyphCanvas(int width, int size) {
    QImage canvas(width, size, QImage::Format_RGB32);
    canvas.setDotsPerMeterX(3780);
    canvas.setDotsPerMeterY(3780);
    return canvas;
}

void PreparePainter(QPainter& painter, const QString& face, int size) {
    painter.setFont(GlyphFont(face, size));
    painter.setPen(Qt::black);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
}

void DrawGlyph(QPainter& painter, const QRect& cell, char16_t c) {
    painter.drawText(cell, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, QString(QChar(c)));
}

void AppendGlyphBits(const QImage& image, QByteArray& out) {
    const int rowBytes = (image.width() + 7) / 8;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int byte = 0; byte < rowBytes; ++byte) {
            std::uint32_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = byte * 8 + bit;
                if (x < image.width() && (line[x] & 0xFFFFFF) != 0xFFFFFF)
                    bits |= 0x80u >> bit;
            }
            AppendU8(out, bits);
        }
    }
}

using ListOf = const GlyphList& (*)(const FontEntry&, std::size_t);

GlyphSection BuildSection(const CFontRegistry& fonts, ListOf listOf, bool fullWidth,
                          bool rasterise) {
    GlyphSection section;
    const auto tableSize = static_cast<std::uint32_t>(kGlyphTableFontSize * fonts.Entries().size());
    for (const FontEntry& entry : fonts.Entries()) {
        for (int index = 0; index < kSizeCount; ++index) {
            AppendBE32(section.table,
                       tableSize + static_cast<std::uint32_t>(section.glyphs.size()));
            const int size = PixelSize(index);
            const int width = fullWidth ? size : size / 2;
            const std::vector<char16_t>& chars =
                listOf(entry, static_cast<std::size_t>(index)).chars;
            if (rasterise)
                RasteriseGlyphs(entry.face, size, width, chars, section.glyphs);
            else
                section.glyphs.append(
                    static_cast<qsizetype>(chars.size()) * size * ((width + 7) / 8), '\0');
        }
    }
    return section;
}

} // namespace

void RasteriseGlyphs(const QString& face, int size, int width, const std::vector<char16_t>& chars,
                     QByteArray& out) {
    if (chars.empty())
        return;
    // One canvas serves every glyph of the list: it is filled white before each one, which
    // gives the same pixels as a fresh bitmap per glyph at a fraction of the cost.
    QImage canvas = GlyphCanvas(width, size);
    QPainter painter(&canvas);
    PreparePainter(painter, face, size);
    const QRect cell(0, 0, width, size);
    out.reserve(out.size() + static_cast<qsizetype>(chars.size()) * size * ((width + 7) / 8));
    for (const char16_t c : chars) {
        painter.fillRect(cell, Qt::white);
        DrawGlyph(painter, cell, c);
        AppendGlyphBits(canvas, out);
    }
}

GlyphSection BuildFullWidthSection(const CFontRegistry& fonts, bool rasterise) {
    return BuildSection(
        fonts, [](const FontEntry& e, std::size_t i) -> const GlyphList& { return e.full[i]; },
        true, rasterise);
}

GlyphSection BuildHalfWidthSection(const CFontRegistry& fonts, bool rasterise) {
    return BuildSection(
        fonts, [](const FontEntry& e, std::size_t i) -> const GlyphList& { return e.half[i]; },
        false, rasterise);
}

bool GlyphOverflowsCell(const QString& face, int size, int width, char16_t c) {
    // The cell in the middle of a canvas three cells wide and twice as high: every stroke
    // outside the middle cell is one the panel never shows.
    QImage canvas = GlyphCanvas(3 * width, 2 * size);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    PreparePainter(painter, face, size);
    const QRect cell(width, 0, width, size);
    DrawGlyph(painter, cell, c);
    painter.end();
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF && !cell.contains(x, y))
                return true;
        }
    }
    return false;
}
