// Word-level helpers of the signed operations (see mag_ops.h), on the carry
// primitives of the kernels (64-bit limbs where the build has them); results
// are written in place into caller-owned strings.
#include "mag_ops.h"

#include "kernels/limbs.h"

#include <cstring>

uint32_t mg_Add1N(uint32_t *r, int32_t n, uint32_t c) { return c ? tq_Add1(r, r, n, 1) : 0; }

uint32_t mg_Sub1N(uint32_t *r, int32_t n, uint32_t c) { return c ? tq_Sub1(r, r, n, 1) : 0; }

uint32_t mg_MulWordN(uint32_t *r, const uint32_t *x, int32_t n, uint32_t w) {
    uint64_t c = 0;
    for (int32_t i = 0; i < n; ++i) {
        c += static_cast<uint64_t>(x[i]) * w;
        r[i] = static_cast<uint32_t>(c);
        c >>= 32;
    }
    return static_cast<uint32_t>(c);
}

int32_t mg_CmpN(const uint32_t *x, const uint32_t *y, int32_t n) { return tq_CmpN(x, y, n); }

int32_t mg_SigWords(const TqStr &m) {
    int32_t n = tq_NWords(m);
    const uint32_t *w = tq_W(m);
    while (n > 0 && w[n - 1] == 0) --n;
    return n;
}

int32_t mg_SigBytes(const TqStr &m) {
    int32_t n = tq_Len(m);
    while (n > 0 && m[n - 1] == 0) --n;
    return n;
}

bool mg_IsZero(const TqStr &m) { return mg_SigWords(m) == 0; }

bool mg_IsOne(const TqStr &m) { return mg_SigWords(m) == 1 && tq_W(m)[0] == 1; }

int32_t mg_Cmp(const TqStr &x, const TqStr &y) {
    const int32_t nx = mg_SigWords(x), ny = mg_SigWords(y);
    if (nx != ny) return nx < ny ? -1 : 1;
    return mg_CmpN(tq_W(x), tq_W(y), nx);
}

void mg_Trim(TqStr &m) {
    const int32_t n = mg_SigWords(m);
    m.resize(static_cast<size_t>(n ? n : 1) * 4);
    if (!n) tq_W(m)[0] = 0;
}

// The word i of X * 2^(32 s) for a magnitude of n words.
static inline uint32_t shiftedWord(const uint32_t *x, int32_t n, int32_t s, int32_t i) {
    return (i >= s && i - s < n) ? x[i - s] : 0;
}

int32_t mg_AddShifted(const TqStr &X, int32_t sx, const TqStr &Y, int32_t sy, int32_t sub, TqStr &R) {
    int32_t nx = mg_SigWords(X), ny = mg_SigWords(Y);
    if (!nx) sx = 0;
    if (!ny) sy = 0;
    const int32_t tx = nx + sx, ty = ny + sy;
    const uint32_t *x = tq_W(X), *y = tq_W(Y);

    // L is the operand that is copied into R, S the one added or subtracted.
    bool yIsLarger;
    if (!sub) {
        yIsLarger = ty > tx;
    } else if (tx != ty) {
        yIsLarger = ty > tx;
    } else {
        int32_t c = 0;
        for (int32_t i = tx - 1; i >= 0 && c == 0; --i) {
            const uint32_t a = shiftedWord(x, nx, sx, i), b = shiftedWord(y, ny, sy, i);
            if (a != b) c = a < b ? -1 : 1;
        }
        if (c == 0) {
            R.assign(4, '\0');
            return 0;
        }
        yIsLarger = c < 0;
    }
    const uint32_t *l = yIsLarger ? y : x, *s = yIsLarger ? x : y;
    const int32_t nl = yIsLarger ? ny : nx, ns = yIsLarger ? nx : ny;
    const int32_t sl = yIsLarger ? sy : sx, ss = yIsLarger ? sx : sy;
    const int32_t n = nl + sl;
    if (n == 0) {
        R.assign(4, '\0');
        return 0;
    }

    R.resize(static_cast<size_t>(n + 1) * 4);
    uint32_t *r = tq_W(R);
    r[n] = 0;
    if (sl == 0) {
        // One pass: the low words of L below S, L +/- S, then L's words above
        // S with the carry or borrow.
        if (ss) std::memcpy(r, l, static_cast<size_t>(ss) * 4);
        const int32_t above = n - ss - ns;
        if (!sub) {
            const uint32_t c = tq_AddN(r + ss, l + ss, s, ns);
            r[n] = tq_Add1(r + ss + ns, l + ss + ns, above, c);
        } else {
            const uint32_t b = tq_SubN(r + ss, l + ss, s, ns);
            tq_Sub1(r + ss + ns, l + ss + ns, above, b);
        }
    } else {
        // L lies sl words up: R = L', then S is added or subtracted in place.
        std::memset(r, 0, static_cast<size_t>(sl) * 4);
        std::memcpy(r + sl, l, static_cast<size_t>(nl) * 4);
        if (ns) {
            if (!sub) {
                uint32_t c = tq_AddN(r + ss, r + ss, s, ns);
                r[n] = mg_Add1N(r + ss + ns, n - ss - ns, c);
            } else {
                uint32_t b = tq_SubN(r + ss, r + ss, s, ns);
                mg_Sub1N(r + ss + ns, n - ss - ns, b);
            }
        }
    }
    mg_Trim(R);
    return sub && yIsLarger ? 1 : 0;
}

void mg_MulWord(TqStr &M, uint32_t w) {
    const int32_t n = tq_NWords(M);
    const uint32_t top = mg_MulWordN(tq_W(M), tq_W(M), n, w);
    if (top) M.append(reinterpret_cast<const char *>(&top), 4);
    mg_Trim(M);
}

void mg_ShiftLeft1(TqStr &M) {
    const int32_t n = tq_NWords(M);
    uint32_t *w = tq_W(M);
    uint32_t carry = 0;
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t v = w[i];
        w[i] = (v << 1) | carry;
        carry = v >> 31;
    }
    if (carry) M.append(reinterpret_cast<const char *>(&carry), 4);
}

uint32_t mg_ShiftRight1(TqStr &M) {
    const int32_t n = tq_NWords(M);
    uint32_t *w = tq_W(M);
    uint32_t carry = 0;
    for (int32_t i = n - 1; i >= 0; --i) {
        const uint32_t v = w[i];
        w[i] = (v >> 1) | (carry << 31);
        carry = v & 1;
    }
    mg_Trim(M);
    return carry;
}

void mg_Inc(TqStr &M) {
    const uint32_t one = 1;
    if (mg_Add1N(tq_W(M), tq_NWords(M), 1)) M.append(reinterpret_cast<const char *>(&one), 4);
}

void mg_Dec(TqStr &M) {
    mg_Sub1N(tq_W(M), tq_NWords(M), 1);
    mg_Trim(M);
}
