#include "ThreadCapture.h"

#include "ByteOrder.h"

#include <atomic>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

int g_signal = 0;
std::atomic<bool> g_capturing{false};
// The thread asked for its registers; it claims the question by negating its id before it
// writes, so an asker that gave up never hands the slot on while it is being written.
std::atomic<pid_t> g_asked{0};
std::atomic<bool> g_answered{false};
ThreadRegisters* g_slot = nullptr;

constexpr long kWaitStepNs = 1000000;
constexpr int kStepsPerThread = 200; // 200 ms
constexpr int kStepsInAll = 2000;    // 2 s for all threads

void OnCaptureSignal(int, siginfo_t* info, void* context) {
    // Only our own crash handler's question counts.
    if (!g_capturing.load() || info->si_code != SI_TKILL || info->si_pid != getpid())
        return;
    const pid_t self = gettid();
    pid_t expected = self;
    if (g_asked.compare_exchange_strong(expected, -self)) {
        ReadRegisters(*static_cast<const ucontext_t*>(context), self, *g_slot);
        g_answered.store(true);
    }
    for (;;)
        pause();
}

void WaitStep() {
    const timespec step{0, kWaitStepNs};
    nanosleep(&step, nullptr);
}

bool Ask(pid_t tid, ThreadRegisters& slot, int& stepsLeft) {
    g_slot = &slot;
    g_answered.store(false);
    g_asked.store(tid);
    if (syscall(SYS_tgkill, getpid(), tid, g_signal) != 0) {
        g_asked.store(0);
        return false;
    }
    for (int step = 0; step < kStepsPerThread && stepsLeft > 0; ++step, --stepsLeft) {
        if (g_answered.load())
            return true;
        WaitStep();
    }
    pid_t expected = tid;
    if (g_asked.compare_exchange_strong(expected, 0))
        return false;
    // Claimed just now: the copy is short.
    while (!g_answered.load())
        WaitStep();
    return true;
}

pid_t ParseTid(const char* name) {
    pid_t tid = 0;
    for (; *name >= '0' && *name <= '9'; ++name)
        tid = tid * 10 + (*name - '0');
    return *name == '\0' ? tid : 0;
}

} // namespace

bool InstallThreadCapture() {
    const int signal = SIGRTMAX - 3;
    struct sigaction old {};
    if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
        return false;
    struct sigaction action {};
    action.sa_sigaction = OnCaptureSignal;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    if (sigaction(signal, &action, nullptr) != 0)
        return false;
    g_signal = signal;
    return true;
}

std::size_t CaptureOtherThreads(pid_t self, ThreadRegisters* out, std::size_t capacity) {
    if (g_signal == 0)
        return 0;
    const int tasks = open("/proc/self/task", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (tasks < 0)
        return 0;
    g_capturing.store(true);
    static std::uint8_t entries[4096];
    std::size_t count = 0;
    int stepsLeft = kStepsInAll;
    for (;;) {
        const long size = syscall(SYS_getdents64, tasks, entries, sizeof entries);
        if (size <= 0)
            break;
        // Each entry: inode (8), offset (8), record length (2), type (1), name.
        for (long at = 0; at + 19 < size;) {
            const std::uint16_t length = GetLE16(entries + at + 16);
            if (length == 0)
                break;
            const pid_t tid = ParseTid(reinterpret_cast<const char*>(entries + at + 19));
            if (tid > 0 && tid != self && count < capacity && Ask(tid, out[count], stepsLeft))
                ++count;
            at += length;
        }
    }
    close(tasks);
    return count;
}
