#pragma once

#include <QRect>

#include <vector>

class CGraphBase;

// The geometry of the canvas's edits, on element rectangles in panel pixels.

// A rectangle moved by (dx, dy) with the drag clamp: it ends inside the panel, flush with an
// edge it was pushed against, and keeps its size.
QRect DragClamp(const QRect& rect, int dx, int dy);
// The rectangle shifted, keeping its size, until it lies inside the panel.
QRect ShiftInside(const QRect& rect);

enum class AlignEdge { Left, Right, Top, Bottom };
// Every rectangle against the outermost edge of all of them on that side.
std::vector<QRect> AlignRects(const std::vector<QRect>& rects, AlignEdge edge);
// The first and the last rectangle along the axis stay; those between are spread so that the
// gaps between neighbours are equal (to a pixel).
std::vector<QRect> DistributeRects(const std::vector<QRect>& rects, Qt::Orientation orientation);

// Whether the user may size the element: a text, a register and a dynamic text take the size
// of what they show.
bool SizeIsFree(const CGraphBase& element);
