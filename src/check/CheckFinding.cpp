#include "CheckFinding.h"

#include "HMIFrame.h"

FindingPlace FindingPlace::OfElement(const CHMIFrame& frame, int position) {
    return {CheckPart::kElement, frame.m_nID, position,
            frame.m_Parts[static_cast<std::size_t>(position)]->m_nTypeCode};
}

FindingPlace FindingPlace::OfFrame(const CHMIFrame& frame) {
    return {CheckPart::kFrame, frame.m_nID};
}
