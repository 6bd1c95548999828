#include "Scramble.h"

#include "AtomicFile.h"

void XorScramble(std::uint8_t* data, std::size_t size, std::uint8_t key)
{
    for (std::size_t i = 0; i < size; ++i)
        data[i] ^= key;
}

void XorScramble(QByteArray& data, std::uint8_t key)
{
    XorScramble(reinterpret_cast<std::uint8_t*>(data.data()), static_cast<std::size_t>(data.size()),
                key);
}

bool XorScrambleFile(const QString& path, QString* error, std::uint8_t key)
{
    QByteArray data;
    if (!ReadWholeFile(path, data, error))
        return false;
    XorScramble(data, key);
    return WriteFileAtomically(path, data, error);
}
