#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

// A program started beside this one whose end can be waited for in slices. Dropping the object
// leaves the program running: a designer that closes never ends the Emulator it started.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` with `arguments` and this process's environment; false when it cannot
    // be started.
    bool Start(const QString& program, const QStringList& arguments);
    // True once the program has ended (at once when it never started); waits at most `ms`.
    bool WaitForEnd(int ms);

private:
    pid_t m_pid = -1;
};
