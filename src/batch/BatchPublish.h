#pragma once

#include <QByteArray>
#include <QString>

class CPLCEntity;

// The steps of publishing a compiled project as a batch tool, each ending in a result and the
// text the designer shows. All folders lie in the program folder: "BatchTool" holds the
// archive, "BatchTool/Compiler" what goes into the next one.

struct PublishResult {
    bool ok = false;
    QString message; // what to tell the user; empty when there is nothing to say
    QString detail;  // on failure: the step that failed and the system's reason, when known
};

struct PublishProject {
    QByteArray image;   // the compiled image, padded as downloaded
    int plcId = 0;      // protocol id of the project's PLC
    QString plcName;    // for the damaged-driver messages
    QString driverPath; // the PLC's driver file; not used for the integrated PLC
};

// The package of `image` for the project's PLC (none: id 0, no name, no driver).
PublishProject PublishPackage(const QByteArray& image, const CPLCEntity* plc);

// Empties "BatchTool", writes the image and the driver files into "Compiler" (both variants
// for the integrated PLC, else the PLC's driver as kPanelDriverName) and builds
// "Varnel.hmi" from them.
PublishResult PreparePublish(const QString& programFolder, const PublishProject& project);

// Adds the ladder program `plcFile` as "rvplc.pwm" to "Varnel.hmi". Nothing to do (success)
// when the file does not exist or the PLC is not the integrated one.
PublishResult AddPlcProgram(const QString& programFolder, int plcId, const QString& plcFile);

struct BatchToolRequest {
    QString outputPath;
    QByteArray loader; // the batchloader program
    QString title;
    bool login = false;
    QString password;
    int plcId = 0;
    QString plcFile; // ladder program to add first; may be empty
};

// Checks the title and password, adds the ladder program, and writes the batch tool with the
// archive of "BatchTool".
PublishResult GenerateBatchTool(const QString& programFolder, const BatchToolRequest& request);
