#include "CrashReport.h"

#include "SafeMemory.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <libunwind.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kInstructionBytes = 16;

FixedText& Line(FixedText& text) {
    return text.Add("\r\n");
}

const char* CodeName(int signal, int code) {
    switch (code) {
    case SI_USER:
        return "SI_USER";
    case SI_QUEUE:
        return "SI_QUEUE";
    case SI_TKILL:
        return "SI_TKILL";
    case SI_KERNEL:
        return "SI_KERNEL";
    default:
        break;
    }
    static const char* const segv[] = {"SEGV_MAPERR", "SEGV_ACCERR", "SEGV_BNDERR", "SEGV_PKUERR"};
    static const char* const bus[] = {"BUS_ADRALN", "BUS_ADRERR", "BUS_OBJERR", "BUS_MCEERR_AR",
                                      "BUS_MCEERR_AO"};
    static const char* const ill[] = {"ILL_ILLOPC", "ILL_ILLOPN", "ILL_ILLADR", "ILL_ILLTRP",
                                      "ILL_PRVOPC", "ILL_PRVREG", "ILL_COPROC", "ILL_BADSTK"};
    static const char* const fpe[] = {"FPE_INTDIV", "FPE_INTOVF", "FPE_FLTDIV", "FPE_FLTOVF",
                                      "FPE_FLTUND", "FPE_FLTRES", "FPE_FLTINV", "FPE_FLTSUB"};
    auto pick = [code](const char* const* names, int count) {
        return code >= 1 && code <= count ? names[code - 1] : nullptr;
    };
    switch (signal) {
    case SIGSEGV:
        return pick(segv, 4);
    case SIGBUS:
        return pick(bus, 5);
    case SIGILL:
        return pick(ill, 8);
    case SIGFPE:
        return pick(fpe, 8);
    default:
        return nullptr;
    }
}

void AddExceptionCode(FixedText& text, int signal, int code) {
    Line(text).Add("Exception Code:  ");
    if (const char* name = sigabbrev_np(signal))
        text.Add("SIG").Add(name).Add(" ");
    text.Add("(").Decimal(signal).Add("), ");
    if (const char* name = CodeName(signal, code))
        text.Add(name).Add(" ");
    text.Add("(").Decimal(code).Add(")");
}

// "Date Modified:" with the module file's last write, when the file can be opened.
void AddDateModified(FixedText& text, const char* path, std::int64_t utcOffset) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    const bool known = fstat(fd, &info) == 0;
    close(fd);
    if (!known)
        return;
    const CivilTime date = ToCivilTime(info.st_mtim.tv_sec + utcOffset);
    Line(text).Add("Date Modified:  ").Decimal(date.month, 2).Add("/").Decimal(date.day, 2);
    text.Add("/").Decimal(date.year);
}

void AddInstruction(FixedText& text, std::uint64_t address) {
    std::uint8_t bytes[kInstructionBytes];
    const std::size_t readable = ReadMemory(address, bytes, sizeof bytes);
    Line(text).Add("Instruction: ");
    for (std::size_t i = 0; i < sizeof bytes; ++i) {
        text.Add(" ");
        if (i < readable)
            text.Hex(bytes[i], 2);
        else
            text.Add("??");
    }
}

void AddRegisterRow(FixedText& text, const char* const names[4], const std::uint64_t values[4]) {
    Line(text);
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            text.Add("  ");
        text.Add(names[i]).Hex(values[i], 16);
    }
}

void AddRegisters(FixedText& text, const ThreadRegisters& r) {
    Line(text).Add("Registers:");
    const char* const rows[4][4] = {{"RAX: ", "RBX: ", "RCX: ", "RDX: "},
                                    {"RSI: ", "RDI: ", "RBP: ", "RSP: "},
                                    {"R8:  ", "R9:  ", "R10: ", "R11: "},
                                    {"R12: ", "R13: ", "R14: ", "R15: "}};
    const std::uint64_t values[4][4] = {{r.rax, r.rbx, r.rcx, r.rdx},
                                        {r.rsi, r.rdi, r.rbp, r.rsp},
                                        {r.r8, r.r9, r.r10, r.r11},
                                        {r.r12, r.r13, r.r14, r.r15}};
    for (int row = 0; row < 4; ++row)
        AddRegisterRow(text, rows[row], values[row]);
    Line(text).Add("RIP: ").Hex(r.rip, 16).Add("  EFlags: ").Hex(r.eflags, 8);
}

// From the faulting frame outwards; a module's line precedes its first frame of a run.
void AddCallStack(FixedText& text, const LoadedModules& modules, const ucontext_t* context) {
    Line(text).Add("Call Stack:");
    unw_cursor_t cursor;
    // The library's context type is the kernel's on this processor.
    if (unw_init_local2(&cursor, const_cast<ucontext_t*>(context), UNW_INIT_SIGNAL_FRAME) != 0)
        return;
    const LoadedModule* previous = nullptr;
    for (int frame = 0; frame < kMaxReportFrames; ++frame) {
        unw_word_t ip = 0;
        if (unw_get_reg(&cursor, UNW_REG_IP, &ip) != 0 || ip == 0)
            break;
        const LoadedModule* module = modules.Find(ip);
        if (module == nullptr) {
            Line(text).Hex(ip, 16);
        } else {
            if (module != previous)
                Line(text).Hex(module->base, 16).Add("  ").Add(module->path);
            Line(text).Add("  +").Hex(ip - module->base, 8);
            if (frame == 0)
                text.Add("  Exception Offset");
        }
        previous = module;
        if (unw_step(&cursor) <= 0)
            break;
    }
}

} // namespace

void FormatCrashReport(FixedText& text, const CrashFacts& crash, const LoadedModules& modules,
                       const CrashSetting& setting) {
    const ThreadRegisters& registers = *crash.registers;
    text.Add(setting.systemLine);
    Line(text).Add("Process:  ").Add(setting.processPath);
    if (const LoadedModule* module = modules.Find(registers.rip)) {
        Line(text).Add("Module:  ").Add(module->path);
        AddDateModified(text, module->path, setting.utcOffset);
    } else {
        Line(text).Add("Exception Addr:  ").Hex(registers.rip, 16);
    }
    AddExceptionCode(text, crash.signal, crash.code);
    if (crash.badAccess) {
        Line(text).Add(crash.write ? "Write" : "Read").Add(" Address:  ");
        text.Hex(crash.faultAddress, 16);
    }
    AddInstruction(text, registers.rip);
    AddRegisters(text, registers);
    AddCallStack(text, modules, crash.context);
}
