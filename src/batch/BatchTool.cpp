#include "BatchTool.h"

#include "AtomicFile.h"
#include "ByteOrder.h"
#include "Crc16.h"
#include "Scramble.h"

#include <array>
#include <random>

namespace {

constexpr qsizetype kHeaderBytes = 112;  // up to and with D
constexpr qsizetype kPayloadBytes = 171; // scrambled bytes besides archive and title
constexpr qsizetype kTrailerBytes = 38;
constexpr qsizetype kSignatureField = 32;
constexpr qsizetype kFormatField = 32;
constexpr qsizetype kRandomField = 32;

constexpr std::size_t kSignatureLength = 27;

// The signature is kept scrambled so the plain text is in no program file.
constexpr std::array<char, kSignatureLength> Scrambled(const char (&text)[kSignatureLength + 1]) {
    std::array<char, kSignatureLength> out{};
    for (std::size_t i = 0; i < kSignatureLength; ++i)
        out[i] = static_cast<char>(text[i] ^ kScrambleKey);
    return out;
}

constexpr auto kScrambledSignature = Scrambled("Halvern-Koravel KV250 Batch");

QByteArray Signature() {
    QByteArray field(kSignatureField, '\0');
    for (std::size_t i = 0; i < kSignatureLength; ++i)
        field[qsizetype(i)] = static_cast<char>(kScrambledSignature[i] ^ kScrambleKey);
    return field;
}

QByteArray FormatField() {
    QByteArray field(kFormatField, '\0');
    field[0] = 1;
    return field;
}

QByteArray Filler(std::minstd_rand& random, qsizetype size, int max) {
    std::uniform_int_distribution<int> byte(0, max);
    QByteArray field(size, '\0');
    for (char& c : field)
        c = static_cast<char>(byte(random));
    return field;
}

void Put(QByteArray& out, qsizetype at, const QByteArray& bytes) {
    out.replace(at, bytes.size(), bytes);
}

std::uint16_t CrcOfBody(const QByteArray& file) {
    return Crc16(reinterpret_cast<const std::uint8_t*>(file.constData()),
                 static_cast<std::size_t>(file.size() - kTrailerBytes));
}

} // namespace

QByteArray BuildBatchTool(const BatchTool& tool, const QDateTime& now, std::uint32_t seed) {
    if (tool.loader.isEmpty() || tool.archive.isEmpty() || tool.title.isEmpty() ||
        tool.title.size() > 0xFFFF || tool.password.size() > kLoginPasswordBytes ||
        tool.loader.size() > 0xFFFFFFFFLL || tool.archive.size() > 0xFFFFFFFFLL)
        return {};
    const qsizetype L = tool.loader.size();
    const qsizetype D = tool.archive.size();
    const qsizetype T = tool.title.size();
    QByteArray file(L + D + T + kBatchToolOverhead, '\0');
    Put(file, 0, tool.loader);

    std::minstd_rand random(seed);
    const QDateTime utc = now.toUTC();
    const qsizetype p = L;
    Put(file, p, QByteArrayLiteral("RV"));
    Put(file, p + 2, FormatField());
    PutBE16(file, p + 34, static_cast<std::uint16_t>(utc.date().year()));
    file[p + 36] = static_cast<char>(utc.date().month());
    file[p + 37] = static_cast<char>(utc.date().day());
    file[p + 38] = static_cast<char>(utc.time().hour());
    file[p + 39] = static_cast<char>(utc.time().minute());
    file[p + 40] = static_cast<char>(utc.time().second());
    Put(file, p + 44, FormatField());
    Put(file, p + 76, Filler(random, kRandomField, 127));
    PutBE32(file, p + 108, static_cast<std::uint32_t>(D));
    Put(file, p + kHeaderBytes, tool.archive);
    PutBE16(file, p + 112 + D, static_cast<std::uint16_t>(T));
    Put(file, p + 114 + D, tool.title);
    Put(file, p + 115 + D + T, Filler(random, kRandomField, 254));
    file[p + 152 + D + T] = tool.login ? 1 : 0;
    Put(file, p + 153 + D + T,
        tool.login ? tool.password : Filler(random, kLoginPasswordBytes, 254));
    Put(file, p + 169 + D + T, QByteArrayLiteral("GX"));

    const qsizetype trailer = file.size() - kTrailerBytes;
    XorScramble(reinterpret_cast<std::uint8_t*>(file.data()) + L,
                static_cast<std::size_t>(trailer - L));
    const std::uint16_t crc = CrcOfBody(file);
    if (crc == 0)
        return {};
    PutBE16(file, trailer, crc);
    Put(file, trailer + 2, Signature());
    PutBE32(file, file.size() - 4, static_cast<std::uint32_t>(L));
    return file;
}

bool WriteBatchTool(const QString& path, const BatchTool& tool, QString* error) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QByteArray file =
        BuildBatchTool(tool, now, static_cast<std::uint32_t>(now.toSecsSinceEpoch()));
    if (file.isEmpty()) {
        if (error)
            *error = QStringLiteral("the tool could not be built from its parts");
        return false;
    }
    return WriteFileAtomically(path, file, error);
}

std::optional<BatchTool> ReadBatchTool(const QByteArray& file) {
    const qsizetype N = file.size();
    if (N <= 4)
        return std::nullopt;
    const qsizetype L = GetBE32(file, N - 4);
    // The smallest payload has a 1-byte title and no archive.
    if (L >= N || N - L < kPayloadBytes + 1 + kTrailerBytes)
        return std::nullopt;
    const qsizetype trailer = N - kTrailerBytes;
    if (GetBE16(file, trailer) != CrcOfBody(file) ||
        file.mid(trailer + 2, kSignatureField) != Signature())
        return std::nullopt;

    QByteArray payload = file.mid(L, trailer - L);
    XorScramble(payload);
    const qsizetype size = payload.size();
    if (!payload.startsWith("RV"))
        return std::nullopt;
    const qsizetype D = GetBE32(payload, 108);
    if (D > size - kPayloadBytes - 1)
        return std::nullopt;
    const qsizetype T = GetBE16(payload, 112 + D);
    if (T == 0 || kPayloadBytes + D + T != size || payload.mid(169 + D + T, 2) != "GX")
        return std::nullopt;

    BatchTool tool;
    tool.loader = file.left(L);
    tool.archive = payload.mid(kHeaderBytes, D);
    tool.title = payload.mid(114 + D, T);
    tool.login = payload[152 + D + T] != 0; // anything but 0 asks, never lets in
    tool.password = payload.mid(153 + D + T, kLoginPasswordBytes);
    return tool;
}
