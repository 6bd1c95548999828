#include "Snapping.h"

#include "ElementLayout.h"
#include "GraphBase.h"

#include <cmath>
#include <cstdlib>

namespace {

// The start, the end and the centre of a span.
struct Span {
    int start;
    int length;
    int At(int feature) const {
        return feature == 0 ? start : feature == 1 ? start + length : start + length / 2;
    }
};

// The nearest meeting of a feature of `moving` with one of `targets`: the shift it needs and
// the line where they meet; false when none is within reach.
bool Nearest(Span moving, const std::vector<Span>& targets, double reach, int& shift, int& line) {
    bool found = false;
    int best = 0;
    for (const Span& target : targets) {
        for (int mine = 0; mine < 3; ++mine) {
            for (int theirs = 0; theirs < 3; ++theirs) {
                const int distance = target.At(theirs) - moving.At(mine);
                if (std::abs(distance) > reach || (found && std::abs(distance) >= std::abs(best)))
                    continue;
                found = true;
                best = distance;
                line = target.At(theirs);
            }
        }
    }
    shift = best;
    return found;
}

int ToGrid(int value, int grid) {
    return grid > 0 ? static_cast<int>(std::lround(static_cast<double>(value) / grid)) * grid
                    : value;
}

} // namespace

SnapResult Snap(const QRect& rect, const std::vector<QRect>& others, int grid, double reach) {
    std::vector<Span> columns{{0, kPanelWidth}};
    std::vector<Span> rows{{0, kPanelHeight}};
    for (const QRect& other : others) {
        columns.push_back({other.x(), other.width()});
        rows.push_back({other.y(), other.height()});
    }
    SnapResult result;
    int shift = 0;
    int left = rect.x();
    int top = rect.y();
    if (Nearest({rect.x(), rect.width()}, columns, reach, shift, result.guideX))
        left += shift;
    else
        left = ToGrid(left, grid);
    if (Nearest({rect.y(), rect.height()}, rows, reach, shift, result.guideY))
        top += shift;
    else
        top = ToGrid(top, grid);
    const QRect inside = ShiftInside(QRect(QPoint(left, top), rect.size()));
    // A guide that the panel's edge overruled no longer holds.
    if (inside.x() != left)
        result.guideX = -1;
    if (inside.y() != top)
        result.guideY = -1;
    result.topLeft = inside.topLeft();
    return result;
}
