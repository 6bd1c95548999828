// The 100-picture file (tests/support/PictureFlood.h): its pictures' headers claim 16 MiB each
// while the file holds 31 KB. Prints the time and peak memory of loading, saving and compiling
// it, in this process and through the designer's command line (goal: each under 1 s and
// 200 MB).
//   picture_bench [PICTURES]

#include "CompileHelper.h"
#include "KoravelProject.h"
#include "PLCFactory.h"
#include "PictureFlood.h"
#include "TextFont.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double PeakMb(const rusage& usage) {
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Runs the designer with `arguments`, output dropped; prints its time and peak memory.
void RunDesigner(const char* what, std::vector<QByteArray> arguments) {
    arguments.insert(arguments.begin(), QByteArray(KV_BIN_DIR "/designer"));
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid) {
        std::printf("%-24s cannot run %s\n", what, argv[0]);
        return;
    }
    std::printf("%-24s %8.1f ms  peak %6.1f MB  exit %d\n", what, MsSince(start), PeakMb(usage),
                WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutions();
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 100;
    const QByteArray flood = PictureFloodProject(pictures);
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("flood.kvpr"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) || file.write(flood) != flood.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
        return 1;
    }
    file.close();
    std::printf("%d hostile pictures, file %lld bytes\n", pictures,
                static_cast<long long>(flood.size()));

    CPLCFactory catalog;
    if (!catalog.Load(QStringLiteral(KV_BIN_DIR "/Factory.dll"))) {
        std::fprintf(stderr, "cannot load the catalog of %s\n", KV_BIN_DIR);
        return 1;
    }
    CKoravelProject project;
    QStringList messages;
    Clock::time_point start = Clock::now();
    const bool loaded = project.LoadBytes(flood, catalog, messages);
    std::printf("%-24s %8.1f ms  %s\n", "load", MsSince(start), loaded ? "ok" : "failed");
    start = Clock::now();
    const bool saved = project.SavePlain(dir.filePath(QStringLiteral("flood.xml")));
    std::printf("%-24s %8.1f ms  %s\n", "save plain", MsSince(start), saved ? "ok" : "failed");
    CCompileHelper compiler;
    QByteArray image;
    QString error;
    start = Clock::now();
    const bool compiled = compiler.Compile(project, image, error);
    std::printf("%-24s %8.1f ms  %s, image %lld bytes\n", "compile", MsSince(start),
                compiled ? "ok" : qPrintable(error), static_cast<long long>(image.size()));
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    std::printf("%-24s           peak %6.1f MB\n", "this process", PeakMb(self));

    RunDesigner("designer --save-plain",
                {"--save-plain", input.toLocal8Bit(), dir.filePath("cli.xml").toLocal8Bit()});
    RunDesigner("designer --compile", {"--compile", input.toLocal8Bit(), "--output",
                                       dir.filePath("cli.dat").toLocal8Bit()});
    return 0;
}
