#include "BuiltinTexts.h"
#include "Engine.h"
#include "PanelDrawing.h"
#include "RegisterFormat.h"

namespace {

constexpr uint16_t kNoticeBorder = 0x1106;
constexpr int kRecipeStoreSize = RuntimeMemory::kRecipeStoreSize;

// The codes a function key brings; the others are the panel's own.
bool IsFunctionKeyAction(uint8_t action) {
    return (action >= ActionCode::kSetBitOn && action <= ActionCode::kRecipeBaseSub) ||
           action == ActionCode::kJumpFrame || action == ActionCode::kAlarmList;
}

} // namespace

void Engine::ProcessKeys() {
    const uint8_t state = m_keyState;
    if (state != m_lastKey) {
        if (m_lastKey != Key::kNone)
            ReleaseKey(m_lastKey);
        if (state != Key::kNone)
            PressKey(state);
        m_lastKey = state;
    }
    if (!m_pendingKey)
        return;
    const uint8_t code = *m_pendingKey;
    m_pendingKey.reset();
    switch (m_mode) {
    case Mode::Frame:
        FrameKey(code);
        break;
    case Mode::Entry:
        EntryKey(code);
        break;
    case Mode::Alarms:
        AlarmKey(code);
        break;
    case Mode::Password:
        PasswordKey(code);
        break;
    }
}

void Engine::PressKey(uint8_t code) {
    m_pendingKey = code;
    if (m_mode == Mode::Frame && code < Key::kCount && m_keys[code].key)
        DrawFunctionKey(m_display, *m_keys[code].key, true);
}

void Engine::ReleaseKey(uint8_t code) {
    if (m_pulse) {
        m_memory.Write(*m_pulse, Access::Bit, 0);
        m_pulse.reset();
    }
    if (m_mode == Mode::Frame && code < Key::kCount && m_keys[code].key)
        DrawFunctionKey(m_display, *m_keys[code].key, false);
}

void Engine::FrameKey(uint8_t code) {
    if (code >= Key::kCount)
        return;
    const KeyAction& action = m_keys[code];
    if (action.key && IsFunctionKeyAction(action.action) && (action.key->flags & kKeyProtected) &&
        !m_loggedIn) {
        ShowNotice(BuiltinText::kProtectedKey, kNoticeBorder, [this] { DrawFrame(m_frame); });
        return;
    }
    RunAction(action, code);
}

void Engine::RunAction(const KeyAction& action, uint8_t code) {
    const FunctionKeyRecord key = action.key.value_or(FunctionKeyRecord{});
    switch (action.action) {
    case ActionCode::kSetBitOn:
        m_memory.Write(key.address, Access::Bit, 1);
        break;
    case ActionCode::kSetBitOff:
        m_memory.Write(key.address, Access::Bit, 0);
        break;
    case ActionCode::kSetBitReverse:
        m_memory.Write(key.address, Access::Bit, m_memory.Read(key.address, Access::Bit) ? 0 : 1);
        break;
    case ActionCode::kSetBitPulse:
        m_memory.Write(key.address, Access::Bit, 1);
        m_pulse = key.address;
        break;
    case ActionCode::kSetRegister:
        m_memory.Write(key.address, WordAccess(key.address.units), key.parameter);
        break;
    case ActionCode::kMultiStatusAdd:
    case ActionCode::kMultiStatusSub:
        MultiStatus(key);
        break;
    case ActionCode::kRecipeUpload:
    case ActionCode::kRecipeDownload:
        RecipeTransfer(key, action.action == ActionCode::kRecipeUpload);
        break;
    case ActionCode::kRecipeBaseAdd:
    case ActionCode::kRecipeBaseSub:
        RecipeBase(key, action.action == ActionCode::kRecipeBaseAdd);
        break;
    case ActionCode::kRegisterEntry:
        StartEntry();
        break;
    case ActionCode::kJumpFrame:
        ShowFrame(key.jumpFrame);
        break;
    case ActionCode::kReturnFrame:
        BuiltinAction(code);
        break;
    case ActionCode::kAlarmList:
        ShowAlarms();
        break;
    case ActionCode::kPasswordList:
        ShowPassword();
        break;
    default:
        break; // kPushJump and unknown codes do nothing
    }
}

void Engine::BuiltinAction(uint8_t code) {
    switch (code) {
    case Key::kEsc:
        ShowFrame(m_header.beginFrame);
        break;
    case Key::kDown:
        ShowFrame(m_frame.nextId);
        break;
    case Key::kUp:
        ShowFrame(m_frame.prevId);
        break;
    case Key::kAlm:
        if (m_alarmsActive)
            ShowAlarms();
        break;
    case Key::kEnt:
        if (m_protection)
            ShowPassword();
        break;
    default:
        break;
    }
}

void Engine::MultiStatus(const FunctionKeyRecord& key) {
    const Access access = WordAccess(key.address.units);
    const int bits = AccessBits(access);
    const bool isSigned = key.flags & kFlagSigned;
    const int64_t value = RawValue(m_memory.Read(key.address, access), bits, isSigned);
    const int64_t limit = LimitValue(key.parameter, isSigned);
    // No wrap-around at the register's width: the limit stops the step.
    int64_t result = 0;
    if (key.action == ActionCode::kMultiStatusAdd)
        result = value + key.step > limit ? limit : value + key.step;
    else
        result = value - key.step < limit ? limit : value - key.step;
    m_memory.Write(key.address, access, static_cast<uint32_t>(result));
}

void Engine::RecipeTransfer(const FunctionKeyRecord& key, bool upload) {
    ShowNotice(upload ? BuiltinText::kRecipeUpload : BuiltinText::kRecipeDownload, kNoticeBorder,
               [this] {
                   DrawFrame(m_frame);
                   RefreshCycle();
               });
    const Access access = WordAccess(key.address.units);
    const int words = access == Access::Word32 ? 2 : 1;
    PlcAddress address = key.address;
    address.address = static_cast<uint16_t>(address.address + m_memory.RecipeOffset());
    int index = m_memory.RecipeIndex();
    for (int i = 0; i < key.transferLen && index + words <= kRecipeStoreSize; ++i) {
        // The recipe store itself keeps nothing here: uploads are dropped, downloads write 0.
        if (upload)
            m_memory.Read(address, access);
        else
            m_memory.Write(address, access, 0);
        address.address = static_cast<uint16_t>(address.address + words);
        index += words;
    }
}

void Engine::RecipeBase(const FunctionKeyRecord& key, bool increase) {
    if (key.transferLen >= kRecipeStoreSize)
        return;
    const int index = m_memory.RecipeIndex();
    const int next = increase ? index + key.transferLen : index - key.transferLen;
    if (increase ? next <= key.transferLimit : (next >= key.transferLimit && next >= 0))
        m_memory.SetRecipeIndex(next);
}
