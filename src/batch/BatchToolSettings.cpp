#include "BatchToolSettings.h"

#include "Ini.h"

#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("batchtool");

QString Flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

BatchToolSettings LoadBatchToolSettings(const QString& path) {
    BatchToolSettings s;
    s.title = IniReadString(kSection, QStringLiteral("title"), {}, path);
    s.version = IniReadString(kSection, QStringLiteral("version"), {}, path);
    s.password = IniReadString(kSection, QStringLiteral("password"), {}, path);
    s.bpass = IniReadInt(kSection, QStringLiteral("bpass"), 0, path) != 0;
    s.busb = IniReadInt(kSection, QStringLiteral("busb"), 0, path) != 0;
    s.plcfile = IniReadString(kSection, QStringLiteral("plcfile"), {}, path);
    return s;
}

bool SaveBatchToolSettings(const BatchToolSettings& s, const QString& path) {
    bool ok = IniWriteString(kSection, QStringLiteral("title"), s.title, path);
    ok = IniWriteString(kSection, QStringLiteral("version"), s.version, path) && ok;
    ok = IniWriteString(kSection, QStringLiteral("password"), s.password, path) && ok;
    ok = IniWriteString(kSection, QStringLiteral("bpass"), Flag(s.bpass), path) && ok;
    ok = IniWriteString(kSection, QStringLiteral("busb"), Flag(s.busb), path) && ok;
    if (QFileInfo(s.plcfile).isFile())
        ok = IniWriteString(kSection, QStringLiteral("plcfile"), s.plcfile, path) && ok;
    return ok;
}
