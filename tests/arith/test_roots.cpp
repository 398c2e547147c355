// Integer roots of magnitudes against GMP, n_Root's table of outcomes through
// TQ_ROOT, and float square roots against MPFR for both float kinds.
#include <gtest/gtest.h>

#include <random>

#include "funcs/funcs.h"
#include "funcs_oracle.h"
#include "kernels/root.h"
#include "mag_gmp.h"

namespace {

TqStr randomMag(std::mt19937_64 &rng, int32_t words) {
    TqStr m(static_cast<size_t>(words) * 4, '\0');
    for (int32_t i = 0; i < words; ++i) tq_W(m)[i] = static_cast<uint32_t>(rng());
    if (tq_W(m)[words - 1] == 0) tq_W(m)[words - 1] = 1;
    return m;
}

void checkRoot(const TqStr &a, int32_t n) {
    mpz_t A, c, r, gc, gr;
    mpz_inits(A, c, r, gc, gr, nullptr);
    tqg_MagToMpz(A, a);
    TqStr C, R;
    if (n == 2)
        h_Sqrt(a, 1, C, R);
    else
        h_Root(a, n, 1, C, R);
    tqg_MagToMpz(c, C);
    tqg_MagToMpz(r, R);
    mpz_rootrem(gc, gr, A, static_cast<unsigned long>(n));
    EXPECT_EQ(mpz_cmp(c, gc), 0) << "n=" << n << " words=" << a.size() / 4;
    EXPECT_EQ(mpz_cmp(r, gr), 0) << "n=" << n;
    // Results are trimmed.
    EXPECT_TRUE(C.size() == 4 || tq_W(C)[C.size() / 4 - 1] != 0);
    mpz_clears(A, c, r, gc, gr, nullptr);
}

}  // namespace

TEST(IntegerRoots, RandomAgainstGmp) {
    std::mt19937_64 rng(7);
    for (int32_t words : {1, 2, 3, 4, 7, 8, 9, 16, 33, 64}) {
        for (int32_t n : {2, 3, 4, 5, 7, 13, 32, 97}) {
            for (int rep = 0; rep < 3; ++rep) checkRoot(randomMag(rng, words), n);
        }
    }
    // Square roots deep enough in the halving for every parity of the halves
    // and for the divide-and-conquer division.
    for (int32_t words : {5, 6, 11, 129, 700, 3001}) checkRoot(randomMag(rng, words), 2);
}

TEST(IntegerRoots, PerfectPowersAndNeighbours) {
    std::mt19937_64 rng(11);
    for (int32_t n : {2, 3, 5, 10}) {
        for (int32_t words : {1, 2, 5, 20, n == 2 ? 777 : 3}) {
            mpz_t x, p;
            mpz_inits(x, p, nullptr);
            tqg_MagToMpz(x, randomMag(rng, words));
            mpz_pow_ui(p, x, static_cast<unsigned long>(n));
            checkRoot(tqg_MagFromMpz(p), n);
            mpz_sub_ui(p, p, 1);
            checkRoot(tqg_MagFromMpz(p), n);
            mpz_add_ui(p, p, 2);
            checkRoot(tqg_MagFromMpz(p), n);
            mpz_clears(x, p, nullptr);
        }
    }
    // All-ones magnitudes and powers of two.
    for (int32_t words : {1, 2, 3, 10}) {
        TqStr ones(static_cast<size_t>(words) * 4, '\xFF');
        checkRoot(ones, 2);
        checkRoot(ones, 3);
        TqStr two(static_cast<size_t>(words) * 4, '\0');
        tq_W(two)[words - 1] = 0x80000000u;
        checkRoot(two, 2);
        checkRoot(two, 7);
    }
}

TEST(IntegerRoots, SmallValuesAndHugeOrders) {
    for (uint32_t v = 0; v < 300; ++v) {
        checkRoot(tq_Word(v), 2);
        checkRoot(tq_Word(v), 3);
    }
    // An order far above the bit length: the root is 1 and no huge power is formed.
    TqStr C, R;
    h_Root(tq_Word(123456789), 2147483647, 1, C, R);
    EXPECT_EQ(C, tq_Word(1));
    EXPECT_EQ(R, tq_Word(123456788));
    h_Root(tq_Word(0), 5, 1, C, R);
    EXPECT_EQ(C, tq_Word(0));
    EXPECT_EQ(R, tq_Word(0));
    // An untrimmed radicand.
    TqStr padded = tq_Word(17) + tq_Word(0) + tq_Word(0);
    h_Sqrt(padded, 1, C, R);
    EXPECT_EQ(C, tq_Word(4));
    EXPECT_EQ(R, tq_Word(1));
}

namespace {

// The radicands that stress the root and the half bit, of `bits` bits (about):
// random, perfect squares and their neighbours, and x^2 + x and x^2 + x + 1,
// whose roots lie just below and just above x + 1/2.
enum Family { kRandom, kSquare, kBelowSquare, kAboveSquare, kBelowHalf, kAboveHalf, kFamilies };

void randomBits(mpz_t a, std::mt19937_64 &rng, int64_t bits) {
    Mpz x(randomMag(rng, static_cast<int32_t>((bits + 31) / 32)));
    mpz_fdiv_r_2exp(a, x, static_cast<mp_bitcnt_t>(bits));
    mpz_setbit(a, static_cast<mp_bitcnt_t>(bits - 1));
}

void radicand(mpz_t a, std::mt19937_64 &rng, Family f, int64_t bits) {
    if (f == kRandom) {
        randomBits(a, rng, bits);
        return;
    }
    Mpz x;
    randomBits(x, rng, (bits + 1) / 2);
    mpz_mul(a, x, x);
    if (f == kBelowSquare) mpz_sub_ui(a, a, 1);
    if (f == kAboveSquare) mpz_add_ui(a, a, 1);
    if (f >= kBelowHalf) mpz_add(a, a, x);
    if (f == kAboveHalf) mpz_add_ui(a, a, 1);
}

}  // namespace

TEST(IntegerRoots, ShiftedRootAndHalfBitOnEveryLimbPath) {
    std::mt19937_64 rng(15);
    KernelSettingsGuard guard;
    Mpz a, x, s, r;
    for (int32_t path : tq_LimbPaths()) {
        tq_SelectLimbPath(path);
        for (int32_t rep = 0; rep < 60; ++rep) {
            const int32_t words = rep < 20 ? 1 + rep % 5 : 1 + static_cast<int32_t>(rng() % (rep < 50 ? 64 : 2000));
            const Family f = static_cast<Family>(rep % kFamilies);
            // Every third radicand fills whole pairs of limbs (no spare bit
            // below the root: the half bit comes from the remainder).
            const int64_t e = rep / kFamilies % 3 == 0 ? 0 : 2 * static_cast<int64_t>(rng() % 200);
            const int64_t bits = rep / kFamilies % 3 == 0 ? 128 * ((words + 3) / 4) - rep / kFamilies % 2
                                              : 32 * static_cast<int64_t>(words) - static_cast<int64_t>(rng() % 32);
            radicand(a, rng, f, bits);
            mpz_mul_2exp(x, a, static_cast<mp_bitcnt_t>(e));
            mpz_sqrtrem(s, r, x);
            TqStr C;
            bool exact = false;
            h_SqrtShifted(magOf(a), e, C, &exact);
            ASSERT_EQ(C, magOf(s)) << tq_LimbPathName(path) << " words " << words << " family " << f << " e " << e;
            EXPECT_EQ(exact, mpz_sgn(r.v) == 0) << tq_LimbPathName(path) << " words " << words << " family " << f;
            // Rounded at bit k, a half going up: from the remainder at k = 0,
            // else from bit k - 1 of the floor.
            for (int64_t k : {0, 1, 17, 45, 200}) {
                if (k >= static_cast<int64_t>(mpz_sizeinbase(s, 2))) continue;
                int up = k == 0 ? mpz_cmp(r, s) > 0 : mpz_tstbit(s, static_cast<mp_bitcnt_t>(k - 1));
                mpz_tdiv_q_2exp(x, s, static_cast<mp_bitcnt_t>(k));
                mpz_add_ui(x, x, static_cast<unsigned long>(up));
                h_SqrtNearest(magOf(a), e, k, C);
                EXPECT_EQ(C, magOf(x)) << tq_LimbPathName(path) << " words " << words << " family " << f << " k " << k;
            }
        }
    }
}

// Roots of two and three 64-bit limbs (the short registers' path) densely:
// the floor, the exact flag and the half bit read from the remainder (k = 0)
// on every family, bit lengths across 128 to 384 (e = 0: no spare bit).
TEST(IntegerRoots, ShortRootsDenselyOnEveryLimbPath) {
    std::mt19937_64 rng(16);
    KernelSettingsGuard guard;
    Mpz a, s, r, x;
    for (int32_t path : tq_LimbPaths()) {
        tq_SelectLimbPath(path);
        for (int32_t rep = 0; rep < 3000; ++rep) {
            const Family f = static_cast<Family>(rep % kFamilies);
            radicand(a, rng, f, 120 + static_cast<int64_t>(rng() % 265));
            if (rep < 8) {  // ends of one to three limbs: 2^b - 1, (2^(b/2) - 1)^2 (and one below), 2^(b - 2)
                const int b = 128 * (1 + rep % 3);
                mpz_set_ui(a, 1);
                mpz_mul_2exp(a, a, static_cast<mp_bitcnt_t>(rep < 3 ? b : rep < 6 ? b / 2 : b - 2));
                mpz_sub_ui(a, a, rep < 6 ? 1 : 0);
                if (rep >= 3 && rep < 6) mpz_mul(a, a, a);
                if (rep == 4) mpz_sub_ui(a, a, 1);
            }
            mpz_sqrtrem(s, r, a);
            TqStr C;
            bool exact = false;
            h_SqrtShifted(magOf(a), 0, C, &exact);
            ASSERT_EQ(C, magOf(s)) << tq_LimbPathName(path) << " rep " << rep;
            ASSERT_EQ(exact, mpz_sgn(r.v) == 0) << tq_LimbPathName(path) << " rep " << rep;
            mpz_add_ui(x, s, mpz_cmp(r, s) > 0 ? 1 : 0);
            h_SqrtNearest(magOf(a), 0, 0, C);
            ASSERT_EQ(C, magOf(x)) << tq_LimbPathName(path) << " rep " << rep;
        }
    }
}

// The root's quotient within one against GMP's exact one, on divisors whose
// lower words push the limb estimates too high (all ones, 2^k - 1 under a
// top word of one bit) and dividends just off multiples of the divisor.
TEST(IntegerRoots, QuotientWithinOne) {
    std::mt19937_64 rng(17);
    Mpz u, d, q, x;
    int32_t told = 0;
    for (int32_t rep = 0; rep < 4040; ++rep) {
        // The last ones long enough for the exact upper half.
        const bool big = rep >= 4000;
        const int32_t dn = (big ? 190 : 3) + static_cast<int32_t>(rng() % 12),
                      qn = (big ? 180 : 1) + static_cast<int32_t>(rng() % (big ? 300 : 14));
        TqStr D = randomMag(rng, dn);
        if (rep % 3 == 0) std::fill(tq_W(D), tq_W(D) + dn - 1, 0xFFFFFFFFu);
        if (rep % 3 == 1) std::fill(tq_W(D), tq_W(D) + dn - 1, 0u);
        tq_W(D)[dn - 1] |= 0x80000000u;
        if (rep % 6 == 1) tq_W(D)[dn - 1] = 0x80000000u;
        mpz_set(d, Mpz(D));
        // u = q d + r, r from just above 0 to just below d.
        mpz_set(q, Mpz(randomMag(rng, qn)));
        mpz_mul(u, q, d);
        if (rep % 4 == 0) mpz_sub_ui(x, d, 1 + rng() % 3);
        else if (rep % 4 == 1) mpz_set_ui(x, rng() % 3);
        else mpz_set(x, Mpz(randomMag(rng, dn - 1)));
        mpz_add(u, u, x);
        const int32_t un = dn + qn + 1;  // u < B^qn d: the top dn words are below d
        TqStr U = magOfLen(u, static_cast<size_t>(un)), Q(4 * static_cast<size_t>(un - dn), '\0');
        if (!h_DivWithinOne(tq_W(U), un, tq_W(D), dn, tq_W(Q))) continue;
        ++told;
        mpz_tdiv_q(x, u, d);
        mpz_sub(x, Mpz(Q), x);
        ASSERT_LE(mpz_cmpabs_ui(x, 1), 0) << "rep " << rep << " dn " << dn;
    }
    EXPECT_GT(told, 3030);
}

// The binary float root against the exact one rounded at 8P bits with a
// dropped half going up (the cut's rule): x = M 2^(32 j) with M from the
// families above, so that the roots fall on, just below and just above the
// rounding boundaries of the precision, and with exponents of both parities.
TEST(FloatSqrt, BinaryRootsRoundedExactly) {
    std::mt19937_64 rng(21);
    FoPrecSnapshot snap0;
    Mpz m, x, s, r;
    mpq_t want, got;
    mpq_inits(want, got, nullptr);
    for (int32_t digits : {38, 39, 77, 300, 1000, 4000}) {
        fo_SetDigits(digits);
        const int64_t bits = 8 * static_cast<int64_t>(gTq_Prec_Bytes_Internal);
        for (int32_t rep = 0; rep < 24; ++rep) {
            const Family f = static_cast<Family>(rep % kFamilies);
            // Roots of 8P and 8P + 1 bits, whose last bits the rounding
            // reads, or mantissas of 1 to 2000 words.
            const int64_t mBits = rep < 18 ? 2 * (bits + rep % 2) : 32 * (1 + static_cast<int64_t>(rng() % 2000));
            radicand(m, rng, f, mBits);
            const int32_t j = static_cast<int32_t>(rng() % 7) - 3;
            TqNum c = tqg_Zero(TarqBinFloat);
            ASSERT_EQ(n_Sqrt(tqg_BinFloat(m, 4 * j), c), 0);
            // sqrt(M 2^(32 j)) = sqrt(M 2^(2t)) 2^(16 j - t), t giving 8P + 2 bits.
            const int64_t t = std::max<int64_t>(0, (2 * (bits + 2) - static_cast<int64_t>(mpz_sizeinbase(m, 2)) + 1) / 2);
            mpz_mul_2exp(x, m, static_cast<mp_bitcnt_t>(2 * t));
            mpz_sqrtrem(s, r, x);
            const int64_t drop = static_cast<int64_t>(mpz_sizeinbase(s, 2)) - bits;
            const int up = mpz_tstbit(s, static_cast<mp_bitcnt_t>(drop - 1));
            mpz_tdiv_q_2exp(s, s, static_cast<mp_bitcnt_t>(drop));
            mpz_add_ui(s, s, static_cast<unsigned long>(up));
            mpq_set_z(want, s);
            const int64_t e = drop + 16 * j - t;
            if (e >= 0)
                mpq_mul_2exp(want, want, static_cast<mp_bitcnt_t>(e));
            else
                mpq_div_2exp(want, want, static_cast<mp_bitcnt_t>(-e));
            tqg_ToMpq(got, c);
            EXPECT_TRUE(mpq_equal(got, want)) << "digits " << digits << " family " << f << " bits " << mBits << " j " << j;
        }
    }
    mpq_clears(want, got, nullptr);
    fo_SetDigits(38);
}

// Decimal roots are rounded to the nearest, an exact half down: the result
// r, whose last kept digit has the unit u = 10^Expo, satisfies
// (r - u/2)^2 < x <= (r + u/2)^2, and keeps the cut's digits (K to K + 3,
// Expo a multiple of 4; one more only for a power of ten rounded up).
// At 9,000 digits the product by the power of five splits its low triangle.
// Mantissas of random digits (twice the kept digits, or about as many),
// perfect squares (of roots of about all or half the kept digits), squares
// of roots that end in a 5 just below the kept digits (ties) and their
// neighbours, and powers of ten and their neighbours (the leading digit's
// place).
TEST(FloatSqrt, DecimalRootsRoundedToNearest) {
    std::mt19937_64 rng(33);
    FoPrecSnapshot snap0;
    Mpz m, root, ten;
    mpq_t x, r, u, lo, hi;
    mpq_inits(x, r, u, lo, hi, nullptr);
    TqNum c = tqg_Zero(TarqDecFloat);  // one output throughout: its old digits must not reach a result
    for (int32_t digits : {20, 38, 39, 60, 200, 1000, 3000, 9000, 60}) {
        fo_SetDigits(digits);
        const int32_t K = static_cast<int32_t>(2.40823996531184952 * (gTq_Prec_Bytes_Internal + 4));
        for (int32_t rep = 0; rep < 40; ++rep) {
            const int32_t kept = K + rep % 4;
            const int32_t span = rep % 3 == 0 ? (rep % 2 ? 2 * kept : kept - rep % 9)
                                               : rep % 3 == 1 && rep % 2 ? kept / 2 - rep % 5 : kept;
            mpz_ui_pow_ui(ten, 10, static_cast<unsigned long>(span));
            Mpz a(randomMag(rng, static_cast<int32_t>(mpz_sizeinbase(ten, 2) / 32 + 2)));
            mpz_mod(m, a, ten);
            if (rep % 3 == 1) mpz_mul(m, m, m);  // a perfect square
            if (rep % 3 == 2) {                  // (10 m + 5)^2, then -1, 0 or +1
                mpz_mul_ui(root, m, 10);
                mpz_add_ui(root, root, 5);
                mpz_mul(m, root, root);
                if (rep % 5 == 0) mpz_sub_ui(m, m, 1);
                if (rep % 5 == 1) mpz_add_ui(m, m, 1);
            }
            if (rep % 10 == 9) {
                mpz_ui_pow_ui(m, 10, static_cast<unsigned long>(span + rep % 4));
                mpz_add_ui(m, m, 1);
                if (rep % 20 == 9) mpz_sub_ui(m, m, 2);
            }
            if (mpz_sgn(m.v) == 0) mpz_set_ui(m, 7);
            // Exponents around 0, and far below it (values under 1).
            const int32_t e = static_cast<int32_t>(rng() % 19) - 9 - (rep % 4 == 3 ? 2 * span : 0);
            const TqNum xn = tqg_DecFloat(m, e);
            ASSERT_EQ(n_Sqrt(xn, c), 0);
            tqg_ToMpq(x, xn);
            tqg_ToMpq(r, c);
            mpz_ui_pow_ui(ten, 10, static_cast<unsigned long>(std::abs(c.V.Expo)));
            mpq_set_z(u, ten);
            if (c.V.Expo < 0) mpq_inv(u, u);
            mpq_div_2exp(u, u, 1);
            mpq_sub(lo, r, u);
            mpq_mul(lo, lo, lo);
            mpq_add(hi, r, u);
            mpq_mul(hi, hi, hi);
            EXPECT_TRUE(mpq_cmp(lo, x) < 0 && mpq_cmp(x, hi) <= 0) << "digits " << digits << " rep " << rep << " e " << e;
            const int64_t shown = static_cast<int64_t>(tqg_Str(Mpz(c.MantN), 10).size());
            EXPECT_TRUE(c.V.Expo % 4 == 0 && shown >= K && shown <= K + 4) << "digits " << digits << " rep " << rep << " shown " << shown;
        }
    }
    mpq_clears(x, r, u, lo, hi, nullptr);
    fo_SetDigits(38);
}

namespace {

struct RootCase {
    TqNum a, n;
};

TqNum big(long v) {
    mpz_t z;
    mpz_init_set_si(z, v);
    TqNum r = tqg_BigInt(z);
    mpz_clear(z);
    return r;
}

// Runs TQ_ROOT on fresh handles; returns the status.
int32_t runRoot(const TqNum &a, const TqNum &n, TqNum &c, TqNum &r, int32_t want = 1) {
    const int32_t ha = tqg_New(a), hn = tqg_New(n), hc = tqg_New(big(99)), hr = tqg_New(big(99));
    TQ_GETGLOBALERROR();
    const int32_t st = TQ_ROOT(ha, hn, want, hc, hr);
    c = tqg_Get(hc);
    r = tqg_Get(hr);
    for (int32_t h : {ha, hn, hc, hr}) TQ_UNALLOCVAR(h);
    return st;
}

long val(const TqNum &v) {
    mpz_t z;
    mpz_init(z);
    tqg_ToMpz(z, v);
    long x = mpz_get_si(z);
    mpz_clear(z);
    return x;
}

}  // namespace

TEST(RootTable, FiniteRows) {
    struct Row {
        long a, n, c, r;
    } rows[] = {
        {1, 0, 1, 0},     {0, 3, 0, 0},    {17, 2, 4, 1},  {-27, 3, -3, 0}, {10, -2, 0, 10}, {-1, 5, -1, 0},
        {-30, 3, -3, -3}, {-8, -3, 0, -8}, {1000000, 3, 100, 0},
    };
    for (const Row &row : rows) {
        TqNum c, r;
        EXPECT_EQ(runRoot(big(row.a), big(row.n), c, r), 0) << row.a << " " << row.n;
        EXPECT_EQ(c.V.Special, 0);
        EXPECT_EQ(val(c), row.c) << row.a << " root " << row.n;
        EXPECT_EQ(val(r), row.r) << row.a << " root " << row.n;
        EXPECT_EQ(r.V.Sign, row.r < 0 ? -1 : 1);
        EXPECT_EQ(c.V.Sign, row.c < 0 ? -1 : 1);
    }
}

TEST(RootTable, NaNRowsAndSpecials) {
    const TqNum pinf = tqg_Special(TarqBigInt, 1), ninf = tqg_Special(TarqBigInt, 2), nan = tqg_Special(TarqBigInt, 3);
    struct Row {
        TqNum a, n;
        int32_t special, status;
        long c, r;
        int32_t rSpecial;
    } rows[] = {
        {big(5), big(0), 3, 8, 0, 0, 3},    {big(-16), big(2), 3, 8, 0, 0, 3}, {big(0), big(-2), 3, 8, 0, 0, 3},
        {nan, big(3), 3, 8, 0, 0, 3},        {big(5), pinf, 3, 8, 0, 0, 3},     {big(5), nan, 3, 8, 0, 0, 3},
        {big(5), ninf, 0, 0, 1, 4, 0},       {big(-5), pinf, 3, 8, 0, 0, 3},   {pinf, big(-2), 0, 0, 0, 0, 1},
        {pinf, big(3), 1, 8, 0, 0, 0},       {ninf, big(2), 3, 8, 0, 0, 3},    {ninf, big(-3), 0, 0, 0, 0, 2},
        {ninf, big(3), 2, 8, 0, 0, 0},       {pinf, ninf, 3, 8, 0, 0, 3},      {ninf, nan, 3, 8, 0, 0, 3},
    };
    int i = 0;
    for (const Row &row : rows) {
        TqNum c, r;
        EXPECT_EQ(runRoot(row.a, row.n, c, r), row.status) << "row " << i;
        EXPECT_EQ(c.V.Special, row.special) << "row " << i;
        EXPECT_EQ(r.V.Special, row.rSpecial) << "row " << i;
        if (row.special == 0) {
            EXPECT_EQ(val(c), row.c) << "row " << i;
        }
        if (row.rSpecial == 0) {
            EXPECT_EQ(val(r), row.r) << "row " << i;
        }
        if (row.status) {
            EXPECT_EQ(TQ_GETGLOBALERROR() & 8, 8) << "row " << i;
        }
        ++i;
    }
}

TEST(RootTable, OrderAndKindErrors) {
    TqNum c, r;
    mpz_t z;
    mpz_init_set_ui(z, 2147483648u);
    EXPECT_EQ(runRoot(big(100), tqg_BigInt(z), c, r), tq_Err_Invalid);
    mpz_set_str(z, "100000000000", 10);
    EXPECT_EQ(runRoot(big(100), tqg_BigInt(z), c, r), tq_Err_Invalid);
    mpz_set_ui(z, 27);
    TqNum d27 = tqg_DecFloat(z, 0);
    mpz_set_ui(z, 3);
    TqNum d3 = tqg_DecFloat(z, 0);
    {
        const int32_t ha = tqg_New(d27), hn = tqg_New(d3), hc = tqg_New(d3), hr = tqg_New(d3);
        EXPECT_EQ(TQ_ROOT(ha, hn, 1, hc, hr), tq_Err_Type);
        EXPECT_EQ(TQ_ROOT(ha, hn, 1, hc, 999999), tq_Err_Handle);
        for (int32_t h : {ha, hn, hc, hr}) TQ_UNALLOCVAR(h);
    }
    // Without the remainder, R is left as it was.
    EXPECT_EQ(runRoot(big(17), big(2), c, r, 0), 0);
    EXPECT_EQ(val(c), 4);
    EXPECT_EQ(val(r), 99);
    mpz_clear(z);
}

TEST(FloatSqrt, ExactCasesAndErrors) {
    fo_SetDigits(38);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        TqNum c = tqg_Zero(kind);
        EXPECT_EQ(n_Sqrt(tq_IntNumForTest(kind, 4), c), 0);
        FoMpfr two;
        tqg_ToMpfr(two, c);
        EXPECT_EQ(mpfr_cmp_ui(two, 2), 0) << "kind " << kind;
        EXPECT_EQ(n_Sqrt(tq_IntNumForTest(kind, 0), c), 0);
        EXPECT_TRUE(c.V.Special == 0 && tq_W(c.MantN)[0] == 0 && c.V.Sign == 1);
        TQ_GETGLOBALERROR();
        // A negative operand, in range or far below it, leaves NaN behind.
        TqNum far = tq_IntNumForTest(kind, -3);
        if (kind == TarqDecFloat) far.V.Expo = -2000000000;
        for (const TqNum &neg : {tq_IntNumForTest(kind, -4), far}) {
            EXPECT_EQ(n_Sqrt(neg, c), tq_Err_Invalid);
            EXPECT_EQ(c.V.Special, tq_Special_NaN) << "kind " << kind;
        }
        EXPECT_EQ(n_Sqrt(tqg_Special(kind, 1), c), tq_Err_Special);
        EXPECT_EQ(c.V.Special, 1);
        EXPECT_EQ(n_Sqrt(tqg_Special(kind, 3), c), tq_Err_Special);
        EXPECT_EQ(c.V.Special, 3);
        EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Invalid | tq_Err_Special);
    }
    // Big integers: exact floor; fractions and mixed kinds: type errors.
    TqNum c = tqg_Zero(TarqBigInt);
    EXPECT_EQ(n_Sqrt(big(17), c), 0);
    EXPECT_EQ(val(c), 4);
    mpz_t n, d;
    mpz_init_set_ui(n, 9);
    mpz_init_set_ui(d, 4);
    TqNum f = tqg_Zero(TarqFraction);
    EXPECT_EQ(n_Sqrt(tqg_Fraction(n, d), f), tq_Err_Type);
    TqNum wrong = tqg_Zero(TarqDecFloat);
    EXPECT_EQ(n_Sqrt(big(16), wrong), tq_Err_Type);
    mpz_clears(n, d, nullptr);
}

TEST(FloatSqrt, DifferentialBothKinds) {
    std::mt19937_64 rng(2024);
    FoPrecSnapshot snap0;
    for (int32_t digits : {38, 100, 1000}) {
        fo_SetDigits(digits);
        FoPrecSnapshot snap;
        for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
            for (double mag : {-3000.0, -200.0, -1.0, 0.0, 0.5, 1.0, 7.0, 64.0, 1000.0, 5000.0}) {
                const int reps = digits >= 1000 ? 1 : 3;
                for (int rep = 0; rep < reps; ++rep) {
                    TqNum x = fo_Random(rng, kind, mag);
                    fo_CheckUnary(n_Sqrt, mpfr_sqrt, x, 2.0, "sqrt digits " + std::to_string(digits));
                    fo_CheckUnary(n_InverseSquareRoot, mpfr_rec_sqrt, x, 2.0, "rsqrt");
                }
            }
        }
        snap.expectSame();
    }
}

TEST(FloatSqrt, TenThousandDigits) {
    std::mt19937_64 rng(5);
    fo_SetDigits(10000);
    FoPrecSnapshot snap;
    fo_CheckUnary(n_Sqrt, mpfr_sqrt, fo_Random(rng, TarqBinFloat, 3.0), 2.0, "sqrt 10000 bin");
    fo_CheckUnary(n_Sqrt, mpfr_sqrt, fo_Random(rng, TarqDecFloat, -30.0), 2.0, "sqrt 10000 dec");
    snap.expectSame();
    fo_SetDigits(38);
}

TEST(FloatSqrt, ExportWritesResult) {
    fo_SetDigits(38);
    const int32_t a = tqg_New(tq_IntNumForTest(TarqBinFloat, 2)), c = tqg_New(tqg_Zero(TarqBinFloat));
    EXPECT_EQ(TQ_SQRT(a, c), 0);
    FoMpfr want, got;
    mpfr_sqrt_ui(want, 2, MPFR_RNDN);
    EXPECT_LE(ulp_Error(tqg_Get(c), want), 1.0);
    EXPECT_EQ(TQ_SQRT(a, a), 0);  // input and output the same handle
    EXPECT_LE(ulp_Error(tqg_Get(a), want), 1.0);
    EXPECT_EQ(TQ_SQRT(-1, c), tq_Err_Handle);
    TQ_UNALLOCVAR(a);
    TQ_UNALLOCVAR(c);
}
