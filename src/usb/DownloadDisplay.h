#pragma once

#include <QString>
#include <QTime>

// What a download shows while it runs: the log list, the per-file and overall progress bars
// with their texts, and the start/close buttons. The download dialog and the command-line
// front-ends implement it. Every operation is called on the download worker's thread, so an
// implementation that owns widgets must hand the change over to its own thread.
class DownloadDisplay {
public:
    virtual ~DownloadDisplay() = default;

    // Empty the log; both bars range 0..100 at 0; per-file text "0/0", overall text "1/1".
    virtual void ResetDownloadPanel() = 0;

    // Adds `text` to the log stamped with the local time, as "hh:mm:ss text".
    void AddDownloadLog(const QString& text);

    virtual void SetFileProgressRange(int size) = 0; // range 0..size, position 0
    virtual void SetFileProgressPos(int pos) = 0;
    virtual void SetOverallProgressPos(int pos) = 0;
    virtual void SetFileProgressText(const QString& text) = 0;
    virtual void SetOverallProgressText(const QString& text) = 0;

    // busy: the start button disabled and the close button enabled; not busy: start enabled.
    virtual void EnableDownloadButtons(bool busy) = 0;

protected:
    // Appends one finished, time-stamped line to the log and selects it.
    virtual void AddLogLine(const QString& line) = 0;
};

QString DownloadLogLine(const QTime& time, const QString& text);
