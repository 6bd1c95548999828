#include "ZipMemory.h"

#include <algorithm>
#include <cstring>

namespace {

ZipMemoryStream& Stream(voidpf stream) {
    return *static_cast<ZipMemoryStream*>(stream);
}

voidpf Open(voidpf opaque, const void*, int) {
    return opaque;
}

uLong Read(voidpf, voidpf stream, void* buf, uLong size) {
    ZipMemoryStream& s = Stream(stream);
    const qint64 available = std::max<qint64>(0, s.data.size() - s.pos);
    const qint64 count = std::min<qint64>(available, static_cast<qint64>(size));
    if (count > 0)
        std::memcpy(buf, s.data.constData() + s.pos, static_cast<std::size_t>(count));
    s.pos += count;
    return static_cast<uLong>(count);
}

uLong Write(voidpf, voidpf stream, const void* buf, uLong size) {
    ZipMemoryStream& s = Stream(stream);
    const qint64 end = s.pos + static_cast<qint64>(size);
    if (end > s.data.size())
        s.data.resize(end);
    std::memcpy(s.data.data() + s.pos, buf, size);
    s.pos = end;
    return size;
}

ZPOS64_T Tell(voidpf, voidpf stream) {
    return static_cast<ZPOS64_T>(Stream(stream).pos);
}

long Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    ZipMemoryStream& s = Stream(stream);
    qint64 base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = s.pos;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = s.data.size();
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    // A damaged archive can name any offset; only positions inside the buffer exist.
    if (offset > static_cast<ZPOS64_T>(s.data.size()))
        return -1;
    const qint64 target = base + static_cast<qint64>(offset);
    if (target < 0 || target > s.data.size())
        return -1;
    s.pos = target;
    return 0;
}

int Close(voidpf, voidpf) {
    return 0;
}

int Error(voidpf, voidpf) {
    return 0;
}

} // namespace

zlib_filefunc64_def ZipMemoryFileFunc(ZipMemoryStream& stream) {
    zlib_filefunc64_def def{};
    def.zopen64_file = Open;
    def.zread_file = Read;
    def.zwrite_file = Write;
    def.ztell64_file = Tell;
    def.zseek64_file = Seek;
    def.zclose_file = Close;
    def.zerror_file = Error;
    def.opaque = &stream;
    return def;
}
