#include "ThreadRegisters.h"

#include <cstring>

void ReadRegisters(const ucontext_t& context, pid_t tid, ThreadRegisters& out) {
    const greg_t* g = context.uc_mcontext.gregs;
    auto reg = [g](int index) { return static_cast<std::uint64_t>(g[index]); };
    out.tid = tid;
    out.rax = reg(REG_RAX);
    out.rbx = reg(REG_RBX);
    out.rcx = reg(REG_RCX);
    out.rdx = reg(REG_RDX);
    out.rsi = reg(REG_RSI);
    out.rdi = reg(REG_RDI);
    out.rbp = reg(REG_RBP);
    out.rsp = reg(REG_RSP);
    out.r8 = reg(REG_R8);
    out.r9 = reg(REG_R9);
    out.r10 = reg(REG_R10);
    out.r11 = reg(REG_R11);
    out.r12 = reg(REG_R12);
    out.r13 = reg(REG_R13);
    out.r14 = reg(REG_R14);
    out.r15 = reg(REG_R15);
    out.rip = reg(REG_RIP);
    out.eflags = reg(REG_EFL);
    // cs, gs, fs and (on newer kernels) ss, 16 bits each from the low end.
    const std::uint64_t segments = reg(REG_CSGSFS);
    out.cs = static_cast<std::uint16_t>(segments);
    out.gs = static_cast<std::uint16_t>(segments >> 16);
    out.fs = static_cast<std::uint16_t>(segments >> 32);
    out.ss = static_cast<std::uint16_t>(segments >> 48);
    out.hasFloat = context.uc_mcontext.fpregs != nullptr;
    if (out.hasFloat) {
        std::memcpy(out.fxsave, context.uc_mcontext.fpregs, sizeof out.fxsave);
        out.mxcsr = context.uc_mcontext.fpregs->mxcsr;
    }
}
