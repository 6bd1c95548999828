#include "ProjectCheck.h"

#include "CheckContext.h"

#include "KoravelProject.h"

#include <algorithm>

namespace {

bool Aborted(const std::atomic<bool>* abort) {
    return abort && abort->load();
}

void CheckImage(const CheckContext& context, const ImageBudget& budget) {
    const FindingPlace place = FindingPlace::Of(CheckPart::kImage);
    if (!budget.compiled)
        context.Error(place, budget.error);
    else if (budget.imageBytes > kImageLimit)
        context.Error(place, QStringLiteral("镜像 %1 字节，超过面板的 %2 字节")
                                 .arg(budget.imageBytes)
                                 .arg(kImageLimit));
}

// Where a finding sorts: project parts, then the frames in list order, then the image.
std::pair<int, int> SortKey(const CKoravelProject& project, const FindingPlace& place) {
    switch (place.part) {
    case CheckPart::kSettings:
        return {-2, 0};
    case CheckPart::kAlarmList:
        return {-1, 0};
    case CheckPart::kImage:
        return {static_cast<int>(project.m_Frames.size()), 0};
    default:
        break;
    }
    const auto frame = std::find_if(project.m_Frames.begin(), project.m_Frames.end(),
                                    [&](const auto& f) { return f->m_nID == place.frameId; });
    return {static_cast<int>(frame - project.m_Frames.begin()), place.element};
}

} // namespace

int CheckReport::Count(CheckSeverity severity) const {
    return static_cast<int>(
        std::count_if(findings.begin(), findings.end(),
                      [&](const CheckFinding& f) { return f.severity == severity; }));
}

CheckReport CheckProject(const CKoravelProject& project, const std::atomic<bool>* abort) {
    CheckReport report;
    const CheckContext context{project, report.findings};
    for (void (*pass)(const CheckContext&) :
         {CheckReferences, CheckAddresses, CheckValues, CheckGlyphs, CheckFit, CheckPanelLimits}) {
        if (Aborted(abort)) {
            report.aborted = true;
            return report;
        }
        pass(context);
    }
    report.budget = MeasureImage(project, abort);
    if (Aborted(abort)) {
        report.aborted = true;
        return report;
    }
    CheckImage(context, report.budget);
    // Frames with equal IDs sort as the first of them, which is the one the panel shows.
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [&](const CheckFinding& a, const CheckFinding& b) {
                         return SortKey(project, a.place) < SortKey(project, b.place);
                     });
    return report;
}
