#pragma once

#include <cstddef>
#include <cstdint>

// Reading the crashed process's own memory where it may be unmapped or protected: the kernel
// copies it through a pipe and reports a bad address instead of faulting.

// Opens the pipe; called once at install.
bool OpenSafeMemory();

// Copies up to `size` bytes from `address` into `out`; returns how many bytes from the start
// could be read (0 when the first one cannot).
std::size_t ReadMemory(std::uint64_t address, void* out, std::size_t size);
