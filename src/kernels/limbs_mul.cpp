// Quadratic product and square of word vectors (contracts in limbs.h).
//
// Products are formed by rows: the shorter operand supplies the multiplier
// units, each row adds multiplier unit x multiplicand into the result, and
// the row's final carry is stored into result words that no earlier row has
// reached (so the result is zeroed once and never cleared again). A row of a
// zero multiplier unit is skipped. Squares form the cross products a[i] a[j],
// i < j, once by the same rows, then double the sum and add the squares of
// the units in one pass.
//
// Units are 32-bit words on the portable path and 64-bit limbs (two words) on
// the 64-bit path, where an odd word count leaves a 32-bit top unit. The
// partial sum after the rows up to unit i is below (units 0..i) x multiplicand,
// so every row's carry fits in the one or two fresh words it is stored into.
#include <cstring>
#include <utility>

#include "limbs.h"

// ---------------------------------------------------------------- 32-bit path

// rp[0, nb) += b x v; the carry is stored into rp[nb].
static void row32(uint32_t *rp, const uint32_t *b, int32_t nb, uint32_t v) {
    uint64_t c = 0;
    int32_t j = 0;
    for (; j + 4 <= nb; j += 4) {
        const uint64_t t0 = static_cast<uint64_t>(b[j]) * v + rp[j] + c;
        rp[j] = static_cast<uint32_t>(t0);
        const uint64_t t1 = static_cast<uint64_t>(b[j + 1]) * v + rp[j + 1] + (t0 >> 32);
        rp[j + 1] = static_cast<uint32_t>(t1);
        const uint64_t t2 = static_cast<uint64_t>(b[j + 2]) * v + rp[j + 2] + (t1 >> 32);
        rp[j + 2] = static_cast<uint32_t>(t2);
        const uint64_t t3 = static_cast<uint64_t>(b[j + 3]) * v + rp[j + 3] + (t2 >> 32);
        rp[j + 3] = static_cast<uint32_t>(t3);
        c = t3 >> 32;
    }
    for (; j < nb; ++j) {
        const uint64_t t = static_cast<uint64_t>(b[j]) * v + rp[j] + c;
        rp[j] = static_cast<uint32_t>(t);
        c = t >> 32;
    }
    rp[nb] = static_cast<uint32_t>(c);
}

static void mulBasecase32(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    std::memset(r, 0, static_cast<size_t>(na + nb) * 4);
    for (int32_t i = 0; i < na; ++i)
        if (a[i]) row32(r + i, b, nb, a[i]);
}

// The first word of b that a row of the short product needs, for a row of
// a's words from i up whose lowest term must reach place c - 1: rounded
// down to a multiple of 4 words, which keeps the rows' limbs aligned
// (measured against exact starts and multiples of 8, 16 and 32 words: the
// best or within 2% of it for triangles of 37 x 107, 64 x 64 and 364 x 364
// words).
static inline int32_t highRowStart(int32_t c, int32_t i) { return c - 1 > i ? (c - 1 - i) & ~3 : 0; }

// Rows of a[i] against b's words from highRowStart up only: every term of
// place c and above.
static void mulBasecaseHigh32(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, int32_t c) {
    std::memset(r, 0, static_cast<size_t>(na + nb) * 4);
    for (int32_t i = 0; i < na; ++i) {
        const int32_t j0 = highRowStart(c, i);
        if (j0 < nb && a[i]) row32(r + i + j0, b + j0, nb - j0, a[i]);
    }
}

static void sqrBasecase32(uint32_t *r, const uint32_t *a, int32_t n) {
    std::memset(r, 0, static_cast<size_t>(2 * n) * 4);
    for (int32_t i = 0; i + 1 < n; ++i)
        if (a[i]) row32(r + 2 * i + 1, a + i + 1, n - i - 1, a[i]);
    // r = 2 r + sum a[i]^2 2^(64 i), word pair by word pair.
    uint32_t hb = 0;  // bit shifted out of the previous pair
    uint64_t c = 0;   // carry of the addition
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t lo = r[2 * i], hi = r[2 * i + 1];
        const uint64_t d = static_cast<uint64_t>(a[i]) * a[i];
        const uint64_t s0 = static_cast<uint64_t>((lo << 1) | hb) + static_cast<uint32_t>(d) + c;
        const uint64_t s1 = static_cast<uint64_t>((hi << 1) | (lo >> 31)) + static_cast<uint32_t>(d >> 32) + (s0 >> 32);
        hb = hi >> 31;
        r[2 * i] = static_cast<uint32_t>(s0);
        r[2 * i + 1] = static_cast<uint32_t>(s1);
        c = s1 >> 32;
    }
}

// ---------------------------------------------------------------- 64-bit path

#if TQ_HAVE_LIMB64
#include <cpuid.h>
#include <x86intrin.h>

typedef unsigned long long u64;
typedef unsigned __int128 u128;

static inline u64 ld64(const uint32_t *p) {
    u64 v;
    std::memcpy(&v, p, 8);
    return v;
}
static inline void st64(uint32_t *p, u64 v) { std::memcpy(p, &v, 8); }

// rp[0, 2 nl) += up[0, 2 nl) x v; returns the carry limb. Portable form.
static inline u64 addmulLimbsC(uint32_t *rp, const uint32_t *up, int32_t nl, u64 v, u64 c) {
    int32_t j = 0;
    for (; j + 4 <= nl; j += 4) {
        u128 t0 = static_cast<u128>(ld64(up + 2 * j)) * v + ld64(rp + 2 * j) + c;
        st64(rp + 2 * j, static_cast<u64>(t0));
        u128 t1 = static_cast<u128>(ld64(up + 2 * j + 2)) * v + ld64(rp + 2 * j + 2) + static_cast<u64>(t0 >> 64);
        st64(rp + 2 * j + 2, static_cast<u64>(t1));
        u128 t2 = static_cast<u128>(ld64(up + 2 * j + 4)) * v + ld64(rp + 2 * j + 4) + static_cast<u64>(t1 >> 64);
        st64(rp + 2 * j + 4, static_cast<u64>(t2));
        u128 t3 = static_cast<u128>(ld64(up + 2 * j + 6)) * v + ld64(rp + 2 * j + 6) + static_cast<u64>(t2 >> 64);
        st64(rp + 2 * j + 6, static_cast<u64>(t3));
        c = static_cast<u64>(t3 >> 64);
    }
    for (; j < nl; ++j) {
        u128 t = static_cast<u128>(ld64(up + 2 * j)) * v + ld64(rp + 2 * j) + c;
        st64(rp + 2 * j, static_cast<u64>(t));
        c = static_cast<u64>(t >> 64);
    }
    return c;
}

// The same with MULX and two independent carry chains (ADOX adds the high
// half of the previous product, ADCX adds the result word), eight limbs per
// round; the loop counter is stepped with LEA and tested with JRCXZ so that
// neither flag is disturbed. A length that is not a multiple of eight enters
// the first round part-way (the pointers are moved back accordingly), so no
// separate tail loop runs. Requires BMI2 and ADX (checked at run time).
static inline u64 addmulLimbsAdx(uint32_t *rp, const uint32_t *up, int32_t nl, u64 v) {
    if (nl <= 0) return 0;
    const int32_t entry = (8 - (nl & 7)) & 7;
    u64 rounds = static_cast<u64>((nl + entry) / 8);
    rp -= 2 * entry;
    up -= 2 * entry;
    u64 c = 0;
    __asm__ volatile(
        "xorl %%r9d, %%r9d\n\t"
        "leaq 9f(%%rip), %%r10\n\t"
        "movslq (%%r10,%[e],4), %%rax\n\t"
        "addq %%r10, %%rax\n\t"
        "xorl %%r10d, %%r10d\n\t"
        "jmp *%%rax\n\t"
        ".p2align 2\n\t"
        "9:\n\t"
        ".long 20f-9b, 21f-9b, 22f-9b, 23f-9b, 24f-9b, 25f-9b, 26f-9b, 27f-9b\n\t"
        "20:\n\t"
        "mulxq (%[up]), %%r10, %%r9\n\t"
        "adoxq %[c], %%r10\n\t"
        "adcxq (%[rp]), %%r10\n\t"
        "movq %%r10, (%[rp])\n\t"
        "21:\n\t"
        "mulxq 8(%[up]), %%r10, %[c]\n\t"
        "adoxq %%r9, %%r10\n\t"
        "adcxq 8(%[rp]), %%r10\n\t"
        "movq %%r10, 8(%[rp])\n\t"
        "22:\n\t"
        "mulxq 16(%[up]), %%r10, %%r9\n\t"
        "adoxq %[c], %%r10\n\t"
        "adcxq 16(%[rp]), %%r10\n\t"
        "movq %%r10, 16(%[rp])\n\t"
        "23:\n\t"
        "mulxq 24(%[up]), %%r10, %[c]\n\t"
        "adoxq %%r9, %%r10\n\t"
        "adcxq 24(%[rp]), %%r10\n\t"
        "movq %%r10, 24(%[rp])\n\t"
        "24:\n\t"
        "mulxq 32(%[up]), %%r10, %%r9\n\t"
        "adoxq %[c], %%r10\n\t"
        "adcxq 32(%[rp]), %%r10\n\t"
        "movq %%r10, 32(%[rp])\n\t"
        "25:\n\t"
        "mulxq 40(%[up]), %%r10, %[c]\n\t"
        "adoxq %%r9, %%r10\n\t"
        "adcxq 40(%[rp]), %%r10\n\t"
        "movq %%r10, 40(%[rp])\n\t"
        "26:\n\t"
        "mulxq 48(%[up]), %%r10, %%r9\n\t"
        "adoxq %[c], %%r10\n\t"
        "adcxq 48(%[rp]), %%r10\n\t"
        "movq %%r10, 48(%[rp])\n\t"
        "27:\n\t"
        "mulxq 56(%[up]), %%r10, %[c]\n\t"
        "adoxq %%r9, %%r10\n\t"
        "adcxq 56(%[rp]), %%r10\n\t"
        "movq %%r10, 56(%[rp])\n\t"
        "leaq 64(%[up]), %[up]\n\t"
        "leaq 64(%[rp]), %[rp]\n\t"
        "leaq -1(%[n]), %[n]\n\t"
        "jrcxz 3f\n\t"
        "jmp 20b\n\t"
        "3:\n\t"
        "movl $0, %%eax\n\t"
        "adoxq %%rax, %[c]\n\t"
        "adcxq %%rax, %[c]\n\t"
        : [up] "+r"(up), [rp] "+r"(rp), [n] "+c"(rounds), [c] "+r"(c)
        : "d"(v), [e] "r"(static_cast<u64>(entry))
        : "rax", "r9", "r10", "cc", "memory");
    return c;
}

// BMI2 and ADX from CPUID leaf 7 (EBX bits 8 and 19); read directly because
// not every compiler's __builtin_cpu_supports knows "adx".
static bool detectAdx() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return ((b >> 8) & 1) && ((b >> 19) & 1);
}
int32_t gTq_Kernel_Adx = detectAdx() ? 1 : 0;

static inline u64 addmulLimbs(uint32_t *rp, const uint32_t *up, int32_t nl, u64 v) {
    if (gTq_Kernel_Adx) return addmulLimbsAdx(rp, up, nl, v);
    return addmulLimbsC(rp, up, nl, v, 0);
}

// rp[0, nb) += b x v for a multiplier unit v; the carry is stored into the
// fresh words rp[nb] and rp[nb + 1], the latter only when it lies below room
// (the words left in the result from rp on; beyond it the carry is zero).
static inline void row64(uint32_t *rp, const uint32_t *b, int32_t nb, u64 v, int32_t room) {
    const int32_t nl = nb >> 1;
    u64 c = addmulLimbs(rp, b, nl, v);
    int32_t p = 2 * nl;
    if (nb & 1) {
        const u128 t = static_cast<u128>(b[nb - 1]) * v + c + rp[p];
        rp[p] = static_cast<uint32_t>(t);
        c = static_cast<u64>(t >> 32);
        ++p;
    }
    rp[p] = static_cast<uint32_t>(c);
    if (p + 1 < room) rp[p + 1] = static_cast<uint32_t>(c >> 32);
}

static void mulBasecase64(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    const int32_t rn = na + nb;
    std::memset(r, 0, static_cast<size_t>(rn) * 4);
    for (int32_t i = 0; i < na; i += 2) {
        const u64 v = i + 1 < na ? ld64(a + i) : a[i];
        if (v) row64(r + i, b, nb, v, rn - i);
    }
}

// The limb a[i, i + 2) reaches place c with b's words from c - i - 1 up.
static void mulBasecaseHigh64(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, int32_t c) {
    const int32_t rn = na + nb;
    std::memset(r, 0, static_cast<size_t>(rn) * 4);
    for (int32_t i = 0; i < na; i += 2) {
        const int32_t j0 = highRowStart(c, i);
        const u64 v = i + 1 < na ? ld64(a + i) : a[i];
        if (j0 < nb && v) row64(r + i + j0, b + j0, nb - j0, v, rn - i - j0);
    }
}

static void sqrBasecase64(uint32_t *r, const uint32_t *a, int32_t n) {
    const int32_t rn = 2 * n;
    std::memset(r, 0, static_cast<size_t>(rn) * 4);
    // Cross products of limb i with the words above it.
    for (int32_t i = 0; 2 * i + 2 < n; ++i) {
        const u64 v = ld64(a + 2 * i);
        if (v) row64(r + 4 * i + 2, a + 2 * i + 2, n - 2 * i - 2, v, rn - 4 * i - 2);
    }
    // Double and add the squares of the limbs (and of an odd top word).
    const int32_t m = n >> 1;
    unsigned char cf = 0;
    u64 hb = 0;
    for (int32_t i = 0; i < m; ++i) {
        const u64 lo = ld64(r + 4 * i), hi = ld64(r + 4 * i + 2);
        const u64 v = ld64(a + 2 * i);
        const u128 d = static_cast<u128>(v) * v;
        u64 s0, s1;
        cf = _addcarry_u64(cf, (lo << 1) | hb, static_cast<u64>(d), &s0);
        cf = _addcarry_u64(cf, (hi << 1) | (lo >> 63), static_cast<u64>(d >> 64), &s1);
        hb = hi >> 63;
        st64(r + 4 * i, s0);
        st64(r + 4 * i + 2, s1);
    }
    if (n & 1) {
        const u64 x = ld64(r + 4 * m);
        const u64 t = static_cast<u64>(a[n - 1]) * a[n - 1];
        st64(r + 4 * m, ((x << 1) | hb) + t + cf);
    }
}
#endif

void tq_MulBasecase(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    TQ_REQUIRE(na >= 1 && nb >= 1 && tq_Disjoint(r, 4 * int64_t{na + nb}, a, 4 * int64_t{na}) &&
               tq_Disjoint(r, 4 * int64_t{na + nb}, b, 4 * int64_t{nb}));
    if (na > nb) {
        const uint32_t *t = a;
        a = b;
        b = t;
        const int32_t tn = na;
        na = nb;
        nb = tn;
    }
#if TQ_HAVE_LIMB64
    if (gTq_Kernel_Limb64) return mulBasecase64(r, a, na, b, nb);
#endif
    mulBasecase32(r, a, na, b, nb);
}

void tq_MulBasecaseHigh(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, int32_t c) {
    TQ_REQUIRE(na >= 1 && nb >= 1 && tq_Disjoint(r, 4 * int64_t{na + nb}, a, 4 * int64_t{na}) &&
               tq_Disjoint(r, 4 * int64_t{na + nb}, b, 4 * int64_t{nb}));
    if (na > nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
#if TQ_HAVE_LIMB64
    if (gTq_Kernel_Limb64) return mulBasecaseHigh64(r, a, na, b, nb, c);
#endif
    mulBasecaseHigh32(r, a, na, b, nb, c);
}

void tq_SqrBasecase(uint32_t *r, const uint32_t *a, int32_t n) {
    TQ_REQUIRE(n >= 1 && tq_Disjoint(r, 8 * int64_t{n}, a, 4 * int64_t{n}));
#if TQ_HAVE_LIMB64
    if (gTq_Kernel_Limb64) return sqrBasecase64(r, a, n);
#endif
    sqrBasecase32(r, a, n);
}

#if !TQ_HAVE_LIMB64
int32_t gTq_Kernel_Adx = 0;
#endif
