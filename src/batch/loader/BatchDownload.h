#pragma once

#include "DownloadDisplay.h"
#include "LibUSBDown.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Where the batchloader's package comes from: the archive carried in its own file, or an
// archive file named on the command line.
struct BatchPackageSource {
    bool ownPackage = true;
    QByteArray archive; // own package
    QString path;       // archive file
};

struct BatchDownloadHooks {
    // Asked while the panel's integrated PLC runs: true goes on.
    std::function<bool()> confirmRunningPlc;
    // Tells the operator that the own package's archive does not open.
    std::function<void(const QString& text)> showMessage;
    // False once the operator closed the program: the download stops at its next step.
    std::function<bool()> registered;
};

// One download of the package into the panel on the USB, in the batchloader's order: the
// driver for the panel's model, the ladder program when the package has one, the project,
// the flash write and the restart. Every ending puts the buttons into the idle state and
// closes the device; true when the panel took everything.
bool BatchDownload(LibUSBDown& usb, DownloadDisplay& display, const BatchPackageSource& source,
                   const BatchDownloadHooks& hooks);

// Whether `typed` is the login password stored as `stored` (16 bytes, zero-padded): the text
// is taken with up to 16 characters in the system code page.
bool LoginMatches(const QString& typed, const QByteArray& stored);
