#pragma once

#include "FixedText.h"
#include "LoadedModules.h"
#include "ThreadRegisters.h"

#include <ucontext.h>

// What the crash handler knows of the crash it reports.
struct CrashFacts {
    int signal = 0;
    int code = 0;                   // the signal's si_code
    std::uint64_t faultAddress = 0; // the address a bad memory access touched
    bool badAccess = false;         // a page fault: faultAddress and write are known
    bool write = false;
    const ThreadRegisters* registers = nullptr;
    const ucontext_t* context = nullptr; // where the stack walk starts
};

// What is fixed for the life of the process.
struct CrashSetting {
    const char* systemLine = ""; // "Linux:  ..."
    const char* processPath = "";
    std::int64_t utcOffset = 0; // seconds to add to UTC for local time
};

// The text report, CR LF between lines, in UTF-8: system, process, faulting module and its file
// date, signal, accessed address, instruction bytes, registers and at most 20 call stack frames.
void FormatCrashReport(FixedText& text, const CrashFacts& crash, const LoadedModules& modules,
                       const CrashSetting& setting);

// The frames listed at most by the call stack.
constexpr int kMaxReportFrames = 20;
