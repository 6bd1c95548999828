#include "ViewPreferences.h"

#include "Profile.h"

#include <algorithm>
#include <iterator>

namespace {

const QString kSection = QStringLiteral("Canvas");

template <typename List> bool Contains(const List& list, int value) {
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

} // namespace

ViewPreferences ViewPreferences::Load() {
    ViewPreferences prefs;
    const int zoom = ProfileReadInt(kSection, QStringLiteral("Zoom"), prefs.zoom);
    if (zoom == 0 || Contains(kZoomFactors, zoom))
        prefs.zoom = zoom;
    prefs.pixelGrid = ProfileReadInt(kSection, QStringLiteral("PixelGrid"), 1) != 0;
    prefs.snap = ProfileReadInt(kSection, QStringLiteral("Snap"), 0) != 0;
    const int grid = ProfileReadInt(kSection, QStringLiteral("SnapGrid"), prefs.snapGrid);
    if (Contains(kSnapGrids, grid))
        prefs.snapGrid = grid;
    return prefs;
}

void ViewPreferences::Save() const {
    ProfileWriteInt(kSection, QStringLiteral("Zoom"), zoom);
    ProfileWriteInt(kSection, QStringLiteral("PixelGrid"), pixelGrid ? 1 : 0);
    ProfileWriteInt(kSection, QStringLiteral("Snap"), snap ? 1 : 0);
    ProfileWriteInt(kSection, QStringLiteral("SnapGrid"), snapGrid);
}
