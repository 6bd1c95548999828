#pragma once

#include "CompileProgress.h"

#include <cstdio>

// The compile's progress on a terminal: each phase text on its own line, and a bar of the
// overall steps redrawn in place.
class ConsoleCompileProgress : public ICompileProgress {
public:
    explicit ConsoleCompileProgress(std::FILE* stream) : m_pStream(stream) {}

    void Reset() override;
    void SetOverallRange(int steps) override;
    void StepOverall() override;
    void SetTitle(const QString& title) override;
    void SetCurrentPos(int) override {}
    void SetCurrentText(const QString&) override {}
    void SetOverallPercent(int percent) override;

private:
    void DrawBar();

    std::FILE* m_pStream;
    int m_nRange = 0;
    int m_nPos = 0;
    bool m_bBarShown = false;
};
