#pragma once

#include "DisplayMemory.h"
#include "ImageHeader.h"
#include "KeyAction.h"
#include "Keypad.h"
#include "PanelImage.h"
#include "RecordReaders.h"
#include "RuntimeMemory.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The panel runtime, driven by an explicit clock: Advance(1) is one millisecond of the panel
// (the 5 ms tick, the main loop pass and the memory worker's pass). The window calls it from
// its worker thread; tests and the headless mode call it directly, so a run is reproducible.
class Engine {
public:
    explicit Engine(PanelImage image);

    void Advance(int milliseconds);
    // The key state byte: the pressed key's code, Key::kNone when no key is down.
    void SetKey(uint8_t code) { m_keyState = code; }

    // True once the start-up (start-up frame and its wait) is over.
    bool Running() const { return m_phase == Phase::Running; }
    const DisplayMemory& Screen() const { return m_display; }
    DisplayMemory& Screen() { return m_display; }
    RuntimeMemory& Memory() { return m_memory; }
    const PanelImage& Image() const { return m_image; }
    uint16_t CurrentFrame() const { return m_frame.id; }
    bool LoggedIn() const { return m_loggedIn; }

private:
    enum class Phase { Boot, EntHeld, Halted, StartupWait, Running };
    enum class Mode { Frame, Entry, Alarms, Password };
    enum class PasswordStep { Choices, Typing, Message };

    struct KeyAction {
        uint8_t action = ActionCode::kReturnFrame;
        std::optional<FunctionKeyRecord> key;
    };
    using Dynamic = std::variant<RegisterRecord, IndicatorRecord, BarRecord, DynamicTextRecord>;
    struct DynamicElement {
        Dynamic record;
        std::optional<uint32_t> shown;
    };
    struct TrendState {
        TrendRecord record;
        std::deque<int> heights;
        bool due = false;
    };
    struct EntryState {
        std::vector<size_t> registers; // indexes into m_elements
        size_t position = 0;
        std::vector<int> digits;
        bool negative = false;
        int cursor = 0;
    };

    // start-up and main loop (Engine.cpp)
    void Step();
    void Tick();
    void StartUp();
    void ApplyHeader();
    void MainLoopPass();
    bool ShowFrame(uint16_t id);
    void DrawFrame(const FrameRecord& frame);
    void RefreshCycle();
    void DrawDynamic(DynamicElement& element, uint32_t value);
    void DrawRegister(const RegisterRecord& reg, const std::vector<uint8_t>& glyphs, int cursor);
    void DrawLamp(const IndicatorRecord& lamp, uint32_t bit);
    void DrawBar(const BarRecord& bar, uint32_t value);
    void DrawDynamicText(const DynamicTextRecord& text, uint32_t value);
    void SampleTrend(TrendState& trend, uint32_t value);
    void DrawTrend(const TrendState& trend);
    void FrameCommand();
    void ReportFrame();
    void ClockReport();
    PlcAddress SettingAddress(int step) const;
    void ShowNotice(const char16_t* message, uint16_t border, std::function<void()> then);

    // keys and actions (EngineKeys.cpp)
    void ProcessKeys();
    void PressKey(uint8_t code);
    void ReleaseKey(uint8_t code);
    void FrameKey(uint8_t code);
    void RunAction(const KeyAction& action, uint8_t code);
    void BuiltinAction(uint8_t code);
    void MultiStatus(const FunctionKeyRecord& key);
    void RecipeTransfer(const FunctionKeyRecord& key, bool upload);
    void RecipeBase(const FunctionKeyRecord& key, bool increase);

    // alarm and password screens (EngineScreens.cpp)
    void PollAlarms();
    void ShowAlarms();
    void AlarmKey(uint8_t code);
    void ShowPassword();
    void DrawPasswordBox();
    void PasswordKey(uint8_t code);
    void PasswordMessage(const char16_t* message);

    // register entry (EngineEntry.cpp)
    void StartEntry();
    void LoadEntry();
    void DrawEntry();
    void EntryKey(uint8_t code);
    void NextEntry();
    void EndEntry();
    bool WriteEntry();

    PanelImage m_image;
    ImageHeader m_header;
    DisplayMemory m_display;
    RuntimeMemory m_memory;

    Phase m_phase = Phase::Boot;
    Mode m_mode = Mode::Frame;
    uint64_t m_now = 0;
    uint64_t m_waitUntil = 0;
    std::function<void()> m_afterWait;

    std::atomic<uint8_t> m_keyState{Key::kNone};
    uint8_t m_lastKey = Key::kNone;
    std::optional<uint8_t> m_pendingKey;
    std::optional<PlcAddress> m_pulse;

    FrameRecord m_frame;
    std::array<KeyAction, Key::kCount> m_keys;
    std::vector<DynamicElement> m_elements;
    std::vector<TrendState> m_trends;
    int m_failedCycles = 0;
    bool m_errorShown = false;
    uint64_t m_cycles = 0;

    uint64_t m_ticks = 0;
    uint64_t m_sampleCounter = 0;
    bool m_blink = false;

    bool m_alarmsActive = false;
    AlarmSection m_alarmSection;
    std::vector<bool> m_alarmBits;
    size_t m_alarmPage = 0;

    bool m_protection = false;
    bool m_loggedIn = false;
    PasswordStep m_passwordStep = PasswordStep::Choices;
    int m_passwordChoice = 0;
    std::string m_typed;

    EntryState m_entry;
};
