#pragma once

#include "BatchPublish.h"

#include <QByteArray>
#include <QString>

// How a generated batch tool leaves the designer: as a program file of its own, or as a ZIP
// delivery that also carries the program folder's "usb_driver" folder. No USB library goes
// with it: the tool uses the system's libusb, which the install note names.

// The batchloader program that the designer carries as its resource ":/batchloader"; every
// tool starts with a copy of it. Empty in a program that carries none.
QByteArray EmbeddedBatchLoader();

// GenerateBatchTool, then the execute permission the tool needs to be started.
PublishResult GenerateToolProgram(const QString& programFolder, const BatchToolRequest& request);

// The ZIP at request.outputPath: the tool, named after the ZIP file without its extension,
// and "usb_driver/" with its files, all under lower-cased names. The parts are gathered in
// the folder "BatchDelivery" of the program folder.
PublishResult GenerateZipDelivery(const QString& programFolder, const BatchToolRequest& request);

// Deletes "BatchTool" and "BatchDelivery" with all their content, as closing the generator
// does: nothing of a publish stays behind in the program folder.
void RemovePublishFolders(const QString& programFolder);
