#pragma once

#include "PlcMemory.h"
#include "RecordReaders.h"

#include <cstdint>
#include <optional>
#include <vector>

// Width of one access: a bit, or a word of 8, 16 or 32 bits.
enum class Access { Bit, Word8, Word16, Word32 };

// The width a record's unit count asks for: 1 = 8 bits, 4 = 32 bits, anything else 16 bits.
Access WordAccess(uint8_t units);
int AccessBits(Access access);

// What the runtime reads and writes: the simulated PLC behind the request cache, and the
// panel-internal memory of the local types 112..116 (recipe store, recipe registers, clock).
class RuntimeMemory {
public:
    static constexpr int kCacheSize = 99;
    static constexpr int kRecipeStoreSize = 1024;

    // With `offline` every access goes straight to the memory, bypassing the request cache.
    void SetOffline(bool offline) { m_offline = offline; }
    PlcMemory& Plc() { return m_plc; }

    // A refresh read: the value of an identical earlier request, or empty while the request
    // waits for the worker.
    std::optional<uint32_t> ReadCached(const PlcAddress& address, Access access);
    // The worker's pass over the request queue.
    void Serve();
    void ClearRequests() { m_requests.clear(); }

    // Reads and writes of key actions and register entry, served at once.
    uint32_t Read(const PlcAddress& address, Access access);
    void Write(const PlcAddress& address, Access access, uint32_t value);

    int RecipeIndex() const { return m_recipeIndex; }
    void SetRecipeIndex(int index) { m_recipeIndex = index; }
    int RecipeOffset() const { return m_recipeOffset; }
    void ResetRecipe();
    // Set by a write to the clock; the next clock report takes it.
    bool TakeClockRequest();

    static bool IsLocal(uint8_t type) { return type >= 112 && type <= 116; }

private:
    struct Request {
        PlcAddress address;
        Access access;
        uint32_t value = 0;
        bool served = false;
    };

    uint32_t ReadPlc(const PlcAddress& address, Access access) const;
    uint32_t ReadLocal(const PlcAddress& address) const;
    void WriteLocal(const PlcAddress& address, uint32_t value);

    PlcMemory m_plc;
    std::vector<Request> m_requests;
    size_t m_nextReplaced = 0;
    bool m_offline = false;
    int m_recipeIndex = 0;
    int m_recipeOffset = 0;
    bool m_clockRequest = false;
};
