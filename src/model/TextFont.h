#pragma once

#include <QFont>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// Fonts of the text-like elements: a face name and a size in pixels (the line height). The
// canvas, the property panels and the glyph compiler all find their screen font through
// FindFontForSize, so what the designer shows is what the panel gets.

inline const QString kDefaultFaceName = QStringLiteral("宋体");

// The faces the designer offers when the Windows faces are missing: run once at start, before
// any font is created.
void RegisterFontSubstitutions();

// Far beyond any size a panel of 272 lines can show; a larger size in a file is damage.
inline constexpr int kMaxFontSize = 1024;

// Makes `font` the screen font of `face` whose line height is `size` pixels. Fails for an
// empty face, a size of 0 or less or above kMaxFontSize, or a face that reaches no such height.
// Cached per face and size for the whole process; safe to call from any thread.
bool FindFontForSize(QFont& font, const QString& face, int size);

// Width and line height of one line of `text` in `font` on the screen device (96 dpi).
QSize TextExtent(const QString& text, const QFont& font);
// The same in the font that FindFontForSize gives (or the default font when it fails).
QSize TextExtent(const QString& text, const QString& face, int size);

// The installed families that support the GB2312 character set, in system order, no repeats.
QStringList GB2312FaceNames();

// The position in `faces` of the face named `name`: by family name, else by a full name in a
// face's name table, else the first face; -1 for an empty list.
int FaceIndexForName(const QStringList& faces, const QString& name);
// The full names (name ID 4) in the name table of `face`; a face whose name begins with "@"
// gives its names the same prefix.
QStringList FaceFullNames(const QString& face);

// The eight sizes the designer offers and their list text ("16x16").
const QList<int>& FontSizes();
QString FontSizeText(int size);

// The 10-point face of the annotations, on the screen device.
QFont AnnotationFont();
