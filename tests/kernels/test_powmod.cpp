// Powers and modular powers (both forms, both limb widths), the
// sliding-window recoding, the Montgomery set-up and reduction and the
// modular inverse, against GMP.
#include <gtest/gtest.h>

#include "kernel_harness.h"
#include "kernels/pow.h"

namespace {

TqStr powmodGmp(const TqStr &B, const TqStr &E, const TqStr &M) {
    Mpz b(B), e(E), m(M), r;
    mpz_powm(r, b, e, m);
    return magOf(r);
}

class PowMod : public LimbPathTest {};

TEST_P(PowMod, RandomOddAndEvenModuli) {
    std::mt19937_64 g(1111);
    for (int32_t nm : {1, 2, 3, 4, 7, 16, 33, 64}) {
        for (int32_t ne : {1, 2, 3, 5, 9, 40}) {
            TqStr M = randMag(g, nm), B = randMag(g, nm + static_cast<int32_t>(g() % 3)), E = randMag(g, ne), R;
            tq_W(M)[0] |= 1;
            h_PowMod(B, E, M, R);
            ASSERT_EQ(R, powmodGmp(B, E, M)) << "odd nm=" << nm << " ne=" << ne;
            // Plain reduction gives the same result for the same odd modulus.
            TqStr Rp;
            h_PowMod_Plain(B, E, M, Rp);
            ASSERT_EQ(Rp, R);
            tq_W(M)[0] &= ~1u;
            if (tq_NWords(M) == 1 && tq_W(M)[0] == 0) tq_W(M)[0] = 2;
            h_PowMod(B, E, M, R);
            ASSERT_EQ(R, powmodGmp(B, E, M)) << "even nm=" << nm << " ne=" << ne;
        }
    }
}

TEST_P(PowMod, CryptographicSizes) {
    std::mt19937_64 g(2222);
    for (int32_t nm : {32, 64, 130}) {
        TqStr M = randMag(g, nm), B = randMag(g, nm), E = randMag(g, nm), R;
        tq_W(M)[0] |= 1;
        h_PowMod(B, E, M, R);
        EXPECT_EQ(R, powmodGmp(B, E, M)) << "nm=" << nm;
    }
    // All-ones modulus and base, a modulus that is a power of two.
    TqStr F = fillMag(32, 0xFFFFFFFFu), R;
    h_PowMod(F, fillMag(8, 0xFFFFFFFFu), F, R);
    EXPECT_EQ(R, tq_Word(0));
    TqStr F1 = F;
    tq_W(F1)[0] = 0xFFFFFFFDu;
    h_PowMod(F, fillMag(8, 0xFFFFFFFFu), F1, R);
    EXPECT_EQ(R, powmodGmp(F, fillMag(8, 0xFFFFFFFFu), F1));
    TqStr P(68, '\0');
    tq_W(P)[16] = 1;
    h_PowMod(randMag(g, 20), randMag(g, 3), P, R);
    Mpz p(P);
    EXPECT_LT(mpz_cmp(Mpz(R), p), 0);
}

// B^0 is 1 whatever the modulus (also 1, where GMP gives 0); a zero modulus
// is refused with zero rather than a division by zero, by every entry; the
// Montgomery entry hands even moduli to the plain one; zero bases, bases at
// and above the modulus, high zero words.
TEST_P(PowMod, EdgeCases) {
    std::mt19937_64 g(3333);
    const TqStr B = randMag(g, 5), M = randMag(g, 4);
    TqStr Modd = M;
    tq_W(Modd)[0] |= 1;
    typedef void (*Entry)(TqStr, TqStr, TqStr, TqStr &);
    struct Case {
        Entry f;
        TqStr b, e, m, want;  // want empty: GMP's powm of b, e, m
    } cases[] = {
        {h_PowMod, B, tq_Word(0), tq_Word(1), tq_Word(1)},  {h_PowMod, B, tq_Word(0), tq_Word(2), tq_Word(1)},
        {h_PowMod, B, tq_Word(0), M, tq_Word(1)},           {h_PowMod, B, TqStr(12, '\0'), tq_Word(1), tq_Word(1)},
        {h_PowMod, B, TqStr(12, '\0'), M, tq_Word(1)},     {h_PowMod, B, tq_Word(5), tq_Word(1), tq_Word(0)},
        {h_PowMod, tq_Word(0), tq_Word(3), Modd, ""},       {h_PowMod, Modd, tq_Word(3), Modd, ""},
        {h_PowMod, randMag(g, 30), tq_Word(65537), Modd, ""},
        {h_PowMod, B, tq_Word(77) + TqStr(8, '\0'), Modd + TqStr(8, '\0'), ""},
        {h_PowMod, B, tq_Word(3), tq_Word(0), tq_Word(0)},  {h_PowMod_Plain, B, tq_Word(3), tq_Word(0), tq_Word(0)},
        {h_PowMod_Montgomery, B, tq_Word(3), tq_Word(0), tq_Word(0)},
        {h_PowMod_Montgomery, B, tq_Word(3), tq_Word(10), ""},
    };
    int i = 0;
    for (const Case &c : cases) {
        TqStr R;
        c.f(c.b, c.e, c.m, R);
        EXPECT_EQ(R, c.want.empty() ? powmodGmp(c.b, c.e, c.m) : c.want) << "case " << i++;
    }
}

TQ_ON_LIMB_PATHS(PowMod);

TEST(SlidingWindow, WidthsAndRecords) {
    for (auto [bits, width] : {std::pair{8, 3}, {9, 4}, {16, 4}, {17, 5}, {32, 5}, {128, 6}, {256, 7}, {257, 8}})
        EXPECT_EQ(h_WindowWidth(bits), width) << bits;
    std::vector<TqWindowRec> recs;
    h_SlidingWindow(tq_Word(0), 3, recs);
    EXPECT_TRUE(recs.empty());
    // 0b1011000 with k = 3: zero run of 3, then the window 011 (value 3 over
    // 3 bits, top bit beyond the exponent's top... cut at the top bit).
    h_SlidingWindow(tq_Word(0x58), 3, recs);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0].Kind, 0);
    EXPECT_EQ(recs[0].Length, 3);
    EXPECT_EQ(recs[1].Kind, 1);
    EXPECT_EQ(recs[1].Length, 3);
    EXPECT_EQ(recs[1].Value, 3);
    EXPECT_EQ(recs[2].Kind, 1);
    EXPECT_EQ(recs[2].Length, 1);
    EXPECT_EQ(recs[2].Value, 1);
    // The records put back together give the exponent.
    std::mt19937_64 g(4444);
    for (int32_t k = 3; k <= 8; ++k) {
        TqStr E = randMag(g, 9);
        h_SlidingWindow(E, k, recs);
        Mpz v, pos;
        unsigned long shift = 0;
        for (const TqWindowRec &r : recs) {
            if (r.Kind == 1) {
                EXPECT_EQ(r.Value & 1, 1);
                EXPECT_LE(r.Length, k);
                EXPECT_LT(r.Value, 1 << r.Length);
                Mpz w;
                mpz_set_ui(w, static_cast<unsigned long>(r.Value));
                mpz_mul_2exp(w, w, shift);
                mpz_add(v, v, w);
            }
            shift += static_cast<unsigned long>(r.Length);
        }
        EXPECT_EQ(magOf(v), E);
    }
}

TEST(Montgomery, SetupReduceAndInverse) {
    std::mt19937_64 g(5555);
    for (int32_t nm : {1, 2, 5, 17}) {
        TqStr M = randMag(g, nm), Mp, R;
        tq_W(M)[0] |= 1;
        int32_t n = 0, exists = 0;
        h_MontgomerySetup(M, Mp, n, exists);
        EXPECT_EQ(n, 4 * nm);
        EXPECT_EQ(exists, 1);
        Mpz m(M), mp(Mp), rr, t;
        mpz_setbit(rr, static_cast<mp_bitcnt_t>(8 * n));
        mpz_mul(t, m, mp);
        mpz_add_ui(t, t, 1);
        mpz_mod(t, t, rr);
        EXPECT_EQ(mpz_sgn(t.v), 0) << "M x Mp != -1 mod R";
        // T below M x R reduces to T / R mod M.
        for (int rep = 0; rep < 5; ++rep) {
            Mpz T(randMag(g, 2 * nm)), expect, rinv;
            mpz_mod(T, T, m);
            Mpz T2(randMag(g, nm));
            mpz_mul(T, T, T2);  // below M x R
            mpz_invert(rinv, rr, m);
            mpz_mul(expect, T, rinv);
            mpz_mod(expect, expect, m);
            h_MontgomeryReduce(magOf(T), M, Mp, n, R);
            EXPECT_EQ(R, magOf(expect));
        }
    }
    for (int rep = 0; rep < 40; ++rep) {
        TqStr A = randMag(g, 1 + rep % 6), N = randMag(g, 1 + rep % 5), inv;
        int32_t exists = -1;
        h_ModInverse(A, N, inv, exists);
        Mpz a(A), n(N), gi;
        const int ok = mpz_invert(gi, a, n);
        EXPECT_EQ(exists, ok ? 1 : 0);
        if (ok) {
            EXPECT_EQ(inv, magOf(gi));
        }
    }
    TqStr inv;
    int32_t exists = -1;
    h_ModInverse(tq_Word(6), tq_Word(9), inv, exists);
    EXPECT_EQ(exists, 0);
    h_ModInverse(tq_Word(3), tq_Word(7), inv, exists);
    EXPECT_EQ(exists, 1);
    EXPECT_EQ(inv, tq_Word(5));
    h_ModInverse(tq_Word(5), tq_Word(1), inv, exists);
    EXPECT_EQ(exists, 1);
    EXPECT_EQ(inv, tq_Word(0));
}

// h_Pow: zero and one exponents (also with high zero words), zero bases,
// small and multi-word bases and exponents.
TEST(Pow, AgainstGmp) {
    std::mt19937_64 g(9009);
    auto check = [](const TqStr &b, const TqStr &e) {
        TqStr r;
        h_Pow(b, e, r);
        Mpz bb(b), ee(e), p;
        mpz_pow_ui(p, bb, mpz_get_ui(ee));
        ASSERT_EQ(r, magOf(p)) << "b=" << hexOf(b) << " e=" << hexOf(e);
    };
    for (const TqStr &b : {tq_Word(0), tq_Word(1), tq_Word(7), fillMag(4, 0xFFFFFFFFu)})
        for (const TqStr &e : {tq_Word(0), TqStr(8, '\0'), tq_Word(1), tq_Word(5)}) check(b, e);
    check(tq_Word(2), tq_Word(64));
    for (int32_t nb : {1, 2, 5, 20})
        for (uint32_t e : {2u, 3u, 10u, 31u, 64u, 100u, 257u}) check(randMag(g, nb), tq_Word(e) + TqStr(4, '\0'));
    check(tq_Word(10), tq_Word(20000));
    EXPECT_EQ(h_TopBit(tq_Word(0)), -1);
    EXPECT_EQ(h_TopBit(TqStr(8, '\0') + tq_Word(1)), 64);
}

}  // namespace
