#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

QString ProgramFolder()
{
    // Read once: the executable does not move while it runs, and callers ask often.
    static const QString folder = [] {
        const QFileInfo exe(QStringLiteral("/proc/self/exe"));
        const QString target = exe.symLinkTarget();
        return target.isEmpty() ? QDir::currentPath() : QFileInfo(target).absolutePath();
    }();
    return folder;
}

QString ProgramFilePath(const QString& relative)
{
    return QDir(ProgramFolder()).filePath(relative);
}
