#pragma once

#include "UpdateSettings.h"
#include "VersionComponent.h"

#include <QByteArray>
#include <QUrl>

#include <atomic>

struct UpdateCheckResult {
    UpdateSettings settings; // as the server's file left them
    VersionTexts versions;
    bool available = false; // the server offers a newer designer
};

// One check, on a thread of its own: fetches the server's configuration file into
// "update/batchloader.dat" of the program folder, reads it over `previous`, removes the folder
// again and compares the announced version with the installed one. A fetch that fails is not
// reported: the previous settings stand. `abort` ends a fetch that is under way.
UpdateCheckResult RunUpdateCheck(const QString& programFolder, const UpdateSettings& previous,
                                 const std::atomic<bool>& abort);

// Fetches `url` past every cache into `body`; false on a network or HTTP error, on a body
// above `limit` bytes and when `abort` is set. For threads without an event loop of their own.
bool FetchUrl(const QUrl& url, QByteArray& body, qint64 limit, const std::atomic<bool>& abort);
