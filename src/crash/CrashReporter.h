#pragma once

// The crash reporter: when the program meets a fatal signal (a bad memory access, a bus error,
// an illegal instruction, an arithmetic fault, or an abort, which is also how an uncaught C++
// exception ends), it writes a text report and a minidump named after the local time,
// "Log/YYYY-MM-DD hhmmss.txt" and ".dmp" in the program folder, tells the user, and lets the
// process end with the signal.

// How the user hears of a crash.
enum class CrashNotice {
    Box,           // a fresh process of the program shows a message box (`--crash-notice REPORT`)
    StandardError, // the message goes to standard error, for the command-line verbs
};

// The message that a dump was made.
inline constexpr char kCrashNoticeMessage[] =
    "非常抱歉，由于检测到进程异常退出，已经产生DUMP调试文件！";

// Installs the handlers; called once, early at start-up. Everything the handler needs is
// prepared here, since it may neither allocate nor take locks. False when nothing could be
// installed.
bool InstallCrashReporter(CrashNotice notice);
