#include "LoadedModules.h"

#include "ByteOrder.h"
#include "SafeMemory.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t kLoadSegment = 1;
constexpr std::uint32_t kNoteSegment = 4;
constexpr std::uint32_t kBuildIdNote = 3;
constexpr std::size_t kElfHeaderSize = 64;
constexpr std::size_t kProgramHeaderSize = 56;
constexpr std::uint64_t kPageMask = 4095;

std::uint64_t ParseHex(const char*& p, const char* end) {
    std::uint64_t value = 0;
    for (; p < end; ++p) {
        const char c = *p;
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            break;
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

void SkipField(const char*& p, const char* end) {
    while (p < end && *p != ' ')
        ++p;
    while (p < end && *p == ' ')
        ++p;
}

std::size_t Align4(std::size_t value) {
    return (value + 3) & ~std::size_t{3};
}

} // namespace

bool LoadedModules::Scan() {
    count_ = 0;
    pathsUsed_ = 0;
    const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::size_t filled = 0;
    bool skipping = false; // inside a line longer than the buffer: no module we could name
    for (;;) {
        const ssize_t got = read(fd, lines_ + filled, sizeof lines_ - filled);
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
        std::size_t start = 0;
        while (const void* found = std::memchr(lines_ + start, '\n', filled - start)) {
            const char* newline = static_cast<const char*>(found);
            if (!skipping)
                AddMapping(lines_ + start, newline);
            skipping = false;
            start = static_cast<std::size_t>(newline - lines_) + 1;
        }
        std::memmove(lines_, lines_ + start, filled - start);
        filled -= start;
        if (filled == sizeof lines_) {
            skipping = true;
            filled = 0;
        }
    }
    close(fd);
    return true;
}

const LoadedModule* LoadedModules::Find(std::uint64_t address) const {
    for (std::size_t i = 0; i < count_; ++i) {
        if (address >= modules_[i].base && address < modules_[i].end)
            return &modules_[i];
    }
    return nullptr;
}

// One line: "start-end perms offset major:minor inode path".
void LoadedModules::AddMapping(const char* line, const char* end) {
    const char* p = line;
    const std::uint64_t start = ParseHex(p, end);
    if (p == end || *p++ != '-')
        return;
    const std::uint64_t stop = ParseHex(p, end);
    SkipField(p, end);
    const bool readable = p < end && *p == 'r';
    SkipField(p, end);
    const std::uint64_t offset = ParseHex(p, end);
    SkipField(p, end);
    SkipField(p, end);
    SkipField(p, end);
    if (p == end || *p != '/')
        return; // anonymous memory, the stack, the vDSO
    const std::size_t length = static_cast<std::size_t>(end - p);

    if (count_ > 0) {
        LoadedModule& last = modules_[count_ - 1];
        if (std::strlen(last.path) == length && std::memcmp(last.path, p, length) == 0) {
            if (stop > last.end)
                last.end = stop;
            return;
        }
    }
    if (offset != 0 || !readable || count_ == kMaxModules ||
        length + 1 > sizeof paths_ - pathsUsed_)
        return;
    std::uint8_t magic[4];
    if (ReadMemory(start, magic, sizeof magic) != sizeof magic || std::memcmp(magic,
                                                                              "\x7f"
                                                                              "ELF",
                                                                              4) != 0)
        return; // a mapped data file
    LoadedModule& module = modules_[count_++];
    module = LoadedModule{};
    module.base = start;
    module.end = stop;
    char* path = paths_ + pathsUsed_;
    std::memcpy(path, p, length);
    path[length] = '\0';
    pathsUsed_ += length + 1;
    module.path = path;
    ReadBuildId(module);
}

// The GNU build id from the module's note segments, found through its program headers.
void LoadedModules::ReadBuildId(LoadedModule& module) {
    std::uint8_t header[kElfHeaderSize];
    if (ReadMemory(module.base, header, sizeof header) != sizeof header || header[4] != 2 ||
        header[5] != 1)
        return; // not 64-bit little-endian
    const std::uint64_t tableOffset = GetLE64(header + 0x20);
    const std::size_t entrySize = GetLE16(header + 0x36);
    const std::size_t entries = GetLE16(header + 0x38);
    static std::uint8_t table[64 * kProgramHeaderSize];
    if (entrySize != kProgramHeaderSize || entries > 64 ||
        ReadMemory(module.base + tableOffset, table, entries * entrySize) != entries * entrySize)
        return;
    // Segment addresses are relative to the load bias: the base less the first segment's page.
    std::uint64_t bias = module.base;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint8_t* entry = table + i * kProgramHeaderSize;
        if (GetLE32(entry) == kLoadSegment && GetLE64(entry + 8) == 0) {
            bias = module.base - (GetLE64(entry + 16) & ~kPageMask);
            break;
        }
    }
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint8_t* entry = table + i * kProgramHeaderSize;
        if (GetLE32(entry) != kNoteSegment)
            continue;
        std::uint64_t size = GetLE64(entry + 32);
        if (size > sizeof scratch_)
            size = sizeof scratch_;
        const std::size_t got =
            ReadMemory(bias + GetLE64(entry + 16), scratch_, static_cast<std::size_t>(size));
        // Notes: name size, descriptor size, type, then name and descriptor, each 4-aligned.
        for (std::size_t at = 0; at + 12 <= got;) {
            const std::size_t nameSize = GetLE32(scratch_ + at);
            const std::size_t descSize = GetLE32(scratch_ + at + 4);
            const std::uint32_t type = GetLE32(scratch_ + at + 8);
            const std::size_t desc = at + 12 + Align4(nameSize);
            if (nameSize > got || descSize > got || desc + descSize > got)
                break;
            if (type == kBuildIdNote && nameSize == 4 &&
                std::memcmp(scratch_ + at + 12, "GNU", 4) == 0 &&
                descSize <= sizeof module.buildId) {
                std::memcpy(module.buildId, scratch_ + desc, descSize);
                module.buildIdSize = descSize;
                return;
            }
            at = desc + Align4(descSize);
        }
    }
}
