// Powers: the big-integer and float tables of n_Pow through TQ_POW, float
// powers against MPFR, and modular powers through TQ_POWMOD against GMP.
#include <gtest/gtest.h>

#include <random>

#include "funcs/funcs.h"
#include "funcs_oracle.h"

namespace {

TqNum bigv(long v) { return tq_IntNumForTest(TarqBigInt, v); }

long val(const TqNum &v) {
    mpz_t z;
    mpz_init(z);
    tqg_ToMpz(z, v);
    long x = mpz_get_si(z);
    mpz_clear(z);
    return x;
}

// TQ_POW on fresh handles.
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

TqNum dec(double v) {
    FoMpfr x;
    mpfr_set_d(x, v, MPFR_RNDN);
    return fo_FromMpfr(x, TarqDecFloat);
}
TqNum bin(double v) {
    FoMpfr x;
    mpfr_set_d(x, v, MPFR_RNDN);
    return fo_FromMpfr(x, TarqBinFloat);
}

}  // namespace

TEST(PowInt, FiniteTable) {
    struct Row {
        long a, b, c;
    } rows[] = {{2, 10, 1024}, {-2, 3, -8}, {-2, 4, 16},  {2, -1, 0},  {-1, -3, -1}, {-1, -4, 1}, {0, 0, 1},
                {0, 5, 0},     {7, 0, 1},   {1, 99, 1},   {-1, 7, -1}, {-1, 8, 1},   {-5, -2, 0}, {3, 13, 1594323}};
    for (const Row &r : rows) {
        TqNum c;
        EXPECT_EQ(runPow(bigv(r.a), bigv(r.b), c), 0) << r.a << "^" << r.b;
        EXPECT_EQ(c.V.Special, 0);
        EXPECT_EQ(val(c), r.c) << r.a << "^" << r.b;
    }
    TqNum c;
    EXPECT_EQ(runPow(bigv(0), bigv(-1), c), 0);  // +inf, no error bit
    EXPECT_EQ(c.V.Special, tq_Special_PosInf);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

TEST(PowInt, RandomAgainstGmp) {
    std::mt19937_64 rng(13);
    for (int rep = 0; rep < 40; ++rep) {
        mpz_t a, want, got;
        mpz_inits(a, want, got, nullptr);
        mpz_set_ui(a, rng());
        mpz_mul_2exp(a, a, rng() % 200);
        if (rep % 2) mpz_neg(a, a);
        const unsigned long e = rng() % 60 + 1;
        mpz_pow_ui(want, a, e);
        TqNum c;
        ASSERT_EQ(runPow(tqg_BigInt(a), bigv(static_cast<long>(e)), c), 0);
        tqg_ToMpz(got, c);
        EXPECT_EQ(mpz_cmp(got, want), 0);
        mpz_clears(a, want, got, nullptr);
    }
}

TEST(PowInt, SpecialTable) {
    const TqNum pinf = tqg_Special(TarqBigInt, 1), ninf = tqg_Special(TarqBigInt, 2), nan = tqg_Special(TarqBigInt, 3);
    struct Row {
        TqNum a, b;
        int32_t special;
        long c;
    } rows[] = {
        {nan, bigv(2), 3, 0},  {bigv(2), nan, 3, 0},  {bigv(-2), pinf, 3, 0}, {bigv(1), ninf, 0, 1},
        {pinf, bigv(0), 3, 0}, {pinf, bigv(-3), 0, 0}, {bigv(0), ninf, 1, 0}, {bigv(0), pinf, 0, 0},
        {pinf, ninf, 0, 0},    {bigv(3), ninf, 0, 0},  {pinf, pinf, 1, 0},    {pinf, bigv(2), 1, 0},
        {bigv(3), pinf, 1, 0}, {ninf, pinf, 3, 0},     {ninf, bigv(3), 2, 0}, {ninf, bigv(4), 1, 0},
    };
    int i = 0;
    for (const Row &r : rows) {
        TqNum c;
        const int32_t st = runPow(r.a, r.b, c);
        EXPECT_EQ(c.V.Special, r.special) << "row " << i;
        EXPECT_EQ(st, r.special ? tq_Err_Special : 0) << "row " << i;
        if (!r.special) {
            EXPECT_EQ(val(c), r.c) << "row " << i;
        }
        ++i;
    }
}

// Results beyond 2^24 bits are refused up front (7^(10^8) once took 20 s).
TEST(PowInt, HugeResultIsOutOfRange) {
    for (const char *exponent : {"10000000000000", "100000000", "8400000"}) {
        mpz_t e;
        mpz_init_set_str(e, exponent, 10);
        TqNum c;
        EXPECT_EQ(runPow(bigv(7), tqg_BigInt(e), c), tq_Err_ExpRange) << exponent;
        EXPECT_EQ(TQ_GETGLOBALERROR() & tq_Err_ExpRange, tq_Err_ExpRange);
        mpz_clear(e);
    }
}

TEST(PowFloat, TableRows) {
    fo_SetDigits(38);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        auto num = [&](double v) { return kind == TarqBinFloat ? bin(v) : dec(v); };
        const TqNum pinf = tqg_Special(kind, 1), ninf = tqg_Special(kind, 2), nan = tqg_Special(kind, 3);
        TqNum c;
        // 2^0.5 = sqrt 2; (-2)^3 = -8; (-8)^(1/3) is NaN.
        ASSERT_EQ(runPow(num(2), num(0.5), c), 0);
        FoMpfr want;
        mpfr_sqrt_ui(want, 2, MPFR_RNDN);
        EXPECT_LE(ulp_Error(c, want), 2.0);
        ASSERT_EQ(runPow(num(-2), num(3), c), 0);
        mpfr_set_si(want, -8, MPFR_RNDN);
        EXPECT_LE(ulp_Error(c, want), 2.0);
        EXPECT_EQ(c.V.Sign, -1);
        ASSERT_EQ(runPow(num(-2), num(4), c), 0);
        mpfr_set_si(want, 16, MPFR_RNDN);
        EXPECT_LE(ulp_Error(c, want), 2.0);
        EXPECT_EQ(runPow(num(-8), num(1.0 / 3), c), tq_Err_Special);
        EXPECT_EQ(c.V.Special, 3);
        EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Special);  // no invalid bit for NaN powers
        EXPECT_EQ(runPow(num(-1), num(5), c), 0);
        EXPECT_EQ(tq_CmpNumForTest(c, num(-1)), 0);
        EXPECT_EQ(runPow(num(1), num(123.5), c), 0);
        EXPECT_EQ(tq_CmpNumForTest(c, num(1)), 0);
        EXPECT_EQ(runPow(num(7.25), num(0), c), 0);
        EXPECT_EQ(tq_CmpNumForTest(c, num(1)), 0);
        // Zero base: 0 for positive exponents, +inf for negative ones.
        EXPECT_EQ(runPow(num(0), num(2.5), c), 0);
        EXPECT_EQ(c.V.Special, 0);
        EXPECT_EQ(tq_CmpNumForTest(c, num(0)), 0);
        EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
        EXPECT_EQ(runPow(num(0), num(-2), c), tq_Err_Special);
        EXPECT_EQ(c.V.Special, 1);
        // Infinite and NaN operands.
        struct Row {
            TqNum a, b;
            int32_t special;
            double value;
            int32_t status;
        } rows[] = {
            {num(1), pinf, 0, 1, 0},      {num(0.5), pinf, 0, 0, 0},   {num(2), ninf, 0, 0, 0},
            {pinf, num(0), 3, 0, 8},      {ninf, num(3), 2, 0, 8},     {ninf, num(4), 1, 0, 8},
            {nan, num(2), 3, 0, 8},       {num(2), nan, 3, 0, 8},      {num(-2), pinf, 3, 0, 8},
            {pinf, num(-1), 0, 0, 0},     {num(0), ninf, 1, 0, 8},     {num(0), pinf, 0, 0, 0},
            {pinf, ninf, 0, 0, 0},        {pinf, num(2), 1, 0, 8},     {ninf, num(2.5), 3, 0, 8},
            {ninf, num(1), 2, 0, 8},      {num(0.5), ninf, 1, 0, 8},   {num(3), ninf, 0, 0, 0},
            {num(3), pinf, 1, 0, 8},      {ninf, ninf, 0, 0, 0},       {ninf, pinf, 3, 0, 8},
        };
        int i = 0;
        for (const Row &r : rows) {
            EXPECT_EQ(runPow(r.a, r.b, c), r.status) << "row " << i << " kind " << kind;
            EXPECT_EQ(c.V.Special, r.special) << "row " << i << " kind " << kind;
            if (!r.special) {
                EXPECT_EQ(tq_CmpNumForTest(c, num(r.value)), 0) << "row " << i;
            }
            ++i;
        }
    }
    // Kinds.
    mpz_t n, d;
    mpz_init_set_ui(n, 1);
    mpz_init_set_ui(d, 2);
    TqNum c;
    EXPECT_EQ(runPow(tqg_Fraction(n, d), tqg_Fraction(n, d), c), tq_Err_Type);
    const int32_t ha = tqg_New(bin(2)), hb = tqg_New(dec(2)), hc = tqg_New(bin(0));
    EXPECT_EQ(TQ_POW(ha, hb, hc), tq_Err_Type);
    for (int32_t h : {ha, hb, hc}) TQ_UNALLOCVAR(h);
    mpz_clears(n, d, nullptr);
}

TEST(PowFloat, DifferentialAgainstMpfr) {
    std::mt19937_64 rng(77);
    for (int32_t digits : {38, 100, 1000}) {
        fo_SetDigits(digits);
        FoPrecSnapshot snap;
        const int reps = digits >= 1000 ? 1 : 3;
        for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
            for (double ma : {-50.0, -1.0, 0.3, 4.0, 100.0}) {
                for (double mb : {-6.0, 0.0, 3.0, 8.0}) {
                    for (int rep = 0; rep < reps; ++rep) {
                        const TqNum a = fo_Random(rng, kind, ma), b = fo_Random(rng, kind, mb, rep % 2 ? -1 : 1);
                        TqNum c = tqg_Zero(kind);
                        if (n_Pow(a, b, c) != 0) {
                            ADD_FAILURE() << "status";
                            continue;
                        }
                        FoMpfr am, bm, want;
                        tqg_ToMpfr(am, a);
                        tqg_ToMpfr(bm, b);
                        mpfr_pow(want, am, bm, MPFR_RNDN);
                        EXPECT_LE(ulp_Error(c, want), 2.0) << "pow 2^" << ma << " ^ 2^" << mb << " digits " << digits;
                    }
                }
            }
        }
        snap.expectSame();
    }
    fo_SetDigits(38);
}

TEST(PowMod, SpecifiedValues) {
    TqNum c;
    EXPECT_EQ(runPowMod(bigv(4), bigv(13), bigv(497), c), 0);
    EXPECT_EQ(val(c), 445);
    EXPECT_EQ(runPowMod(bigv(-4), bigv(13), bigv(497), c), 0);
    EXPECT_EQ(val(c), -445);
    EXPECT_EQ(runPowMod(bigv(-4), bigv(12), bigv(497), c), 0);
    EXPECT_GT(val(c), 0);
    EXPECT_EQ(runPowMod(bigv(4), bigv(13), bigv(496), c), 0);
    EXPECT_EQ(val(c), 64);
    EXPECT_EQ(runPowMod(bigv(5), bigv(0), bigv(1), c), 0);
    EXPECT_EQ(val(c), 1);
    EXPECT_EQ(runPowMod(bigv(5), bigv(0), bigv(7), c), 0);
    EXPECT_EQ(val(c), 1);
}

TEST(PowMod, InvalidOperandsStillComputeAndZeroModulus) {
    TqNum c;
    EXPECT_EQ(runPowMod(bigv(4), bigv(13), bigv(0), c), tq_Err_Invalid);
    EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Invalid);
    EXPECT_EQ(val(c), 0);
    EXPECT_EQ(c.V.Special, 0);
    EXPECT_EQ(runPowMod(bigv(4), bigv(13), bigv(-497), c), tq_Err_Invalid);
    EXPECT_EQ(val(c), 445);
    EXPECT_EQ(runPowMod(bigv(4), bigv(-13), bigv(497), c), tq_Err_Invalid);
    EXPECT_EQ(val(c), 445);
    EXPECT_EQ(runPowMod(tqg_Special(TarqBigInt, 1), bigv(2), bigv(497), c), tq_Err_Invalid);
    const int32_t ha = tqg_New(bigv(4)), he = tqg_New(bigv(2)), hm = tqg_New(tq_IntNumForTest(TarqDecFloat, 5)),
                  hc = tqg_New(bigv(0));
    EXPECT_EQ(TQ_POWMOD(ha, he, hm, hc), tq_Err_Type);
    EXPECT_EQ(TQ_POWMOD(ha, he, hc, 123456789), tq_Err_Handle);
    for (int32_t h : {ha, he, hm, hc}) TQ_UNALLOCVAR(h);
}

TEST(PowMod, RandomAgainstGmp) {
    std::mt19937_64 rng(3);
    for (int rep = 0; rep < 30; ++rep) {
        mpz_t a, e, m, want, got;
        mpz_inits(a, e, m, want, got, nullptr);
        mpz_set_ui(a, rng());
        mpz_mul_2exp(a, a, rng() % 300);
        mpz_set_ui(e, rng());
        mpz_mul_2exp(e, e, rng() % 100);
        mpz_set_ui(m, rng() | 1);
        mpz_mul_2exp(m, m, rng() % 250);
        if (rep % 3 == 0) mpz_add_ui(m, m, 1);
        mpz_powm(want, a, e, m);
        TqNum c;
        ASSERT_EQ(runPowMod(tqg_BigInt(a), tqg_BigInt(e), tqg_BigInt(m), c), 0);
        tqg_ToMpz(got, c);
        EXPECT_EQ(mpz_cmp(got, want), 0);
        mpz_clears(a, e, m, want, got, nullptr);
    }
}
