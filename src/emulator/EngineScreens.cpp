#include "BuiltinTexts.h"
#include "Engine.h"
#include "MessageFont.h"
#include "PanelDrawing.h"

namespace {

constexpr int kAlarmLeft = 10;
constexpr int kAlarmTop = 10;
constexpr int kAlarmLineGap = 5;
constexpr int kAlarmPageHeight = 222;

constexpr int kBoxLeft = 145, kBoxTop = 72, kBoxRight = 336, kBoxBottom = 200, kBoxBorder = 6;
constexpr uint16_t kBoxColour = 0x001F;
constexpr uint16_t kBoxBorderColour = 0x1206;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kHighlight = 0xFFE0;
constexpr uint16_t kMaskColour = 0xF800;
constexpr int kChoiceX = 196, kFirstChoiceY = 98, kSecondChoiceY = 120, kHintY = 160;
constexpr int kMaskY = 136, kFirstMaskX = 254, kMaskStep = 16;
constexpr size_t kPasswordDigits = 4;

} // namespace

void Engine::PollAlarms() {
    bool changed = false;
    for (size_t n = 0; n < m_alarmBits.size(); ++n) {
        PlcAddress bit = m_alarmSection.address;
        bit.address = static_cast<uint16_t>(bit.address + n);
        const std::optional<uint32_t> value = m_memory.ReadCached(bit, Access::Bit);
        if (value && (*value != 0) != m_alarmBits[n]) {
            m_alarmBits[n] = *value != 0;
            changed = true;
        }
    }
    if (changed && m_mode == Mode::Alarms)
        ShowAlarms();
}

void Engine::ShowAlarms() {
    if (!m_alarmsActive)
        return;
    if (m_mode != Mode::Alarms)
        m_alarmPage = 0;
    m_mode = Mode::Alarms;
    const int size = GlyphSize(m_alarmSection.sizeIndex);
    const size_t perPage =
        static_cast<size_t>(std::max(kAlarmPageHeight / (size + kAlarmLineGap), 1));
    std::vector<int> active;
    for (size_t n = 0; n < m_alarmBits.size(); ++n) {
        if (m_alarmBits[n])
            active.push_back(static_cast<int>(n));
    }
    if (m_alarmPage * perPage >= active.size() && m_alarmPage > 0)
        m_alarmPage = (active.size() - 1) / perPage;
    m_display.FillScreen(m_alarmSection.background);
    int y = kAlarmTop;
    for (size_t i = m_alarmPage * perPage; i < active.size() && i < (m_alarmPage + 1) * perPage;
         ++i) {
        const TextRun text = AlarmText(m_image, m_header.alarmSection, m_alarmSection, active[i]);
        DrawText(m_display, m_image, m_header, kAlarmLeft, y, text,
                 {m_alarmSection.textColour, m_alarmSection.textBackground,
                  m_alarmSection.drawTextBackground});
        m_display.HLine(0, y + size + 2, DisplayMemory::kWidth, m_alarmSection.textColour);
        y += size + kAlarmLineGap;
    }
}

void Engine::AlarmKey(uint8_t code) {
    const int size = GlyphSize(m_alarmSection.sizeIndex);
    const size_t perPage =
        static_cast<size_t>(std::max(kAlarmPageHeight / (size + kAlarmLineGap), 1));
    size_t active = 0;
    for (bool on : m_alarmBits)
        active += on;
    if (code == Key::kDown && (m_alarmPage + 1) * perPage < active) {
        ++m_alarmPage;
        ShowAlarms();
    } else if (code == Key::kUp && m_alarmPage > 0) {
        --m_alarmPage;
        ShowAlarms();
    } else if (code == Key::kEsc || code == Key::kAlm) {
        DrawFrame(m_frame);
    }
}

void Engine::ShowPassword() {
    m_mode = Mode::Password;
    m_passwordStep = PasswordStep::Choices;
    m_passwordChoice = 0;
    DrawPasswordBox();
}

void Engine::DrawPasswordBox() {
    m_display.FillRect(kBoxLeft, kBoxTop, kBoxRight - kBoxLeft + 1, kBoxBottom - kBoxTop + 1,
                       kBoxBorderColour);
    m_display.FillRect(kBoxLeft + kBoxBorder, kBoxTop + kBoxBorder,
                       kBoxRight - kBoxLeft + 1 - 2 * kBoxBorder,
                       kBoxBottom - kBoxTop + 1 - 2 * kBoxBorder, kBoxColour);
    if (m_passwordStep == PasswordStep::Typing) {
        DrawMessage(m_display, kChoiceX, kFirstChoiceY, BuiltinText::kPasswordPrompt, kWhite);
        for (size_t i = 0; i < m_typed.size(); ++i)
            DrawMessage(m_display, kFirstMaskX - kMaskStep * static_cast<int>(i), kMaskY,
                        BuiltinText::kMask, kMaskColour);
        return;
    }
    const char16_t* choices[2] = {BuiltinText::kLogin, BuiltinText::kLogout};
    const int ys[2] = {kFirstChoiceY, kSecondChoiceY};
    for (int i = 0; i < 2; ++i) {
        const bool selected = i == m_passwordChoice;
        if (selected)
            m_display.FillRect(kChoiceX - 2, ys[i] - 1, MessageWidth(choices[i]) + 4, 18,
                               kHighlight);
        DrawMessage(m_display, kChoiceX, ys[i], choices[i], selected ? kBoxColour : kWhite);
    }
    DrawMessage(m_display, kChoiceX, kHintY, BuiltinText::kPasswordHint, kWhite);
}

void Engine::PasswordMessage(const char16_t* message) {
    m_passwordStep = PasswordStep::Message;
    m_display.FillRect(kBoxLeft + kBoxBorder, kBoxTop + kBoxBorder,
                       kBoxRight - kBoxLeft + 1 - 2 * kBoxBorder,
                       kBoxBottom - kBoxTop + 1 - 2 * kBoxBorder, kBoxColour);
    DrawMessage(m_display, kChoiceX, kSecondChoiceY, message, kWhite);
}

void Engine::PasswordKey(uint8_t code) {
    switch (m_passwordStep) {
    case PasswordStep::Message:
        m_passwordStep = PasswordStep::Choices;
        DrawPasswordBox();
        return;
    case PasswordStep::Choices:
        if (code == Key::kUp || code == Key::kDown) {
            m_passwordChoice = 1 - m_passwordChoice;
            DrawPasswordBox();
        } else if (code == Key::kEsc) {
            DrawFrame(m_frame);
        } else if (code == Key::kEnt && m_passwordChoice == 1) {
            m_loggedIn = false;
            PasswordMessage(BuiltinText::kLoggedOut);
        } else if (code == Key::kEnt && m_loggedIn) {
            PasswordMessage(BuiltinText::kLoggedIn);
        } else if (code == Key::kEnt) {
            m_passwordStep = PasswordStep::Typing;
            m_typed.clear();
            DrawPasswordBox();
        }
        return;
    case PasswordStep::Typing:
        if (const int digit = KeyDigit(code); digit >= 0) {
            if (m_typed.size() < kPasswordDigits) {
                m_typed.push_back(static_cast<char>('0' + digit));
                DrawPasswordBox();
            }
        } else if (code == Key::kClr) {
            m_typed.clear();
            DrawPasswordBox();
        } else if (code == Key::kEsc) {
            m_passwordStep = PasswordStep::Choices;
            DrawPasswordBox();
        } else if (code == Key::kEnt) {
            m_loggedIn = !m_typed.empty() && std::stoi(m_typed) == m_header.password;
            PasswordMessage(m_loggedIn ? BuiltinText::kLoggedIn : BuiltinText::kPasswordWrong);
        }
        return;
    }
}
