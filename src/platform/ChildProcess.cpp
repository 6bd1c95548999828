#include "ChildProcess.h"

#include <QFile>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

extern char** environ;

bool ChildProcess::Start(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> texts{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, texts.front().constData(), nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    m_pid = pid;
    return true;
}

bool ChildProcess::WaitForEnd(int ms) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(ms);
    while (m_pid > 0) {
        const pid_t ended = waitpid(m_pid, nullptr, WNOHANG);
        if (ended == m_pid || (ended < 0 && errno != EINTR)) {
            m_pid = -1;
            break;
        }
        if (steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(milliseconds(20));
    }
    return true;
}
