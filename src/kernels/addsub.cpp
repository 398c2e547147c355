// Magnitude addition, subtraction, comparison, shifts, unit steps and
// trimming (contracts in addsub.h): thin entries over the primitives of
// limbs.h that fix lengths, aliasing and the reports.
#include "addsub.h"

#include <algorithm>
#include <cstring>

#include "base/tq_state.h"
#include "limbs.h"

static const uint32_t *words(const void *p) { return static_cast<const uint32_t *>(p); }

void h_Trim(TqStr &s) { tq_Trim(s); }

// The one place with the inverted sign: +1 means the first is the smaller.
int32_t h_Compare_Ptr(const void *A, int32_t lenA, const void *B, int32_t lenB) {
    TQ_REQUIRE(lenA >= 0 && lenB >= 0);
    const uint32_t *a = words(A), *b = words(B);
    int32_t na = lenA / 4, nb = lenB / 4;
    for (; na > nb; --na)
        if (a[na - 1]) return -1;
    for (; nb > na; --nb)
        if (b[nb - 1]) return 1;
    return -tq_CmpN(a, b, na);
}

int32_t h_IsSmaller(const TqStr &A, const TqStr &B) {
    return h_Compare_Ptr(A.data(), tq_Len(A), B.data(), tq_Len(B)) == 1 ? 1 : 0;
}

int32_t h_IsZero(const TqStr &A) { return tq_IsZero(A) ? 1 : 0; }

// Sum of the words of L and S (S not longer than L) into r, which holds the
// length of L; returns the carry out of the top.
static uint32_t addInto(uint32_t *r, const uint32_t *l, int32_t nl, const uint32_t *s, int32_t ns) {
    uint32_t c = tq_AddN(r, l, s, ns);
    return tq_Add1(r + ns, l + ns, nl - ns, c);
}

void h_Add(const TqStr &X, const TqStr &Y, TqStr &R) {
    const TqStr *L = &X, *S = &Y;
    if (Y.size() > X.size()) std::swap(L, S);
    const int32_t nl = tq_NWords(*L), ns = tq_NWords(*S);
    uint32_t c;
    if (&R == L) {
        c = addInto(tq_W(R), tq_W(R), nl, tq_W(*S), ns);
    } else if (&R == S) {
        // R is the shorter operand and must grow: build the sum beside it.
        TqStr t(static_cast<size_t>(nl) * 4, '\0');
        c = addInto(tq_W(t), tq_W(*L), nl, tq_W(*S), ns);
        R = std::move(t);
    } else {
        R.resize(static_cast<size_t>(nl) * 4);
        c = addInto(tq_W(R), tq_W(*L), nl, tq_W(*S), ns);
    }
    if (c) R += tq_Word(1);
}

void h_Sub(const TqStr &X, const TqStr &Y, int32_t trim, TqStr &R) {
    const int32_t nx = tq_NWords(X), ny = tq_NWords(Y);
    if (ny > nx) {
        // The first operand is taken zero-extended to the second's length.
        TqStr Xe = X;
        Xe.resize(Y.size(), '\0');
        h_Sub(Xe, Y, trim, R);
        return;
    }
    if (&R == &Y && &R != &X) {
        TqStr t(static_cast<size_t>(nx) * 4, '\0');
        tq_Sub1(tq_W(t) + ny, tq_W(X) + ny, nx - ny, tq_SubN(tq_W(t), tq_W(X), tq_W(Y), ny));
        R = std::move(t);
    } else {
        if (&R != &X) R.resize(static_cast<size_t>(nx) * 4);
        uint32_t *r = tq_W(R);
        tq_Sub1(r + ny, tq_W(X) + ny, nx - ny, tq_SubN(r, tq_W(X), tq_W(Y), ny));
    }
    if (trim && nx > 1 && tq_W(R)[nx - 1] == 0) tq_Trim(R);
}

void h_Add_Ptr1(const void *X, int32_t lenX, const void *Y, int32_t lenY, void *D, uint8_t &carry) {
    TQ_REQUIRE(lenX >= 0 && lenY >= 0 && lenX % 4 == 0 && lenY % 4 == 0);
    const uint32_t *x = words(X), *y = words(Y);
    int32_t nx = lenX / 4, ny = lenY / 4;
    if (ny > nx) {
        std::swap(x, y);
        std::swap(nx, ny);
    }
    uint32_t *d = static_cast<uint32_t *>(D);
    const uint32_t c = addInto(d, x, nx, y, ny);
    if (c) d[nx] = 1;
    carry = static_cast<uint8_t>(c);
}

void h_Sub_Ptr1(const void *X, int32_t lenX, const void *Y, int32_t lenY, void *D, uint8_t &borrow) {
    TQ_REQUIRE(lenX >= 0 && lenY >= 0 && lenX % 4 == 0 && lenY % 4 == 0);
    const uint32_t *x = words(X), *y = words(Y);
    int32_t nx = lenX / 4, ny = lenY / 4;
    if (ny > nx) {
        std::swap(x, y);
        std::swap(nx, ny);
    }
    uint32_t *d = static_cast<uint32_t *>(D);
    const uint32_t b = tq_Sub1(d + ny, x + ny, nx - ny, tq_SubN(d, x, y, ny));
    borrow = static_cast<uint8_t>(b);
    if (b) {
        const int32_t depth = std::max(tq_Depth(), 0);
        n_Trace(std::string(static_cast<size_t>(depth) * 4, ' ') +
                "h_Sub_Ptr1: CarryFlag <> 0. Possible error condition !");
        n_Trace(" ");
    }
}

void h_ShiftLeft1(const TqStr &X, TqStr &R) {
    const int32_t n = tq_NWords(X);
    if (&R != &X) R.resize(X.size());
    if (tq_Lsh1N(tq_W(R), tq_W(X), n)) R += tq_Word(1);
}

void h_ShiftRight1(const TqStr &X, TqStr &R, TqStr &bit) {
    if (&R != &X) R = X;
    const int32_t n = tq_NWords(R);
    bit = tq_Word(tq_Rsh1N(tq_W(R), tq_W(R), n));
    if (n > 1 && tq_W(R)[n - 1] == 0) tq_Trim(R);
}

void h_Inc(const TqStr &X, TqStr &R) {
    if (&R != &X) R = X;
    if (tq_Add1(tq_W(R), tq_W(R), tq_NWords(R), 1)) R += tq_Word(1);
}

void h_Dec(const TqStr &X, TqStr &R) {
    if (&R != &X) R = X;
    const int32_t n = tq_NWords(R);
    tq_Sub1(tq_W(R), tq_W(R), n, 1);
    if (n > 1 && tq_W(R)[n - 1] == 0) tq_Trim(R);
}

int32_t h_PadToWord(const TqStr &X, TqStr &R) {
    if (&R != &X) R = X;
    const size_t rem = R.size() % 4;
    if (rem == 0) return 0;
    R.append(4 - rem, '\0');
    return 1;
}

int32_t h_IsOdd(const TqStr &X) { return X.empty() ? 0 : (static_cast<unsigned char>(X[0]) & 1); }

// The word i of X * 2^(32 s) for a magnitude of n words.
static uint32_t shiftedWord(const uint32_t *x, int32_t n, int32_t s, int32_t i) {
    return (i >= s && i - s < n) ? x[i - s] : 0;
}

int32_t tq_AddShifted(const TqStr &X, int32_t sx, const TqStr &Y, int32_t sy, int32_t sub, TqStr &R) {
    TQ_REQUIRE(&R != &X && &R != &Y && sx >= 0 && sy >= 0);
    int32_t nx = tq_SigWords(X), ny = tq_SigWords(Y);
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
                r[n] = tq_Add1(r + ss + ns, r + ss + ns, n - ss - ns, c);
            } else {
                uint32_t b = tq_SubN(r + ss, r + ss, s, ns);
                tq_Sub1(r + ss + ns, r + ss + ns, n - ss - ns, b);
            }
        }
    }
    tq_Trim(R);
    return sub && yIsLarger ? 1 : 0;
}
