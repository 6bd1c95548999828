#pragma once

#include <QRect>

#include <vector>

// Where a rectangle that the user moves comes to rest while snapping is on: an edge or the
// centre of it meets an edge or the centre of another element or of the panel when it comes
// within reach; otherwise its top-left corner goes to the nearest grid point. The result lies
// inside the panel.
struct SnapResult {
    QPoint topLeft;
    // The panel coordinates of the lines that hold the rectangle; -1 for none.
    int guideX = -1;
    int guideY = -1;
};

// `reach` is in panel pixels (the screen distance divided by the zoom); `grid` is the grid's
// step, 0 for none.
SnapResult Snap(const QRect& rect, const std::vector<QRect>& others, int grid, double reach);
