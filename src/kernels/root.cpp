// Integer roots of magnitudes.
//
// h_Sqrt(A) = floor(sqrt(A)) by the divide-and-conquer square root of
// sqrt_rem.cpp.
// h_Root(A, n) = floor(A^(1/n)): the start value comes from a double estimate
// of the root, raised slightly so that it is never below the root; from there
// the integer Newton step y = ((n-1)x + A div x^(n-1)) div n falls quadratically
// to floor(A^(1/n)) (the step never goes below that floor). A power x^(n-1)
// that is certainly larger than A is never formed: its quotient is zero.
// Results are trimmed magnitudes; A may be untrimmed.
#include "root.h"

#include <cmath>
#include <cstring>

#include "addsub.h"
#include "divmod.h"
#include "limbs.h"
#include "mul.h"
#include "pow.h"

namespace {

// a + b and a - b (a >= b), trimmed.
TqStr addMag(const TqStr &a, const TqStr &b) {
    TqStr r;
    tq_AddSub(a, b, 0, r);
    return r;
}
TqStr subMag(const TqStr &a, const TqStr &b) {
    TqStr r;
    tq_AddSub(a, b, 1, r);
    return r;
}

// a x m and a div d, trimmed.
TqStr mulSmall(TqStr a, uint32_t m) {
    tq_MulWord(a, m);
    return a;
}
TqStr divSmall(TqStr a, uint32_t d) {
    tq_DivWord(a, d);
    return a;
}

TqStr powSmall(const TqStr &x, uint32_t e) {
    TqStr r;
    h_Pow(x, tq_Word(e), r);
    tq_Trim(r);
    return r;
}

// A div x^(n-1), without forming a power that is certainly above A.
TqStr quotientByPower(const TqStr &A, const TqStr &x, int32_t n) {
    const int64_t bx = h_BitLength(x), ba = h_BitLength(A);
    if (n == 1) return A;
    if (static_cast<int64_t>(n - 1) * (bx - 1) > ba) return tq_Word(0);
    TqStr q, rem;
    h_DivMod(A, powSmall(x, static_cast<uint32_t>(n - 1)), 0, q, rem);
    tq_Trim(q);
    return q;
}

// One Newton step of the n-th root (n >= 2 here).
TqStr rootStep(const TqStr &A, const TqStr &x, int32_t n) {
    TqStr t = mulSmall(x, static_cast<uint32_t>(n - 1));
    t = addMag(t, quotientByPower(A, x, n));
    return divSmall(t, static_cast<uint32_t>(n));
}

TqStr sqrtNoRem(const TqStr &A) {
    TqStr C;
    h_SqrtShifted(A, 0, C);
    return C;
}

// A start value not below A^(1/n), from the top 64 bits of A.
TqStr rootStart(const TqStr &A, int32_t n) {
    const int32_t bits = h_BitLength(A);
    // A = top * 2^shift with top holding (up to) the leading 64 bits.
    const int32_t shift = bits > 64 ? bits - 64 : 0;
    uint64_t top = 0;
    for (int32_t i = bits - 1; i >= shift; --i)
        top = (top << 1) | ((tq_W(A)[i / 32] >> (i % 32)) & 1u);
    const double log2A = std::log2(static_cast<double>(top) + 1.0) + shift;
    const double log2Root = log2A / n;
    if (log2Root < 52) {
        double est = std::exp2(log2Root);
        uint64_t v = static_cast<uint64_t>(est * (1 + 1e-12)) + 2;
        TqStr r(8, '\0');
        std::memcpy(r.data(), &v, 8);
        tq_Trim(r);
        return r;
    }
    // Leading 48 bits of the root, raised by a margin far above the double's
    // error, then scaled to the root's size.
    const int64_t e = static_cast<int64_t>(std::floor(log2Root)) - 47;
    const double lead = std::exp2(log2Root - static_cast<double>(e));
    uint64_t v = static_cast<uint64_t>(lead * (1 + 1e-6)) + 2;
    TqStr m(8, '\0');
    std::memcpy(m.data(), &v, 8);
    TqStr r(static_cast<size_t>(e / 32) * 4, '\0');
    r += m;
    // the remaining e mod 32 bits
    r = mulSmall(r, 1u << (e % 32));
    return r;
}

}  // namespace

int32_t h_BitLength(const TqStr &A) {
    for (int32_t i = tq_NWords(A) - 1; i >= 0; --i) {
        const uint32_t w = tq_W(A)[i];
        if (w) return i * 32 + (32 - __builtin_clz(w));
    }
    return 0;
}

void h_Sqrt(TqStr A, int32_t wantRem, TqStr &C, TqStr &R) {
    tq_Trim(A);
    TqStr x = sqrtNoRem(A);
    if (wantRem) {
        TqStr sq;
        h_Square(x, sq);
        tq_Trim(sq);
        R = subMag(A, sq);
    }
    C = std::move(x);
}

void h_Root(TqStr A, int32_t n, int32_t wantRem, TqStr &C, TqStr &R) {
    tq_Trim(A);
    TqStr x;
    if (n <= 1 || tq_IsZero(A)) {
        x = n <= 1 ? A : tq_Word(0);
    } else if (n == 2) {
        x = sqrtNoRem(A);
    } else {
        x = rootStart(A, n);
        TqStr y = rootStep(A, x, n);
        int32_t rounds = 0;
        // y < x while above the floor of the root; the first y >= x ends it.
        while (tq_Cmp(y, x) < 0 && ++rounds <= 2000000) {
            x = std::move(y);
            y = rootStep(A, x, n);
        }
    }
    if (wantRem) {
        TqStr p = (n <= 1) ? x : powSmall(x, static_cast<uint32_t>(n));
        R = subMag(A, p);
    }
    C = std::move(x);
}
