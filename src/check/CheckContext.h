#pragma once

#include "CheckFinding.h"

#include <vector>

class CKoravelProject;

// What every check pass works on: the project, only read, and the findings so far.
struct CheckContext {
    const CKoravelProject& project;
    std::vector<CheckFinding>& findings;

    void Error(const FindingPlace& place, const QString& message) const {
        findings.push_back({CheckSeverity::kError, place, message});
    }
    void Warning(const FindingPlace& place, const QString& message) const {
        findings.push_back({CheckSeverity::kWarning, place, message});
    }
};

// The check passes, one module each.
void CheckReferences(const CheckContext& context);
void CheckAddresses(const CheckContext& context);
void CheckValues(const CheckContext& context);
void CheckGlyphs(const CheckContext& context);
void CheckFit(const CheckContext& context);
void CheckPanelLimits(const CheckContext& context);
