#include "CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

// Length of the UTF-8 sequence starting with `lead` (QString::toUtf8 output is well formed).
int Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    return 4;
}

// Converts with iconv, putting '?' for every unconvertible unit; `skip` says how many input
// bytes one unconvertible unit spans.
template <typename Skip>
QByteArray Convert(const char* to, const char* from, const QByteArray& input, Skip skip)
{
    QByteArray output;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return output;
    output.resize(input.size() * 2 + 8);
    char* in = const_cast<char*>(input.constData());
    std::size_t inLeft = static_cast<std::size_t>(input.size());
    char* out = output.data();
    std::size_t outLeft = static_cast<std::size_t>(output.size());
    const auto grow = [&] {
        const auto used = out - output.data();
        output.resize(output.size() * 2);
        out = output.data() + used;
        outLeft = static_cast<std::size_t>(output.size() - used);
    };
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            grow();
            continue;
        }
        // EILSEQ or EINVAL (a sequence cut off at the end): replace one unit and go on.
        if (outLeft == 0)
            grow();
        *out++ = '?';
        --outLeft;
        const std::size_t n =
            std::min<std::size_t>(inLeft, static_cast<std::size_t>(skip(*in)));
        in += n;
        inLeft -= n;
    }
    iconv_close(cd);
    output.resize(out - output.data());
    return output;
}

} // namespace

QByteArray ToSystemCodePage(const QString& text)
{
    return Convert("GBK", "UTF-8", text.toUtf8(),
                   [](char lead) { return Utf8SequenceLength(static_cast<unsigned char>(lead)); });
}

QString FromSystemCodePage(const QByteArray& bytes)
{
    return QString::fromUtf8(Convert("UTF-8", "GBK", bytes, [](char) { return 1; }));
}
