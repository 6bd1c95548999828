#include "Ini.h"

#include "AtomicFile.h"

#include <QFile>
#include <QStringList>

#include <optional>

namespace {

constexpr int kMaxValueLength = 255;

struct IniText {
    QStringList lines; // without line ends
    QString lineEnd = QStringLiteral("\r\n");
};

IniText LoadIni(const QString& path) {
    IniText ini;
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes) || bytes.isEmpty())
        return ini;
    const QString text = QString::fromUtf8(bytes);
    if (!text.contains(QLatin1String("\r\n")))
        ini.lineEnd = QStringLiteral("\n");
    ini.lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        ini.lines.removeLast();
    for (QString& line : ini.lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return ini;
}

// The section name of a "[name]" line, or nothing for other lines.
std::optional<QString> SectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line (the whole trimmed line when it has no '=').
QString KeyOf(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return (eq < 0 ? line : line.left(eq)).trimmed();
}

QString ValueOf(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    QString value = eq < 0 ? QString() : line.mid(eq + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// Line range [first, end) of the body of `section`; first == -1 when the section is missing.
struct SectionRange {
    qsizetype first = -1;
    qsizetype end = -1;
};

SectionRange FindSection(const QStringList& lines, const QString& section) {
    SectionRange range;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> name = SectionName(lines[i]);
        if (!name)
            continue;
        if (range.first >= 0) {
            range.end = i;
            return range;
        }
        if (SameName(*name, section))
            range.first = i + 1;
    }
    if (range.first >= 0)
        range.end = lines.size();
    return range;
}

qsizetype FindKey(const QStringList& lines, SectionRange range, const QString& key) {
    for (qsizetype i = range.first; i >= 0 && i < range.end; ++i) {
        const QString trimmed = lines[i].trimmed();
        if (!trimmed.isEmpty() && SameName(KeyOf(trimmed), key))
            return i;
    }
    return -1;
}

std::optional<QString> ReadValue(const QString& section, const QString& key, const QString& path) {
    const IniText ini = LoadIni(path);
    const qsizetype line = FindKey(ini.lines, FindSection(ini.lines, section), key);
    if (line < 0)
        return std::nullopt;
    return ValueOf(ini.lines[line]);
}

int DigitValue(char c, int base) {
    int digit = -1;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

} // namespace

QString IniReadString(const QString& section, const QString& key, const QString& def,
                      const QString& path) {
    return ReadValue(section, key, path).value_or(def).left(kMaxValueLength);
}

int IniReadInt(const QString& section, const QString& key, int def, const QString& path) {
    const QString value = ReadValue(section, key, path).value_or(QString());
    if (value.isEmpty())
        return def;
    const QByteArray text = value.toLatin1();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    unsigned result = 0; // wraps like the 32-bit value Windows returns
    for (int digit; i < text.size() && (digit = DigitValue(text[i], base)) >= 0; ++i)
        result = result * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    return static_cast<int>(negative ? 0u - result : result);
}

bool IniWriteString(const QString& section, const QString& key, const QString& value,
                    const QString& path, QString* error) {
    IniText ini = LoadIni(path);
    const QString entry = key + QLatin1Char('=') + value;
    const SectionRange range = FindSection(ini.lines, section);
    if (range.first < 0) {
        ini.lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    } else if (const qsizetype line = FindKey(ini.lines, range, key); line >= 0) {
        const qsizetype eq = ini.lines[line].indexOf(QLatin1Char('='));
        ini.lines[line] =
            (eq < 0 ? ini.lines[line] : ini.lines[line].left(eq)) + QLatin1Char('=') + value;
    } else {
        // After the section's last non-blank line, so blank lines before the next section stay.
        qsizetype at = range.end;
        while (at > range.first && ini.lines[at - 1].trimmed().isEmpty())
            --at;
        ini.lines.insert(at, entry);
    }
    QString text = ini.lines.join(ini.lineEnd);
    text += ini.lineEnd;
    return WriteFileAtomically(path, text.toUtf8(), error);
}
