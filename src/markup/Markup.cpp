#include "Markup.h"

#include "AtomicFile.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Offsets in the index are ints; documents stay well below that so that edits cannot overflow.
constexpr qsizetype kMaxDocumentLength = std::numeric_limits<int>::max() / 2;

const QString kLineEnd = QStringLiteral("\r\n");

// Sixteen bytes or units at a time through the compiler's vector extension, which becomes
// SIMD code on every target the project builds for.
using Bytes16 = std::uint8_t __attribute__((vector_size(16)));
using Units8 = std::uint16_t __attribute__((vector_size(16)));
using Units16 = std::uint16_t __attribute__((vector_size(32)));
constexpr std::size_t kBlock = 16;

bool IsSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r';
}

// White space and < > = \ / ? ! end a tag or attribute name.
bool IsNameEnd(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 64) {
        return u == '\\';
    }
    constexpr std::uint64_t mask = (1ull << ' ') | (1ull << '\t') | (1ull << '\n') |
                                   (1ull << '\r') | (1ull << '<') | (1ull << '>') | (1ull << '=') |
                                   (1ull << '/') | (1ull << '?') | (1ull << '!');
    return (mask >> u) & 1u;
}

bool IsQuote(QChar c) {
    return c == u'"' || c == u'\'';
}

qsizetype NameEnd(QStringView text, qsizetype from) {
    while (from < text.size() && !IsNameEnd(text[from])) {
        ++from;
    }
    return from;
}

// Attribute names stop at quotes too, so that a stray quote is skipped the way the parser
// skipped it when it looked for the end of the tag.
qsizetype AttributeNameEnd(QStringView tag, qsizetype from, qsizetype end) {
    while (from < end && !IsNameEnd(tag[from]) && !IsQuote(tag[from])) {
        ++from;
    }
    return from;
}

qsizetype SkipSpace(QStringView text, qsizetype from, qsizetype end) {
    while (from < end && IsSpace(text[from])) {
        ++from;
    }
    return from;
}

// Names written by this class must read back as the same name.
bool IsValidName(QStringView name) {
    if (name.isEmpty()) {
        return false;
    }
    for (QChar c : name) {
        if (IsNameEnd(c) || IsQuote(c) || c == u'&') {
            return false;
        }
    }
    return true;
}

struct AttributeSpan {
    qsizetype nValueStart = -1; // inside the tag; -1 when the attribute is missing
    qsizetype nValueLen = 0;
    bool bQuoted = true;
    bool bUnescape = false; // the value may hold references
};

// Index of the first of `targets` from `from` on, or text.size(). Inlined and vectorised: the
// scans run once per attribute and per markup, and picture data makes some values long.
template <typename... Targets>
qsizetype FindFirstOf(QStringView text, qsizetype from, Targets... targets) {
    const auto hitsAt = [targets...](const char16_t* at) {
        Units8 units;
        std::memcpy(&units, at, sizeof units);
        return ((units == std::uint16_t(targets)) | ...); // clang 14 crashes on a char16_t
    };
    constexpr qsizetype kStep = 32; // four vectors per step keep the loads streaming
    const char16_t* p = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = from;
    for (; i + kStep <= size; i += kStep) {
        const auto hits =
            hitsAt(p + i) | hitsAt(p + i + 8) | hitsAt(p + i + 16) | hitsAt(p + i + 24);
        std::uint64_t w[2];
        std::memcpy(w, &hits, sizeof w);
        if ((w[0] | w[1]) != 0) {
            break;
        }
    }
    while (i < size && ((p[i] != targets) && ...)) {
        ++i;
    }
    return i;
}

// Appends `text` to `out` with "<", "&", ">" and, in attribute values, the quotes replaced by
// their references.
void AppendEscaped(QString& out, QStringView text, bool attribute) {
    const qsizetype first = attribute ? FindFirstOf(text, 0, u'<', u'&', u'>', u'\'', u'"')
                                      : FindFirstOf(text, 0, u'<', u'&', u'>');
    out += text.first(first);
    for (QChar c : text.sliced(first)) {
        switch (c.unicode()) {
        case u'<':
            out += QStringView(u"&lt;");
            break;
        case u'&':
            out += QStringView(u"&amp;");
            break;
        case u'>':
            out += QStringView(u"&gt;");
            break;
        case u'\'':
            out += attribute ? QStringView(u"&apos;") : QStringView(u"'");
            break;
        case u'"':
            out += attribute ? QStringView(u"&quot;") : QStringView(u"\"");
            break;
        default:
            out += c;
        }
    }
}

// Index of the first `c` from `from` on, or -1.
qsizetype Find(QStringView text, qsizetype from, char16_t c) {
    const qsizetype at = FindFirstOf(text, from, c);
    return at < text.size() ? at : -1;
}

// The '>' that ends a start tag, from `i` after its name on, skipping quoted values; -1 when
// there is none. It also learns what reading values needs: where the last quoted value opens
// (from `tagStart`), so that pictures' long data is not searched again, and whether any value
// holds an '&'.
qsizetype ScanStartTag(QStringView text, qsizetype tagStart, qsizetype i, qsizetype& lastValueAt,
                       bool& reference) {
    lastValueAt = 0;
    reference = false;
    while (i < text.size()) {
        const char16_t c = text[i].unicode();
        if (c == u'>') {
            return i;
        }
        if (c == u'"' || c == u'\'') {
            lastValueAt = i - tagStart;
            qsizetype close = FindFirstOf(text, i + 1, c, u'&');
            if (close < text.size() && text[close] == u'&') {
                reference = true;
                close = FindFirstOf(text, close, c);
            }
            if (close >= text.size()) {
                return -1;
            }
            i = close;
        }
        ++i;
    }
    return -1;
}

// The quoted value whose opening quote is at `open`; `end` is the tag's closing '>'.
AttributeSpan QuotedValue(QStringView tag, qsizetype open, qsizetype end, qsizetype lastValueAt,
                          bool reference) {
    const char16_t quote = tag[open].unicode();
    qsizetype close = end;
    if (open == lastValueAt) {
        // No quote follows the last value's closing one.
        while (close > open + 1 && !IsQuote(tag[close - 1])) {
            --close;
        }
        close = std::max(close - 1, open + 1);
    } else {
        close = std::min(FindFirstOf(tag, open + 1, quote), end);
    }
    AttributeSpan span;
    span.nValueStart = open + 1;
    span.nValueLen = close - span.nValueStart;
    span.bUnescape = reference;
    return span;
}

// Scans a start tag (from '<' to '>') for attribute `name`.
AttributeSpan FindAttributeInTag(QStringView tag, QStringView name, qsizetype lastValueAt,
                                 bool reference) {
    const qsizetype end = tag.size() - 1;
    qsizetype i = NameEnd(tag, 1);
    while (i < end) {
        if (IsQuote(tag[i])) {
            const AttributeSpan skipped = QuotedValue(tag, i, end, lastValueAt, reference);
            i = skipped.nValueStart + skipped.nValueLen + 1;
            continue;
        }
        const qsizetype nameEnd = AttributeNameEnd(tag, i, end);
        if (nameEnd == i) {
            ++i;
            continue;
        }
        const bool wanted = tag.sliced(i, nameEnd - i) == name;
        i = SkipSpace(tag, nameEnd, end);
        if (i >= end || tag[i] != u'=') {
            continue;
        }
        i = SkipSpace(tag, i + 1, end);
        AttributeSpan span;
        if (i < end && IsQuote(tag[i])) {
            span = QuotedValue(tag, i, end, lastValueAt, reference);
            i = span.nValueStart + span.nValueLen + 1;
        } else {
            const qsizetype valueEnd = AttributeNameEnd(tag, i, end);
            span.nValueStart = i;
            span.nValueLen = valueEnd - i;
            span.bQuoted = false;
            span.bUnescape = true;
            i = valueEnd;
        }
        if (wanted) {
            return span;
        }
    }
    return {};
}

// Where a new attribute goes: before "/>" or ">", after the last non-blank.
qsizetype NewAttributeOffset(QStringView tag, bool emptyElement) {
    const qsizetype nameEnd = NameEnd(tag, 1);
    qsizetype at = tag.size() - (emptyElement ? 2 : 1);
    while (at > nameEnd && IsSpace(tag[at - 1])) {
        --at;
    }
    return at;
}

void AppendCodePoint(QString& out, char32_t cp) {
    if (cp > 0xFFFF) {
        out.append(QChar::highSurrogate(cp));
        out.append(QChar::lowSurrogate(cp));
    } else {
        out.append(QChar(char16_t(cp)));
    }
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') {
        return u - '0';
    }
    if (u >= 'a' && u <= 'f') {
        return u - 'a' + 10;
    }
    if (u >= 'A' && u <= 'F') {
        return u - 'A' + 10;
    }
    return -1;
}

// "&#" digits ";" or "&#x" hex digits ";" with at most 7 characters between "#" and ";".
// Returns the length of the reference, or 0 when it is to be taken literally.
qsizetype DecodeNumericReference(QStringView ref, QString& out) {
    const int base = ref.size() > 2 && ref[2] == u'x' ? 16 : 10;
    const qsizetype digitsStart = base == 16 ? 3 : 2;
    const qsizetype limit = std::min<qsizetype>(ref.size(), 10);
    char32_t value = 0;
    qsizetype i = digitsStart;
    for (; i < limit; ++i) {
        const int digit = HexDigit(ref[i]);
        if (digit < 0 || digit >= base) {
            break;
        }
        value = value * base + char32_t(digit);
    }
    if (i == digitsStart || i >= limit || ref[i] != u';') {
        return 0;
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
        return 0;
    }
    AppendCodePoint(out, value);
    return i + 1;
}

// Decodes the reference at the start of `ref` (which begins with '&') into `out`.
qsizetype DecodeReference(QStringView ref, QString& out) {
    static const struct {
        QStringView name;
        char16_t ch;
    } named[] = {
        {u"&lt;", u'<'}, {u"&amp;", u'&'}, {u"&gt;", u'>'}, {u"&apos;", u'\''}, {u"&quot;", u'"'}};
    for (const auto& entry : named) {
        if (ref.startsWith(entry.name)) {
            out.append(QChar(entry.ch));
            return entry.name.size();
        }
    }
    if (ref.size() > 1 && ref[1] == u'#') {
        return DecodeNumericReference(ref, out);
    }
    return 0;
}

// One UTF-8 sequence starting with a non-ASCII byte. A malformed sequence (its longest valid
// prefix) gives one '?'.
const std::uint8_t* DecodeUtf8Sequence(const std::uint8_t* p, const std::uint8_t* end,
                                       char16_t*& out) {
    const std::uint8_t lead = *p;
    int trail = 0;
    char32_t cp = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        cp = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // overlong
        high = lead == 0xED ? 0x9F : 0xBF; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        cp = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;  // overlong
        high = lead == 0xF4 ? 0x8F : 0xBF; // above U+10FFFF
    } else {
        *out++ = u'?';
        return p + 1;
    }
    ++p;
    for (int k = 0; k < trail; ++k, ++p) {
        if (p == end || *p < low || *p > high) {
            *out++ = u'?';
            return p;
        }
        cp = (cp << 6) | (*p & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    if (cp > 0xFFFF) {
        *out++ = QChar::highSurrogate(cp);
        *out++ = QChar::lowSurrogate(cp);
    } else {
        *out++ = char16_t(cp);
    }
    return p;
}

// True when all sixteen bytes are ASCII and none is zero.
bool IsPlainAsciiBlock(const std::uint8_t* p) {
    std::uint64_t w[2];
    std::memcpy(w, p, sizeof w);
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    return (((w[0] | (w[0] - ones)) | (w[1] | (w[1] - ones))) & highs) == 0;
}

void WidenBlock(const std::uint8_t* p, char16_t* out) {
    Bytes16 bytes;
    std::memcpy(&bytes, p, sizeof bytes);
    const Units16 units = __builtin_convertvector(bytes, Units16);
    std::memcpy(out, &units, sizeof units);
}

bool IsAsciiBlock(const char16_t* p) {
    std::uint64_t w[4];
    std::memcpy(w, p, sizeof w);
    return ((w[0] | w[1] | w[2] | w[3]) & 0xFF80FF80FF80FF80ull) == 0;
}

void NarrowBlock(const char16_t* p, char* out) {
    Units16 units;
    std::memcpy(&units, p, sizeof units);
    const Bytes16 bytes = __builtin_convertvector(units, Bytes16);
    std::memcpy(out, &bytes, sizeof bytes);
}

char* EncodeUtf8Unit(const char16_t*& p, const char16_t* end, char* out) {
    const char16_t u = *p++;
    if (u < 0x80) {
        *out++ = char(u);
    } else if (u < 0x800) {
        *out++ = char(0xC0 | (u >> 6));
        *out++ = char(0x80 | (u & 0x3F));
    } else if (QChar::isHighSurrogate(u) && p < end && QChar::isLowSurrogate(*p)) {
        const char32_t cp = QChar::surrogateToUcs4(u, *p++);
        *out++ = char(0xF0 | (cp >> 18));
        *out++ = char(0x80 | ((cp >> 12) & 0x3F));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    } else if (QChar::isSurrogate(u)) {
        *out++ = '?';
    } else {
        *out++ = char(0xE0 | (u >> 12));
        *out++ = char(0x80 | ((u >> 6) & 0x3F));
        *out++ = char(0x80 | (u & 0x3F));
    }
    return out;
}

qsizetype MaxUtf8Length(QStringView text) {
    return text.size() * 3; // a pair gives four bytes for two units
}

qsizetype EncodeUtf8Into(QStringView text, char* out) {
    char* dst = out;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end) {
        while (std::size_t(end - p) >= kBlock && IsAsciiBlock(p)) {
            NarrowBlock(p, dst);
            p += kBlock;
            dst += kBlock;
        }
        if (p < end) {
            dst = EncodeUtf8Unit(p, end, dst);
        }
    }
    return dst - out;
}

// Encodes and writes a chunk at a time, so that no UTF-8 copy of the whole text is built.
bool WriteUtf8File(QFileDevice& file, QStringView text, qint64& bytesWritten) {
    constexpr qsizetype kChunk = 1 << 18;
    QByteArray buffer(MaxUtf8Length(text.first(std::min(kChunk + 1, text.size()))),
                      Qt::Uninitialized);
    bytesWritten = 0;
    for (qsizetype from = 0; from < text.size();) {
        qsizetype length = std::min(kChunk, text.size() - from);
        // A surrogate pair is never split between two chunks.
        if (from + length < text.size() && text[from + length - 1].isHighSurrogate()) {
            ++length;
        }
        const qsizetype bytes = EncodeUtf8Into(text.sliced(from, length), buffer.data());
        if (file.write(buffer.constData(), bytes) != bytes) {
            return false;
        }
        bytesWritten += bytes;
        from += length;
    }
    return file.flush();
}

// Appends the UTF-8 text [p, p + size) to `out`. Returns false when a zero byte ended the text.
bool AppendUtf8(QString& out, const std::uint8_t* p, std::size_t size) {
    const qsizetype oldSize = out.size();
    // Never more UTF-16 units than bytes: a four-byte sequence gives two units.
    out.resize(oldSize + qsizetype(size));
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data()) + oldSize;
    char16_t* dst = begin;
    const std::uint8_t* const end = p + size;
    bool ended = false;
    while (p < end) {
        while (std::size_t(end - p) >= kBlock && IsPlainAsciiBlock(p)) {
            WidenBlock(p, dst);
            p += kBlock;
            dst += kBlock;
        }
        if (p == end) {
            break;
        }
        if (*p == 0) {
            ended = true;
            break;
        }
        if (*p < 0x80) {
            *dst++ = *p++;
        } else {
            p = DecodeUtf8Sequence(p, end, dst);
        }
    }
    out.truncate(oldSize + (dst - begin));
    return !ended;
}

// Length of `data` without a sequence that the end cuts short: that one is decoded together
// with the next chunk, so chunked reading decodes exactly like decoding the whole file.
std::size_t CompleteUtf8Length(const std::uint8_t* data, std::size_t size) {
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const std::uint8_t byte = data[size - back];
        if (byte < 0x80) {
            return size;
        }
        if (byte >= 0xC0) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            return length > back ? size - back : size;
        }
    }
    return size;
}

bool StartsWithByteOrderMark(const std::uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
}

QString FileTooLarge() {
    return QString::fromLocal8Bit(std::strerror(EFBIG));
}

// Reads and decodes the file a chunk at a time, so that no copy of the whole file is held
// beside its text. A zero byte ends the text; the rest is still read and counted.
bool ReadUtf8File(QFile& file, QString& text, qint64& bytesRead, QString& error) {
    constexpr qint64 kMaxChunk = 1 << 20;
    const qint64 chunk = file.size() > 0 ? std::min(file.size(), kMaxChunk) : kMaxChunk;
    // Room for the chunk and for the up to three bytes of a sequence that the last one cut.
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t(chunk) + 3);
    std::size_t carried = 0;
    bool decoding = true;
    bytesRead = 0;
    while (true) {
        const qint64 got = file.read(reinterpret_cast<char*>(buffer.get() + carried), chunk);
        if (got < 0) {
            error = file.errorString();
            return false;
        }
        const bool first = bytesRead == 0;
        bytesRead += got;
        if (bytesRead > kMaxDocumentLength) {
            error = FileTooLarge();
            return false;
        }
        const std::size_t filled = carried + std::size_t(got);
        const std::size_t start = first && StartsWithByteOrderMark(buffer.get(), filled) ? 3 : 0;
        const std::size_t complete = got == 0 ? filled : CompleteUtf8Length(buffer.get(), filled);
        if (decoding) {
            decoding = AppendUtf8(text, buffer.get() + start, complete - start);
        }
        if (got == 0) {
            return true;
        }
        carried = filled - complete;
        std::memmove(buffer.get(), buffer.get() + complete, carried);
    }
}

QString Unterminated(const char* construct, qsizetype offset) {
    return QStringLiteral("%1 at offset %2 unterminated")
        .arg(QLatin1StringView(construct), QString::number(offset));
}

QString Incorrect(const char* construct, qsizetype offset) {
    return QStringLiteral("Incorrect %1 at offset %2")
        .arg(QLatin1StringView(construct), QString::number(offset));
}

} // namespace

// One pass over the text that builds the element index. Every step returns the offset at
// which scanning goes on; an unterminated construct ends the scan.
class CMarkup::Parser {
public:
    explicit Parser(CMarkup& doc) : m_doc(doc), m_text(doc.m_strDoc), m_aPos(doc.m_aPos) {}

    void Run() {
        qsizetype i = 0;
        while ((i = Find(m_text, i, u'<')) >= 0) {
            i = ParseMarkup(i);
        }
        while (!m_open.empty()) {
            LeaveNotEnded(m_text.size());
        }
    }

private:
    struct OpenElement {
        int iPos;
        QStringView name;
    };

    void Error(const QString& message) {
        m_doc.AddResult(message);
        m_doc.m_bParseError = true;
    }

    qsizetype ParseMarkup(qsizetype lt) {
        if (lt + 1 >= m_text.size()) {
            Error(Unterminated("tag", lt));
            return m_text.size();
        }
        switch (m_text[lt + 1].unicode()) {
        case u'/':
            return ParseEndTag(lt);
        case u'?':
            return SkipPast(lt, u"?>", 2, "Processing instruction");
        case u'!':
            return ParseBang(lt);
        default:
            return ParseStartTag(lt);
        }
    }

    qsizetype SkipPast(qsizetype lt, QStringView terminator, qsizetype from,
                       const char* construct) {
        const qsizetype at = m_text.indexOf(terminator, lt + from);
        if (at < 0) {
            Error(Unterminated(construct, lt));
            return m_text.size();
        }
        return at + terminator.size();
    }

    qsizetype ParseBang(qsizetype lt) {
        const QStringView rest = m_text.sliced(lt);
        if (rest.startsWith(u"<!--")) {
            return SkipPast(lt, u"-->", 4, "Comment");
        }
        if (rest.startsWith(u"<!-")) {
            Error(Incorrect("comment tag", lt));
            return lt + 1;
        }
        if (rest.startsWith(u"<![CDATA[")) {
            return SkipPast(lt, u"]]>", 9, "CDATA Section");
        }
        if (rest.startsWith(u"<!DOCTYPE")) {
            return ParseDoctype(lt);
        }
        Error(Incorrect("! tag", lt));
        return lt + 1;
    }

    // A declaration ends at the first '>' outside quotes and outside its internal subset.
    qsizetype ParseDoctype(qsizetype lt) {
        int depth = 0;
        for (qsizetype i = lt + 2; i < m_text.size(); ++i) {
            const QChar c = m_text[i];
            if (IsQuote(c)) {
                i = Find(m_text, i + 1, c.unicode());
                if (i < 0) {
                    break;
                }
            } else if (c == u'[') {
                ++depth;
            } else if (c == u']' && depth > 0) {
                --depth;
            } else if (c == u'>' && depth == 0) {
                return i + 1;
            }
        }
        Error(Unterminated("Doctype", lt));
        return m_text.size();
    }

    qsizetype ParseStartTag(qsizetype lt) {
        const qsizetype nameEnd = NameEnd(m_text, lt + 1);
        if (nameEnd == lt + 1) {
            Error(Incorrect("tag name character", lt + 1));
            return lt + 1;
        }
        qsizetype lastValueAt = 0;
        bool reference = false;
        const qsizetype gt = ScanStartTag(m_text, lt, nameEnd, lastValueAt, reference);
        if (gt < 0) {
            Error(Unterminated("Element tag", lt));
            return m_text.size();
        }
        const int iPos = AddElement(int(lt), int(gt + 1 - lt));
        m_doc.StoreTagValues(iPos, lastValueAt, reference);
        if (m_text[gt - 1] == u'/') {
            m_aPos[iPos].nFlags |= FlagEmptyElement;
        } else {
            Push(iPos, m_text.sliced(lt + 1, nameEnd - lt - 1));
        }
        return gt + 1;
    }

    int AddElement(int start, int length) {
        const int iParent = m_open.empty() ? 0 : m_open.back().iPos;
        const int iPos = int(m_aPos.size());
        ElemPos& elem = m_aPos.emplace_back();
        elem.nStart = start;
        elem.nLength = length;
        elem.nStartTagLen = length;
        elem.iElemParent = iParent;
        ElemPos& parent = m_aPos[iParent];
        if (parent.iElemLastChild) {
            m_aPos[parent.iElemLastChild].iElemNext = iPos;
        } else {
            parent.iElemChild = iPos;
        }
        parent.iElemLastChild = iPos;
        return iPos;
    }

    qsizetype ParseEndTag(qsizetype lt) {
        const qsizetype nameStart = lt + 2;
        if (nameStart >= m_text.size()) {
            Error(Unterminated("Element end tag", lt));
            return m_text.size();
        }
        const qsizetype nameEnd = NameEnd(m_text, nameStart);
        if (nameEnd == nameStart) {
            Error(Incorrect("tag name character", nameStart));
            return nameStart;
        }
        const qsizetype gt = Find(m_text, nameEnd, u'>');
        if (gt < 0) {
            Error(Unterminated("Element end tag", lt));
            return m_text.size();
        }
        CloseElement(m_text.sliced(nameStart, nameEnd - nameStart), lt, gt + 1);
        return gt + 1;
    }

    // An end tag closes the nearest open element of its name; those open inside it are not ended.
    void CloseElement(QStringView name, qsizetype tagStart, qsizetype tagEnd) {
        if (m_open.empty() || m_open.back().name != name) {
            const qsizetype depth = OpenDepthOf(name);
            if (depth < 0) {
                ReportUnmatched(name, tagStart);
                return;
            }
            while (qsizetype(m_open.size()) > depth + 1) {
                LeaveNotEnded(tagStart);
            }
        }
        ElemPos& elem = m_aPos[m_open.back().iPos];
        elem.nLength = int(tagEnd) - elem.nStart;
        elem.nEndTagLen = int(tagEnd - tagStart);
        Pop();
    }

    void ReportUnmatched(QStringView name, qsizetype tagStart) {
        if (m_open.empty()) {
            Error(QStringLiteral("No start tag for end tag '%1' at offset %2")
                      .arg(name.toString(), QString::number(tagStart)));
            return;
        }
        const OpenElement& open = m_open.back();
        Error(QStringLiteral("End tag '%1' at offset %2 does not match start tag '%3' at offset %4")
                  .arg(name.toString(), QString::number(tagStart), open.name.toString(),
                       QString::number(m_aPos[open.iPos].nStart)));
    }

    void LeaveNotEnded(qsizetype at) {
        const OpenElement& open = m_open.back();
        ElemPos& elem = m_aPos[open.iPos];
        elem.nLength = int(at) - elem.nStart;
        Error(QStringLiteral("Element '%1' at offset %2 not ended")
                  .arg(open.name.toString(), QString::number(elem.nStart)));
        Pop();
    }

    void Push(int iPos, QStringView name) {
        if (m_byNameActive) {
            m_openByName[name].push_back(int(m_open.size()));
        }
        m_open.push_back({iPos, name});
    }

    void Pop() {
        if (m_byNameActive) {
            const auto it = m_openByName.find(m_open.back().name);
            it->pop_back();
            if (it->empty()) {
                m_openByName.erase(it);
            }
        }
        m_open.pop_back();
    }

    // Depth in the open stack of the innermost open element named `name`, or -1. The per-name
    // stacks are only kept once an end tag has not matched, so well-formed documents never pay
    // for them, and mismatched documents never search the open stack linearly.
    qsizetype OpenDepthOf(QStringView name) {
        if (!m_byNameActive) {
            m_byNameActive = true;
            for (qsizetype depth = 0; depth < qsizetype(m_open.size()); ++depth) {
                m_openByName[m_open[depth].name].push_back(int(depth));
            }
        }
        const auto it = m_openByName.constFind(name);
        return it == m_openByName.cend() ? -1 : it->back();
    }

    CMarkup& m_doc;
    QStringView m_text;
    std::vector<ElemPos>& m_aPos;
    std::vector<OpenElement> m_open;
    QHash<QStringView, std::vector<int>> m_openByName;
    bool m_byNameActive = false;
};

CMarkup::CMarkup() : m_aPos(1) {}

bool CMarkup::SetDocumentText(const QString& text) {
    if (text.size() > kMaxDocumentLength) {
        m_strResult = QStringLiteral("Document too large");
        return false;
    }
    m_strResult.clear();
    m_strDoc = text;
    Parse();
    return IsWellFormed();
}

bool CMarkup::ReadDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_strResult = file.errorString();
        return false;
    }
    if (file.size() > kMaxDocumentLength) {
        m_strResult = FileTooLarge();
        return false;
    }
    QString text;
    text.reserve(file.size());
    qint64 bytesRead = 0;
    QString error;
    if (!ReadUtf8File(file, text, bytesRead, error)) {
        m_strResult = error;
        return false;
    }
    m_strDoc = std::move(text);
    m_strResult = QStringLiteral("%1 bytes to %2 wide chars")
                      .arg(QString::number(bytesRead), QString::number(m_strDoc.size()));
    Parse();
    return IsWellFormed();
}

bool CMarkup::WriteDocument(const QString& path) {
    // Through a temporary file and a rename, like every file of the user's: a failed write
    // leaves the previous document intact.
    qint64 bytes = 0;
    QString error;
    if (!WriteFileAtomically(
            path, [&](QFileDevice& file) { return WriteUtf8File(file, m_strDoc, bytes); },
            &error)) {
        m_strResult = error;
        return false;
    }
    m_strResult = QStringLiteral("%1 wide chars to %2 bytes")
                      .arg(QString::number(m_strDoc.size()), QString::number(bytes));
    return true;
}

bool CMarkup::IsWellFormed() const {
    const int iRoot = m_aPos[0].iElemChild;
    return !m_bParseError && iRoot != 0 && m_aPos[iRoot].iElemNext == 0;
}

void CMarkup::AddResult(const QString& message) {
    if (!m_strResult.isEmpty()) {
        m_strResult += u", ";
    }
    m_strResult += message;
}

void CMarkup::Parse() {
    const int length = int(m_strDoc.size());
    m_aPos.clear();
    m_aPos.reserve(std::size_t(length / 64 + 8));
    m_aPos.emplace_back().nLength = length;
    m_bParseError = false;
    Rewind();
    if (length == 0) {
        AddResult(QStringLiteral("Empty document"));
        return;
    }
    Parser(*this).Run();
    const int iRoot = m_aPos[0].iElemChild;
    if (iRoot == 0) {
        AddResult(QStringLiteral("No root element"));
    } else if (m_aPos[iRoot].iElemNext != 0) {
        AddResult(QStringLiteral("Root element has sibling"));
    }
}

void CMarkup::Rewind() {
    m_iPosParent = 0;
    m_iPos = 0;
    m_iPosChild = 0;
}

QStringView CMarkup::NameAt(int iPos) const {
    const qsizetype from = m_aPos[iPos].nStart + 1;
    return QStringView(m_strDoc).sliced(from, NameEnd(m_strDoc, from) - from);
}

QString CMarkup::TagNameAt(int position) const {
    if (position <= 0 || position >= int(m_aPos.size())) {
        return {};
    }
    return NameAt(position).toString();
}

int CMarkup::FindSibling(int iPos, QStringView name) const {
    while (iPos != 0 && !name.isEmpty() && NameAt(iPos) != name) {
        iPos = m_aPos[iPos].iElemNext;
    }
    return iPos;
}

bool CMarkup::NextElement(QStringView name) {
    const int iFrom = m_iPos ? m_aPos[m_iPos].iElemNext : m_aPos[m_iPosParent].iElemChild;
    const int iFound = FindSibling(iFrom, name);
    if (iFound == 0) {
        return false;
    }
    m_iPos = iFound;
    m_iPosChild = 0;
    return true;
}

bool CMarkup::NextChild(QStringView name) {
    // Without a main position there is no child position either, so only the main one needs
    // restoring on failure.
    const int iSavedPos = m_iPos;
    if (m_iPos == 0 && !NextElement()) {
        return false;
    }
    const int iFrom = m_iPosChild ? m_aPos[m_iPosChild].iElemNext : m_aPos[m_iPos].iElemChild;
    const int iFound = FindSibling(iFrom, name);
    if (iFound == 0) {
        m_iPos = iSavedPos;
        return false;
    }
    m_iPosChild = iFound;
    return true;
}

bool CMarkup::EnterElement() {
    if (m_iPos == 0) {
        return false;
    }
    m_iPosParent = m_iPos;
    m_iPos = m_iPosChild;
    m_iPosChild = 0;
    return true;
}

bool CMarkup::LeaveElement() {
    if (m_iPosParent == 0) {
        return false;
    }
    m_iPosChild = m_iPos;
    m_iPos = m_iPosParent;
    m_iPosParent = m_aPos[m_iPosParent].iElemParent;
    return true;
}

void CMarkup::StoreTagValues(int iPos, qsizetype nLastValueAt, bool bReference) {
    ElemPos& elem = m_aPos[iPos];
    elem.nLastValueAt = int(nLastValueAt);
    elem.nFlags = bReference ? elem.nFlags | FlagReference : elem.nFlags & ~FlagReference;
}

QString CMarkup::AttributeOf(int iPos, QStringView name) const {
    if (iPos == 0) {
        return {};
    }
    const ElemPos& elem = m_aPos[iPos];
    const QStringView tag = QStringView(m_strDoc).sliced(elem.nStart, elem.nStartTagLen);
    const AttributeSpan span =
        FindAttributeInTag(tag, name, elem.nLastValueAt, elem.nFlags & FlagReference);
    if (span.nValueStart < 0) {
        return {};
    }
    const QStringView value = tag.sliced(span.nValueStart, span.nValueLen);
    return span.bUnescape ? UnescapeText(value) : value.toString();
}

QString CMarkup::Attribute(QStringView name) const {
    return AttributeOf(m_iPos, name);
}

QString CMarkup::ChildAttribute(QStringView name) const {
    return AttributeOf(m_iPosChild, name);
}

QString CMarkup::ChildText() const {
    if (m_iPosChild == 0) {
        return {};
    }
    const ElemPos& elem = m_aPos[m_iPosChild];
    if (elem.iElemChild != 0) {
        return {};
    }
    const int contentStart = elem.nStart + elem.nStartTagLen;
    const int contentEnd = elem.EndOffset() - elem.nEndTagLen;
    return UnescapeText(QStringView(m_strDoc).sliced(contentStart, contentEnd - contentStart));
}

bool CMarkup::AppendElement(QStringView name, QStringView data) {
    const int iNew = InsertElement(m_iPosParent, m_iPos, name, data);
    if (iNew == 0) {
        return false;
    }
    m_iPos = iNew;
    m_iPosChild = 0;
    return true;
}

bool CMarkup::AppendChild(QStringView name, QStringView data) {
    if (m_iPos == 0) {
        return false;
    }
    const int iNew = InsertElement(m_iPos, m_aPos[m_iPos].iElemLastChild, name, data);
    if (iNew == 0) {
        return false;
    }
    m_iPosChild = iNew;
    return true;
}

bool CMarkup::SetAttribute(QStringView name, QStringView value) {
    return SetAttributeOf(m_iPos, name, value);
}

bool CMarkup::SetAttribute(QStringView name, int value) {
    return SetAttributeOf(m_iPos, name, QString::number(value));
}

bool CMarkup::SetChildAttribute(QStringView name, QStringView value) {
    return SetAttributeOf(m_iPosChild, name, value);
}

bool CMarkup::SetChildAttribute(QStringView name, int value) {
    return SetAttributeOf(m_iPosChild, name, QString::number(value));
}

bool CMarkup::SetAttributeOf(int iPos, QStringView name, QStringView value) {
    if (iPos == 0 || !IsValidName(name)) {
        return false;
    }
    const ElemPos& elem = m_aPos[iPos];
    const QStringView tag = QStringView(m_strDoc).sliced(elem.nStart, elem.nStartTagLen);
    const AttributeSpan span =
        FindAttributeInTag(tag, name, elem.nLastValueAt, elem.nFlags & FlagReference);
    TextEdit edit;
    if (span.nValueStart >= 0) {
        edit.nOffset = elem.nStart + int(span.nValueStart);
        edit.nRemove = int(span.nValueLen);
        edit.strInsert.reserve(value.size() + 2);
        if (!span.bQuoted) {
            edit.strInsert += u'"';
        }
        AppendEscaped(edit.strInsert, value, true);
        if (!span.bQuoted) {
            edit.strInsert += u'"';
        }
    } else {
        const bool empty = elem.nFlags & FlagEmptyElement;
        edit.nOffset = elem.nStart + int(NewAttributeOffset(tag, empty));
        edit.strInsert.reserve(name.size() + value.size() + 4);
        edit.strInsert += u' ';
        edit.strInsert += name;
        edit.strInsert += QStringView(u"=\"");
        AppendEscaped(edit.strInsert, value, true);
        edit.strInsert += u'"';
    }
    if (!ApplyEdit(edit)) {
        return false;
    }
    const int shift = edit.Shift();
    ElemPos& changed = m_aPos[iPos];
    changed.nStartTagLen += shift;
    changed.nLength += shift;
    qsizetype lastValueAt = 0;
    bool reference = false;
    ScanStartTag(m_strDoc, changed.nStart, NameEnd(m_strDoc, changed.nStart + 1), lastValueAt,
                 reference);
    StoreTagValues(iPos, lastValueAt, reference);
    for (int iChild = changed.iElemChild; iChild != 0; iChild = m_aPos[iChild].iElemNext) {
        ShiftSubtree(iChild, shift);
    }
    ShiftFollowing(iPos, shift);
    return true;
}

// Adds element `name` to `iParent`, after its child `iAfter` (0: as its first and only child).
int CMarkup::InsertElement(int iParent, int iAfter, QStringView name, QStringView data) {
    if (!IsValidName(name)) {
        return 0;
    }
    QString element;
    element.reserve(2 * name.size() + data.size() + 7);
    element += u'<';
    element += name;
    if (data.isEmpty()) {
        element += QStringView(u"/>");
    } else {
        element += u'>';
        AppendEscaped(element, data, false);
        element += QStringView(u"</");
        element += name;
        element += u'>';
    }
    element += kLineEnd;
    if (iAfter == 0) {
        iAfter = m_aPos[iParent].iElemLastChild;
    }
    const TextEdit edit =
        iAfter ? PlaceAfter(iAfter, element) : PlaceAsFirstChild(iParent, element);
    const int newStart = edit.nOffset + edit.nElementAt;
    if (!ApplyEdit(edit)) {
        return 0;
    }
    ElemPos& parent = m_aPos[iParent];
    if (iParent != 0 && parent.iElemChild == 0 && (parent.nFlags & FlagEmptyElement)) {
        parent.nFlags &= ~FlagEmptyElement;
        parent.nStartTagLen -= 1;
        parent.nEndTagLen = int(NameAt(iParent).size()) + 3;
    }
    const int iNew = int(m_aPos.size());
    ElemPos elem;
    elem.nStart = newStart;
    elem.nLength = int(element.size() - kLineEnd.size());
    elem.nStartTagLen = data.isEmpty() ? elem.nLength : int(name.size()) + 2;
    elem.nEndTagLen = data.isEmpty() ? 0 : int(name.size()) + 3;
    elem.nFlags = data.isEmpty() ? FlagEmptyElement : 0;
    elem.iElemParent = iParent;
    elem.iElemNext = iAfter ? m_aPos[iAfter].iElemNext : 0;
    m_aPos.push_back(elem);
    ElemPos& linkedParent = m_aPos[iParent];
    if (iAfter) {
        m_aPos[iAfter].iElemNext = iNew;
    } else {
        linkedParent.iElemChild = iNew;
    }
    if (linkedParent.iElemLastChild == iAfter) {
        linkedParent.iElemLastChild = iNew;
    }
    ShiftFollowing(iNew, edit.Shift());
    return iNew;
}

// After a sibling, past the line end that follows it, so written documents keep one element
// per line.
CMarkup::TextEdit CMarkup::PlaceAfter(int iAfter, const QString& element) const {
    TextEdit edit;
    edit.nOffset = m_aPos[iAfter].EndOffset();
    if (QStringView(m_strDoc).sliced(edit.nOffset).startsWith(kLineEnd)) {
        edit.nOffset += int(kLineEnd.size());
    }
    edit.strInsert = element;
    return edit;
}

// The first child goes on a line of its own: an empty-element tag "<A/>" becomes
// "<A>\r\n<B/>\r\n</A>", and an empty content gets a line end before the child.
CMarkup::TextEdit CMarkup::PlaceAsFirstChild(int iParent, const QString& element) const {
    TextEdit edit;
    if (iParent == 0) {
        edit.nOffset = int(m_strDoc.size());
        edit.strInsert = element;
        return edit;
    }
    const ElemPos& parent = m_aPos[iParent];
    if (parent.nFlags & FlagEmptyElement) {
        edit.nOffset = parent.nStart + parent.nStartTagLen - 2;
        edit.nRemove = 2;
        edit.strInsert = u'>' + kLineEnd + element + "</" + NameAt(iParent).toString() + u'>';
        edit.nElementAt = 1 + int(kLineEnd.size());
        return edit;
    }
    edit.nOffset = parent.EndOffset() - parent.nEndTagLen;
    const bool contentEmpty = edit.nOffset == parent.nStart + parent.nStartTagLen;
    edit.strInsert = contentEmpty ? kLineEnd + element : element;
    edit.nElementAt = contentEmpty ? int(kLineEnd.size()) : 0;
    return edit;
}

bool CMarkup::ApplyEdit(const TextEdit& edit) {
    const qsizetype newSize = m_strDoc.size() + edit.Shift();
    if (newSize > kMaxDocumentLength) {
        return false;
    }
    // QString::replace grows the text to the exact new size; growing it geometrically keeps
    // the writer's thousands of appends linear.
    if (newSize > m_strDoc.capacity()) {
        m_strDoc.reserve(std::max(newSize, 2 * m_strDoc.capacity()));
    }
    m_strDoc.replace(edit.nOffset, edit.nRemove, edit.strInsert);
    return true;
}

// Moves the start of `iTop` and of every element inside it; walks the subtree without
// recursion so that deep documents cannot exhaust the stack.
void CMarkup::ShiftSubtree(int iTop, int nShift) {
    int i = iTop;
    while (true) {
        m_aPos[i].nStart += nShift;
        if (m_aPos[i].iElemChild != 0) {
            i = m_aPos[i].iElemChild;
            continue;
        }
        while (i != iTop && m_aPos[i].iElemNext == 0) {
            i = m_aPos[i].iElemParent;
        }
        if (i == iTop) {
            return;
        }
        i = m_aPos[i].iElemNext;
    }
}

// After text changed inside or right after `iPos`: every element that follows it in document
// order moves, and every element that contains it grows. Appending at the end of a document
// touches only the chain of parents.
void CMarkup::ShiftFollowing(int iPos, int nShift) {
    for (int i = iPos; i != 0; i = m_aPos[i].iElemParent) {
        for (int iNext = m_aPos[i].iElemNext; iNext != 0; iNext = m_aPos[iNext].iElemNext) {
            ShiftSubtree(iNext, nShift);
        }
        m_aPos[m_aPos[i].iElemParent].nLength += nShift;
    }
}

QString CMarkup::EscapeText(QStringView text, bool attribute) {
    QString out;
    out.reserve(text.size());
    AppendEscaped(out, text, attribute);
    return out;
}

QString CMarkup::UnescapeText(QStringView text) {
    qsizetype amp = text.indexOf(u'&');
    if (amp < 0) {
        return text.toString();
    }
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    while (amp >= 0) {
        out += text.sliced(done, amp - done);
        const qsizetype used = DecodeReference(text.sliced(amp), out);
        if (used == 0) {
            out += u'&';
        }
        done = amp + std::max<qsizetype>(used, 1);
        amp = text.indexOf(u'&', done);
    }
    out += text.sliced(done);
    return out;
}

QString CMarkup::DecodeUtf8(const char* data, std::size_t size) {
    QString out;
    AppendUtf8(out, reinterpret_cast<const std::uint8_t*>(data), size);
    return out;
}

QByteArray CMarkup::EncodeUtf8(QStringView text) {
    QByteArray out(MaxUtf8Length(text), Qt::Uninitialized);
    out.truncate(EncodeUtf8Into(text, out.data()));
    return out;
}
