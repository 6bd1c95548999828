#include "BuiltinTexts.h"
#include "Engine.h"
#include "PanelDrawing.h"
#include "RegisterFormat.h"

namespace {

constexpr uint16_t kSelection = 0xF800;
constexpr uint16_t kNoticeBorder = 0x1106;

// Digit places of a register: its width without the point and the sign.
int DigitCount(const RegisterRecord& reg) {
    return reg.width - (reg.pointBits > 0 ? 1 : 0) - ((reg.flags & kFlagSigned) ? 1 : 0);
}

int Base(const RegisterRecord& reg) {
    return (reg.flags & kFlagDecimal) ? 10 : 16;
}

} // namespace

void Engine::StartEntry() {
    m_entry = {};
    for (size_t i = 0; i < m_elements.size(); ++i) {
        const auto* reg = std::get_if<RegisterRecord>(&m_elements[i].record);
        if (!reg || !(reg->flags2 & kRegSetting) || DigitCount(*reg) <= 0)
            continue;
        if ((reg->flags & kRegEncrypt) && !m_loggedIn)
            continue;
        m_entry.registers.push_back(i);
    }
    if (m_entry.registers.empty())
        return;
    m_mode = Mode::Entry;
    LoadEntry();
}

void Engine::LoadEntry() {
    const auto& reg =
        std::get<RegisterRecord>(m_elements[m_entry.registers[m_entry.position]].record);
    const int64_t value =
        DisplayValue(reg, m_memory.Read(reg.address, WordAccess(reg.address.units)));
    const int count = DigitCount(reg);
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    m_entry.digits.assign(static_cast<size_t>(count), 0);
    for (int i = count - 1; i >= 0; --i) {
        m_entry.digits[static_cast<size_t>(i)] =
            static_cast<int>(magnitude % static_cast<uint64_t>(Base(reg)));
        magnitude /= static_cast<uint64_t>(Base(reg));
    }
    m_entry.negative = value < 0;
    m_entry.cursor = 0;
    DrawEntry();
}

void Engine::DrawEntry() {
    const auto& reg =
        std::get<RegisterRecord>(m_elements[m_entry.registers[m_entry.position]].record);
    std::vector<uint8_t> glyphs;
    int cursorGlyph = -1;
    if (reg.flags & kFlagSigned)
        glyphs.push_back(m_entry.negative ? RegisterGlyph::kMinus : RegisterGlyph::kBlank);
    const int count = static_cast<int>(m_entry.digits.size());
    for (int i = 0; i < count; ++i) {
        if (reg.pointBits > 0 && i == count - reg.pointBits)
            glyphs.push_back(RegisterGlyph::kPoint);
        if (i == m_entry.cursor && m_blink)
            cursorGlyph = static_cast<int>(glyphs.size());
        glyphs.push_back(static_cast<uint8_t>(m_entry.digits[static_cast<size_t>(i)]));
    }
    DrawRegister(reg, glyphs, cursorGlyph);
    const int size = GlyphSize(reg.sizeIndex);
    const int width = reg.width * (size / 2);
    m_display.Rect(reg.left - 3, reg.top - 3, width + 6, size + 6, kSelection);
    m_display.Rect(reg.left - 4, reg.top - 4, width + 8, size + 8, kSelection);
}

void Engine::EntryKey(uint8_t code) {
    const auto& reg =
        std::get<RegisterRecord>(m_elements[m_entry.registers[m_entry.position]].record);
    const int base = Base(reg);
    const int last = static_cast<int>(m_entry.digits.size()) - 1;
    int& digit = m_entry.digits[static_cast<size_t>(m_entry.cursor)];
    if (const int typed = KeyDigit(code); typed >= 0) {
        digit = typed;
        m_entry.cursor = std::min(m_entry.cursor + 1, last);
    } else if (code == Key::kUp) {
        digit = (digit + 1) % base;
    } else if (code == Key::kDown) {
        digit = (digit + base - 1) % base;
    } else if (code == Key::kLeft) {
        m_entry.cursor = std::max(m_entry.cursor - 1, 0);
    } else if (code == Key::kRight) {
        m_entry.cursor = std::min(m_entry.cursor + 1, last);
    } else if (code == Key::kClr) {
        std::fill(m_entry.digits.begin(), m_entry.digits.end(), 0);
        m_entry.negative = false;
        m_entry.cursor = 0;
    } else if (code == Key::kPlusMinus) {
        if (reg.flags & kFlagSigned)
            m_entry.negative = !m_entry.negative;
    } else if (code == Key::kSet) {
        NextEntry();
        return;
    } else if (code == Key::kEnt) {
        if (WriteEntry())
            NextEntry();
        return;
    } else if (code == Key::kEsc) {
        EndEntry();
        return;
    }
    DrawEntry();
}

bool Engine::WriteEntry() {
    DynamicElement& element = m_elements[m_entry.registers[m_entry.position]];
    const auto& reg = std::get<RegisterRecord>(element.record);
    const bool isSigned = reg.flags & kFlagSigned;
    // Unsigned, so a field wider than 64 bits wraps instead of overflowing; the register's
    // width cuts the value anyway.
    uint64_t magnitude = 0;
    for (int digit : m_entry.digits)
        magnitude = magnitude * static_cast<uint64_t>(Base(reg)) + static_cast<uint64_t>(digit);
    int64_t value = static_cast<int64_t>(m_entry.negative ? 0 - magnitude : magnitude);
    if (reg.flags & kRegHaveLimit) {
        std::optional<int64_t> raw = value;
        if (reg.flags & kRegScaling)
            raw = Interpolate(
                LimitValue(reg.rawLower, isSigned), LimitValue(reg.rawUpper, isSigned), value,
                LimitValue(reg.engLower, isSigned), LimitValue(reg.engUpper, isSigned));
        if (!raw || *raw < LimitValue(reg.rawLower, isSigned) ||
            *raw > LimitValue(reg.rawUpper, isSigned)) {
            ShowNotice(BuiltinText::kValueRefused, kNoticeBorder, [this] {
                const EntryState entry = m_entry;
                DrawFrame(m_frame);
                m_entry = entry;
                m_mode = Mode::Entry;
                DrawEntry();
            });
            return false;
        }
        value = *raw;
    }
    m_memory.Write(reg.address, WordAccess(reg.address.units), static_cast<uint32_t>(value));
    element.shown.reset();
    return true;
}

void Engine::NextEntry() {
    m_elements[m_entry.registers[m_entry.position]].shown.reset();
    if (++m_entry.position >= m_entry.registers.size()) {
        EndEntry();
        return;
    }
    LoadEntry();
}

void Engine::EndEntry() {
    DrawFrame(m_frame);
}
