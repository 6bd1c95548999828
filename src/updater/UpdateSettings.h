#pragma once

#include <QString>
#include <QUrl>

// What the update server announces in the section "update" of its configuration file, kept
// for the whole run: a key that a later file lacks leaves what an earlier check read.
struct UpdateSettings {
    QString url;                                // base of the installer download
    QString dir = QStringLiteral("LumoDesign"); // the installer's folder on the server
    QString ver;                                // compared with the installed version
    QString ver2;                               // shown as the latest version
    QString file;                               // the installer's file name on the server
    QString message;                            // kept, not used
    QString title;                              // the update dialog's title
    QString newurl;                             // kept, not used
    QString sha256;                             // the installer's SHA-256, hexadecimal
    int type = 0;                               // 0 none, 1 optional, 2 mandatory
};

// Reads the keys of section "update" of the INI file `path` into `settings`.
void ReadUpdateSettings(const QString& path, UpdateSettings& settings);

// "1.2.3.10" -> 12310: the dots removed, then the leading decimal digits (0 without any);
// a number too large for 64 bits stays at the largest.
qint64 VersionNumber(const QString& version);

// Whether the server offers an update to the installed `version`.
bool IsUpdateOffered(const QString& version, const UpdateSettings& settings);

// --- The designer's own settings in "config.dll", section "update" -------------------------

// The update server: "server", a host name ("update.example.com", "127.0.0.1:8000") or a
// full "http://" or "https://" base; a host of ours when the key is missing or empty.
QString ConfiguredServer(const QString& configPath);
// "auto", the check at start-up; an empty value is written as "1" first.
bool ReadAutoCheck(const QString& configPath);
void WriteAutoCheck(const QString& configPath, bool on);

// --- Where things are fetched from and go to -----------------------------------------------

// "http://" + a host, or a full base as it stands, without a trailing '/'.
QString ServerBase(const QString& server);
QUrl ConfigUrl(const QString& server);
QUrl InstallerUrl(const UpdateSettings& settings);

// The downloaded installer in the program folder: "batchloader_setup" with the extension of
// the server's file name.
QString DownloadedInstallerName(const UpdateSettings& settings);
// The installer's copy on the desktop: "designer文本软件v" + ver2 with that extension; empty
// when ver2 would lead out of the desktop folder.
QString DesktopCopyName(const UpdateSettings& settings);
