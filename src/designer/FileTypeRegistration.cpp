#include "FileTypeRegistration.h"

#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kDesktopEntry = QStringLiteral("applications/halvern-koravel-designer.desktop");
const QString kMimePackage = QStringLiteral("mime/packages/halvern-koravel-kvpr.xml");
const QString kAppIcon = QStringLiteral("icons/hicolor/scalable/apps/halvern-koravel-designer.svg");
const QString kFileIcon = QStringLiteral("icons/hicolor/scalable/mimetypes/application-x-kvpr.svg");

// The user's data folder: $XDG_DATA_HOME, else ~/.local/share.
QString UserDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QByteArray MimePackage() {
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-kvpr\">\n"
        "    <comment>KV250 project</comment>\n"
        "    <comment xml:lang=\"zh_CN\">Lumo 工程文件</comment>\n"
        "    <icon name=\"application-x-kvpr\"/>\n"
        "    <glob pattern=\"*.kvpr\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

// Exec arguments are quoted as the desktop entry format asks: inside double quotes, the
// characters " ` $ and \ are escaped with a backslash, which itself is escaped once more by
// the string-value rules; a literal % is doubled.
QString QuotedExec(const QString& path) {
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QStringLiteral("\\\\");
        else if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    return u'"' + quoted + u'"';
}

QByteArray DesktopEntry(const QString& designerPath) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=designer\n"
                          "Comment=KV250 text panel designer\n"
                          "Exec=%1 %f\n"
                          "Icon=halvern-koravel-designer\n"
                          "MimeType=application/x-kvpr;\n"
                          "Categories=Development;\n"
                          "Terminal=false\n")
        .arg(QuotedExec(designerPath))
        .toUtf8();
}

QByteArray Resource(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

enum class Outcome { Unchanged, Written, Failed };

// Writes only when the file does not already hold `content`.
Outcome Place(const QDir& root, const QString& relative, const QByteArray& content) {
    if (content.isEmpty())
        return Outcome::Failed;
    const QString path = root.filePath(relative);
    QByteArray present;
    if (ReadWholeFile(path, present) && present == content)
        return Outcome::Unchanged;
    if (!root.mkpath(QFileInfo(relative).path()) || !WriteFileAtomically(path, content))
        return Outcome::Failed;
    return Outcome::Written;
}

// Runs a desktop database tool when it is installed; it takes a moment, and only after a
// change, so the first start waits for it briefly.
void Refresh(const QString& tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return;
    QProcess process;
    process.start(program, {folder});
    process.waitForFinished(3000);
}

} // namespace

bool RegisterProjectFileType(const QString& designerPath) {
    const QString dataFolder = UserDataFolder();
    if (dataFolder.isEmpty())
        return false;
    const QDir root(dataFolder);
    const Outcome mime = Place(root, kMimePackage, MimePackage());
    const Outcome desktop = Place(root, kDesktopEntry, DesktopEntry(designerPath));
    const Outcome appIcon =
        Place(root, kAppIcon, Resource(QStringLiteral(":/icons/application.svg")));
    const Outcome fileIcon =
        Place(root, kFileIcon, Resource(QStringLiteral(":/icons/project-file.svg")));

    if (mime == Outcome::Written)
        Refresh(QStringLiteral("update-mime-database"), root.filePath(QStringLiteral("mime")));
    if (desktop == Outcome::Written)
        Refresh(QStringLiteral("update-desktop-database"),
                root.filePath(QStringLiteral("applications")));
    for (const Outcome outcome : {mime, desktop, appIcon, fileIcon}) {
        if (outcome == Outcome::Failed)
            return false;
    }
    return true;
}
