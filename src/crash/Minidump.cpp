#include "Minidump.h"

#include "ByteOrder.h"
#include "FixedText.h"
#include "SafeMemory.h"

#include <cpuid.h>
#include <cstring>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t kSignature = 0x504D444D; // "MDMP"
constexpr std::uint32_t kVersion = 0xA793;
constexpr std::uint32_t kThreadListStream = 3;
constexpr std::uint32_t kModuleListStream = 4;
constexpr std::uint32_t kMemoryListStream = 5;
constexpr std::uint32_t kExceptionStream = 6;
constexpr std::uint32_t kSystemInfoStream = 7;
constexpr std::uint32_t kMiscInfoStream = 15;
constexpr std::size_t kStreamCount = 6;

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDirectoryEntrySize = 12;
constexpr std::size_t kThreadSize = 48;
constexpr std::size_t kModuleSize = 108;
constexpr std::size_t kMemoryDescriptorSize = 16;
constexpr std::size_t kContextSize = 1232;
constexpr std::size_t kSystemInfoSize = 56;
constexpr std::size_t kMiscInfoSize = 24;
constexpr std::size_t kExceptionStreamSize = 168;

constexpr std::uint32_t kContextAmd64 = 0x00100000;
constexpr std::uint32_t kContextControl = 0x1;
constexpr std::uint32_t kContextInteger = 0x2;
constexpr std::uint32_t kContextSegments = 0x4;
constexpr std::uint32_t kContextFloatingPoint = 0x8;
constexpr std::uint16_t kProcessorAmd64 = 9;
constexpr std::uint32_t kPlatformLinux = 0x8201;
constexpr std::uint32_t kMiscProcessId = 1;
constexpr std::uint32_t kCodeViewElfBuildId = 0x4270454C; // "BpEL" as a little-endian word

constexpr std::size_t kMaxThreads = 256;
constexpr std::size_t kStackLimit = 256 * 1024;
constexpr std::size_t kRedZone = 128;       // below the stack pointer, still the frame's own
constexpr std::size_t kCodeAround = 128;    // bytes kept before and after the instruction
constexpr std::size_t kMaxPathUnits = 4096; // UTF-16 code units of one module path
constexpr std::uint64_t kPage = 4096;

struct Location {
    std::uint32_t size = 0;
    std::uint32_t rva = 0;
};

struct MemoryBlock {
    std::uint64_t start = 0;
    Location data;
};

// The dump file as space handed out from its start; pieces are written where they were placed.
class DumpFile {
public:
    explicit DumpFile(int fd) : fd_(fd) {}

    // Space for a structure, 8-aligned like the format's records.
    std::uint32_t Reserve(std::size_t size) {
        end_ = (end_ + 7) & ~std::uint64_t{7};
        const std::uint64_t at = end_;
        end_ += size;
        return static_cast<std::uint32_t>(at);
    }

    std::uint32_t End() const { return static_cast<std::uint32_t>(end_); }

    // Appends raw bytes right at the end (memory contents, which need no alignment).
    void Append(const void* data, std::size_t size) {
        const std::uint64_t at = end_;
        end_ += size;
        Write(static_cast<std::uint32_t>(at), data, size);
    }

    void Write(std::uint32_t rva, const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        std::size_t done = 0;
        while (ok_ && done < size) {
            const ssize_t n = pwrite(fd_, bytes + done, size - done, off_t(rva + done));
            if (n <= 0)
                ok_ = false;
            else
                done += static_cast<std::size_t>(n);
        }
    }

    bool Ok() const { return ok_ && end_ <= 0xFFFFFFFFu; }

private:
    int fd_;
    std::uint64_t end_ = 0;
    bool ok_ = true;
};

void PutLocation(std::uint8_t* out, Location location) {
    PutLE32(out, location.size);
    PutLE32(out + 4, location.rva);
}

void PutMemoryDescriptor(std::uint8_t* out, const MemoryBlock& block) {
    PutLE64(out, block.start);
    PutLocation(out + 8, block.data);
}

// UTF-8 (as paths are on this system) to UTF-16LE; invalid bytes become U+FFFD.
std::size_t Utf8ToUtf16(const char* text, std::uint8_t* out, std::size_t maxUnits) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    std::size_t units = 0;
    while (*p != 0 && units + 2 <= maxUnits) {
        std::uint32_t c = *p++;
        int extra = 0;
        if (c >= 0xC2 && c < 0xE0) {
            c &= 0x1F;
            extra = 1;
        } else if (c >= 0xE0 && c < 0xF0) {
            c &= 0x0F;
            extra = 2;
        } else if (c >= 0xF0 && c < 0xF5) {
            c &= 0x07;
            extra = 3;
        } else if (c >= 0x80) {
            c = 0xFFFD;
        }
        for (; extra > 0; --extra, ++p) {
            if ((*p & 0xC0) != 0x80) {
                c = 0xFFFD;
                break;
            }
            c = c << 6 | (*p & 0x3F);
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            PutLE16(out + 2 * units++, static_cast<std::uint16_t>(0xD800 + (c >> 10)));
            PutLE16(out + 2 * units++, static_cast<std::uint16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            PutLE16(out + 2 * units++, static_cast<std::uint16_t>(c));
        }
    }
    return units;
}

// A length-prefixed UTF-16 string with its terminating zero.
std::uint32_t WriteString(DumpFile& file, const char* text) {
    static std::uint8_t buffer[4 + 2 * kMaxPathUnits + 2];
    const std::size_t units = Utf8ToUtf16(text, buffer + 4, kMaxPathUnits);
    PutLE32(buffer, static_cast<std::uint32_t>(2 * units));
    PutLE16(buffer + 4 + 2 * units, 0);
    const std::size_t size = 4 + 2 * units + 2;
    const std::uint32_t rva = file.Reserve(size);
    file.Write(rva, buffer, size);
    return rva;
}

// The registers in the layout of the format's x86-64 context record.
Location WriteContext(DumpFile& file, const ThreadRegisters& r) {
    static std::uint8_t c[kContextSize];
    std::memset(c, 0, sizeof c);
    std::uint32_t flags = kContextAmd64 | kContextControl | kContextInteger | kContextSegments;
    if (r.hasFloat)
        flags |= kContextFloatingPoint;
    PutLE32(c + 0x30, flags);
    PutLE32(c + 0x34, r.mxcsr);
    PutLE16(c + 0x38, r.cs);
    PutLE16(c + 0x3E, r.fs);
    PutLE16(c + 0x40, r.gs);
    PutLE16(c + 0x42, r.ss);
    PutLE32(c + 0x44, static_cast<std::uint32_t>(r.eflags));
    const std::uint64_t integers[16] = {r.rax, r.rcx, r.rdx, r.rbx, r.rsp, r.rbp, r.rsi, r.rdi,
                                        r.r8,  r.r9,  r.r10, r.r11, r.r12, r.r13, r.r14, r.r15};
    for (std::size_t i = 0; i < 16; ++i)
        PutLE64(c + 0x78 + 8 * i, integers[i]);
    PutLE64(c + 0xF8, r.rip);
    if (r.hasFloat) // the FXSAVE image is the record's floating-point area as it stands
        std::memcpy(c + 0x100, r.fxsave, sizeof r.fxsave);
    const Location location{kContextSize, file.Reserve(kContextSize)};
    file.Write(location.rva, c, kContextSize);
    return location;
}

// Copies the readable memory from `start` on, up to `limit` bytes, stopping at the first byte
// that cannot be read.
MemoryBlock WriteMemory(DumpFile& file, std::uint64_t start, std::size_t limit) {
    static std::uint8_t chunk[4096];
    MemoryBlock block;
    block.start = start;
    block.data.rva = file.End();
    while (block.data.size < limit) {
        const std::uint64_t at = start + block.data.size;
        std::size_t piece = sizeof chunk - static_cast<std::size_t>(at % sizeof chunk);
        if (piece > limit - block.data.size)
            piece = limit - block.data.size;
        const std::size_t got = ReadMemory(at, chunk, piece);
        file.Append(chunk, got);
        block.data.size += static_cast<std::uint32_t>(got);
        if (got < piece)
            break;
    }
    return block;
}

MemoryBlock WriteStack(DumpFile& file, const ThreadRegisters& registers) {
    std::uint64_t start = registers.rsp > kRedZone ? registers.rsp - kRedZone : 0;
    // A thread that overflowed its stack points into the guard page: its stack starts above.
    std::uint8_t probe;
    if (ReadMemory(start, &probe, 1) != 1)
        start = (registers.rsp + kPage - 1) & ~(kPage - 1);
    return WriteMemory(file, start, kStackLimit);
}

MemoryBlock WriteCodeAround(DumpFile& file, std::uint64_t ip) {
    std::uint8_t probe;
    const std::uint64_t start =
        ip > kCodeAround && ReadMemory(ip - kCodeAround, &probe, 1) == 1 ? ip - kCodeAround : ip;
    return WriteMemory(file, start, 2 * kCodeAround);
}

struct Streams {
    Location entries[kStreamCount];
    std::uint32_t types[kStreamCount] = {};
    std::size_t count = 0;

    void Add(std::uint32_t type, Location location) {
        types[count] = type;
        entries[count++] = location;
    }
};

Location WriteSystemInfo(DumpFile& file, const MinidumpSystem& system) {
    std::uint8_t s[kSystemInfoSize] = {};
    PutLE16(s, kProcessorAmd64);
    PutLE16(s + 2, system.processorLevel);
    PutLE16(s + 4, system.processorRevision);
    s[6] = system.processorCount;
    PutLE32(s + 8, system.majorVersion);
    PutLE32(s + 12, system.minorVersion);
    PutLE32(s + 16, system.buildNumber);
    PutLE32(s + 20, kPlatformLinux);
    PutLE32(s + 24, WriteString(file, system.description));
    for (int i = 0; i < 3; ++i)
        PutLE32(s + 32 + 4 * i, system.vendorId[i]);
    PutLE32(s + 44, system.versionInformation);
    PutLE32(s + 48, system.featureInformation);
    PutLE32(s + 52, system.extendedFeatures);
    const Location location{kSystemInfoSize, file.Reserve(kSystemInfoSize)};
    file.Write(location.rva, s, sizeof s);
    return location;
}

Location WriteMiscInfo(DumpFile& file, pid_t pid) {
    std::uint8_t m[kMiscInfoSize] = {};
    PutLE32(m, kMiscInfoSize);
    PutLE32(m + 4, kMiscProcessId);
    PutLE32(m + 8, static_cast<std::uint32_t>(pid));
    const Location location{kMiscInfoSize, file.Reserve(kMiscInfoSize)};
    file.Write(location.rva, m, sizeof m);
    return location;
}

struct ThreadRecord {
    std::uint32_t tid = 0;
    MemoryBlock stack;
    Location context;
};

Location WriteThreadList(DumpFile& file, const ThreadRecord* threads, std::size_t count) {
    const std::size_t size = 4 + kThreadSize * count;
    const Location location{static_cast<std::uint32_t>(size), file.Reserve(size)};
    std::uint8_t head[4];
    PutLE32(head, static_cast<std::uint32_t>(count));
    file.Write(location.rva, head, sizeof head);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t t[kThreadSize] = {};
        PutLE32(t, threads[i].tid);
        PutMemoryDescriptor(t + 24, threads[i].stack);
        PutLocation(t + 40, threads[i].context);
        file.Write(static_cast<std::uint32_t>(location.rva + 4 + kThreadSize * i), t, sizeof t);
    }
    return location;
}

Location WriteMemoryList(DumpFile& file, const MemoryBlock* blocks, std::size_t count) {
    const std::size_t size = 4 + kMemoryDescriptorSize * count;
    const Location location{static_cast<std::uint32_t>(size), file.Reserve(size)};
    std::uint8_t head[4];
    PutLE32(head, static_cast<std::uint32_t>(count));
    file.Write(location.rva, head, sizeof head);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t d[kMemoryDescriptorSize];
        PutMemoryDescriptor(d, blocks[i]);
        file.Write(static_cast<std::uint32_t>(location.rva + 4 + kMemoryDescriptorSize * i), d,
                   sizeof d);
    }
    return location;
}

Location WriteModuleList(DumpFile& file, const LoadedModules& modules) {
    const std::size_t count = modules.Count();
    const std::size_t size = 4 + kModuleSize * count;
    const Location location{static_cast<std::uint32_t>(size), file.Reserve(size)};
    std::uint8_t head[4];
    PutLE32(head, static_cast<std::uint32_t>(count));
    file.Write(location.rva, head, sizeof head);
    for (std::size_t i = 0; i < count; ++i) {
        const LoadedModule& module = modules.At(i);
        std::uint8_t m[kModuleSize] = {};
        PutLE64(m, module.base);
        const std::uint64_t span = module.end - module.base;
        PutLE32(m + 8, span > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(span));
        PutLE32(m + 20, WriteString(file, module.path));
        if (module.buildIdSize > 0) {
            // The CodeView record of ELF files: the signature, then the build id as it stands.
            std::uint8_t record[4 + sizeof module.buildId];
            PutLE32(record, kCodeViewElfBuildId);
            std::memcpy(record + 4, module.buildId, module.buildIdSize);
            const Location cv{static_cast<std::uint32_t>(4 + module.buildIdSize),
                              file.Reserve(4 + module.buildIdSize)};
            file.Write(cv.rva, record, cv.size);
            PutLocation(m + 76, cv);
        }
        file.Write(static_cast<std::uint32_t>(location.rva + 4 + kModuleSize * i), m, sizeof m);
    }
    return location;
}

Location WriteException(DumpFile& file, const MinidumpCrash& crash, Location context) {
    std::uint8_t e[kExceptionStreamSize] = {};
    PutLE32(e, static_cast<std::uint32_t>(crash.crashing->tid));
    PutLE32(e + 8, static_cast<std::uint32_t>(crash.signal));
    PutLE32(e + 12, static_cast<std::uint32_t>(crash.code));
    PutLE64(e + 24, crash.faultAddress);
    PutLocation(e + 160, context);
    const Location location{kExceptionStreamSize, file.Reserve(kExceptionStreamSize)};
    file.Write(location.rva, e, sizeof e);
    return location;
}

void WriteHeader(DumpFile& file, const Streams& streams, std::uint32_t time) {
    std::uint8_t h[kHeaderSize + kDirectoryEntrySize * kStreamCount] = {};
    PutLE32(h, kSignature);
    PutLE32(h + 4, kVersion);
    PutLE32(h + 8, static_cast<std::uint32_t>(streams.count));
    PutLE32(h + 12, kHeaderSize);
    PutLE32(h + 20, time);
    for (std::size_t i = 0; i < streams.count; ++i) {
        std::uint8_t* entry = h + kHeaderSize + kDirectoryEntrySize * i;
        PutLE32(entry, streams.types[i]);
        PutLocation(entry + 4, streams.entries[i]);
    }
    file.Write(0, h, kHeaderSize + kDirectoryEntrySize * streams.count);
}

std::uint32_t LeadingNumber(const char*& p) {
    std::uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + static_cast<std::uint32_t>(*p - '0');
    if (*p == '.')
        ++p;
    return value;
}

} // namespace

void ReadMinidumpSystem(MinidumpSystem& out) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0, &a, &b, &c, &d)) {
        out.vendorId[0] = b; // "Genu" "ineI" "ntel" in register order ebx, edx, ecx
        out.vendorId[1] = d;
        out.vendorId[2] = c;
    }
    if (__get_cpuid(1, &a, &b, &c, &d)) {
        out.versionInformation = a;
        out.featureInformation = d;
        const unsigned family = (a >> 8 & 0xF) + (a >> 20 & 0xFF);
        const unsigned model = (a >> 4 & 0xF) | (a >> 12 & 0xF0);
        out.processorLevel = static_cast<std::uint16_t>(family);
        out.processorRevision = static_cast<std::uint16_t>(model << 8 | (a & 0xF));
    }
    if (__get_cpuid(0x80000001, &a, &b, &c, &d))
        out.extendedFeatures = c;
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    out.processorCount = static_cast<std::uint8_t>(processors > 255 ? 255 : processors);
    utsname names{};
    if (uname(&names) == 0) {
        const char* p = names.release;
        out.majorVersion = LeadingNumber(p);
        out.minorVersion = LeadingNumber(p);
        out.buildNumber = LeadingNumber(p);
        FixedText text(out.description, sizeof out.description);
        text.Add(names.sysname).Add(" ").Add(names.release).Add(" ").Add(names.version);
        text.Add(" ").Add(names.machine);
    }
}

bool WriteMinidump(int fd, const MinidumpCrash& crash) {
    DumpFile file(fd);
    file.Reserve(kHeaderSize + kDirectoryEntrySize * kStreamCount);
    Streams streams;
    streams.Add(kSystemInfoStream, WriteSystemInfo(file, *crash.system));
    streams.Add(kMiscInfoStream, WriteMiscInfo(file, crash.pid));

    static ThreadRecord threads[kMaxThreads];
    static MemoryBlock blocks[kMaxThreads + 1];
    std::size_t threadCount = 0;
    std::size_t blockCount = 0;
    for (std::size_t i = 0; i <= crash.otherCount && threadCount < kMaxThreads; ++i) {
        const ThreadRegisters& registers = i == 0 ? *crash.crashing : crash.others[i - 1];
        ThreadRecord& thread = threads[threadCount++];
        thread.tid = static_cast<std::uint32_t>(registers.tid);
        thread.context = WriteContext(file, registers);
        thread.stack = WriteStack(file, registers);
        if (thread.stack.data.size > 0)
            blocks[blockCount++] = thread.stack;
    }
    streams.Add(kThreadListStream, WriteThreadList(file, threads, threadCount));
    const MemoryBlock code = WriteCodeAround(file, crash.crashing->rip);
    if (code.data.size > 0)
        blocks[blockCount++] = code;
    streams.Add(kMemoryListStream, WriteMemoryList(file, blocks, blockCount));
    streams.Add(kModuleListStream, WriteModuleList(file, *crash.modules));
    streams.Add(kExceptionStream, WriteException(file, crash, threads[0].context));
    WriteHeader(file, streams, crash.time);
    return file.Ok();
}
