#pragma once

class CKoravelProject;

// designer --download: compiles `project` as the download command does (the project file is
// not saved again) and downloads the image and the PLC's driver into the first panel on the
// USB. The log lines go to stdout as the download dialog lists them, the compile's and the
// per-file progress to stderr. `force` answers Yes when the panel's PLC is running. Returns the
// exit code: 0 when the panel took the project, else 1.
int DownloadProject(const CKoravelProject& project, bool force);
