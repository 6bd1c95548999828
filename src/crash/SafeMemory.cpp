#include "SafeMemory.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};

constexpr std::uint64_t kPage = 4096;

// Raw system calls: a sanitizer's wrappers would check the memory read against their own
// bookkeeping and report the stacks of other threads as errors.
long RawWrite(int fd, const void* data, std::size_t size) {
    return syscall(SYS_write, fd, data, size);
}

long RawRead(int fd, void* data, std::size_t size) {
    return syscall(SYS_read, fd, data, size);
}

} // namespace

bool OpenSafeMemory() {
    return g_pipe[0] >= 0 || pipe2(g_pipe, O_CLOEXEC) == 0;
}

std::size_t ReadMemory(std::uint64_t address, void* out, std::size_t size) {
    if (g_pipe[0] < 0)
        return 0;
    auto* bytes = static_cast<unsigned char*>(out);
    std::size_t done = 0;
    // A page at a time, well below the pipe's capacity, so a write never blocks.
    while (done < size) {
        const std::uint64_t at = address + done;
        std::size_t piece = static_cast<std::size_t>(kPage - at % kPage);
        if (piece > size - done)
            piece = size - done;
        const long written = RawWrite(g_pipe[1], reinterpret_cast<const void*>(at), piece);
        if (written <= 0)
            break;
        for (long taken = 0; taken < written;) {
            const long got =
                RawRead(g_pipe[0], bytes + done + taken, static_cast<std::size_t>(written - taken));
            if (got <= 0)
                return done;
            taken += got;
        }
        done += static_cast<std::size_t>(written);
        if (static_cast<std::size_t>(written) < piece)
            break;
    }
    return done;
}
