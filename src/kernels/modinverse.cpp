// h_ModInverse: A^-1 mod N by the extended Euclidean algorithm. Magnitudes
// carry no sign, so each Bezout coefficient is a magnitude with a sign flag
// (0 positive, -1 negative). With N0 the original N the loop keeps
// A = y A0 and N = x A0 (mod N0); when N reaches zero, A is gcd(A0, N0) and y
// its coefficient, so y mod N0 is the inverse when the gcd is 1.
#include "divmod.h"
#include "limbops.h"
#include "mul.h"
#include "pow.h"

static void trimMag(TqStr &s) {
    size_t n = s.size() / 4;
    while (n > 1 && tq_W(s)[n - 1] == 0) --n;
    s.resize((n ? n : 1) * 4);
}

static bool isZero(const TqStr &s) {
    for (int32_t i = 0; i < tq_NWords(s); ++i)
        if (tq_W(s)[i]) return false;
    return true;
}

// -1, 0, +1 as a <, =, > b (any lengths).
static int cmpMag(TqStr a, TqStr b) {
    const size_t len = a.size() > b.size() ? a.size() : b.size();
    a.resize(len, '\0');
    b.resize(len, '\0');
    return tqL_Cmp(tq_W(a), tq_W(b), tq_NWords(a));
}

static TqStr addMag(TqStr a, TqStr b) {
    const size_t len = (a.size() > b.size() ? a.size() : b.size()) + 4;
    a.resize(len, '\0');
    b.resize(len, '\0');
    tqL_AddN(tq_W(a), tq_W(a), tq_W(b), tq_NWords(a));
    trimMag(a);
    return a;
}

// a - b for a >= b.
static TqStr subMag(TqStr a, TqStr b) {
    b.resize(a.size(), '\0');
    tqL_SubN(tq_W(a), tq_W(a), tq_W(b), tq_NWords(a));
    trimMag(a);
    return a;
}

struct Signed {
    TqStr mag;
    int32_t flag;  // 0 positive, -1 negative
};

void h_ModInverse(TqStr A, TqStr N, TqStr &Inv, int32_t &exists) {
    trimMag(A);
    trimMag(N);
    const TqStr N0 = N;
    Signed x{tq_Word(0), 0}, y{tq_Word(1), 0};
    TqStr q, r;
    while (!isZero(N)) {
        h_DivMod(A, N, 1, q, r);
        A.swap(N);
        N.swap(r);
        // new x = y - q x
        TqStr t;
        int32_t trim = 1;
        h_Mul(q, x.mag, trim, t);
        trimMag(t);
        const int32_t negT = x.flag == 0 ? -1 : 0;  // sign of -t
        Signed nx;
        if (negT == y.flag) {
            nx = {addMag(y.mag, t), y.flag};
        } else if (cmpMag(y.mag, t) < 0) {
            nx = {subMag(t, y.mag), negT};
        } else {
            nx = {subMag(y.mag, t), y.flag};
        }
        y = std::move(x);
        x = std::move(nx);
    }
    exists = (tq_NWords(A) == 1 && tq_W(A)[0] == 1) ? 1 : 0;
    TqStr inv = y.mag;
    if (!isZero(N0)) {
        if (cmpMag(inv, N0) >= 0) h_Mod(inv, N0, inv);
        if (y.flag != 0 && !isZero(inv)) inv = subMag(N0, inv);
    }
    Inv = std::move(inv);
}
