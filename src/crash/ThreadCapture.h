#pragma once

#include "ThreadRegisters.h"

#include <cstddef>

// The registers of the process's other threads at the time of a crash. Each thread is sent a
// signal whose handler copies its registers and then keeps the thread waiting until the process
// ends, so that its stack stays as it was captured. A thread that blocks the signal does not
// answer and is left out.

// Claims the signal; called once at install. False when another handler has it already.
bool InstallThreadCapture();

// Captures every thread but `self` into `out`, at most `capacity`; returns how many answered.
std::size_t CaptureOtherThreads(pid_t self, ThreadRegisters* out, std::size_t capacity);
