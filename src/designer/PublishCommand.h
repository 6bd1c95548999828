#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class CKoravelProject;

// designer --publish PROJECT --output TOOL [--title T] [--password P] [--plc-program FILE]
// [--zip]
struct PublishOptions {
    QString project;
    QString output;
    QString title;
    std::optional<QString> password; // given: the tool asks for it at start
    QString plcProgram;              // the ladder program for the integrated PLC
    bool zip = false;                // a ZIP delivery with the usb_driver folder
};

// The options that follow "--publish"; nullopt when they make no publish command.
std::optional<PublishOptions> ParsePublishOptions(const QStringList& arguments);

// Compiles `project` for the batch road, packs it with its drivers and the ladder program, and
// writes the batch tool (or the ZIP delivery) from the batchloader program the designer
// carries. Progress and messages go to stderr. Returns the exit code: 0 when the tool was
// written, else 1.
int PublishBatchTool(const CKoravelProject& project, const PublishOptions& options);
