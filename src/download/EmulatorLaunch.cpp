#include "EmulatorLaunch.h"

#include "BuildOutputs.h"
#include "NamedSharedMemory.h"

EmulatorLaunch::EmulatorLaunch(const QString& program, std::unique_ptr<NamedSharedMemory> handover)
    : m_handover(std::move(handover)) {
    m_thread = std::thread([this, program] {
        RunEmulator(program, m_abort);
        m_handover.reset();
        m_ended = true;
    });
}

EmulatorLaunch::~EmulatorLaunch() {
    m_abort = true;
    m_thread.join();
}
