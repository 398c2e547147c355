// Exports of the roots and powers: TQ_SQRT, TQ_ROOT, TQ_POW, TQ_POWMOD.
#include "frame/frame.h"
#include "funcs/funcs.h"
#include "tarq.h"

extern "C" {

int32_t TQ_CALL TQ_SQRT(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Sqrt, hIn, hOut); }

int32_t TQ_CALL TQ_POW(int32_t a, int32_t b, int32_t hOut) { return tq_Frame2(n_Pow, a, b, hOut); }

int32_t TQ_CALL TQ_POWMOD(int32_t base, int32_t exponent, int32_t modulus, int32_t hOut) {
    return tq_Frame3(n_PowMod, base, exponent, modulus, hOut);
}

// Two outputs: both are computed into private copies and written back root
// last, so that one handle given for both receives the root.
int32_t TQ_CALL TQ_ROOT(int32_t a, int32_t n, int32_t wantRemainder, int32_t hRoot, int32_t hRem) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(a) || !tq_CheckHandle(n) || !tq_CheckHandle(hRoot) || !tq_CheckHandle(hRem))
            return tq_Err_Handle;
        TqNum va = gTq_Store[a], vn = gTq_Store[n];
        TqNum c = gTq_Store[hRoot], r = gTq_Store[hRem];
        const int32_t st = n_Root(std::move(va), std::move(vn), wantRemainder, c, r);
        gTq_Store[hRem] = std::move(r);
        gTq_Store[hRoot] = std::move(c);
        return tq_Status(st);
    });
}

}  // extern "C"
