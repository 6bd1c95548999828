#pragma once

#include "DownloadDisplay.h"

// The display of the command-line downloads: log lines on stdout as the dialog would list
// them, the per-file progress as a bar redrawn in place on stderr.
class ConsoleDownloadDisplay : public DownloadDisplay {
public:
    void ResetDownloadPanel() override;
    void SetFileProgressRange(int size) override;
    void SetFileProgressPos(int pos) override;
    void SetOverallProgressPos(int) override {}
    void SetFileProgressText(const QString& text) override;
    void SetOverallProgressText(const QString&) override {}
    void EnableDownloadButtons(bool) override {}

protected:
    void AddLogLine(const QString& line) override;

private:
    void DrawBar();
    void EndBar();

    int m_range = 100;
    int m_pos = 0;
    QString m_text;
    bool m_barShown = false;
};
