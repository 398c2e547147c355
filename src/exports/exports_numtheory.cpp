// Exports of the number theory: TQ_GCD, TQ_LCM, TQ_MODINV, TQ_EXTEUCLIDALGO.
#include "frame/frame.h"
#include "arith/number_theory.h"
#include "tarq.h"

extern "C" {

int32_t TQ_CALL TQ_GCD(int32_t a, int32_t b, int32_t hOut) { return tq_Frame2(n_Gcd, a, b, hOut); }

int32_t TQ_CALL TQ_LCM(int32_t a, int32_t b, int32_t hOut) { return tq_Frame2(n_Lcm, a, b, hOut); }

int32_t TQ_CALL TQ_MODINV(int32_t a, int32_t modulus, int32_t hOut) {
    return tq_Frame2(n_ModInv, a, modulus, hOut);
}

// Two operands and three results, written back as X, then Y, then G: a handle
// given for two results ends up holding the later one.
int32_t TQ_CALL TQ_EXTEUCLIDALGO(int32_t a, int32_t b, int32_t hX, int32_t hY, int32_t hG) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        for (int32_t h : {a, b, hX, hY, hG})
            if (!tq_CheckHandle(h)) return tq_Err_Handle;
        TqNum A = gTq_Store[a];
        TqNum B = gTq_Store[b];
        TqNum X = gTq_Store[hX];
        TqNum Y = gTq_Store[hY];
        TqNum G = gTq_Store[hG];
        const int32_t status = n_ExtEuclid(std::move(A), std::move(B), X, Y, G);
        gTq_Store[hX] = std::move(X);
        gTq_Store[hY] = std::move(Y);
        gTq_Store[hG] = std::move(G);
        return tq_Status(status);
    });
}

}  // extern "C"
