#pragma once

#include "BatchDownload.h"

// The batchloader without a window, for production lines: the log on stdout, no questions.
struct HeadlessOptions {
    BatchPackageSource source;
    bool force = false; // download even while the panel's PLC runs
    bool loop = false;  // panel after panel, until SIGINT or SIGTERM
};

// One download, or with `loop` one per panel plugged in, each followed by the count of good
// and failed panels. 0 when every download succeeded.
int RunHeadless(const HeadlessOptions& options);
