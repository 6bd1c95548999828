#pragma once

#include "CheckFinding.h"
#include "ImageBudget.h"

#include <atomic>
#include <vector>

class CKoravelProject;

// What the panel would do wrong with a project, found before the download, and what its image
// takes.
struct CheckReport {
    // The settings and the alarm list first, then frames in list order and elements in frame
    // order, the image last.
    std::vector<CheckFinding> findings;
    ImageBudget budget;
    bool aborted = false;

    int Count(CheckSeverity severity) const;
};

// Checks `project` against its panel, its glyphs and its PLC, and measures its image. The
// project is only read, never written, so a worker may check a snapshot, or the document while
// no one changes it; `abort` ends the check early (aborted is then set and the report is
// incomplete).
CheckReport CheckProject(const CKoravelProject& project, const std::atomic<bool>* abort = nullptr);
