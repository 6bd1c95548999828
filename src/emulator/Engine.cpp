#include "Engine.h"

#include "BuiltinImages.h"
#include "BuiltinTexts.h"
#include "MessageFont.h"
#include "PanelDrawing.h"
#include "RegisterFormat.h"

#include <algorithm>

namespace {

constexpr uint16_t kBlue = 0x001F;
constexpr uint16_t kRed = 0xF800;
constexpr int kTickMs = 5;
constexpr int kBlinkTicks = 20;
constexpr int kSampleTicks = 40;
constexpr int kFailedCyclesShown = 11;
constexpr int kFrameCommandCycles = 5;
constexpr uint16_t kFrameCommandMask = 0x7FFF;
constexpr int kNoticeMs = 200;

// The sunken border of a register: dark on the top and left, light on the bottom and right.
constexpr uint16_t kSunkenOuterLight = 0xC778;
constexpr uint16_t kSunkenOuterDark = 0x0420;
constexpr uint16_t kSunkenInnerDark = 0x1040;
constexpr uint16_t kSunkenInnerLight = 0x75EC;

int64_t Clamp64(int64_t value, int64_t low, int64_t high) {
    return std::max(low, std::min(value, high));
}

} // namespace

Engine::Engine(PanelImage image) : m_image(std::move(image)) {
    m_display.FillScreen(kBlue);
}

void Engine::Advance(int milliseconds) {
    for (int i = 0; i < milliseconds; ++i)
        Step();
}

void Engine::Step() {
    ++m_now;
    Tick();
    switch (m_phase) {
    case Phase::Boot:
        m_display.FillScreen(kBlue);
        if (m_keyState == Key::kEnt)
            m_phase = Phase::EntHeld;
        else
            StartUp();
        break;
    case Phase::EntHeld:
        // ENT held through the start: the panel's service signal, a red screen and no runtime.
        if (m_keyState == Key::kEnt) {
            m_display.FillScreen(kRed);
            m_phase = Phase::Halted;
        } else {
            StartUp();
        }
        break;
    case Phase::Halted:
        break;
    case Phase::StartupWait:
        if (m_now >= m_waitUntil) {
            ApplyHeader();
            m_phase = Phase::Running;
        }
        break;
    case Phase::Running:
        if (m_afterWait && m_now >= m_waitUntil) {
            auto then = std::move(m_afterWait);
            m_afterWait = nullptr;
            then();
        }
        if (!m_afterWait)
            MainLoopPass();
        break;
    }
    m_memory.Serve();
}

void Engine::Tick() {
    if (m_now % kTickMs != 0)
        return;
    ++m_ticks;
    if (m_ticks % kBlinkTicks == 0) {
        m_blink = !m_blink;
        if (m_phase == Phase::Running && m_mode == Mode::Entry && !m_afterWait)
            DrawEntry();
    }
    if (m_ticks % kSampleTicks == 0) {
        ++m_sampleCounter;
        for (TrendState& trend : m_trends) {
            const uint16_t period = trend.record.samplingTime;
            if (period == 0 || m_sampleCounter % period == 0)
                trend.due = true;
        }
    }
}

void Engine::StartUp() {
    if (!HasHeaderMagic(m_image)) {
        m_phase = Phase::Halted;
        return;
    }
    m_header = ReadHeader(m_image);
    ApplyHeader();
    uint64_t wait = 1000;
    if (m_header.Has(kUseFrame) && FindFrame(m_image, m_header, m_header.useFrameIndex)) {
        ShowFrame(m_header.useFrameIndex);
        wait = uint64_t{m_header.useFrameSecond} * 100;
    }
    m_waitUntil = m_now + wait;
    m_phase = Phase::StartupWait;
}

void Engine::ApplyHeader() {
    m_memory.SetOffline(m_header.Has(kCanOffline));
    m_alarmsActive = m_header.alarms;
    if (m_alarmsActive) {
        m_alarmSection = ReadAlarmSection(m_image, m_header.alarmSection);
        m_alarmBits.assign(m_alarmSection.count, false);
    }
    m_protection = m_header.entryProtection;
    m_memory.ResetRecipe();
    m_mode = Mode::Frame;
    m_frame = {};
    ShowFrame(m_header.beginFrame);
    RefreshCycle();
}

void Engine::MainLoopPass() {
    ProcessKeys();
    if (m_afterWait)
        return;
    if (m_alarmsActive)
        PollAlarms();
    if (m_header.Has(kUseClock))
        ClockReport();
    if (m_mode == Mode::Frame || m_mode == Mode::Entry)
        RefreshCycle();
    ++m_cycles;
    if (m_header.Has(kAutoChange) && m_mode == Mode::Frame && m_cycles % kFrameCommandCycles == 0)
        FrameCommand();
}

bool Engine::ShowFrame(uint16_t id) {
    const std::optional<FrameRecord> frame =
        FindFrame(m_image, m_header, id == 0 ? m_header.beginFrame : id);
    if (!frame)
        return false;
    DrawFrame(*frame);
    return true;
}

void Engine::DrawFrame(const FrameRecord& frame) {
    m_frame = frame;
    m_mode = Mode::Frame;
    m_display.FillScreen(frame.background);
    m_keys.fill(KeyAction{});
    m_elements.clear();
    m_trends.clear();
    m_memory.ClearRequests();
    m_failedCycles = 0;
    m_errorShown = false;
    bool hasRegister = false;
    for (uint32_t i = 0; i < frame.elementCount; ++i) {
        const IndexEntry entry =
            ReadIndexEntry(m_image, frame.indexAddress + IndexEntryLayout::kSize * i);
        switch (entry.type) {
        case kTypeStaticText: {
            const StaticTextRecord text = ReadStaticText(m_image, entry.record);
            DrawText(m_display, m_image, m_header, text.left, text.top, text.text,
                     {text.foreground, text.background, text.drawBackground});
            break;
        }
        case kTypeFunctionKey: {
            const FunctionKeyRecord key = ReadFunctionKey(m_image, entry.record);
            if (key.keyCode < Key::kCount)
                m_keys[key.keyCode] = {key.action, key};
            DrawFunctionKey(m_display, key, false);
            break;
        }
        case kTypePicture:
            DrawPicture(m_display, m_image, m_header, ReadPicture(m_image, entry.record));
            break;
        case kTypeTrend: {
            TrendState trend{ReadTrend(m_image, entry.record), {}, false};
            DrawTrendFrame(m_display, trend.record);
            m_trends.push_back(trend);
            break;
        }
        case kTypeRegister:
            m_elements.push_back({ReadRegister(m_image, entry.record), std::nullopt});
            hasRegister = true;
            break;
        case kTypeIndicator:
            m_elements.push_back({ReadIndicator(m_image, entry.record), std::nullopt});
            break;
        case kTypeBar:
            m_elements.push_back({ReadBar(m_image, entry.record), std::nullopt});
            break;
        case kTypeDynamicText:
            m_elements.push_back({ReadDynamicText(m_image, entry.record), std::nullopt});
            break;
        default:
            break; // an unknown type code in a damaged image
        }
    }
    // Register entry takes SET unless a function key of the frame claims it.
    if (hasRegister && !m_keys[Key::kSet].key)
        m_keys[Key::kSet].action = ActionCode::kRegisterEntry;
    ReportFrame();
}

void Engine::RefreshCycle() {
    bool skipped = false;
    for (size_t i = 0; i < m_elements.size(); ++i) {
        DynamicElement& element = m_elements[i];
        if (m_mode == Mode::Entry && i == m_entry.registers[m_entry.position])
            continue; // the register being edited shows the entry
        PlcAddress address;
        Access access = Access::Bit;
        std::visit(
            [&](const auto& record) {
                address = record.address;
                if constexpr (!std::is_same_v<std::decay_t<decltype(record)>, IndicatorRecord>)
                    access = WordAccess(record.address.units);
            },
            element.record);
        const std::optional<uint32_t> value = m_memory.ReadCached(address, access);
        if (!value) {
            skipped = true;
            continue;
        }
        if (element.shown != value)
            DrawDynamic(element, *value);
    }
    for (TrendState& trend : m_trends) {
        if (!trend.due)
            continue;
        const std::optional<uint32_t> value =
            m_memory.ReadCached(trend.record.address, WordAccess(trend.record.address.units));
        if (!value) {
            skipped = true;
            continue;
        }
        trend.due = false;
        SampleTrend(trend, *value);
    }
    m_failedCycles = skipped ? m_failedCycles + 1 : 0;
    if (m_failedCycles >= kFailedCyclesShown && !m_errorShown) {
        DrawMessage(m_display, 380, 250, BuiltinText::kCommunicationError, kRed);
        m_errorShown = true;
    } else if (m_errorShown && !skipped) {
        DrawFrame(m_frame);
    }
}

void Engine::DrawDynamic(DynamicElement& element, uint32_t value) {
    element.shown = value;
    if (const auto* reg = std::get_if<RegisterRecord>(&element.record))
        DrawRegister(*reg,
                     RegisterGlyphs(DisplayValue(*reg, value), reg->width, reg->pointBits,
                                    reg->flags & kFlagDecimal),
                     -1);
    else if (const auto* lamp = std::get_if<IndicatorRecord>(&element.record))
        DrawLamp(*lamp, value);
    else if (const auto* bar = std::get_if<BarRecord>(&element.record))
        DrawBar(*bar, value);
    else if (const auto* text = std::get_if<DynamicTextRecord>(&element.record))
        DrawDynamicText(*text, value);
}

void Engine::DrawRegister(const RegisterRecord& reg, const std::vector<uint8_t>& glyphs,
                          int cursor) {
    const int size = GlyphSize(reg.sizeIndex);
    const uint16_t background = reg.drawBackground ? reg.background : m_frame.background;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        TextColours colours{reg.foreground, background, true};
        if (static_cast<int>(i) == cursor)
            std::swap(colours.foreground, colours.background);
        DrawHalfGlyph(m_display, m_image, m_header, reg.left + static_cast<int>(i) * (size / 2),
                      reg.top, reg.font, reg.sizeIndex, glyphs[i], colours);
    }
    const int width = reg.width * (size / 2);
    if (reg.border == 1) {
        m_display.Rect(reg.left - 1, reg.top - 1, width + 2, size + 2, reg.borderColour);
    } else if (reg.border == 2) {
        const int x = reg.left - 2, y = reg.top - 2, w = width + 4, h = size + 4;
        m_display.HLine(x, y, w, kSunkenOuterDark);
        m_display.VLine(x, y, h, kSunkenOuterDark);
        m_display.HLine(x, y + h - 1, w, kSunkenOuterLight);
        m_display.VLine(x + w - 1, y, h, kSunkenOuterLight);
        m_display.HLine(x + 1, y + 1, w - 2, kSunkenInnerDark);
        m_display.VLine(x + 1, y + 1, h - 2, kSunkenInnerDark);
        m_display.HLine(x + 1, y + h - 2, w - 2, kSunkenInnerLight);
        m_display.VLine(x + w - 2, y + 1, h - 2, kSunkenInnerLight);
    }
}

void Engine::DrawLamp(const IndicatorRecord& lamp, uint32_t bit) {
    const bool on = (bit != 0) == ((lamp.flags & kLampPositive) != 0);
    const bool round = lamp.flags & kLampRound;
    const int shape = (round ? 0 : 1) + (on ? 2 : 0);
    DrawImage(m_display, lamp.left, lamp.top, LampImage(shape, lamp.flags & kFlagDouble),
              round ? Blit::Transparent : Blit::Opaque);
}

void Engine::DrawBar(const BarRecord& bar, uint32_t raw) {
    const bool isSigned = bar.flags & kFlagSigned;
    const int64_t upper = LimitValue(bar.upper, isSigned);
    const int64_t lower = LimitValue(bar.lower, isSigned);
    const int64_t value = RawValue(raw, AccessBits(WordAccess(bar.address.units)), isSigned);
    const bool vertical = bar.direction != kBarLeft && bar.direction != kBarRight;
    const int extent = vertical ? bar.height : bar.width;
    int filled = 0;
    if (upper > lower) {
        const double fraction = static_cast<double>(Clamp64(value, lower, upper) - lower) /
                                static_cast<double>(upper - lower);
        filled = static_cast<int>(fraction * extent);
    }
    m_display.FillRect(bar.left, bar.top, bar.width, bar.height, bar.background);
    switch (bar.direction) {
    case kBarDown:
        m_display.FillRect(bar.left, bar.top, bar.width, filled, bar.foreground);
        break;
    case kBarLeft:
        m_display.FillRect(bar.left + bar.width - filled, bar.top, filled, bar.height,
                           bar.foreground);
        break;
    case kBarRight:
        m_display.FillRect(bar.left, bar.top, filled, bar.height, bar.foreground);
        break;
    case kBarUp:
    default:
        m_display.FillRect(bar.left, bar.top + bar.height - filled, bar.width, filled,
                           bar.foreground);
        break;
    }
}

void Engine::DrawDynamicText(const DynamicTextRecord& text, uint32_t value) {
    const int size = GlyphSize(text.sizeIndex);
    const uint16_t background = text.drawBackground ? text.background : m_frame.background;
    // Blanks over the whole field first: the item shown before may have been longer.
    m_display.FillRect(text.left, text.top, text.longest * (size / 2), size, background);
    for (int i = 0; i < text.itemCount; ++i) {
        uint16_t itemValue = 0;
        const TextRun item = DynamicTextItem(m_image, text, i, &itemValue);
        if (itemValue == static_cast<uint16_t>(value)) {
            DrawText(m_display, m_image, m_header, text.left, text.top, item,
                     {text.foreground, text.background, text.drawBackground});
            return;
        }
    }
}

void Engine::SampleTrend(TrendState& trend, uint32_t raw) {
    const TrendRecord& record = trend.record;
    const bool isSigned = record.flags & kFlagSigned;
    const int64_t upper = LimitValue(record.upper, isSigned);
    const int64_t lower = LimitValue(record.lower, isSigned);
    const int64_t value = RawValue(raw, AccessBits(WordAccess(record.address.units)), isSigned);
    const int top = std::max(record.height - 2, 0);
    int height = 0;
    if (value >= upper)
        height = top;
    else if (value > lower && upper > lower)
        height = static_cast<int>((value - lower) * top / (upper - lower));
    trend.heights.push_back(height);
    const size_t points = std::max<size_t>(record.samplingPoint, 1);
    // One more point than steps, so the newest sample sits at the right edge.
    while (trend.heights.size() > points + 1)
        trend.heights.pop_front();
    DrawTrend(trend);
}

void Engine::DrawTrend(const TrendState& trend) {
    const TrendRecord& record = trend.record;
    DrawTrendFrame(m_display, record);
    const int step = std::max(record.width - 3, 0) / std::max<int>(record.samplingPoint, 1);
    const int bottom = record.top + record.height - 1;
    for (size_t i = 0; i < trend.heights.size(); ++i) {
        const int x = record.left + 1 + static_cast<int>(i) * step;
        const int y = bottom - trend.heights[i];
        if (i == 0)
            m_display.Pixel(x, y, record.pen);
        else
            m_display.Line(x - step, bottom - trend.heights[i - 1], x, y, record.pen);
    }
}

PlcAddress Engine::SettingAddress(int step) const {
    PlcAddress address;
    address.station = m_header.settingStation;
    address.type = m_header.settingType;
    address.address =
        static_cast<uint16_t>(m_header.settingAddress + step * m_header.settingAddrInc);
    address.units = 2;
    address.subAddress = m_header.settingSubAddress;
    return address;
}

void Engine::FrameCommand() {
    const std::optional<uint32_t> command = m_memory.ReadCached(SettingAddress(0), Access::Word16);
    if (!command)
        return;
    const uint16_t id = static_cast<uint16_t>(*command & kFrameCommandMask);
    if (id == 0 || !FindFrame(m_image, m_header, id))
        return;
    if (id != m_frame.id)
        ShowFrame(id);
    m_memory.Write(SettingAddress(0), Access::Word16, 0);
}

void Engine::ReportFrame() {
    if (m_header.Has(kReportFrame))
        m_memory.Write(SettingAddress(m_header.Has(kAutoChange) ? 1 : 0), Access::Word16,
                       m_frame.id);
}

void Engine::ClockReport() {
    // The Emulator's clock stands still, so only a request from a clock write reports it.
    if (!m_memory.TakeClockRequest())
        return;
    const int first = (m_header.Has(kAutoChange) ? 1 : 0) + (m_header.Has(kReportFrame) ? 1 : 0);
    constexpr uint32_t kYear = 2000;
    const std::vector<uint32_t> registers = m_header.Has(kUseClockOld)
                                                ? std::vector<uint32_t>{0, 0, 0, (kYear % 100) << 8}
                                                : std::vector<uint32_t>{0, 0, 0, 0, 0, kYear, 0};
    for (size_t i = 0; i < registers.size(); ++i)
        m_memory.Write(SettingAddress(first + static_cast<int>(i)), Access::Word16, registers[i]);
}

void Engine::ShowNotice(const char16_t* message, uint16_t border, std::function<void()> then) {
    constexpr int kLeft = 145, kTop = 72, kRight = 336, kBottom = 150, kBorder = 6;
    m_display.FillRect(kLeft, kTop, kRight - kLeft + 1, kBottom - kTop + 1, border);
    m_display.FillRect(kLeft + kBorder, kTop + kBorder, kRight - kLeft + 1 - 2 * kBorder,
                       kBottom - kTop + 1 - 2 * kBorder, kRed);
    const int x = kLeft + (kRight - kLeft + 1 - MessageWidth(message)) / 2;
    DrawMessage(m_display, x, (kTop + kBottom) / 2 - 8, message, 0xFFFF);
    m_waitUntil = m_now + kNoticeMs;
    m_afterWait = std::move(then);
}
