// h_ModInverse: A^-1 mod N by the extended Euclidean algorithm. Magnitudes
// carry no sign, so each Bezout coefficient is a magnitude with a sign flag
// (0 positive, -1 negative). With N0 the original N the loop keeps
// A = y A0 and N = x A0 (mod N0); when N reaches zero, A is gcd(A0, N0) and y
// its coefficient, so y mod N0 is the inverse when the gcd is 1.
#include "addsub.h"
#include "divmod.h"
#include "limbs.h"
#include "mul.h"
#include "pow.h"

struct Signed {
    TqStr mag;
    int32_t flag;  // 0 positive, -1 negative
};

void h_ModInverse(TqStr A, TqStr N, TqStr &Inv, int32_t &exists) {
    tq_Trim(A);
    tq_Trim(N);
    const TqStr N0 = N;
    Signed x{tq_Word(0), 0}, y{tq_Word(1), 0};
    TqStr q, r;
    while (!tq_IsZero(N)) {
        h_DivMod(A, N, 1, q, r);
        A.swap(N);
        N.swap(r);
        // new x = y - q x
        TqStr t;
        int32_t trim = 1;
        h_Mul(q, x.mag, trim, t);
        tq_Trim(t);
        const int32_t negT = x.flag == 0 ? -1 : 0;  // sign of -t
        Signed nx{TqStr(), y.flag};
        if (tq_AddSub(y.mag, t, negT != y.flag, nx.mag)) nx.flag = negT;
        y = std::move(x);
        x = std::move(nx);
    }
    exists = (tq_NWords(A) == 1 && tq_W(A)[0] == 1) ? 1 : 0;
    TqStr inv = y.mag;
    if (!tq_IsZero(N0)) {
        if (tq_Cmp(inv, N0) >= 0) h_Mod(inv, N0, inv);
        if (y.flag != 0 && !tq_IsZero(inv)) {
            TqStr d;
            tq_AddSub(N0, inv, 1, d);
            inv = std::move(d);
        }
    }
    Inv = std::move(inv);
}
