#include "ConsoleCompileProgress.h"

#include <QByteArray>

#include <algorithm>

namespace {

constexpr int kBarWidth = 40;

} // namespace

void ConsoleCompileProgress::Reset() {
    m_nRange = 0;
    m_nPos = 0;
    m_bBarShown = false;
}

void ConsoleCompileProgress::SetOverallRange(int steps) {
    m_nRange = std::max(steps, 1);
    m_nPos = 0;
}

void ConsoleCompileProgress::StepOverall() {
    m_nPos = std::min(m_nPos + 1, m_nRange);
    DrawBar();
}

void ConsoleCompileProgress::SetOverallPercent(int percent) {
    m_nPos = m_nRange * std::clamp(percent, 0, 100) / 100;
    DrawBar();
}

// Per-element titles ("画面0 / 控件3") would flood the terminal; only the phase texts are
// printed, the elements show in the bar.
void ConsoleCompileProgress::SetTitle(const QString& title) {
    if (title.startsWith(QStringLiteral("画面")))
        return;
    if (m_bBarShown)
        std::fputc('\n', m_pStream);
    m_bBarShown = false;
    std::fprintf(m_pStream, "正在编译：%s\n", title.toLocal8Bit().constData());
    DrawBar();
}

void ConsoleCompileProgress::DrawBar() {
    const int filled = m_nRange > 0 ? kBarWidth * m_nPos / m_nRange : 0;
    const QByteArray bar = QByteArray(filled, '#') + QByteArray(kBarWidth - filled, ' ');
    std::fprintf(m_pStream, "\r[%s] %d / %d", bar.constData(), m_nPos, m_nRange);
    std::fflush(m_pStream);
    m_bBarShown = true;
}
