#include "CrashReporter.h"

#include "CrashReport.h"
#include "FixedText.h"
#include "LoadedModules.h"
#include "Minidump.h"
#include "ProgramFolder.h"
#include "SafeMemory.h"
#include "ThreadCapture.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr std::size_t kAltStackSize = 256 * 1024;
constexpr std::size_t kMaxThreads = 256;
constexpr int kPageFaultTrap = 14;
constexpr std::uint64_t kWriteFault = 2; // page-fault error code: the access was a write

// Prepared at install, read by the handler.
struct Setup {
    CrashNotice notice = CrashNotice::Box;
    char logFolder[PATH_MAX] = {};
    char processPath[PATH_MAX] = {};
    char systemLine[1024] = {};
    std::int64_t utcOffset = 0;
    MinidumpSystem system;
};

Setup g_setup;

// The handler's working storage. The report has room for 20 frames in modules of the longest
// paths; FixedText cuts off whatever would not fit.
char g_report[256 * 1024];
char g_reportPath[PATH_MAX + 32];
char g_dumpPath[PATH_MAX + 32];
LoadedModules g_modules;
ThreadRegisters g_crashing;
ThreadRegisters g_others[kMaxThreads];

bool CopyInto(char* out, std::size_t capacity, const QByteArray& text) {
    if (text.isEmpty() || static_cast<std::size_t>(text.size()) >= capacity)
        return false;
    std::memcpy(out, text.constData(), static_cast<std::size_t>(text.size()) + 1);
    return true;
}

// "Log/YYYY-MM-DD hhmmss" + extension.
void FormatCrashPath(char* out, std::size_t capacity, const CivilTime& t, const char* extension) {
    FixedText path(out, capacity);
    path.Add(g_setup.logFolder).Add("/").Decimal(t.year, 4).Add("-").Decimal(t.month, 2);
    path.Add("-").Decimal(t.day, 2).Add(" ").Decimal(t.hour, 2).Decimal(t.minute, 2);
    path.Decimal(t.second, 2).Add(extension);
}

void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0)
            return;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

int CreateCrashFile(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

void WriteReport(const FixedText& text) {
    const int fd = CreateCrashFile(g_reportPath);
    if (fd < 0)
        return;
    WriteAll(fd, "\r\n", 2);
    WriteAll(fd, text.Data(), text.Size());
    close(fd);
}

// A fresh process shows the box; fork and exec are all this one may still do.
void StartNoticeProcess() {
    const pid_t child = static_cast<pid_t>(syscall(SYS_fork));
    if (child != 0)
        return;
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Whoever read the crashed program's output may be gone; the box must not die of writing
    // a warning there.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
    char notice[] = "--crash-notice";
    char* arguments[] = {g_setup.processPath, notice, g_reportPath, nullptr};
    execve(g_setup.processPath, arguments, environ);
    _exit(127);
}

void TellUser() {
    if (g_setup.notice == CrashNotice::Box) {
        StartNoticeProcess();
        return;
    }
    WriteAll(STDERR_FILENO, kCrashNoticeMessage, sizeof kCrashNoticeMessage - 1);
    WriteAll(STDERR_FILENO, "\n", 1);
    WriteAll(STDERR_FILENO, g_reportPath, std::strlen(g_reportPath));
    WriteAll(STDERR_FILENO, "\n", 1);
}

// The default action, taken when the handler returns: the process ends with the signal.
void EndWithSignal(int signal) {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signal, &standard, nullptr);
    syscall(SYS_tgkill, getpid(), gettid(), signal);
}

void OnFatalSignal(int signal, siginfo_t* info, void* context) {
    static std::atomic<bool> entered{false};
    if (entered.exchange(true)) {
        for (;;) // another thread writes the crash files; the process ends with it
            pause();
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const CivilTime local = ToCivilTime(now.tv_sec + g_setup.utcOffset);
    FormatCrashPath(g_reportPath, sizeof g_reportPath, local, ".txt");
    FormatCrashPath(g_dumpPath, sizeof g_dumpPath, local, ".dmp");
    mkdir(g_setup.logFolder, 0777);

    const auto* uc = static_cast<const ucontext_t*>(context);
    const pid_t self = gettid();
    ReadRegisters(*uc, self, g_crashing);
    g_modules.Scan();
    CrashFacts facts;
    facts.signal = signal;
    facts.code = info->si_code;
    facts.registers = &g_crashing;
    facts.context = uc;
    const greg_t* g = uc->uc_mcontext.gregs;
    const bool fromKernel = info->si_code > 0;
    if (fromKernel && signal != SIGABRT)
        facts.faultAddress = reinterpret_cast<std::uint64_t>(info->si_addr);
    facts.badAccess =
        fromKernel && (signal == SIGSEGV || signal == SIGBUS) && g[REG_TRAPNO] == kPageFaultTrap;
    facts.write = (static_cast<std::uint64_t>(g[REG_ERR]) & kWriteFault) != 0;
    const CrashSetting setting{g_setup.systemLine, g_setup.processPath, g_setup.utcOffset};
    FixedText report(g_report, sizeof g_report);
    FormatCrashReport(report, facts, g_modules, setting);
    WriteReport(report);

    MinidumpCrash dump;
    dump.pid = getpid();
    dump.time = static_cast<std::uint32_t>(now.tv_sec);
    dump.signal = signal;
    dump.code = info->si_code;
    dump.faultAddress = facts.faultAddress;
    dump.crashing = &g_crashing;
    dump.others = g_others;
    dump.otherCount = CaptureOtherThreads(self, g_others, kMaxThreads);
    dump.modules = &g_modules;
    dump.system = &g_setup.system;
    const int fd = CreateCrashFile(g_dumpPath);
    if (fd >= 0) {
        WriteMinidump(fd, dump);
        close(fd);
    }
    TellUser();
    EndWithSignal(signal);
}

// The handler runs on a stack of its own, so that an overflow of the main thread's stack is
// reported too (other threads run it on their own stacks); a guard page below it ends the process
// rather than corrupt memory.
bool InstallAlternateStack() {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* memory = mmap(nullptr, kAltStackSize + page, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return false;
    mprotect(memory, page, PROT_NONE);
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(memory) + page;
    stack.ss_size = kAltStackSize;
    return sigaltstack(&stack, nullptr) == 0;
}

QByteArray SystemLine() {
    return QStringLiteral("Linux:  %1 (%2), %3")
        .arg(QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture(),
             QSysInfo::prettyProductName())
        .toUtf8();
}

} // namespace

bool InstallCrashReporter(CrashNotice notice) {
    static bool installed = false;
    if (installed)
        return true;
    g_setup.notice = notice;
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (!CopyInto(g_setup.logFolder, sizeof g_setup.logFolder,
                  QFile::encodeName(ProgramFilePath(QStringLiteral("Log")))) ||
        !CopyInto(g_setup.processPath, sizeof g_setup.processPath, QFile::encodeName(program)))
        return false;
    CopyInto(g_setup.systemLine, sizeof g_setup.systemLine, SystemLine());
    g_setup.utcOffset = QDateTime::currentDateTime().offsetFromUtc();
    ReadMinidumpSystem(g_setup.system);
    if (!OpenSafeMemory() || !InstallAlternateStack())
        return false;
    InstallThreadCapture(); // without it the dump holds the crashing thread only

    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // A second fault while the handler runs ends the process at once.
    sigemptyset(&action.sa_mask);
    for (int signal : kFatalSignals)
        sigaddset(&action.sa_mask, signal);
    for (int signal : kFatalSignals) {
        if (sigaction(signal, &action, nullptr) != 0)
            return false;
    }
    installed = true;
    return true;
}
