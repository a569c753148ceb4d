// Calls a 32-bit function the way a host compiled by another compiler would, and records what the
// callee left behind: the stack pointer, the registers it must keep, the FPU control word and the
// direction flag. Calls from one module take turns (the record lives in a global while one runs).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class CallingConvention { Cdecl, Stdcall };

struct CallContract {
    uint32_t result = 0;
    // Empty when the callee kept the contract; otherwise each breach, in words.
    std::string breaches;
};

// Calls `function` with `arguments` (32-bit words, pushed right to left). `misalignment` (0, 4, 8
// or 12 bytes) moves the stack off the 16-byte boundary: hosts built with Microsoft's compiler only
// keep it 4-byte aligned.
CallContract CheckedCall(const void* function, CallingConvention convention, const std::vector<uint32_t>& arguments,
                         uint32_t misalignment = 0);

template <typename T>
uint32_t Word(T* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}
