// A small program that installs the crash reporter, with its Log folder beside it, and then
// crashes as its argument asks:
//   depth N     a write to address 0 at the end of a chain of N calls
//   threads N   the same with N more threads waiting in ParkedThread
//   overflow    a recursion that overflows the stack
//   throw       an exception that nothing catches

#include "CrashReporter.h"

#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

__attribute__((noinline, no_sanitize("undefined"))) void WriteToAddressZero() {
    volatile int* volatile address = nullptr;
    *address = 1;
}

[[gnu::noinline]] int Descend(int depth) {
    if (depth == 0) {
        WriteToAddressZero();
        return 0;
    }
    // Read after the call, so the call is neither a tail call nor folded into a loop.
    volatile int here = depth;
    const int below = Descend(depth - 1);
    return below + here;
}

// Stops only at `limit`, which the stack never reaches.
[[gnu::noinline]] int Overflow(int depth, int limit) {
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth == limit)
        return 0;
    return Overflow(depth + 1, limit) + frame[0];
}

std::mutex g_mutex;
std::condition_variable g_parked;
int g_parkedCount = 0;

[[gnu::noinline]] void ParkedThread() {
    std::unique_lock lock(g_mutex);
    ++g_parkedCount;
    g_parked.notify_all();
    g_parked.wait(lock, [] { return false; });
}

int CrashWithThreads(int count) {
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back(ParkedThread);
    {
        std::unique_lock lock(g_mutex);
        g_parked.wait(lock, [count] { return g_parkedCount == count; });
    }
    return Descend(1);
}

} // namespace

int main(int argc, char** argv) {
    if (!InstallCrashReporter(CrashNotice::StandardError))
        return 2;
    if (argc == 3 && std::strcmp(argv[1], "depth") == 0)
        return Descend(std::atoi(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "threads") == 0)
        return CrashWithThreads(std::atoi(argv[2]));
    if (argc == 2 && std::strcmp(argv[1], "overflow") == 0)
        return Overflow(0, INT_MAX);
    if (argc == 2 && std::strcmp(argv[1], "throw") == 0)
        throw std::runtime_error("nothing catches this");
    return 1;
}
