#pragma once

#include <QString>

class CGraphBase;
class CHMIFrame;

// error: the image would be refused or the panel would misbehave; warning: probably unintended.
enum class CheckSeverity { kError, kWarning };

// The part of the project a finding concerns.
enum class CheckPart { kElement, kFrame, kSettings, kAlarmList, kImage };

// Where a finding lies. Frames are named by their ID and elements by their position in the
// frame's parts (their layer, 0 at the back), so a window can find both in its own copy of the
// project.
struct FindingPlace {
    CheckPart part = CheckPart::kImage;
    int frameId = 0;  // kElement, kFrame
    int element = -1; // kElement
    int typeCode = 0; // kElement

    static FindingPlace OfElement(const CHMIFrame& frame, int position);
    static FindingPlace OfFrame(const CHMIFrame& frame);
    static FindingPlace Of(CheckPart part) { return {part}; }
    bool operator==(const FindingPlace&) const = default;
};

struct CheckFinding {
    CheckSeverity severity = CheckSeverity::kError;
    FindingPlace place;
    QString message;
};
