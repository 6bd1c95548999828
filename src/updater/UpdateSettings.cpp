#include "UpdateSettings.h"

#include "Ini.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

const QString kSection = QStringLiteral("update");
const QString kDefaultServer = QStringLiteral("update.halvern-koravel.com");

void ReadKey(const QString& path, const QString& key, QString& value) {
    value = IniReadString(kSection, key, value, path);
}

// The leading decimal digits of `text` (after blanks and a sign, as C's atoi reads them).
qint64 LeadingNumber(const QString& text, bool allowSign) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    qint64 number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i].unicode() - u'0';
        number = number > (kMax - digit) / 10 ? kMax : number * 10 + digit;
    }
    return negative ? -number : number;
}

QString Extension(const UpdateSettings& settings) {
    const QString suffix = QFileInfo(settings.file).suffix();
    return suffix.isEmpty() ? QString() : QStringLiteral(".") + suffix;
}

} // namespace

void ReadUpdateSettings(const QString& path, UpdateSettings& settings) {
    ReadKey(path, QStringLiteral("url"), settings.url);
    ReadKey(path, QStringLiteral("dir"), settings.dir);
    ReadKey(path, QStringLiteral("ver"), settings.ver);
    ReadKey(path, QStringLiteral("ver2"), settings.ver2);
    ReadKey(path, QStringLiteral("file"), settings.file);
    ReadKey(path, QStringLiteral("message"), settings.message);
    ReadKey(path, QStringLiteral("title"), settings.title);
    ReadKey(path, QStringLiteral("newurl"), settings.newurl);
    ReadKey(path, QStringLiteral("sha256"), settings.sha256);
    // A missing key keeps the type read before; an empty one reads as 0.
    const QString type =
        IniReadString(kSection, QStringLiteral("type"), QString::number(settings.type), path);
    settings.type = static_cast<int>(std::clamp<qint64>(LeadingNumber(type, true),
                                                        std::numeric_limits<int>::min(),
                                                        std::numeric_limits<int>::max()));
}

qint64 VersionNumber(const QString& version) {
    return LeadingNumber(QString(version).remove(u'.'), false);
}

bool IsUpdateOffered(const QString& version, const UpdateSettings& settings) {
    if (settings.type == 0)
        return false;
    const qint64 offered = VersionNumber(settings.ver);
    return offered != 0 && VersionNumber(version) < offered;
}

QString ConfiguredServer(const QString& configPath) {
    const QString server = IniReadString(kSection, QStringLiteral("server"), QString(), configPath);
    return server.isEmpty() ? kDefaultServer : server;
}

bool ReadAutoCheck(const QString& configPath) {
    const QString key = QStringLiteral("auto");
    if (IniReadString(kSection, key, QString(), configPath).isEmpty())
        IniWriteString(kSection, key, QStringLiteral("1"), configPath);
    return IniReadInt(kSection, key, 1, configPath) != 0;
}

void WriteAutoCheck(const QString& configPath, bool on) {
    IniWriteString(kSection, QStringLiteral("auto"), on ? QStringLiteral("1") : QStringLiteral("0"),
                   configPath);
}

QString ServerBase(const QString& server) {
    QString base = server.trimmed();
    if (!base.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
        !base.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        base.prepend(QStringLiteral("http://"));
    while (base.endsWith(u'/'))
        base.chop(1);
    return base;
}

QUrl ConfigUrl(const QString& server) {
    return QUrl(ServerBase(server) + QStringLiteral("/LumoDesign/config.txt"));
}

QUrl InstallerUrl(const UpdateSettings& settings) {
    return QUrl(ServerBase(settings.url) + u'/' + settings.dir + u'/' + settings.file);
}

QString DownloadedInstallerName(const UpdateSettings& settings) {
    return QStringLiteral("batchloader_setup") + Extension(settings);
}

QString DesktopCopyName(const UpdateSettings& settings) {
    const QString name = QStringLiteral("designer文本软件v") + settings.ver2 + Extension(settings);
    return name.contains(u'/') || name.contains(QChar(0)) ? QString() : name;
}
