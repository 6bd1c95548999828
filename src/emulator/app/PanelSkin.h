#pragma once

#include <QImage>
#include <QRegion>

// The panel front, drawn by code: the case, the bezel with the display at (135, 75), the
// keypad and the key row. The mask is white outside the case.
constexpr int kDisplayLeft = 135;
constexpr int kDisplayTop = 75;

QImage PanelSkin();
QImage PanelMask();
// The window shape: every pixel of the mask that is not white.
QRegion PanelShape();
// The window as it shows: the skin with the display picture in its place, transparent
// outside the shape.
QImage ComposePanel(const QImage& display);
