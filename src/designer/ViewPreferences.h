#pragma once

// How the canvas is shown and how it helps the hand: the user's own choice, kept in the
// profile and never in a project.
struct ViewPreferences {
    // A whole factor (1, 2, 3, 4, 6, 8), or 0: the largest that fits the view.
    int zoom = 1;
    // The lines between the panel's pixels, from 4x up.
    bool pixelGrid = true;
    bool snap = false;
    int snapGrid = 8; // 4, 8 or 16 panel pixels

    static constexpr int kZoomFactors[] = {1, 2, 3, 4, 6, 8};
    static constexpr int kSnapGrids[] = {4, 8, 16};

    // The preferences in the profile; values the profile does not know give the defaults.
    static ViewPreferences Load();
    void Save() const;
};
