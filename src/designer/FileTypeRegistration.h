#pragma once

#include <QString>

// Makes ".kvpr" files open with this designer on the user's desktop: a shared-mime-info type,
// a desktop entry that opens "%f" with `designerPath`, and the icons of the program and of
// its project files, all under the user's XDG data folder (never a system folder). Files that
// already hold the right content are left alone, and the desktop's databases are refreshed
// only when something changed, when their tools exist. Failures are silent; the result tells
// whether everything is in place.
bool RegisterProjectFileType(const QString& designerPath);

// The MIME type of project files.
inline constexpr char kProjectMimeType[] = "application/x-kvpr";
