#pragma once

#include "LoadedModules.h"
#include "ThreadRegisters.h"

#include <cstddef>
#include <cstdint>

// The memory dump in the minidump format that debuggers read (lldb, WinDbg, the Breakpad and
// Crashpad tools): header, system information, process id, every captured thread with its
// registers and stack, the loaded modules with their build ids, the exception, and the memory
// around the faulting instruction. Written field by field, little-endian, without allocating.

// The machine's side, read once at install.
struct MinidumpSystem {
    std::uint16_t processorLevel = 0;    // family
    std::uint16_t processorRevision = 0; // model << 8 | stepping
    std::uint8_t processorCount = 0;
    std::uint32_t majorVersion = 0; // of the kernel
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t vendorId[3] = {};
    std::uint32_t versionInformation = 0;
    std::uint32_t featureInformation = 0;
    std::uint32_t extendedFeatures = 0;
    char description[512] = {}; // the kernel's name, release, version and machine
};

void ReadMinidumpSystem(MinidumpSystem& out);

struct MinidumpCrash {
    pid_t pid = 0;
    std::uint32_t time = 0; // seconds since 1970, UTC
    int signal = 0;
    int code = 0;
    std::uint64_t faultAddress = 0;
    const ThreadRegisters* crashing = nullptr; // the thread that met the signal
    const ThreadRegisters* others = nullptr;
    std::size_t otherCount = 0;
    const LoadedModules* modules = nullptr;
    const MinidumpSystem* system = nullptr;
};

// Writes the dump into `fd` from its start; false when a write failed.
bool WriteMinidump(int fd, const MinidumpCrash& crash);
