#include "ConsoleDownloadDisplay.h"

#include <cstdio>

namespace {
constexpr int kBarWidth = 40;
}

void ConsoleDownloadDisplay::ResetDownloadPanel() {
    EndBar();
    m_range = 100;
    m_pos = 0;
    m_text = QStringLiteral("0/0");
}

void ConsoleDownloadDisplay::SetFileProgressRange(int size) {
    EndBar();
    m_range = size;
    m_pos = 0;
}

void ConsoleDownloadDisplay::SetFileProgressPos(int pos) {
    m_pos = pos;
    DrawBar();
}

void ConsoleDownloadDisplay::SetFileProgressText(const QString& text) {
    m_text = text;
}

void ConsoleDownloadDisplay::AddLogLine(const QString& line) {
    EndBar();
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void ConsoleDownloadDisplay::DrawBar() {
    const int filled =
        m_range > 0 ? static_cast<int>(qint64(m_pos) * kBarWidth / m_range) : kBarWidth;
    const QByteArray bar = QByteArray(qBound(0, filled, kBarWidth), '#') +
                           QByteArray(kBarWidth - qBound(0, filled, kBarWidth), '.');
    std::fprintf(stderr, "\r[%s] %s", bar.constData(), m_text.toUtf8().constData());
    std::fflush(stderr);
    m_barShown = true;
}

void ConsoleDownloadDisplay::EndBar() {
    if (m_barShown)
        std::fputc('\n', stderr);
    m_barShown = false;
}
