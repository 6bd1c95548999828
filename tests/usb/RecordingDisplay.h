#pragma once

#include "DownloadDisplay.h"

#include <QStringList>

#include <functional>
#include <vector>

// Keeps what a download showed; log lines without their time stamp.
class RecordingDisplay : public DownloadDisplay {
public:
    void ResetDownloadPanel() override { ++resets; }
    void SetFileProgressRange(int size) override { ranges.push_back(size); }
    void SetFileProgressPos(int pos) override { positions.push_back(pos); }
    void SetOverallProgressPos(int pos) override { overall.push_back(pos); }
    void SetFileProgressText(const QString& text) override { fileTexts << text; }
    void SetOverallProgressText(const QString& text) override { overallTexts << text; }
    void EnableDownloadButtons(bool busy) override { buttons.push_back(busy); }

    int resets = 0;
    std::vector<int> ranges;
    std::vector<int> positions;
    std::vector<int> overall;
    QStringList fileTexts;
    QStringList overallTexts;
    std::vector<bool> buttons;
    QStringList stamped;
    QStringList lines;
    std::function<void(const QString&)> onLine;

protected:
    void AddLogLine(const QString& line) override {
        stamped << line;
        lines << line.mid(9);
        if (onLine)
            onLine(lines.back());
    }
};
