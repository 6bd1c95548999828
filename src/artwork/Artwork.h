#pragma once

#include <QImage>

// The built-in pictures that the designer's canvas, the compiler and the Emulator share, by
// resource number:
//   2000 + key code  key picture, 32 x 32    (the codes of the keypad, Keypad.h)
//   3000 + key code  key picture, 64 x 64
//   2020, 3020       hand pointing to the right, 32 x 32 and 64 x 64
//   244, 245         round lamp, lit green / lit red, 32 x 32
//   247, 248         square lamp, lit green / lit red, 32 x 32
//   144, 145, 147, 148  the same four lamps at 64 x 64
//
// Every picture is QImage::Format_RGB888: 24 bits a pixel, bytes R, G, B, no alpha. The area
// around a key face, the hand and a lamp is pure white (0xFFFFFF), which the Emulator treats as
// transparent; inside the artwork no pixel turns white when reduced to RGB565, so no holes open
// there (only the faint antialiased fringe of an outline may). The pixels are the same in every
// run: the labels are drawn as strokes, not with a font.
//
// Any other number gives a null image. Safe to call from any thread; each picture is drawn once
// and then shared (QImage copies are implicitly shared).
QImage Artwork(int resourceId);
