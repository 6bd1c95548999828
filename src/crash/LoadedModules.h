#pragma once

#include <cstddef>
#include <cstdint>

// An ELF file mapped into the process: the program or a shared library.
struct LoadedModule {
    std::uint64_t base = 0; // where the file's first byte is mapped
    std::uint64_t end = 0;  // end of its last consecutive mapping
    const char* path = nullptr;
    std::uint8_t buildId[64] = {};
    std::size_t buildIdSize = 0;
};

// The modules of the running process, read from /proc/self/maps into storage of a fixed size
// that the object itself holds, so the crash handler can read them without allocating.
class LoadedModules {
public:
    static constexpr std::size_t kMaxModules = 1024;

    // Reads the current mappings; false when they cannot be read.
    bool Scan();

    std::size_t Count() const { return count_; }
    const LoadedModule& At(std::size_t index) const { return modules_[index]; }
    // The module whose mappings hold `address`, or none.
    const LoadedModule* Find(std::uint64_t address) const;

private:
    void AddMapping(const char* line, const char* end);
    void ReadBuildId(LoadedModule& module);

    LoadedModule modules_[kMaxModules];
    std::size_t count_ = 0;
    char paths_[256 * 1024];
    std::size_t pathsUsed_ = 0;
    char lines_[8192];
    std::uint8_t scratch_[4096];
};
