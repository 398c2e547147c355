// Greatest common divisor, least common multiple, modular inverse and the
// extended Euclidean algorithm on big integers.
//
// The gcd and lcm work on the bare magnitudes (signs ignored, results never
// negative). The modular inverse and the extended algorithm run Euclid's
// recurrence on signed big integers with the truncating integer division, so
// intermediate coefficients, and the gcd of the extended algorithm for
// operands of mixed signs, may be negative. Operands are private copies;
// results are written by reference and keep their InUse field.
#include "kernels/limbs.h"
#include "number_theory.h"

#include <initializer_list>

#include "arith.h"
#include "numbers/number.h"
#include "base/tq_state.h"
#include "kernels/divmod.h"
#include "kernels/mul.h"

namespace {

// A magnitude as the kernels expect it: whole words, trimmed, at least one word
// (a special value's magnitude carries no meaning and may be anything).
void saneMag(TqStr &m) {
    if (m.size() % 4) m.resize(m.size() + 4 - m.size() % 4, '\0');
    if (m.empty()) m = tq_Word(0);
    tq_Trim(m);
}

TqNum bigInt(uint32_t w, int32_t sign = 1) {
    TqNum v;
    v.V = TarqVar{0, sign, 0, TarqBigInt, 0};
    v.MantN = tq_Word(w);
    v.DenN = tq_Word(1);
    return v;
}

// dst becomes the non-negative big integer mag (trimmed), keeping its InUse.
void assignMagnitude(TqNum &dst, TqStr mag) {
    tq_Trim(mag);
    const int32_t inUse = dst.V.InUse;
    dst.V = TarqVar{inUse, 1, 0, TarqBigInt, 0};
    dst.MantN = std::move(mag);
    dst.DenN = tq_Word(1);
}

// dst takes src's value (record and both strings) but keeps its own InUse.
void assignValue(TqNum &dst, const TqNum &src) {
    const int32_t inUse = dst.V.InUse;
    dst = src;
    dst.V.InUse = inUse;
}

// The checks shared by the four operations. Returns tq_Err_Type (raised) on a
// kind mismatch or a non-integer A; otherwise 0 or tq_Err_Invalid (raised) for a
// special operand, which is then treated as its bare magnitude.
int32_t commonChecks(TqNum &A, TqNum &B, std::initializer_list<const TqNum *> results, bool &refused) {
    refused = true;
    const int32_t kind = A.V.NumType;
    if (B.V.NumType != kind) return tq_RaiseErr(tq_Err_Type);
    for (const TqNum *r : results)
        if (r->V.NumType != kind) return tq_RaiseErr(tq_Err_Type);
    if (kind != TarqBigInt) return tq_RaiseErr(tq_Err_Type);
    refused = false;
    int32_t status = 0;
    if (A.V.Special != 0 || B.V.Special != 0) status = tq_RaiseErr(tq_Err_Invalid);
    for (TqNum *v : {&A, &B}) {
        v->V.Special = 0;
        v->V.Expo = 0;
        if (v->V.Sign != -1) v->V.Sign = 1;
        saneMag(v->MantN);
        v->DenN = tq_Word(1);
        if (tq_IsZero(v->MantN)) v->V.Sign = 1;
    }
    return status;
}

// (s, t) := (t - Q * s, s)
int32_t stepCoefficients(const TqNum &Q, TqNum &s, TqNum &t) {
    TqNum qs = bigInt(0), next = bigInt(0);
    int32_t status = n_Mul(Q, s, qs);
    status |= n_Sub(t, qs, next);
    t = std::move(s);
    s = std::move(next);
    return status;
}

}  // namespace

int32_t n_Gcd(TqNum A, TqNum B, TqNum &C) {
    bool refused;
    int32_t status = commonChecks(A, B, {&C}, refused);
    if (refused) return status;
    TqStr g;
    h_Gcd(A.MantN, B.MantN, g);
    assignMagnitude(C, std::move(g));
    return status;
}

int32_t n_Lcm(TqNum A, TqNum B, TqNum &C) {
    bool refused;
    int32_t status = commonChecks(A, B, {&C}, refused);
    if (refused) return status;
    int32_t trim = 1;
    TqStr product, g, q, rem;
    h_Mul(A.MantN, B.MantN, trim, product);
    h_Gcd(A.MantN, B.MantN, g);
    // The gcd is 0 only when both operands are 0; their lcm is 0 as well, and
    // dividing by the zero gcd must be avoided.
    if (tq_IsZero(g))
        q = tq_Word(0);
    else
        h_DivMod(product, g, 0, q, rem);
    assignMagnitude(C, std::move(q));
    return status;
}

int32_t n_ModInv(TqNum A, TqNum M, TqNum &C) {
    bool refused;
    int32_t status = commonChecks(A, M, {&C}, refused);
    if (refused) return status;
    // Nothing is invertible modulo 0; the recurrence below would not notice.
    if (tq_IsZero(M.MantN)) {
        assignValue(C, bigInt(0));
        return status | tq_RaiseErr(tq_Err_NoInverse);
    }
    TqNum s = bigInt(0), t = bigInt(1), M0 = M;
    TqNum Q = bigInt(0), R = bigInt(0);
    while (!tq_IsZero(M.MantN)) {
        status |= n_DivInt(A, M, Q, R);
        A = std::move(M);
        M = std::move(R);
        R = bigInt(0);
        status |= stepCoefficients(Q, s, t);
    }
    // With operands of different signs the truncating division can end on a
    // gcd of -1; then -t is the inverse.
    if (A.V.Sign == -1) {
        A.V.Sign = 1;
        if (!tq_IsZero(t.MantN)) t.V.Sign = -t.V.Sign;
    }
    if (t.V.Sign == -1) {
        TqNum lifted = bigInt(0);
        status |= n_Add(t, M0, lifted);
        assignValue(C, lifted);
    } else {
        assignValue(C, t);
    }
    const bool gcdIsOne = A.V.Sign == 1 && tq_NWords(A.MantN) == 1 && tq_W(A.MantN)[0] == 1;
    if (!gcdIsOne) status |= tq_RaiseErr(tq_Err_NoInverse);
    return status;
}

int32_t n_ExtEuclid(TqNum A, TqNum B, TqNum &X, TqNum &Y, TqNum &G) {
    bool refused;
    int32_t status = commonChecks(A, B, {&X, &Y, &G}, refused);
    if (refused) return status;
    TqNum s = bigInt(0), t = bigInt(1), x = bigInt(1), y = bigInt(0);
    TqNum Q = bigInt(0), R = bigInt(0);
    while (!tq_IsZero(B.MantN)) {
        status |= n_DivInt(A, B, Q, R);
        A = std::move(B);
        B = std::move(R);
        R = bigInt(0);
        status |= stepCoefficients(Q, s, x);
        status |= stepCoefficients(Q, t, y);
    }
    assignValue(X, x);
    assignValue(Y, y);
    assignValue(G, A);
    return status;
}
