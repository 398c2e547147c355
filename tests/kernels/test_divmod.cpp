// h_DivMod, h_Mod, h_MulWord and the limb division loops, checked against
// GMP on random and adversarial operands, on both limb widths and on both
// sides of the divide-and-conquer crossover.
#include <gtest/gtest.h>

#include "kernel_harness.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"

namespace {

class DivMod : public LimbPathTest {};

// Divides with the library and with GMP and compares both results.
void expectDiv(const TqStr &X, const TqStr &Y, const char *what) {
    TqStr q, r, q0, r0;
    h_DivMod(X, Y, 1, q, r);
    Mpz x(X), y(Y), gq, gr;
    mpz_tdiv_qr(gq, gr, x, y);
    ASSERT_EQ(q, magOf(gq)) << what << " X=" << hexOf(X) << " Y=" << hexOf(Y);
    ASSERT_EQ(r, magOf(gr)) << what << " X=" << hexOf(X) << " Y=" << hexOf(Y);
    h_DivMod(X, Y, 0, q0, r0);
    ASSERT_EQ(q0, q) << what << ": the quotient depends on the remainder flag";
}

TEST_P(DivMod, RandomSmallAndMedium) {
    std::mt19937_64 g(1001);
    for (int32_t ny = 1; ny <= 40; ++ny)
        for (int32_t extra : {0, 1, 2, 3, 7, 20, 41})
            for (int rep = 0; rep < 3; ++rep) expectDiv(randMag(g, ny + extra), randMag(g, ny), "random");
    for (int32_t ny : {63, 64, 65, 100, 161, 257})
        for (int32_t nx : {ny, ny + 1, 2 * ny - 1, 2 * ny, 3 * ny + 5}) expectDiv(randMag(g, nx), randMag(g, ny), "medium");
}

// A low crossover sends modest operands through every branch of the
// divide-and-conquer code: odd halves, a partial first block, blocks shorter
// than the divisor, add-back corrections.
TEST_P(DivMod, DivideAndConquerBranches) {
    SetGlobal thr(gTq_Threshold_Div_DC, 8);
    std::mt19937_64 g(2002);
    for (int32_t ny : {8, 9, 15, 16, 17, 31, 33, 50, 97, 128, 300})
        for (int32_t nx : {ny, ny + 3, 2 * ny - 1, 2 * ny, 2 * ny + 1, 3 * ny + 7, 5 * ny})
            for (int rep = 0; rep < 2; ++rep) expectDiv(randMag(g, nx), randMag(g, ny), "dc");
    // Dividends just below a multiple of the divisor force the corrections.
    for (int32_t ny : {16, 33, 64, 129}) {
        TqStr Y = randMag(g, ny), K = randMag(g, ny + 5);
        Mpz y(Y), k(K), x;
        mpz_mul(x, y, k);
        mpz_sub_ui(x, x, 1);
        expectDiv(magOf(x), Y, "dc below multiple");
        mpz_add_ui(x, x, 1);
        expectDiv(magOf(x), Y, "dc exact multiple");
    }
}

TEST_P(DivMod, LargeOperands) {
    std::mt19937_64 g(3003);
    expectDiv(randMag(g, 4000), randMag(g, 2000), "4000/2000");
    expectDiv(randMag(g, 5003), randMag(g, 1201), "5003/1201");
    expectDiv(randMag(g, 20000), randMag(g, 9000), "20000/9000");
}

TEST_P(DivMod, AdversarialPatterns) {
    std::mt19937_64 g(4004);
    for (int32_t ny : {1, 2, 3, 4, 5, 8, 33, 120}) {
        // All words 0xFFFFFFFF.
        expectDiv(fillMag(2 * ny + 1, 0xFFFFFFFFu), fillMag(ny, 0xFFFFFFFFu), "all ones");
        expectDiv(fillMag(2 * ny, 0xFFFFFFFFu), randMag(g, ny), "all-ones dividend");
        // Divisor top word 0x80000000 followed by 0xFFFFFFFF words, dividend
        // just below a multiple: the quotient estimate needs both corrections.
        TqStr Y = fillMag(ny + 1, 0xFFFFFFFFu);
        tq_W(Y)[ny] = 0x80000000u;
        for (int rep = 0; rep < 4; ++rep) {
            Mpz y(Y), k(randMag(g, ny + 2)), x;
            mpz_mul(x, y, k);
            mpz_sub_ui(x, x, 1 + rep);
            expectDiv(magOf(x), Y, "0x80000000 FFFFFFFF below multiple");
        }
        // 0x80000000 followed by zeros, and a dividend with that top word too.
        TqStr Z(static_cast<size_t>(ny + 1) * 4, '\0');
        tq_W(Z)[ny] = 0x80000000u;
        expectDiv(fillMag(2 * ny + 2, 0xFFFFFFFFu), Z, "power of two divisor");
        TqStr X = fillMag(2 * ny + 2, 0xFFFFFFFFu);
        tq_W(X)[2 * ny + 1] = 0x80000000u;
        expectDiv(X, Y, "0x80000000 dividend");
        // Divisor top word 0xFFFFFFFF: no normalisation, estimate all ones.
        TqStr F = randMag(g, ny);
        tq_W(F)[ny - 1] = 0xFFFFFFFFu;
        TqStr D = randMag(g, 3 * ny);
        tq_W(D)[3 * ny - 1] = 0xFFFFFFFEu;
        expectDiv(D, F, "top word all ones");
        // High and low zero words in the operands.
        TqStr H = randMag(g, 3 * ny);
        for (int32_t i = 0; i < ny; ++i) tq_W(H)[i] = 0;
        TqStr L = randMag(g, ny);
        for (int32_t i = 0; i + 1 < ny; ++i) tq_W(L)[i] = 0;
        expectDiv(H, L, "low zero words");
    }
    // Equal halves.
    TqStr E = randMag(g, 40);
    std::memcpy(tq_W(E) + 20, tq_W(E), 80);
    expectDiv(E, TqStr(E.data() + 80, 80), "equal halves");
}

TEST_P(DivMod, EdgeCases) {
    std::mt19937_64 g(5005);
    // X < Y, X = Y, Y / 1, a zero dividend, operands with high zero words.
    const TqStr X = randMag(g, 5), Y = randMag(g, 6), Xp = randMag(g, 9) + TqStr(12, '\0'), Yp = randMag(g, 3) + TqStr(8, '\0');
    for (auto [x, y] : {std::pair{X, Y}, {Y, Y}, {Y, tq_Word(1)}, {tq_Word(0), Y}, {Xp, Yp}}) expectDiv(x, y, "edge");
    // h_Mod agrees with h_DivMod.
    TqStr q, r, m;
    h_DivMod(Xp, Yp, 1, q, r);
    h_Mod(Xp, Yp, m);
    EXPECT_EQ(m, r);
}

// A zero divisor must return (never loop): zero quotient, dividend as remainder.
TEST_P(DivMod, ZeroDivisorGuard) {
    TqStr q = tq_Word(7), r;
    TqStr X = fillMag(3, 0x12345678u);
    h_DivMod(X, tq_Word(0), 1, q, r);
    EXPECT_EQ(q, tq_Word(0));
    EXPECT_EQ(r, X);
    h_DivMod(X, TqStr(12, '\0'), 0, q, r);
    EXPECT_EQ(q, tq_Word(0));
    EXPECT_EQ(r, X);
    h_DivMod(TqStr(), TqStr(), 1, q, r);
    EXPECT_EQ(q, tq_Word(0));
    EXPECT_EQ(r, tq_Word(0));
}

TQ_ON_LIMB_PATHS(DivMod);

TEST(MulWord, ProductsAndTrim) {
    std::mt19937_64 g(6006);
    int32_t trim = 0;
    TqStr R, Y = randMag(g, 7);
    h_MulWord(tq_Word(0), Y, trim, R);
    EXPECT_EQ(R, TqStr(32, '\0'));
    trim = 1;
    h_MulWord(tq_Word(0), Y, trim, R);
    EXPECT_EQ(R, tq_Word(0));
    for (uint32_t w : {1u, 2u, 0x80000000u, 0xFFFFFFFFu, 0x1234567u}) {
        for (TqStr y : {randMag(g, 1), randMag(g, 13), fillMag(5, 0xFFFFFFFFu)}) {
            Mpz gy(y), p;
            mpz_mul_ui(p, gy, w);
            trim = 1;
            h_MulWord(tq_Word(w), y, trim, R);
            EXPECT_EQ(R, magOf(p));
            trim = 0;
            h_MulWord(tq_Word(w), y, trim, R);
            EXPECT_EQ(R.size(), y.size() + 4);
            EXPECT_EQ(Mpz(R).v[0]._mp_size, p.v[0]._mp_size);
            EXPECT_EQ(mpz_cmp(Mpz(R), p), 0);
        }
    }
}

// The reciprocals and the 3-by-2 division step against GMP, for both widths.
template <class L> void checkRecip(std::mt19937_64 &g) {
    const int B = tqL_LimbBits<L>;
    const L top = static_cast<L>(1) << (B - 1), ones = static_cast<L>(~static_cast<L>(0));
    const L d1s[] = {top, static_cast<L>(top + 1), ones, static_cast<L>(ones - 1)};
    const L d0s[] = {0, 1, ones, static_cast<L>(ones - 1), top};
    auto check = [&](L d1, L d0) {
        Mpz num, d, v;
        mpz_setbit(num, 3 * B);
        mpz_sub_ui(num, num, 1);
        mpz_set_ui(d, 0);
        for (L x : {d1, d0}) {
            mpz_mul_2exp(d, d, B);
            Mpz t;
            mpz_import(t, 1, -1, sizeof(L), 0, 0, &x);
            mpz_add(d, d, t);
        }
        mpz_tdiv_q(v, num, d);
        mpz_clrbit(v, B);
        L mine = tqL_Recip3By2(d1, d0);
        Mpz m;
        mpz_import(m, 1, -1, sizeof(L), 0, 0, &mine);
        ASSERT_EQ(mpz_cmp(m, v), 0) << "reciprocal of " << +d1 << ":" << +d0;
        // One 3-by-2 step: (u2 u1 u0) with (u2 u1) < (d1 d0).
        L u[3] = {static_cast<L>(g()), static_cast<L>(g()), static_cast<L>(g())};
        if (u[2] > d1 || (u[2] == d1 && u[1] >= d0)) u[2] = static_cast<L>(d1 - 1);
        L r1, r0;
        L qq = tqL_Div3By2(u[2], u[1], u[0], d1, d0, mine, r1, r0);
        Mpz U, Q, R;
        mpz_import(U, 3, -1, sizeof(L), 0, 0, u);
        mpz_tdiv_qr(Q, R, U, d);
        L got[2] = {r0, r1};
        Mpz gr, gq;
        mpz_import(gr, 2, -1, sizeof(L), 0, 0, got);
        mpz_import(gq, 1, -1, sizeof(L), 0, 0, &qq);
        ASSERT_EQ(mpz_cmp(gq, Q), 0);
        ASSERT_EQ(mpz_cmp(gr, R), 0);
    };
    for (L d1 : d1s)
        for (L d0 : d0s) check(d1, d0);
    for (int i = 0; i < 3000; ++i) check(static_cast<L>(g() | top), static_cast<L>(g()));
}

TEST(LimbDivision, ReciprocalsMatchGmp) {
    std::mt19937_64 g(7007);
    checkRecip<uint32_t>(g);
#if TQ_HAVE_LIMB64
    checkRecip<uint64_t>(g);
#endif
}

}  // namespace
