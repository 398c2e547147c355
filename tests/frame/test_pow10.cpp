// The powers-of-ten table and its lookup: exact small entries, the documented
// cases (10^0, 10^64, negative n), agreement with GMP's exact powers (exact while 5^n fits
// the table precision, otherwise a truncation within the precision bound),
// every 2^k +- 1, TQ_GETPOW10 and option 5.
#include <gtest/gtest.h>
#include <gmp.h>

#include <cmath>
#include <random>
#include <vector>

#include "numbers/pow10.h"
#include "frame/store.h"
#include "base/tq_state.h"
#include "tarq.h"
#include "tq_gmp.h"

namespace {

struct Lookup {
    TarqVar v{};
    TqStr m;
};

Lookup lookup(int32_t n) {
    Lookup r;
    TqLockGuard g;
    n_Pow10_Lookup(n, r.v, r.m);
    return r;
}

// Checks 0 <= 10^n - m*256^e < 10^n * 2^-(8P - 64) for table precision P, and
// exactness when 10^n needs no cut.
void checkAgainstGmp(int32_t n, int32_t precision) {
    Lookup r = lookup(n);
    ASSERT_EQ(r.v.NumType, TarqBinFloat);
    ASSERT_EQ(r.v.Sign, 1);
    ASSERT_EQ(r.v.Special, 0);
    ASSERT_EQ(r.v.Expo % 4, 0) << n;
    ASSERT_LE(tq_Len(r.m), precision) << n;
    ASSERT_NE(tq_W(r.m)[tq_NWords(r.m) - 1], 0u) << "untrimmed at n=" << n;
    Mpz exact, got, diff, bound;
    mpz_ui_pow_ui(exact, 10, static_cast<unsigned long>(n));
    tqg_MagToMpz(got, r.m);
    mpz_mul_2exp(got, got, 8 * static_cast<mp_bitcnt_t>(r.v.Expo));
    mpz_sub(diff, exact, got);
    EXPECT_GE(mpz_sgn(diff), 0) << "lookup above 10^" << n;
    // 5^n shorter than the precision: no cut ever happened.
    const bool fits = n * std::log2(5.0) + 64 < 8.0 * (precision - 4);
    if (fits) {
        EXPECT_EQ(mpz_sgn(diff), 0) << "inexact 10^" << n;
    } else {
        mpz_tdiv_q_2exp(bound, exact, 8 * static_cast<mp_bitcnt_t>(precision) - 64);
        EXPECT_LT(mpz_cmp(diff, bound), 0) << "error too large at 10^" << n;
    }
}

class Pow10 : public ::testing::Test {
  protected:
    void SetUp() override { tq_EnsureInit(); }
};

}  // namespace

TEST_F(Pow10, TableShapeAfterInitialisation) {
    EXPECT_EQ(gTq_Opt_Pow10_Precision, 6000);
    EXPECT_EQ(n_Pow10_TablePrecision(), 6000);
    const TqPow10Entry *t = tq_Pow10Table();
    const uint32_t small[4] = {10, 100, 10000, 100000000};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t[i].Mant, tq_Word(small[i]));
        EXPECT_EQ(t[i].Expo, 0);
    }
    for (int i = 4; i < tq_Pow10_Entries; ++i) {
        EXPECT_LE(tq_Len(t[i].Mant), 6000);
        EXPECT_EQ(t[i].Expo % 4, 0);
        // Low zero words were moved into the exponent.
        EXPECT_NE(tq_W(t[i].Mant)[0], 0u) << i;
    }
}

TEST_F(Pow10, DocumentedCases) {
    Lookup one = lookup(0);
    EXPECT_EQ(one.m, tq_Word(1));
    EXPECT_EQ(one.v.Expo, 0);
    Lookup zero = lookup(-1);
    EXPECT_EQ(zero.m, tq_Word(0));
    EXPECT_EQ(lookup(-2000000000).m, tq_Word(0));
    // 10^64 is entry 6 alone: 5^64 * 2^64, the 2^64 becoming Expo 8.
    Lookup l64 = lookup(64);
    EXPECT_EQ(l64.v.Expo, 8);
    Mpz five, got;
    mpz_ui_pow_ui(five, 5, 64);
    tqg_MagToMpz(got, l64.m);
    EXPECT_EQ(mpz_cmp(five, got), 0);
}

// The lookups repeat values, as the last-result cache meets them.
TEST_F(Pow10, AgreesWithGmpAtDefaultPrecision) {
    std::vector<int32_t> ns;
    for (int32_t n = 1; n <= 300; ++n) ns.push_back(n);
    for (int k = 2; k <= 16; ++k)
        for (int d = -1; d <= 1; ++d) ns.push_back((1 << k) + d);
    std::mt19937 rng(2024);
    for (int i = 0; i < 60; ++i) ns.push_back(static_cast<int32_t>(rng() % 100000) + 1);
    ns.push_back(20000);
    ns.push_back(20700);
    ns.push_back(99999);
    ns.push_back(100000);
    for (int32_t n : {777, 777, 778, 778, 777}) ns.push_back(n);
    for (int32_t n : ns) checkAgainstGmp(n, 6000);
}

// Option 5: below 8 x the working precision (16 bytes -> 128) ignored, bytes
// rounded up to whole words; a small table makes nearly every product a cut
// one; growing again regenerates (no cache file: caching is off).
TEST_F(Pow10, OptionFiveAndSmallTables) {
    EXPECT_EQ(TQ_GETOPTION(5), 48000);
    EXPECT_EQ(TQ_SETOPTION(5, 8 * 100), 0);
    EXPECT_EQ(TQ_GETOPTION(5), 48000);
    EXPECT_EQ(TQ_SETOPTION(5, 8 * 1001), 0);
    EXPECT_EQ(TQ_GETOPTION(5), 8 * 1004);
    EXPECT_EQ(n_Pow10_TablePrecision(), 1004);
    checkAgainstGmp(3000, 1004);
    ASSERT_EQ(TQ_SETOPTION(5, 128 * 8), 0);
    ASSERT_EQ(n_Pow10_TablePrecision(), 128);
    std::mt19937 rng(99);
    std::vector<int32_t> ns = {1, 2, 3, 4, 5, 15, 16, 17, 150, 151, 152, 153, 255, 256, 257, 1023, 1024, 1025};
    for (int i = 0; i < 100; ++i) ns.push_back(static_cast<int32_t>(rng() % 100000) + 1);
    for (int32_t n : ns) checkAgainstGmp(n, 128);
    ASSERT_EQ(TQ_SETOPTION(5, 48000), 0);
    EXPECT_EQ(n_Pow10_TablePrecision(), 6000);
    checkAgainstGmp(3000, 6000);
}

// Far beyond what GMP can form quickly: the magnitude and exponent must still
// give n * log2(10) bits.
TEST_F(Pow10, HugeExponentsHaveTheRightSize) {
    for (int32_t n : {1 << 20, (1 << 24) + 1, 1000000007, (1 << 30) - 1, 1 << 30, 2147483647}) {
        Lookup r = lookup(n);
        const int32_t words = tq_NWords(r.m);
        const double top = tq_W(r.m)[words - 1] + tq_W(r.m)[words - 2] / 4294967296.0;
        const double bits = 8.0 * r.v.Expo + 32.0 * (words - 1) + std::log2(top);
        EXPECT_NEAR(bits, n * std::log2(10.0), 1e-6 * n) << n;
        EXPECT_GE(r.v.Expo, 0);
    }
}

TEST_F(Pow10, ExportWritesABinaryFloat) {
    int32_t h = TQ_ALLOCVAR(TarqDecFloat);
    ASSERT_GE(h, 0);
    EXPECT_EQ(TQ_GETPOW10(12, h), 0);
    const TqNum &v = gTq_Store[h];
    EXPECT_EQ(v.V.NumType, TarqBinFloat);
    EXPECT_EQ(v.V.InUse, 1);
    EXPECT_EQ(v.DenN, tq_Word(1));
    EXPECT_EQ(tq_NWords(v.MantN), 2);
    EXPECT_EQ(TQ_GETPOW10(-5, h), 0);
    EXPECT_EQ(gTq_Store[h].MantN, tq_Word(0));
    EXPECT_EQ(TQ_GETPOW10(0, h), 0);
    EXPECT_EQ(gTq_Store[h].MantN, tq_Word(1));
    TQ_UNALLOCVAR(h);
    TQ_GETGLOBALERROR();
    EXPECT_EQ(TQ_GETPOW10(3, h), tq_Err_Handle);
    EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Handle);
}

// A precision needing more than 1/8 of the table grows it.
TEST_F(Pow10, WorkingPrecisionGrowsTheTable) {
    const int32_t digits = TQ_GETPRECISION(1);
    TQ_SETPRECISION(3, 1000);
    // The highest of the three precision sets (P + 12 bytes) decides.
    EXPECT_EQ(gTq_Opt_Pow10_Precision, 8 * 1012);
    EXPECT_EQ(n_Pow10_TablePrecision(), 8 * 1012);
    checkAgainstGmp(gTq_Prec_Digits_Internal, 8 * 1012);
    TQ_SETPRECISION(1, digits);
    TQ_SETOPTION(5, 48000);
    EXPECT_EQ(n_Pow10_TablePrecision(), 6000);
}
