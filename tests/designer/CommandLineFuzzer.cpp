// The designer's command line from arbitrary bytes, one argument a line after the program
// name: parsed as the program parses it, without running the verb.

#include "CommandLine.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<QByteArray> lines = bytes.split('\n');
    lines.prepend("designer");
    std::vector<char*> argv;
    QStringList arguments;
    for (QByteArray& line : lines) {
        argv.push_back(line.data());
        arguments << QString::fromLocal8Bit(line);
    }
    const int argc = static_cast<int>(argv.size());
    (void)HasVerb(argc, argv.data());
    (void)IsCommandLineVerb(argc, argv.data());
    (void)IsCrashNoticeVerb(argc, argv.data());

    const CommandLineRequest request = ParseCommandLine(arguments);
    using Verb = CommandLineRequest::Verb;
    if (request.verb == Verb::Usage && !request.project.isEmpty())
        std::abort();
    if (request.verb == Verb::Publish &&
        (request.publish.output.isEmpty() || request.publish.project != request.project))
        std::abort();
    return 0;
}
