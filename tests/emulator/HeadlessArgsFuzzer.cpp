// The headless mode's command line from arbitrary bytes, one argument a line. A refused
// command line always names its fault; an accepted one holds only values the run can use.

#include "Engine.h"
#include "HeadlessRun.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList arguments =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
            .split(u'\n');
    (void)WantsHeadless(arguments);
    QString error;
    const std::optional<HeadlessOptions> options = ParseHeadless(arguments, &error);
    if (!options) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    if (options->image.isEmpty() || options->runMs < 0)
        std::abort();
    for (const HeadlessOptions::Poke& poke : options->pokes) {
        if (poke.bit && poke.value > 1)
            std::abort();
    }
    for (const HeadlessOptions::Press& press : options->presses) {
        if (press.atMs < 0 || press.key >= Key::kCount)
            std::abort();
    }
    return 0;
}
