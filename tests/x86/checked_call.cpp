#include "checked_call.h"

#include <cstddef>
#include <cstdio>
#include <mutex>

struct CallRecord {
    uint32_t frame;
    uint32_t stackAtCall;
    uint16_t controlWordBefore, unused1;
    uint32_t result;
    uint32_t stackAfter;
    uint32_t ebx, esi, edi, ebp;
    uint16_t controlWordAfter, unused2;
    uint32_t flagsAfter;
};
static_assert(offsetof(CallRecord, ebx) == 20 && offsetof(CallRecord, flagsAfter) == 40,
              "checked_call.S writes these offsets");

extern "C" uint32_t TavikCheckedCall(const void* function, const uint32_t* arguments, uint32_t count,
                                     uint32_t misalignment, CallRecord* record);

// Pushes the arguments at the requested alignment, loads marker values into the callee-saved
// registers, calls, and stores what the callee left into the record before restoring its own
// frame (found through a global, since the callee may have moved the stack pointer).
asm(R"(
    .text
    .globl _TavikCheckedCall
_TavikCheckedCall:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 36(%esp), %eax          /* record */
    movl %eax, _tavikCallRecord
    movl %esp, 0(%eax)           /* record->frame: this frame, whatever the callee does */
    movl 20(%esp), %edx          /* function */
    movl 24(%esp), %esi          /* arguments */
    movl 28(%esp), %ecx          /* count */
    /* Start so that after the pushes the stack is 16-byte aligned, less the misalignment. */
    leal 0(,%ecx,4), %edi
    movl %esp, %ebx
    subl %edi, %ebx
    andl $-16, %ebx
    addl %edi, %ebx
    subl 32(%esp), %ebx
    movl %ebx, %esp
1:  testl %ecx, %ecx
    jz 2f
    pushl -4(%esi,%ecx,4)
    decl %ecx
    jmp 1b
2:  movl %esp, 4(%eax)           /* record->stackAtCall */
    fnstcw 8(%eax)               /* record->controlWordBefore */
    movl $0xB1B1B1B1, %ebx
    movl $0x51515151, %esi
    movl $0xD1D1D1D1, %edi
    movl $0xEB0EB0EB, %ebp
    call *%edx
    movl _tavikCallRecord, %ecx
    movl %eax, 12(%ecx)          /* record->result */
    movl %esp, 16(%ecx)          /* record->stackAfter */
    movl %ebx, 20(%ecx)
    movl %esi, 24(%ecx)
    movl %edi, 28(%ecx)
    movl %ebp, 32(%ecx)
    fnstcw 36(%ecx)              /* record->controlWordAfter */
    pushfl
    popl 40(%ecx)                /* record->flagsAfter */
    movl 0(%ecx), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    movl 12(%ecx), %eax
    ret

    .bss
    .p2align 2
_tavikCallRecord:
    .space 4
    .text
)");

namespace {
void Breach(std::string& breaches, const char* what, uint32_t expected, uint32_t found) {
    char line[96];
    std::snprintf(line, sizeof line, "%s: expected 0x%08lx, found 0x%08lx; ", what,
                  static_cast<unsigned long>(expected), static_cast<unsigned long>(found));
    breaches += line;
}
}  // namespace

CallContract CheckedCall(const void* function, CallingConvention convention, const std::vector<uint32_t>& arguments,
                         uint32_t misalignment) {
    // The trampoline keeps its record in one global: calls in this module take turns.
    static std::mutex oneAtATime;
    std::lock_guard lock(oneAtATime);
    CallRecord record{};
    const auto count = static_cast<uint32_t>(arguments.size());
    CallContract contract;
    contract.result = TavikCheckedCall(function, arguments.data(), count, misalignment & 12u, &record);
    // The caller removes cdecl arguments; a stdcall callee removes its own.
    const uint32_t stack = record.stackAtCall + (convention == CallingConvention::Stdcall ? 4 * count : 0);
    std::string& breaches = contract.breaches;
    if (record.stackAfter != stack) Breach(breaches, "stack pointer", stack, record.stackAfter);
    if (record.ebx != 0xB1B1B1B1) Breach(breaches, "ebx", 0xB1B1B1B1, record.ebx);
    if (record.esi != 0x51515151) Breach(breaches, "esi", 0x51515151, record.esi);
    if (record.edi != 0xD1D1D1D1) Breach(breaches, "edi", 0xD1D1D1D1, record.edi);
    if (record.ebp != 0xEB0EB0EB) Breach(breaches, "ebp", 0xEB0EB0EB, record.ebp);
    if (record.controlWordAfter != record.controlWordBefore)
        Breach(breaches, "FPU control word", record.controlWordBefore, record.controlWordAfter);
    if (record.flagsAfter & 0x400) Breach(breaches, "direction flag", 0, 1);
    return contract;
}
