// INI files from arbitrary bytes. The input is "FILE\0SECTION\0KEY\0VALUE": the file is read
// and then written with the key, and a key that the file's syntax can hold must read back as
// written.

#include "Ini.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Names and values the syntax can hold: one line, no blanks around them, no quotes to strip,
// no brackets or "=" that would make the line something else.
bool Writable(const QString& text, bool name) {
    if (text.contains(u'\n') || text.contains(u'\r') || text.trimmed() != text)
        return false;
    if (name)
        return !text.isEmpty() && !text.contains(u'=') && !text.contains(u'[') &&
               !text.contains(u']');
    const bool quoted = text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
                        text.back() == text.front();
    return !quoted && text.size() <= 255;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // On tmpfs, where the atomic write's syncs cost nothing.
    static QTemporaryDir folder(QStringLiteral("/dev/shm/ini_fuzzer-XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("fuzz.ini"));
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0');
    const auto part = [&](int i) {
        return i < parts.size() ? QString::fromUtf8(parts[i]) : QString();
    };
    const QString section = part(1);
    const QString key = part(2);
    const QString value = part(3);

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(parts[0]);
    file.close();

    if (IniReadString(section, key, {}, path).size() > 255)
        std::abort();
    (void)IniReadInt(section, key, -1, path);
    if (!IniWriteString(section, key, value, path))
        return 0;
    if (Writable(section, true) && Writable(key, true) && Writable(value, false) &&
        IniReadString(section, key, QStringLiteral("missing"), path) != value)
        std::abort();
    return 0;
}
