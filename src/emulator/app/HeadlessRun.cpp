#include "HeadlessRun.h"

#include "Engine.h"
#include "ImageLoader.h"
#include "PanelKeys.h"
#include "PanelSkin.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdio>

namespace {

// How long a --press holds its key down.
constexpr int kPressMs = 100;
// The longest start-up: a start-up frame shown for 255 x 100 ms, plus the start itself.
constexpr int kLongestStartupMs = 26000;

std::optional<uint32_t> Number(const QString& text, uint32_t maximum) {
    bool ok = false;
    const qulonglong value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                 ? text.mid(2).toULongLong(&ok, 16)
                                 : text.toULongLong(&ok, 10);
    if (!ok || value > maximum)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<HeadlessOptions::Poke> ParsePoke(const QString& spec) {
    static const QRegularExpression form(QStringLiteral("^(bit|word):([^=]+)=(.+)$"));
    const QRegularExpressionMatch match = form.match(spec);
    if (!match.hasMatch())
        return std::nullopt;
    const bool bit = match.captured(1) == QLatin1String("bit");
    const std::optional<uint32_t> address = Number(match.captured(2), 0xFFFF);
    const std::optional<uint32_t> value = Number(match.captured(3), bit ? 1 : 0xFFFF);
    if (!address || !value)
        return std::nullopt;
    return HeadlessOptions::Poke{bit, static_cast<uint16_t>(*address),
                                 static_cast<uint16_t>(*value)};
}

std::optional<HeadlessOptions::Press> ParsePress(const QString& spec) {
    const qsizetype at = spec.lastIndexOf(QLatin1Char('@'));
    if (at <= 0)
        return std::nullopt;
    const std::optional<uint8_t> key = KeyCodeByName(spec.left(at));
    const std::optional<uint32_t> ms = Number(spec.mid(at + 1), 10'000'000);
    if (!key || !ms)
        return std::nullopt;
    return HeadlessOptions::Press{*key, static_cast<int>(*ms)};
}

bool Save(const QImage& picture, const QString& path) {
    if (path.isEmpty())
        return true;
    if (picture.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "Emulator: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

bool WantsHeadless(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--screenshot") ||
            argument == QLatin1String("--window-screenshot") ||
            argument == QLatin1String("--run-ms"))
            return true;
    }
    return false;
}

std::optional<HeadlessOptions> ParseHeadless(const QStringList& arguments, QString* error) {
    HeadlessOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        if (i + 1 >= arguments.size()) {
            *error = QStringLiteral("%1 needs a value").arg(option);
            return std::nullopt;
        }
        const QString value = arguments[++i];
        if (option == QLatin1String("--image")) {
            options.image = value;
        } else if (option == QLatin1String("--poke")) {
            const std::optional<HeadlessOptions::Poke> poke = ParsePoke(value);
            if (!poke) {
                *error = QStringLiteral("bad --poke %1 (bit:ADDR=0|1 or word:ADDR=V)").arg(value);
                return std::nullopt;
            }
            options.pokes.push_back(*poke);
        } else if (option == QLatin1String("--press")) {
            const std::optional<HeadlessOptions::Press> press = ParsePress(value);
            if (!press) {
                *error = QStringLiteral("bad --press %1 (KEY@MS)").arg(value);
                return std::nullopt;
            }
            options.presses.push_back(*press);
        } else if (option == QLatin1String("--run-ms")) {
            const std::optional<uint32_t> ms = Number(value, 10'000'000);
            if (!ms) {
                *error = QStringLiteral("bad --run-ms %1").arg(value);
                return std::nullopt;
            }
            options.runMs = static_cast<int>(*ms);
        } else if (option == QLatin1String("--screenshot")) {
            options.screenshot = value;
        } else if (option == QLatin1String("--window-screenshot")) {
            options.windowScreenshot = value;
        } else {
            *error = QStringLiteral("unknown option %1").arg(option);
            return std::nullopt;
        }
    }
    if (options.image.isEmpty()) {
        *error = QStringLiteral("--image FILE is missing");
        return std::nullopt;
    }
    return options;
}

int RunHeadless(const HeadlessOptions& options) {
    std::optional<PanelImage> image = ImageLoader::FromFile(options.image);
    if (!image) {
        std::fprintf(stderr, "Emulator: [1001] cannot load %s\n", qPrintable(options.image));
        return 1;
    }
    Engine engine(std::move(*image));
    for (const HeadlessOptions::Poke& poke : options.pokes) {
        if (poke.bit)
            engine.Memory().Plc().SetBit(poke.address, poke.value != 0);
        else
            engine.Memory().Plc().SetWord(poke.address, 16, poke.value);
    }
    for (int ms = 0; ms < kLongestStartupMs && !engine.Running(); ++ms)
        engine.Advance(1);

    // Key state per millisecond: a press holds its key until released or replaced.
    std::vector<HeadlessOptions::Press> presses = options.presses;
    std::stable_sort(presses.begin(), presses.end(),
                     [](const auto& a, const auto& b) { return a.atMs < b.atMs; });
    size_t next = 0;
    int releaseAt = -1;
    for (int ms = 0; ms < options.runMs; ++ms) {
        if (ms == releaseAt)
            engine.SetKey(Key::kNone);
        if (next < presses.size() && presses[next].atMs == ms) {
            engine.SetKey(presses[next].key);
            releaseAt = ms + kPressMs;
            ++next;
            while (next < presses.size() && presses[next].atMs == ms)
                ++next; // one key at a time, as on the panel
        }
        engine.Advance(1);
    }
    const QImage display = engine.Screen().ToImage();
    const bool saved = Save(display, options.screenshot) &&
                       (options.windowScreenshot.isEmpty() ||
                        Save(ComposePanel(display), options.windowScreenshot));
    return saved ? 0 : 1;
}
