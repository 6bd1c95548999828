#include "Profile.h"

#include <QSettings>

namespace {

QSettings& Settings()
{
    static QSettings settings(QStringLiteral("Halvern-Koravel"), QStringLiteral("designer"));
    return settings;
}

QString KeyOf(const QString& section, const QString& entry)
{
    return section + QLatin1Char('/') + entry;
}

} // namespace

QString ProfileReadString(const QString& section, const QString& entry, const QString& def)
{
    return Settings().value(KeyOf(section, entry), def).toString();
}

int ProfileReadInt(const QString& section, const QString& entry, int def)
{
    bool ok = false;
    const int value = Settings().value(KeyOf(section, entry)).toInt(&ok);
    return ok ? value : def;
}

void ProfileWriteString(const QString& section, const QString& entry, const QString& value)
{
    Settings().setValue(KeyOf(section, entry), value);
}

void ProfileWriteInt(const QString& section, const QString& entry, int value)
{
    Settings().setValue(KeyOf(section, entry), value);
}
