#pragma once

#include <QImage>

#include <cstdint>

// Drawing of the built-in pictures, without the cache that Artwork() keeps. Every picture is
// designed on a 32 x 32 grid and drawn scaled to its size, so the 64 x 64 pictures are the same
// drawing at twice the resolution.

enum class LampShape { Round, Square };
enum class LampColour { Green, Red };

QImage DrawArtwork(int resourceId);

QImage DrawKey(std::uint8_t keyCode, int size);
QImage DrawHand(int size);
QImage DrawLamp(LampShape shape, LampColour colour, int size);

// A white size x size picture to paint on, and its final RGB888 form.
QImage BlankPicture(int size);
QImage FinishedPicture(const QImage& painted);
