// Carry-chain primitives on word vectors: n-word addition and subtraction,
// carry and borrow propagation, shifts by one bit, comparison, and the
// product and quotient by one word (contracts in limbs.h). The 64-bit loops keep the carry in the processor's carry flag
// through _addcarry_u64 / _subborrow_u64 and run four limbs per iteration.
#include <cstring>

#include "limbs.h"

#if TQ_HAVE_LIMB64
#include <x86intrin.h>
#endif

// ---------------------------------------------------------------- 32-bit path

static uint32_t addN32(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n) {
    uint64_t c = 0;
    for (int32_t i = 0; i < n; ++i) {
        c += static_cast<uint64_t>(a[i]) + b[i];
        r[i] = static_cast<uint32_t>(c);
        c >>= 32;
    }
    return static_cast<uint32_t>(c);
}

static uint32_t subN32(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n) {
    uint32_t bw = 0;
    for (int32_t i = 0; i < n; ++i) {
        uint64_t d = static_cast<uint64_t>(a[i]) - b[i] - bw;
        r[i] = static_cast<uint32_t>(d);
        bw = static_cast<uint32_t>(d >> 63);
    }
    return bw;
}

// ---------------------------------------------------------------- 64-bit path

#if TQ_HAVE_LIMB64
typedef unsigned long long u64;

static inline u64 ld64(const uint32_t *p) {
    u64 v;
    std::memcpy(&v, p, 8);
    return v;
}
static inline void st64(uint32_t *p, u64 v) { std::memcpy(p, &v, 8); }

static uint32_t addN64(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n) {
    const int32_t m = n >> 1;
    unsigned char c = 0;
    int32_t i = 0;
    for (; i + 4 <= m; i += 4) {
        u64 s0, s1, s2, s3;
        const u64 a0 = ld64(a + 2 * i), a1 = ld64(a + 2 * i + 2), a2 = ld64(a + 2 * i + 4), a3 = ld64(a + 2 * i + 6);
        const u64 b0 = ld64(b + 2 * i), b1 = ld64(b + 2 * i + 2), b2 = ld64(b + 2 * i + 4), b3 = ld64(b + 2 * i + 6);
        c = _addcarry_u64(c, a0, b0, &s0);
        c = _addcarry_u64(c, a1, b1, &s1);
        c = _addcarry_u64(c, a2, b2, &s2);
        c = _addcarry_u64(c, a3, b3, &s3);
        st64(r + 2 * i, s0);
        st64(r + 2 * i + 2, s1);
        st64(r + 2 * i + 4, s2);
        st64(r + 2 * i + 6, s3);
    }
    for (; i < m; ++i) {
        u64 s;
        c = _addcarry_u64(c, ld64(a + 2 * i), ld64(b + 2 * i), &s);
        st64(r + 2 * i, s);
    }
    if (n & 1) {
        uint64_t s = static_cast<uint64_t>(a[n - 1]) + b[n - 1] + c;
        r[n - 1] = static_cast<uint32_t>(s);
        return static_cast<uint32_t>(s >> 32);
    }
    return c;
}

static uint32_t subN64(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n) {
    const int32_t m = n >> 1;
    unsigned char c = 0;
    int32_t i = 0;
    for (; i + 4 <= m; i += 4) {
        u64 s0, s1, s2, s3;
        const u64 a0 = ld64(a + 2 * i), a1 = ld64(a + 2 * i + 2), a2 = ld64(a + 2 * i + 4), a3 = ld64(a + 2 * i + 6);
        const u64 b0 = ld64(b + 2 * i), b1 = ld64(b + 2 * i + 2), b2 = ld64(b + 2 * i + 4), b3 = ld64(b + 2 * i + 6);
        c = _subborrow_u64(c, a0, b0, &s0);
        c = _subborrow_u64(c, a1, b1, &s1);
        c = _subborrow_u64(c, a2, b2, &s2);
        c = _subborrow_u64(c, a3, b3, &s3);
        st64(r + 2 * i, s0);
        st64(r + 2 * i + 2, s1);
        st64(r + 2 * i + 4, s2);
        st64(r + 2 * i + 6, s3);
    }
    for (; i < m; ++i) {
        u64 s;
        c = _subborrow_u64(c, ld64(a + 2 * i), ld64(b + 2 * i), &s);
        st64(r + 2 * i, s);
    }
    if (n & 1) {
        uint64_t d = static_cast<uint64_t>(a[n - 1]) - b[n - 1] - c;
        r[n - 1] = static_cast<uint32_t>(d);
        return static_cast<uint32_t>(d >> 63);
    }
    return c;
}

// The same two loops in assembly: one ADC / SBB chain, four limbs per round,
// the counter stepped with DEC (which leaves the carry flag alone), then the
// remaining 0 to 3 limbs one by one. Used with the other assembly loops
// (gTq_Kernel_Adx); GCC's code for the intrinsics above spills the carry.
#define TQ_CARRY_LOOP(OP)                                                                   \
    "movq %[blocks], %%rcx\n\t"                                                             \
    "clc\n\t"                                                                               \
    "jrcxz 4f\n\t"                                                                          \
    "1:\n\t"                                                                                \
    "movq (%[a]), %%r8\n\t" OP " (%[b]), %%r8\n\t"                                          \
    "movq %%r8, (%[r])\n\t"                                                                 \
    "movq 8(%[a]), %%r9\n\t" OP " 8(%[b]), %%r9\n\t"                                        \
    "movq %%r9, 8(%[r])\n\t"                                                                \
    "movq 16(%[a]), %%r10\n\t" OP " 16(%[b]), %%r10\n\t"                                    \
    "movq %%r10, 16(%[r])\n\t"                                                              \
    "movq 24(%[a]), %%r11\n\t" OP " 24(%[b]), %%r11\n\t"                                    \
    "movq %%r11, 24(%[r])\n\t"                                                              \
    "leaq 32(%[a]), %[a]\n\t"                                                               \
    "leaq 32(%[b]), %[b]\n\t"                                                               \
    "leaq 32(%[r]), %[r]\n\t"                                                               \
    "decq %%rcx\n\t"                                                                        \
    "jnz 1b\n\t"                                                                            \
    "4:\n\t"                                                                                \
    "movq %[rest], %%rcx\n\t"                                                               \
    "jrcxz 3f\n\t"                                                                          \
    "2:\n\t"                                                                                \
    "movq (%[a]), %%r8\n\t" OP " (%[b]), %%r8\n\t"                                          \
    "movq %%r8, (%[r])\n\t"                                                                 \
    "leaq 8(%[a]), %[a]\n\t"                                                                \
    "leaq 8(%[b]), %[b]\n\t"                                                                \
    "leaq 8(%[r]), %[r]\n\t"                                                                \
    "decq %%rcx\n\t"                                                                        \
    "jnz 2b\n\t"                                                                            \
    "3:\n\t"                                                                                \
    "movl $0, %%eax\n\t"                                                                    \
    "adcl $0, %%eax\n\t"

static uint32_t addLimbsAsm(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t m) {
    uint64_t carry;
    const uint64_t blocks = static_cast<uint64_t>(m >> 2), rest = static_cast<uint64_t>(m & 3);
    __asm__ volatile(TQ_CARRY_LOOP("adcq")
                     : [r] "+r"(r), [a] "+r"(a), [b] "+r"(b), "=a"(carry)
                     : [blocks] "r"(blocks), [rest] "r"(rest)
                     : "rcx", "r8", "r9", "r10", "r11", "cc", "memory");
    return static_cast<uint32_t>(carry);
}

static uint32_t subLimbsAsm(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t m) {
    uint64_t borrow;
    const uint64_t blocks = static_cast<uint64_t>(m >> 2), rest = static_cast<uint64_t>(m & 3);
    __asm__ volatile(TQ_CARRY_LOOP("sbbq")
                     : [r] "+r"(r), [a] "+r"(a), [b] "+r"(b), "=a"(borrow)
                     : [blocks] "r"(blocks), [rest] "r"(rest)
                     : "rcx", "r8", "r9", "r10", "r11", "cc", "memory");
    return static_cast<uint32_t>(borrow);
}
#undef TQ_CARRY_LOOP

static uint32_t addN64Asm(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n) {
    const int32_t m = n >> 1;
    uint32_t c = addLimbsAsm(r, a, b, m);
    if (n & 1) {
        uint64_t s = static_cast<uint64_t>(a[n - 1]) + b[n - 1] + c;
        r[n - 1] = static_cast<uint32_t>(s);
        c = static_cast<uint32_t>(s >> 32);
    }
    return c;
}

static uint32_t subN64Asm(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n) {
    const int32_t m = n >> 1;
    uint32_t c = subLimbsAsm(r, a, b, m);
    if (n & 1) {
        uint64_t d = static_cast<uint64_t>(a[n - 1]) - b[n - 1] - c;
        r[n - 1] = static_cast<uint32_t>(d);
        c = static_cast<uint32_t>(d >> 63);
    }
    return c;
}
#endif

uint32_t tq_AddN(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n) {
    TQ_REQUIRE(n >= 0);
#if TQ_HAVE_LIMB64
    if (gTq_Kernel_Limb64) return gTq_Kernel_Adx ? addN64Asm(r, a, b, n) : addN64(r, a, b, n);
#endif
    return addN32(r, a, b, n);
}

uint32_t tq_SubN(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n) {
    TQ_REQUIRE(n >= 0);
#if TQ_HAVE_LIMB64
    if (gTq_Kernel_Limb64) return gTq_Kernel_Adx ? subN64Asm(r, a, b, n) : subN64(r, a, b, n);
#endif
    return subN32(r, a, b, n);
}

// Propagation touches one word per step in the common case (the carry dies in
// the first word), so a single word loop serves both paths.
uint32_t tq_Add1(uint32_t *r, const uint32_t *a, int32_t n, uint32_t c) {
    TQ_REQUIRE(n >= 0 && c <= 1);
    int32_t i = 0;
    for (; i < n && c; ++i) {
        r[i] = a[i] + 1;
        c = r[i] == 0;
    }
    if (r != a && i < n) std::memmove(r + i, a + i, static_cast<size_t>(n - i) * 4);
    return c;
}

uint32_t tq_Sub1(uint32_t *r, const uint32_t *a, int32_t n, uint32_t c) {
    TQ_REQUIRE(n >= 0 && c <= 1);
    int32_t i = 0;
    for (; i < n && c; ++i) {
        c = a[i] == 0;
        r[i] = a[i] - 1;
    }
    if (r != a && i < n) std::memmove(r + i, a + i, static_cast<size_t>(n - i) * 4);
    return c;
}

uint32_t tq_Lsh1N(uint32_t *r, const uint32_t *a, int32_t n) {
    uint32_t c = 0;
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t w = a[i];
        r[i] = (w << 1) | c;
        c = w >> 31;
    }
    return c;
}

uint32_t tq_Rsh1N(uint32_t *r, const uint32_t *a, int32_t n) {
    uint32_t c = 0;
    for (int32_t i = n - 1; i >= 0; --i) {
        const uint32_t w = a[i];
        r[i] = (w >> 1) | (c << 31);
        c = w & 1;
    }
    return c;
}

int32_t tq_CmpN(const uint32_t *a, const uint32_t *b, int32_t n) { return tqL_Cmp(a, b, n); }

uint32_t tq_MulWordN(uint32_t *r, const uint32_t *a, int32_t n, uint32_t w) { return tqL_Mul1(r, a, n, w); }

#if TQ_HAVE_LIMB64
namespace {
// The 64-bit form of tq_DivWordN: two words a step, each step a product by
// the reciprocal of D = w 2^(32 + l) (normalised, l the leading zero bits of
// w) instead of two hardware divisions. The dividend is taken as
// A 2^(32 + l), whose quotient by D is A div w; its two-word chunks are read
// on the fly, and the remainder stays a multiple of 2^(32 + l) below D.
uint32_t divWordLimb64(uint32_t *r, const uint32_t *a, int32_t n, uint32_t w) {
    const int l = __builtin_clz(w);
    const uint64_t d = static_cast<uint64_t>(w) << (32 + l);
    const uint64_t v = tqL_RecipLimb<uint64_t>(d);
    int32_t i = n;
    uint64_t top = 0;
    if (n & 1) {
        top = a[n - 1] % w;
        r[n - 1] = a[n - 1] / w;
        --i;
    }
    uint64_t rem = top << (32 + l);
    for (; i >= 2; i -= 2) {
        const uint64_t x = (static_cast<uint64_t>(a[i - 1]) << 32) | a[i - 2];
        const uint64_t q = tqL_Div2By1<uint64_t>(rem | (x >> (32 - l)), x << (32 + l), d, v, rem);
        r[i - 1] = static_cast<uint32_t>(q >> 32);
        r[i - 2] = static_cast<uint32_t>(q);
    }
    return static_cast<uint32_t>(rem >> (32 + l));
}
}  // namespace
#endif

uint32_t tq_DivWordN(uint32_t *r, const uint32_t *a, int32_t n, uint32_t w) {
    TQ_REQUIRE(w != 0);
#if TQ_HAVE_LIMB64
    if (n >= 4 && tqL_UseLimb64()) return divWordLimb64(r, a, n, w);
#endif
    uint64_t rem = 0;
    for (int32_t i = n - 1; i >= 0; --i) {
        const uint64_t cur = (rem << 32) | a[i];
        r[i] = static_cast<uint32_t>(cur / w);
        rem = cur % w;
    }
    return static_cast<uint32_t>(rem);
}
