// Exact and modular powers of magnitudes, the Montgomery arithmetic and the
// modular inverse behind them, and the exponent's sliding-window recoding.
#pragma once
#include <vector>

#include "base/tq_types.h"

// R = B^E, trimmed.
void h_Pow(TqStr B, TqStr E, TqStr &R);
// Index of the top set bit of E (bit 0 of byte 0 is index 0), -1 when E is 0.
int32_t h_TopBit(const TqStr &E);

// R = B^E mod M, trimmed: Montgomery for odd M, plain reduction otherwise.
// B^0 mod M = 1 for every M (also M = 1). A zero modulus gives zero.
void h_PowMod(TqStr B, TqStr E, TqStr M, TqStr &R);
// The same for any M > 0, every step reduced by long division.
void h_PowMod_Plain(TqStr B, TqStr E, TqStr M, TqStr &R);
// The same for odd M.
void h_PowMod_Montgomery(TqStr B, TqStr E, TqStr M, TqStr &R);

// For odd M of n bytes and R = 2^(8n): Mp = R - (M^-1 mod R), n, and
// exists = 1 when the inverse exists (always, for odd M).
void h_MontgomerySetup(const TqStr &M, TqStr &Mp, int32_t &n, int32_t &exists);
// R = T x 2^(-8n) mod M for T < M x 2^(8n), with Mp and n from the set-up.
void h_MontgomeryReduce(TqStr T, const TqStr &M, const TqStr &Mp, int32_t n, TqStr &R);
// Inv = A^-1 mod N and exists = 1 when gcd(A, N) = 1; otherwise exists = 0
// and Inv is the Bezout coefficient of A (A x Inv = gcd mod N).
void h_ModInverse(TqStr A, TqStr N, TqStr &Inv, int32_t &exists);

// One record of the recoded exponent: a run of zero bits (Kind 0, Length
// bits) or a window (Kind 1, Length bits, odd Value).
struct TqWindowRec {
    int32_t Kind;
    int32_t Length;
    int32_t Value;
};
// Window width for an exponent of expBytes bytes: 3 up to 8 bytes, 4 up to 16,
// 5 up to 32, 6 up to 128, 7 up to 256, 8 beyond.
int32_t h_WindowWidth(int32_t expBytes);
// Records of E from its least significant end (empty for E = 0).
void h_SlidingWindow(const TqStr &E, int32_t k, std::vector<TqWindowRec> &recs);
