#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// The headless run: the engine without a window, for screenshots and end-to-end tests.
//   Emulator --image FILE [--poke bit:ADDR=V | word:ADDR=V]... [--press KEY@MS]...
//            [--run-ms N] [--screenshot OUT.png] [--window-screenshot OUT.png]
// Memory is preset before the start-up; N milliseconds (default 2000) run after it, and a
// press at MS (counted from the end of the start-up) holds its key for 100 ms.
struct HeadlessOptions {
    struct Poke {
        bool bit = false;
        uint16_t address = 0;
        uint16_t value = 0;
    };
    struct Press {
        uint8_t key = 0;
        int atMs = 0;
    };
    QString image;
    std::vector<Poke> pokes;
    std::vector<Press> presses;
    int runMs = 2000;
    QString screenshot;
    QString windowScreenshot;
};

// True when the arguments ask for a headless run (a screenshot or a run length).
bool WantsHeadless(const QStringList& arguments);
// The options, or an error text naming the bad argument.
std::optional<HeadlessOptions> ParseHeadless(const QStringList& arguments, QString* error);
// Returns the process exit code: 0, or 1 when the image cannot be loaded or a file written.
int RunHeadless(const HeadlessOptions& options);
