// Powers: the big-integer and float tables of n_Pow through TQ_POW (random
// float powers against MPFR are rows of tests/accuracy), big-integer powers
// and modular powers through TQ_POWMOD against GMP.
#include <gtest/gtest.h>

#include <random>

#include "funcs/funcs.h"
#include "funcs_oracle.h"

namespace {

TqNum bigv(long v) { return tqg_Int(TarqBigInt, v); }

// TQ_POW / TQ_POWMOD on fresh handles (the result handle starts non-zero).
int32_t runPow(const TqNum &a, const TqNum &b, TqNum &c) {
    const int32_t ha = tqg_New(a), hb = tqg_New(b), hc = tqg_New(tqg_Zero(a.V.NumType));
    TQ_GETGLOBALERROR();
    const int32_t st = TQ_POW(ha, hb, hc);
    c = tqg_Get(hc);
    for (int32_t h : {ha, hb, hc}) TQ_UNALLOCVAR(h);
    return st;
}

int32_t runPowMod(const TqNum &a, const TqNum &e, const TqNum &m, TqNum &c) {
    const int32_t ha = tqg_New(a), he = tqg_New(e), hm = tqg_New(m), hc = tqg_New(bigv(77));
    TQ_GETGLOBALERROR();
    const int32_t st = TQ_POWMOD(ha, he, hm, hc);
    c = tqg_Get(hc);
    for (int32_t h : {ha, he, hm, hc}) TQ_UNALLOCVAR(h);
    return st;
}

TqNum flt(int32_t kind, double v) {
    FoMpfr x;
    mpfr_set_d(x, v, MPFR_RNDN);
    return fo_FromMpfr(x, kind);
}

}  // namespace

// Finite and special operands: the special value (0 finite), the value, and
// the status (a special result is reported, except 0^-1, which is +inf
// without an error bit).
TEST(PowInt, Table) {
    const TqNum pinf = tqg_Special(TarqBigInt, 1), ninf = tqg_Special(TarqBigInt, 2), nan = tqg_Special(TarqBigInt, 3);
    struct Row {
        TqNum a, b;
        int32_t special;
        long c;
    } rows[] = {
        {bigv(2), bigv(10), 0, 1024}, {bigv(-2), bigv(3), 0, -8}, {bigv(-2), bigv(4), 0, 16}, {bigv(2), bigv(-1), 0, 0},
        {bigv(-1), bigv(-3), 0, -1},  {bigv(-1), bigv(-4), 0, 1}, {bigv(0), bigv(0), 0, 1},  {bigv(0), bigv(5), 0, 0},
        {bigv(7), bigv(0), 0, 1},     {bigv(1), bigv(99), 0, 1},  {bigv(-1), bigv(7), 0, -1}, {bigv(-1), bigv(8), 0, 1},
        {bigv(-5), bigv(-2), 0, 0},   {bigv(3), bigv(13), 0, 1594323}, {bigv(0), bigv(-1), 1, 0},
        {nan, bigv(2), 3, 0},  {bigv(2), nan, 3, 0},  {bigv(-2), pinf, 3, 0}, {bigv(1), ninf, 0, 1},
        {pinf, bigv(0), 3, 0}, {pinf, bigv(-3), 0, 0}, {bigv(0), ninf, 1, 0}, {bigv(0), pinf, 0, 0},
        {pinf, ninf, 0, 0},    {bigv(3), ninf, 0, 0},  {pinf, pinf, 1, 0},    {pinf, bigv(2), 1, 0},
        {bigv(3), pinf, 1, 0}, {ninf, pinf, 3, 0},     {ninf, bigv(3), 2, 0}, {ninf, bigv(4), 1, 0},
    };
    int i = 0;
    for (const Row &r : rows) {
        TqNum c;
        const bool quiet = !r.a.V.Special && !r.b.V.Special;
        const int32_t st = runPow(r.a, r.b, c);
        EXPECT_EQ(c.V.Special, r.special) << "row " << i;
        EXPECT_EQ(st, r.special && !quiet ? tq_Err_Special : 0) << "row " << i;
        if (quiet) {
            EXPECT_EQ(TQ_GETGLOBALERROR(), 0u) << "row " << i;
        }
        if (!r.special) {
            EXPECT_EQ(tqg_Long(c), r.c) << "row " << i;
        }
        ++i;
    }
}

// Results beyond 2^24 bits are refused up front (7^(10^8) once took 20 s).
TEST(PowInt, HugeResultIsOutOfRange) {
    for (const char *exponent : {"10000000000000", "100000000", "8400000"}) {
        Mpz e;
        mpz_set_str(e, exponent, 10);
        TqNum c;
        EXPECT_EQ(runPow(bigv(7), tqg_BigInt(e), c), tq_Err_ExpRange) << exponent;
        EXPECT_EQ(TQ_GETGLOBALERROR() & tq_Err_ExpRange, tq_Err_ExpRange);
    }
}

TEST(PowFloat, TableRows) {
    fo_SetDigits(38);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        auto num = [&](double v) { return flt(kind, v); };
        const TqNum pinf = tqg_Special(kind, 1), ninf = tqg_Special(kind, 2), nan = tqg_Special(kind, 3);
        TqNum c;
        // Within two units of MPFR's power, negative bases with whole exponents included.
        for (auto [x, y] : {std::pair{2.0, 0.5}, {-2.0, 3.0}, {-2.0, 4.0}}) {
            ASSERT_EQ(runPow(num(x), num(y), c), 0);
            FoMpfr xm, ym, want;
            mpfr_set_d(xm, x, MPFR_RNDN);
            mpfr_set_d(ym, y, MPFR_RNDN);
            mpfr_pow(want, xm, ym, MPFR_RNDN);
            EXPECT_LE(ulp_Error(c, want), 2.0) << x << "^" << y << " kind " << kind;
        }
        // Exact values, zero, infinite and NaN operands: status, special value
        // and value; for finite operands the error word is the status (a NaN
        // power raises no invalid bit; 0^-2 is +inf).
        struct Row {
            TqNum a, b;
            int32_t special;
            double value;
            int32_t status;
        } rows[] = {
            {num(-8), num(1.0 / 3), 3, 0, 8}, {num(-1), num(5), 0, -1, 0},   {num(1), num(123.5), 0, 1, 0},
            {num(7.25), num(0), 0, 1, 0},     {num(0), num(2.5), 0, 0, 0},   {num(0), num(-2), 1, 0, 8},
            {num(1), pinf, 0, 1, 0},          {num(0.5), pinf, 0, 0, 0},     {num(2), ninf, 0, 0, 0},
            {pinf, num(0), 3, 0, 8},          {ninf, num(3), 2, 0, 8},       {ninf, num(4), 1, 0, 8},
            {nan, num(2), 3, 0, 8},           {num(2), nan, 3, 0, 8},        {num(-2), pinf, 3, 0, 8},
            {pinf, num(-1), 0, 0, 0},         {num(0), ninf, 1, 0, 8},       {num(0), pinf, 0, 0, 0},
            {pinf, ninf, 0, 0, 0},            {pinf, num(2), 1, 0, 8},       {ninf, num(2.5), 3, 0, 8},
            {ninf, num(1), 2, 0, 8},          {num(0.5), ninf, 1, 0, 8},     {num(3), ninf, 0, 0, 0},
            {num(3), pinf, 1, 0, 8},          {ninf, ninf, 0, 0, 0},         {ninf, pinf, 3, 0, 8},
        };
        int i = 0;
        for (const Row &r : rows) {
            EXPECT_EQ(runPow(r.a, r.b, c), r.status) << "row " << i << " kind " << kind;
            const int32_t err = TQ_GETGLOBALERROR();
            if (!r.a.V.Special && !r.b.V.Special) { EXPECT_EQ(err, r.status) << "row " << i; }
            EXPECT_EQ(c.V.Special, r.special) << "row " << i << " kind " << kind;
            if (!r.special) { EXPECT_EQ(tq_CmpNumForTest(c, num(r.value)), 0) << "row " << i; }
            ++i;
        }
    }
    // Kinds.
    TqNum c, half = tqg_Fraction(Mpz(1), Mpz(2));
    EXPECT_EQ(runPow(half, half, c), tq_Err_Type);
    const int32_t ha = tqg_New(flt(TarqBinFloat, 2)), hb = tqg_New(flt(TarqDecFloat, 2)), hc = tqg_New(tqg_Zero(TarqBinFloat));
    EXPECT_EQ(TQ_POW(ha, hb, hc), tq_Err_Type);
    for (int32_t h : {ha, hb, hc}) TQ_UNALLOCVAR(h);
    // The operation itself (below the export) leaves the precision and its
    // parameter sets as they were.
    fo_SetDigits(100);
    FoPrecSnapshot snap;
    c = tqg_Zero(TarqDecFloat);
    EXPECT_EQ(n_Pow(flt(TarqDecFloat, 3.7), flt(TarqDecFloat, -2.3), c), 0);
    snap.expectSame();
    fo_SetDigits(38);
}

// Modular powers: the value, or with a zero or negative modulus, a negative
// exponent or a special operand the invalid bit (the value still computed).
TEST(PowMod, TableRows) {
    const long kUnchecked = -1;
    struct Row {
        TqNum a;
        long e, m;
        int32_t status;
        long want;
    } rows[] = {
        {bigv(4), 13, 497, 0, 445},  {bigv(-4), 13, 497, 0, -445}, {bigv(-4), 12, 497, 0, 484},
        {bigv(4), 13, 496, 0, 64},   {bigv(5), 0, 1, 0, 1},        {bigv(5), 0, 7, 0, 1},
        {bigv(4), 13, 0, 1, 0},      {bigv(4), 13, -497, 1, 445},  {bigv(4), -13, 497, 1, 445},
        {tqg_Special(TarqBigInt, 1), 2, 497, 1, kUnchecked},
    };
    for (const Row &r : rows) {
        TqNum c;
        EXPECT_EQ(runPowMod(r.a, bigv(r.e), bigv(r.m), c), r.status) << r.e << " " << r.m;
        EXPECT_EQ(TQ_GETGLOBALERROR(), r.status);
        if (r.want != kUnchecked) { EXPECT_EQ(tqg_Long(c), r.want) << r.e << " " << r.m; }
        EXPECT_EQ(c.V.Special, 0);
    }
    const int32_t ha = tqg_New(bigv(4)), he = tqg_New(bigv(2)), hm = tqg_New(tqg_Int(TarqDecFloat, 5)),
                  hc = tqg_New(bigv(0));
    EXPECT_EQ(TQ_POWMOD(ha, he, hm, hc), tq_Err_Type);
    EXPECT_EQ(TQ_POWMOD(ha, he, hc, 123456789), tq_Err_Handle);
    for (int32_t h : {ha, he, hm, hc}) TQ_UNALLOCVAR(h);
}

// Powers of random signed bases, and modular powers of bases, exponents and
// odd or even moduli of many words.
TEST(PowInt, RandomAgainstGmp) {
    std::mt19937_64 rng(13);
    auto rand = [&](Mpz &z, unsigned maxShift, unsigned long orBits = 0) {
        mpz_set_ui(z, rng() | orBits);
        mpz_mul_2exp(z, z, rng() % maxShift);
    };
    for (int rep = 0; rep < 40; ++rep) {
        Mpz a, e, m, want, got;
        rand(a, 200);
        if (rep % 2) mpz_neg(a, a);
        const unsigned long n = rng() % 60 + 1;
        mpz_pow_ui(want, a, n);
        TqNum c;
        ASSERT_EQ(runPow(tqg_BigInt(a), bigv(static_cast<long>(n)), c), 0);
        tqg_ToMpz(got, c);
        EXPECT_EQ(mpz_cmp(got, want), 0);
        mpz_abs(a, a);
        rand(e, 100);
        rand(m, 250, 1);
        if (rep % 3 == 0) mpz_add_ui(m, m, 1);
        mpz_powm(want, a, e, m);
        ASSERT_EQ(runPowMod(tqg_BigInt(a), tqg_BigInt(e), tqg_BigInt(m), c), 0);
        tqg_ToMpz(got, c);
        EXPECT_EQ(mpz_cmp(got, want), 0);
    }
}
