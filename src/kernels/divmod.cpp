// h_DivMod, h_Mod and h_MulWord: integer division of magnitudes.
//
// h_DivMod(X, Y) gives Q = X div Y and Rem = X mod Y, both trimmed. The
// operands are copies; high zero words in them are ignored. The divisor is
// normalised (shifted left until its top bit is set, the dividend by the
// same amount), divided by the limb loops of div_core.h, and the remainder
// shifted back. Rem is the true remainder whether or not it was asked for
// (the flag only says whether the caller wants it). A zero divisor is guarded:
// Q is zero and Rem is the dividend.
#include <cstring>
#include <vector>

#include "base/cancel.h"
#include "div_core.h"
#include "divmod.h"

// Writes the n limbs at p, trimmed, into S (reusing S's storage).
template <class L> static void storeTrimmed(TqStr &S, const L *p, int32_t n) {
    int32_t words = n * static_cast<int32_t>(sizeof(L) / 4);
    const uint32_t *w = reinterpret_cast<const uint32_t *>(p);
    while (words > 1 && w[words - 1] == 0) --words;
    if (words < 1) words = 1;
    S.assign(reinterpret_cast<const char *>(p), static_cast<size_t>(words) * 4);
}

// Q = X div Y and (when Rem is given) Rem = X mod Y for X the words x[0..nx)
// above z zero words and Y the words y[0..ny), y[ny - 1] non-zero.
// The quotient's qn limbs go to storeQ(q, qn).
template <class L, class StoreQ>
static void divideLimbs(const uint32_t *x, int32_t nx, int32_t z, const uint32_t *y, int32_t ny, StoreQ &&storeQ,
                        TqStr *Rem) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    const int32_t dn = (ny + per - 1) / per;
    // One spare limb on top of the dividend takes the normalising shift and
    // keeps its top dn limbs below the divisor.
    const int32_t un = (nx + z + per - 1) / per + 1;
    const int32_t qn = un - dn;
    // Divisor, dividend and quotient in one scratch area; small divisions
    // stay on the stack.
    const size_t total = static_cast<size_t>(dn + un + qn);
    tq_Scratch<L, 96> work(total);
    L *d = work.data();
    L *u = d + dn, *q = u + un;
    std::memset(d, 0, total * sizeof(L));
    std::memcpy(d, y, static_cast<size_t>(ny) * 4);
    std::memcpy(reinterpret_cast<uint32_t *>(u) + z, x, static_cast<size_t>(nx) * 4);
    const int s = tqL_LeadingZeros(d[dn - 1]);
    if (s) {
        tqL_ShiftLeft(d, d, dn, s);
        tqL_ShiftLeft(u, u, un, s);
    }
    tq_DivAny(u, un, d, dn, q);
    storeQ(q, qn);
    if (!Rem) return;
    if (s) tqL_ShiftRight(u, u, dn, s);
    storeTrimmed(*Rem, u, dn);
}

void h_DivMod(TqStr X, TqStr Y, int32_t wantRem, TqStr &Q, TqStr &Rem) {
    tq_CheckCancel();
    (void)wantRem;
    if (X.size() % 4) X.resize((X.size() / 4 + 1) * 4, '\0');
    if (Y.size() % 4) Y.resize((Y.size() / 4 + 1) * 4, '\0');
    tq_Trim(X);
    tq_Trim(Y);
    if (tq_IsZero(Y) || tq_Cmp(X, Y) < 0) {
        Q = tq_Word(0);
        Rem = std::move(X);
        return;
    }
    tqL_OnLimbWidth([&](auto limb) {
        typedef decltype(limb) L;
        divideLimbs<L>(
            tq_W(X), tq_NWords(X), 0, tq_W(Y), tq_NWords(Y), [&](const L *q, int32_t qn) { storeTrimmed(Q, q, qn); },
            &Rem);
    });
}

// True when X (nx words above z zero words) is below Y, both without high
// zero words.
static bool quotientIsZero(const uint32_t *x, int32_t nx, int32_t z, const uint32_t *y, int32_t ny) {
    if (ny == 0 || nx + z < ny) return true;
    if (nx + z > ny) return false;
    // As many words: the top ones decide, the z zero words below X only when
    // all of them are equal.
    const int32_t c = tq_CmpN(x, y + z, nx);
    if (c != 0) return c < 0;
    for (int32_t i = 0; i < z; ++i)
        if (y[i]) return true;
    return false;
}

void h_DivQuot(const uint32_t *x, int32_t nx, int32_t z, const uint32_t *y, int32_t ny, TqStr &Q) {
    while (nx > 0 && x[nx - 1] == 0) --nx;
    while (ny > 0 && y[ny - 1] == 0) --ny;
    if (nx == 0) z = 0;
    if (quotientIsZero(x, nx, z, y, ny)) {
        Q.assign(4, '\0');
        return;
    }
    tqL_OnLimbWidth([&](auto limb) {
        typedef decltype(limb) L;
        divideLimbs<L>(x, nx, z, y, ny, [&](const L *q, int32_t qn) { storeTrimmed(Q, q, qn); }, nullptr);
    });
}

int32_t h_DivQuotN(const uint32_t *x, int32_t nx, int32_t z, const uint32_t *y, int32_t ny, uint32_t *q) {
    while (nx > 0 && x[nx - 1] == 0) --nx;
    while (ny > 0 && y[ny - 1] == 0) --ny;
    if (nx == 0) z = 0;
    if (quotientIsZero(x, nx, z, y, ny)) {
        q[0] = 0;
        return 1;
    }
    int32_t words = 0;
    tqL_OnLimbWidth([&](auto limb) {
        typedef decltype(limb) L;
        divideLimbs<L>(
            x, nx, z, y, ny,
            [&](const L *p, int32_t qn) {
                words = qn * static_cast<int32_t>(sizeof(L) / 4);
                std::memcpy(q, p, static_cast<size_t>(words) * 4);
                while (words > 1 && q[words - 1] == 0) --words;
            },
            nullptr);
    });
    return words;
}

void h_Mod(TqStr X, TqStr Y, TqStr &Rem) {
    TqStr q;
    h_DivMod(std::move(X), std::move(Y), 1, q, Rem);
}

void h_MulWord(const TqStr &W, const TqStr &Y, int32_t &trim, TqStr &R) {
    const uint32_t w = tq_W(W)[0];
    TqStr r(Y.size() + 4, '\0');
    if (w != 0) {
        const int32_t n = tq_NWords(Y);
        tq_W(r)[n] = tq_MulWordN(tq_W(r), tq_W(Y), n, w);
    }
    if (trim && r.size() > 4) tq_Trim(r);
    R = std::move(r);
}
