#pragma once

#include <cstdint>
#include <sys/types.h>
#include <ucontext.h>

// One thread's x86-64 registers as the kernel saved them when a signal interrupted it.
struct ThreadRegisters {
    pid_t tid = 0;
    std::uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0, rsi = 0, rdi = 0, rbp = 0, rsp = 0;
    std::uint64_t r8 = 0, r9 = 0, r10 = 0, r11 = 0, r12 = 0, r13 = 0, r14 = 0, r15 = 0;
    std::uint64_t rip = 0;
    std::uint64_t eflags = 0;
    std::uint16_t cs = 0, fs = 0, gs = 0, ss = 0;
    bool hasFloat = false;
    std::uint32_t mxcsr = 0;
    std::uint8_t fxsave[512] = {}; // the FXSAVE image of the x87, MMX and SSE state
};

void ReadRegisters(const ucontext_t& context, pid_t tid, ThreadRegisters& out);
