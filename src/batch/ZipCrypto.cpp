#include "ZipCrypto.h"

#include <QRandomGenerator>

#include <zlib.h>

namespace {

class Keys {
public:
    explicit Keys(const char* password) {
        for (const char* p = password; *p; ++p)
            Update(static_cast<std::uint8_t>(*p));
    }

    std::uint8_t Encrypt(std::uint8_t plain) {
        const std::uint8_t cipher = plain ^ Stream();
        Update(plain);
        return cipher;
    }

    std::uint8_t Decrypt(std::uint8_t cipher) {
        const std::uint8_t plain = cipher ^ Stream();
        Update(plain);
        return plain;
    }

private:
    static std::uint32_t Crc(std::uint32_t crc, std::uint8_t byte) {
        return static_cast<std::uint32_t>(get_crc_table()[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
    }

    std::uint8_t Stream() const {
        const std::uint32_t temp = (m_keys[2] & 0xFFFF) | 2;
        return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
    }

    void Update(std::uint8_t plain) {
        m_keys[0] = Crc(m_keys[0], plain);
        m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
        m_keys[2] = Crc(m_keys[2], static_cast<std::uint8_t>(m_keys[1] >> 24));
    }

    std::uint32_t m_keys[3] = {305419896u, 591751049u, 878082192u};
};

} // namespace

QByteArray ZipEncrypt(const QByteArray& data, const char* password, std::uint32_t crc) {
    QByteArray header(kZipCryptoHeader, '\0');
    for (int i = 0; i < kZipCryptoHeader - 2; ++i)
        header[i] = static_cast<char>(QRandomGenerator::global()->bounded(256));
    header[kZipCryptoHeader - 2] = static_cast<char>(crc >> 16);
    header[kZipCryptoHeader - 1] = static_cast<char>(crc >> 24);
    QByteArray out = header + data;
    Keys keys(password);
    for (char& c : out)
        c = static_cast<char>(keys.Encrypt(static_cast<std::uint8_t>(c)));
    return out;
}

std::optional<QByteArray> ZipDecrypt(const QByteArray& data, const char* password,
                                     std::uint8_t check) {
    if (data.size() < kZipCryptoHeader)
        return std::nullopt;
    Keys keys(password);
    QByteArray plain(data.size(), '\0');
    for (qsizetype i = 0; i < data.size(); ++i)
        plain[i] = static_cast<char>(keys.Decrypt(static_cast<std::uint8_t>(data[i])));
    if (static_cast<std::uint8_t>(plain[kZipCryptoHeader - 1]) != check)
        return std::nullopt;
    return plain.mid(kZipCryptoHeader);
}

QByteArray RawDeflate(const QByteArray& data) {
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return {};
    QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&z, Z_FINISH);
    out.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    return status == Z_STREAM_END ? out : QByteArray();
}

std::optional<QByteArray> RawInflate(const QByteArray& data, qint64 size) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return std::nullopt;
    // One spare byte shows a stream that holds more than it should.
    QByteArray out(size + 1, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&z, Z_FINISH);
    const qint64 produced = static_cast<qint64>(z.total_out);
    inflateEnd(&z);
    if (status != Z_STREAM_END || produced != size)
        return std::nullopt;
    out.resize(size);
    return out;
}
