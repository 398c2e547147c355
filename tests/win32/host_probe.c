// A call with a counted list of argument words that reports what the callee
// did to the stack and to the x87 register stack. A host declaring an export
// with the wrong argument size, or a library removing the wrong number of
// bytes, shows as a non-zero residue; a floating-point result shows as one
// loaded x87 register, which the probe stores into st0.
#include <stdarg.h>
#include <stddef.h>
#include <string.h>

#include "host.h"

#if !defined(_WIN64)

// void host_ProbeCall(void *fn, const uint32_t *args, int32_t nwords, HostProbe *out)
// (cdecl). Field offsets of HostProbe: eax 0, residue 4, swBefore 8,
// swAfter 12, st0 16.
__asm__(
    ".text\n"
    ".globl _host_ProbeCall\n"
    "_host_ProbeCall:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %ebx\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  movl 20(%ebp), %edi\n"
    "  fnstsw 8(%edi)\n"
    "  movl %esp, %esi\n"
    "  movl 16(%ebp), %ecx\n"
    "  movl 12(%ebp), %edx\n"
    "1:\n"
    "  testl %ecx, %ecx\n"
    "  jz 2f\n"
    "  decl %ecx\n"
    "  pushl (%edx,%ecx,4)\n"
    "  jmp 1b\n"
    "2:\n"
    "  call *8(%ebp)\n"
    "  movl 20(%ebp), %edi\n"
    "  movl %eax, 0(%edi)\n"
    "  movl %esp, %eax\n"
    "  subl %esi, %eax\n"
    "  movl %eax, 4(%edi)\n"
    "  movl %esi, %esp\n"
    "  fnstsw 12(%edi)\n"
    "  movzwl 8(%edi), %eax\n"
    "  movzwl 12(%edi), %edx\n"
    "  andl $0x3800, %eax\n"
    "  andl $0x3800, %edx\n"
    "  cmpl %eax, %edx\n"
    "  je 3f\n"
    "  fstpt 16(%edi)\n"
    "3:\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebx\n"
    "  popl %ebp\n"
    "  ret\n");

_Static_assert(offsetof(HostProbe, swAfter) == 12 && offsetof(HostProbe, st0) == 16,
               "the probe writes HostProbe by fixed offsets");

HostProbe host_ProbeArgs(void *fn, const uint32_t *args, int32_t nwords) {
    HostProbe p;
    memset(&p, 0, sizeof p);
    host_ProbeCall(fn, args, nwords, &p);
    return p;
}

HostProbe host_Probe(void *fn, int32_t nwords, ...) {
    uint32_t args[8];
    va_list ap;
    va_start(ap, nwords);
    for (int32_t i = 0; i < nwords && i < 8; ++i) args[i] = va_arg(ap, uint32_t);
    va_end(ap);
    return host_ProbeArgs(fn, args, nwords);
}

int host_X87Pushed(const HostProbe *p) {
    // TOP (bits 11..13 of the status word) counts down as registers load.
    int before = (int)((p->swBefore >> 11) & 7), after = (int)((p->swAfter >> 11) & 7);
    return (before - after + 8) & 7;
}

#endif  // !_WIN64
