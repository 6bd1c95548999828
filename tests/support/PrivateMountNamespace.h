#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace private_mounts {

inline bool WriteProcFile(const char* path, const QByteArray& text) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace private_mounts

// A mount namespace of the test's own, so that what it mounts never shows outside the test and
// vanishes with it. Without root, a user namespace maps us to root inside it. Call it before
// any thread starts.
inline bool EnterPrivateMountNamespace() {
    using private_mounts::WriteProcFile;
    if (geteuid() == 0) {
        if (unshare(CLONE_NEWNS) != 0)
            return false;
    } else {
        const QByteArray uid = QByteArray::number(geteuid());
        const QByteArray gid = QByteArray::number(getegid());
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
            !WriteProcFile("/proc/self/setgroups", "deny") ||
            !WriteProcFile("/proc/self/uid_map", "0 " + uid + " 1") ||
            !WriteProcFile("/proc/self/gid_map", "0 " + gid + " 1"))
            return false;
    }
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}
