// Shared pieces of the arithmetic tests: random operands with fixed seeds
// (random words, long runs of equal bits, values around word boundaries,
// zeros and +-1), calls through the exports on store handles, and the checks
// of results against exact GMP values.
#pragma once
#include <gmp.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/tq_state.h"
#include "tarq.h"
#include "tq_gmp.h"
#include "ulp.h"

struct TqRng {
    gmp_randstate_t st;
    explicit TqRng(unsigned long seed) {
        gmp_randinit_mt(st);
        gmp_randseed_ui(st, seed);
    }
    ~TqRng() { gmp_randclear(st); }
    unsigned long ui(unsigned long n) { return gmp_urandomm_ui(st, n); }
};

// A signed integer of at most maxWords words with a bias toward edge values.
inline void tqt_RandMpz(TqRng &g, mpz_t z, int maxWords) {
    const unsigned long words = 1 + g.ui(static_cast<unsigned long>(maxWords));
    const mp_bitcnt_t bits = 1 + g.ui(32 * words);
    switch (g.ui(12)) {
        case 0: mpz_set_ui(z, 0); break;
        case 1: mpz_set_ui(z, 1); break;
        case 2:  // 2^(32k) - 1, 2^(32k), 2^(32k) + 1
        case 3: {
            mpz_set_ui(z, 0);
            mpz_setbit(z, 32 * words);
            const long d = static_cast<long>(g.ui(3)) - 1;
            if (d < 0) mpz_sub_ui(z, z, 1);
            if (d > 0) mpz_add_ui(z, z, 1);
            break;
        }
        case 4:
        case 5:
        case 6: mpz_rrandomb(z, g.st, bits); break;
        default: mpz_urandomb(z, g.st, bits); break;
    }
    if (g.ui(2)) mpz_neg(z, z);
}

// A positive integer of at most maxWords words (a denominator).
inline void tqt_RandPos(TqRng &g, mpz_t z, int maxWords) {
    tqt_RandMpz(g, z, maxWords);
    mpz_abs(z, z);
    if (mpz_sgn(z) == 0) mpz_set_ui(z, 1 + g.ui(7));
}

// A random fraction, reduced unless `unreduced`.
inline TqNum tqt_RandFraction(TqRng &g, int maxWords, bool unreduced = false) {
    Mpz n, d, c;
    tqt_RandMpz(g, n, maxWords);
    tqt_RandPos(g, d, maxWords);
    if (!unreduced) {
        mpz_gcd(c, n, d);
        if (mpz_sgn(c)) {
            mpz_divexact(n, n, c);
            mpz_divexact(d, d, c);
        }
        if (mpz_sgn(n) == 0) mpz_set_ui(d, 1);
    }
    return tqg_Fraction(n, d);
}

// A random float of a kind with a mantissa of at most maxWords words and an
// exponent in [eLo, eHi] (bytes on the word grid for binary floats, digits
// for decimal floats).
inline TqNum tqt_RandFloat(TqRng &g, int32_t kind, int maxWords, int32_t eLo, int32_t eHi) {
    Mpz m;
    tqt_RandMpz(g, m, maxWords);
    int32_t e = eLo + static_cast<int32_t>(g.ui(static_cast<unsigned long>(eHi - eLo + 1)));
    if (kind == TarqBinFloat) e -= ((e % 4) + 4) % 4;
    return tqg_Make(kind, m, mpz_sgn(m) ? e : 0);
}

// Sets the working precision in bytes.
inline void tqt_SetPrecisionBytes(int32_t bytes) { TQ_SETPRECISION(3, bytes); }

// Structure of every finite result: trimmed, canonical zero, word-grid
// exponent for binary floats, positive trimmed denominator for fractions
// (reduced when `reduced`).
inline ::testing::AssertionResult tqt_WellFormed(const TqNum &v, bool reduced = true) {
    if (v.V.Special != 0) return ::testing::AssertionFailure() << "special " << v.V.Special;
    if (v.MantN.size() < 4 || v.MantN.size() % 4) return ::testing::AssertionFailure() << "bad magnitude length";
    const int32_t n = tq_NWords(v.MantN);
    if (n > 1 && tq_W(v.MantN)[n - 1] == 0) return ::testing::AssertionFailure() << "magnitude not trimmed";
    if (n == 1 && tq_W(v.MantN)[0] == 0 && (v.V.Sign != 1 || v.V.Expo != 0))
        return ::testing::AssertionFailure() << "zero not canonical: sign " << v.V.Sign << " expo " << v.V.Expo;
    if (v.V.Sign != 1 && v.V.Sign != -1) return ::testing::AssertionFailure() << "bad sign";
    if (v.V.NumType == TarqBinFloat && v.V.Expo % 4) return ::testing::AssertionFailure() << "binary expo off grid";
    if (v.V.NumType == TarqFraction) {
        Mpz d(v.DenN), nn(v.MantN), c;
        mpz_gcd(c, nn, d);
        const bool bad = mpz_sgn(d) == 0 || (reduced && mpz_cmp_ui(c, 1) != 0);
        const int32_t nd = tq_NWords(v.DenN);
        const bool untrimmed = nd > 1 && tq_W(v.DenN)[nd - 1] == 0;
        if (bad) return ::testing::AssertionFailure() << "fraction denominator zero or not reduced";
        if (untrimmed) return ::testing::AssertionFailure() << "denominator not trimmed";
    }
    return ::testing::AssertionSuccess();
}

// The unit a float result's error is counted in: for a binary float the unit
// in the last place of the precision (ulp.h) at the exact value, for a
// decimal float its last mantissa digit (10^Expo, below the D-th digit).
inline void tqt_ErrorUnit(mpq_t u, const TqNum &res, const mpq_t exact) {
    if (res.V.NumType != TarqBinFloat || mpq_sgn(exact) == 0) {
        tqg_Unit(u, res);
        return;
    }
    mpfr_t x, w;
    mpfr_inits2(64, x, w, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_q(x, exact, MPFR_RNDZ);
    ulp_Unit(w, x, TarqBinFloat);
    mpfr_get_q(u, w);
    mpfr_clears(x, w, static_cast<mpfr_ptr>(nullptr));
}

// Compares a float result with the exact value: the error may be at most
// `units` units (tqt_ErrorUnit), or (when relBytes > 0)
// at most 256^-relBytes of the exact value; and the result must carry the
// working precision: the error is at most 256^-(P - 6) of the exact value.
inline ::testing::AssertionResult tqt_FloatClose(const TqNum &res, const mpq_t exact, long units, long relBytes = 0) {
    ::testing::AssertionResult wf = tqt_WellFormed(res);
    if (!wf) return wf;
    const int32_t P = gTq_Prec_Bytes_Internal;
    if (res.V.NumType == TarqBinFloat && tq_Len(res.MantN) > P + 4)
        return ::testing::AssertionFailure() << "binary mantissa longer than P + 4 bytes: " << tq_Len(res.MantN);
    Mpq got, err, unit, tol;
    tqg_ToMpq(got, res);
    mpq_sub(err, got, exact);
    mpq_abs(err, err);
    tqt_ErrorUnit(unit, res, exact);
    // err <= |exact| * 256^-bytes
    auto withinBytes = [&](long bytes) {
        mpq_abs(tol, exact);
        mpz_mul_2exp(mpq_denref(tol), mpq_denref(tol), static_cast<mp_bitcnt_t>(8 * bytes));
        mpq_canonicalize(tol);
        return mpq_cmp(err, tol) <= 0;
    };
    mpq_set_ui(tol, units, 1);
    mpq_mul(tol, tol, unit);
    const bool ok = mpq_cmp(err, tol) <= 0 || (relBytes > 0 && withinBytes(relBytes));
    const bool keeps = !ok || P <= 6 || withinBytes(P - 6);
    if (ok && keeps) return ::testing::AssertionSuccess();
    mpq_div(tol, err, unit);
    return ::testing::AssertionFailure() << (ok ? "precision lost: " : "error above tolerance: ") << "error/unit "
                                         << mpq_get_d(tol) << "; got " << tqg_Str(got) << " (expo " << res.V.Expo << ", "
                                         << tq_Len(res.MantN) << " bytes) exact " << tqg_Str(exact);
}

// Exact comparison of a big-integer or fraction result.
inline ::testing::AssertionResult tqt_ExactEq(const TqNum &res, const mpq_t exact) {
    ::testing::AssertionResult wf = tqt_WellFormed(res, gTq_Opt_ReduceFractions != 0);
    if (!wf) return wf;
    Mpq got;
    tqg_ToMpq(got, res);
    if (!mpq_equal(got, exact)) return ::testing::AssertionFailure() << "value differs";
    return ::testing::AssertionSuccess();
}

// A fixture with four handles and the default 38-digit precision.
class ArithTest : public ::testing::Test {
   protected:
    int32_t h[4];
    void SetUp() override {
        TQ_SETPRECISION(1, 38);
        for (int i = 0; i < 4; ++i) h[i] = TQ_ALLOCVAR(TarqBigInt);
        TQ_GETGLOBALERROR();
    }
    void TearDown() override {
        for (int i = 0; i < 4; ++i) TQ_UNALLOCVAR(h[i]);
        TQ_SETPRECISION(1, 38);
        TQ_SETOPTION(6, 1);
    }
    // Puts values into the handles: a into h[0], b into h[1], result h[2]
    // gets an empty value of the same kind.
    void put2(const TqNum &a, const TqNum &b) {
        tqg_Put(h[0], a);
        tqg_Put(h[1], b);
        TqNum z = tqg_Special(a.V.NumType, 0);
        tqg_Put(h[2], z);
        tqg_Put(h[3], z);
    }
    const TqNum &res(int i = 2) { return tqg_Get(h[i]); }
};

// The two-operand operations under test, by export and by exact oracle.
enum TqtOp { kAdd, kSub, kMul, kDiv };
inline const char *tqt_OpName(TqtOp op) {
    static const char *names[] = {"add", "sub", "mul", "div"};
    return names[op];
}
inline int32_t tqt_Call(TqtOp op, int32_t a, int32_t b, int32_t c) {
    switch (op) {
        case kAdd: return TQ_ADD(a, b, c);
        case kSub: return TQ_SUB(a, b, c);
        case kMul: return TQ_MUL(a, b, c);
        default: return TQ_DIV(a, b, c);
    }
}
inline void tqt_Exact(TqtOp op, mpq_t r, const mpq_t a, const mpq_t b) {
    switch (op) {
        case kAdd: mpq_add(r, a, b); break;
        case kSub: mpq_sub(r, a, b); break;
        case kMul: mpq_mul(r, a, b); break;
        default: mpq_div(r, a, b); break;
    }
}
