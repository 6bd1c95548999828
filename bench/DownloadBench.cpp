// A download of a 1 MiB image and a 64 KiB driver into the simulated panel, timed against the
// pauses the protocol itself mandates. Goal: at most 1.15 times those pauses.
//
// Runs itself again with libpanelsim.so preloaded when started without it.

#include "LibUSBDown.h"
#include "UsbFrame.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kRuns = 3;
constexpr double kGoal = 1.15;

class SilentDisplay : public DownloadDisplay {
public:
    void ResetDownloadPanel() override {}
    void SetFileProgressRange(int) override {}
    void SetFileProgressPos(int) override {}
    void SetOverallProgressPos(int) override {}
    void SetFileProgressText(const QString&) override {}
    void SetOverallProgressText(const QString&) override {}
    void EnableDownloadButtons(bool) override {}

protected:
    void AddLogLine(const QString&) override {}
};

QByteArray RandomBytes(int size) {
    QByteArray data(size, '\0');
    QRandomGenerator generator(250);
    for (char& c : data)
        c = static_cast<char>(generator.bounded(256));
    return data;
}

int FramesOfFile(qsizetype size) {
    return 2 + static_cast<int>((size + kBlockSize - 1) / kBlockSize); // information, blocks, end
}

// Milliseconds of fixed pauses in one download that sends both files.
int MandatedPauseMs(const DownloadJob& job) {
    const int frames = 1 + FramesOfFile(job.driver.size()) + FramesOfFile(job.image.size()) + 1 + 3;
    const int replies = 2 * 400;     // before the connect reply and the last reply
    const int files = 2 * (50 + 50); // before each file's data and after each file
    const int restarts = 3 * 100;
    return replies + files + frames * 1 + restarts + 1000;
}

} // namespace

int main(int argc, char* argv[]) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "libpanelsim.so")) {
        setenv("LD_PRELOAD", KV_BIN_DIR "/libpanelsim.so", 1);
        execv("/proc/self/exe", argv);
        std::perror("download_bench: cannot run itself again");
        return 1;
    }
    (void)argc;
    unsetenv("KV_PANELSIM_DELAY_MS");

    DownloadJob job;
    job.image = RandomBytes(1 << 20);
    job.driver = RandomBytes(64 << 10);
    const double mandated = MandatedPauseMs(job);

    std::vector<double> walls;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir panel; // an empty panel, so both files are sent in full
        qputenv("KV_PANELSIM_DIR", panel.path().toLocal8Bit());
        SilentDisplay display;
        LibUSBDown down(display);
        const auto start = std::chrono::steady_clock::now();
        const int result = down.Download(job);
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (result != 1) {
            std::fprintf(stderr, "download_bench: download %d failed\n", run + 1);
            return 1;
        }
        walls.push_back(wall);
        std::printf("run %d: wall %.0f ms, mandated pauses %.0f ms, ratio %.3f\n", run + 1, wall,
                    mandated, wall / mandated);
    }
    std::sort(walls.begin(), walls.end());
    const double median = walls[walls.size() / 2];
    std::printf("median: wall %.0f ms, mandated pauses %.0f ms, ratio %.3f (goal <= %.2f: %s)\n",
                median, mandated, median / mandated, kGoal,
                median / mandated <= kGoal ? "met" : "missed");
    return 0;
}
