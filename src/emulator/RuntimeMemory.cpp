#include "RuntimeMemory.h"

namespace {

constexpr uint8_t kRecipeWord = 112;
constexpr uint8_t kRecipeIndexedWord = 113;
constexpr uint8_t kRecipeLongWord = 114;
constexpr uint8_t kRecipeRegisters = 115;
constexpr uint8_t kClock = 116;
constexpr uint16_t kClockYear = 6;

bool SameRequest(const PlcAddress& a, Access accessA, const PlcAddress& b, Access accessB) {
    return a.station == b.station && a.type == b.type && a.address == b.address &&
           a.subAddress == b.subAddress && a.shift == b.shift && accessA == accessB;
}

} // namespace

Access WordAccess(uint8_t units) {
    if (units == 1)
        return Access::Word8;
    if (units == 4)
        return Access::Word32;
    return Access::Word16;
}

int AccessBits(Access access) {
    switch (access) {
    case Access::Bit:
        return 1;
    case Access::Word8:
        return 8;
    case Access::Word32:
        return 32;
    case Access::Word16:
        break;
    }
    return 16;
}

std::optional<uint32_t> RuntimeMemory::ReadCached(const PlcAddress& address, Access access) {
    if (m_offline || IsLocal(address.type))
        return Read(address, access);
    for (const Request& request : m_requests) {
        if (SameRequest(request.address, request.access, address, access)) {
            if (!request.served)
                return std::nullopt;
            return request.value;
        }
    }
    Request request{address, access};
    if (m_requests.size() < kCacheSize) {
        m_requests.push_back(request);
    } else {
        // A full queue gives up its oldest request, so a frame with more requests than the
        // queue holds still cycles through all of them.
        m_requests[m_nextReplaced] = request;
        m_nextReplaced = (m_nextReplaced + 1) % kCacheSize;
    }
    return std::nullopt;
}

void RuntimeMemory::Serve() {
    for (Request& request : m_requests) {
        request.value = ReadPlc(request.address, request.access);
        request.served = true;
    }
}

uint32_t RuntimeMemory::Read(const PlcAddress& address, Access access) {
    if (IsLocal(address.type))
        return ReadLocal(address);
    return ReadPlc(address, access);
}

void RuntimeMemory::Write(const PlcAddress& address, Access access, uint32_t value) {
    if (IsLocal(address.type)) {
        WriteLocal(address, value);
        return;
    }
    if (access == Access::Bit)
        m_plc.SetBit(address.address, value != 0);
    else
        m_plc.SetWord(address.address, AccessBits(access), value);
}

void RuntimeMemory::ResetRecipe() {
    m_recipeIndex = 0;
    m_recipeOffset = 0;
}

bool RuntimeMemory::TakeClockRequest() {
    const bool requested = m_clockRequest;
    m_clockRequest = false;
    return requested;
}

uint32_t RuntimeMemory::ReadPlc(const PlcAddress& address, Access access) const {
    if (access == Access::Bit)
        return m_plc.Bit(address.address);
    return m_plc.Word(address.address, AccessBits(access));
}

uint32_t RuntimeMemory::ReadLocal(const PlcAddress& address) const {
    switch (address.type) {
    case kRecipeWord:
    case kRecipeIndexedWord:
    case kRecipeLongWord:
        return 0; // the Emulator keeps no recipe data
    case kRecipeRegisters:
        if (address.address == 0)
            return static_cast<uint32_t>(m_recipeIndex);
        if (address.address == 1)
            return static_cast<uint32_t>(m_recipeOffset);
        return 0;
    case kClock:
        return address.address == kClockYear ? 2000 : 0;
    default:
        return 0;
    }
}

void RuntimeMemory::WriteLocal(const PlcAddress& address, uint32_t value) {
    if (address.type == kRecipeRegisters) {
        if (address.address == 0)
            m_recipeIndex = static_cast<int>(value % kRecipeStoreSize);
        else if (address.address == 1)
            m_recipeOffset = static_cast<int>(value & 0xFFFF);
    } else if (address.type == kClock) {
        m_clockRequest = true;
    }
}
