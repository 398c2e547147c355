// The short-operand paths of float add, sub, mul and div (stack arrays) against
// the general paths, word for word, and against MPFR within half a unit (mul),
// three quarters (add, sub: an operand below a quarter unit of the other is
// dropped before the cut) or one unit (div): random operands of 1..16 words at several
// precisions, with long runs of one bits (carries), near-equal operands
// (cancellation), decimal halves (ties of the cut), exponents far apart and
// next to the far-exponent limit, on both limb widths.
#include <mpfr.h>

#include "arith/arith.h"
#include "arith/small_float.h"
#include "arith_harness.h"

namespace {

typedef int32_t (*Op)(const TqNum &, const TqNum &, TqNum &);
typedef bool (*AnyOp)(const TqNum &, const TqNum &, TqNum &);

// The same words, record (but InUse) and denominator.
void expectSame(const TqNum &x, const TqNum &y) {
    EXPECT_EQ(x.V.Sign, y.V.Sign);
    EXPECT_EQ(x.V.Expo, y.V.Expo);
    EXPECT_EQ(x.V.NumType, y.V.NumType);
    EXPECT_EQ(x.V.Special, y.V.Special);
    EXPECT_EQ(x.MantN, y.MantN);
    EXPECT_EQ(x.DenN, y.DenN);
}

// A non-zero mantissa of up to 16 words; for decimals now and then a value
// ending in 5 followed by zeros, so that sums and products land on halves.
void randMant(TqRng &g, mpz_t m, int32_t kind) {
    do tqt_RandMpz(g, m, 16);
    while (mpz_sgn(m) == 0);
    mpz_abs(m, m);
    if (kind == TarqDecFloat && g.ui(4) == 0) {
        mpz_t p;
        mpz_init(p);
        mpz_ui_pow_ui(p, 10, g.ui(40));
        mpz_mul(m, m, p);
        mpz_mul_ui(p, p, 5);
        mpz_tdiv_q_ui(p, p, 10);
        mpz_add(m, m, p);
        mpz_clear(p);
    }
}

int32_t randExpo(TqRng &g, int32_t kind) {
    int64_t e;
    switch (g.ui(8)) {
        case 0: e = (int64_t(1) << 25) - 40 + static_cast<int64_t>(g.ui(80)); break;  // next to the limit
        case 1: e = -(int64_t(1) << 25) - 40 + static_cast<int64_t>(g.ui(80)); break;
        default: e = static_cast<int64_t>(g.ui(161)) - 80; break;
    }
    return static_cast<int32_t>(kind == TarqBinFloat ? 4 * (e / 4) : e);
}

}  // namespace

TEST(SmallFloat, MatchesGeneralPathAndMpfr) {
    const struct {
        const char *name;
        Op op;
        AnyOp any;
        int (*mp)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
        double bound;
    } ops[] = {{"add", n_AddRef, tq_SmallAddAny, mpfr_add, 0.75},
               {"sub", n_SubRef, tq_SmallSubAny, mpfr_sub, 0.75},
               {"mul", n_MulRef, tq_SmallMulAny, mpfr_mul, 0.5},
               {"div", n_DivRef, tq_SmallDivAny, mpfr_div, 1.0}};
    const int32_t savedLimb = gTq_Kernel_Limb64, savedBytes = TQ_GETPRECISION(3);
    TqRng g(38);
    mpz_t ma, mb;
    mpz_inits(ma, mb, nullptr);
    int64_t checked = 0, direct = 0;
    for (int32_t bytes : {4, 8, 16, 20, 32, 64}) {
        TQ_SETPRECISION(3, bytes);
        for (int it = 0; it < 1500; ++it) {
            const int32_t kind = it % 2 ? TarqBinFloat : TarqDecFloat;
            gTq_Kernel_Limb64 = (it / 2) % 2;
            randMant(g, ma, kind);
            if (g.ui(4) == 0) {  // near-equal operands: cancellation in sub
                mpz_set(mb, ma);
                tqt_RandMpz(g, ma, 1);
                mpz_add(mb, mb, ma);
                mpz_abs(mb, mb);
                mpz_set(ma, mb);
                mpz_add_ui(mb, mb, g.ui(3));
            } else {
                randMant(g, mb, kind);
            }
            if (mpz_sgn(mb) == 0) mpz_set_ui(mb, 1);
            TqNum a = tqg_Make(kind, ma, randExpo(g, kind)), b = tqg_Make(kind, mb, randExpo(g, kind));
            if (g.ui(3) == 0) b.V.Expo = a.V.Expo + (kind == TarqBinFloat ? 4 : 1) * (static_cast<int32_t>(g.ui(9)) - 4);
            if (g.ui(2)) a.V.Sign = -1;
            if (g.ui(2)) b.V.Sign = -1;
            for (const auto &o : ops) {
                TqNum fast, slow;
                fast.V.NumType = slow.V.NumType = kind;
                gTq_SmallFloat = 1;
                const int32_t sf = o.op(a, b, fast);
                gTq_SmallFloat = 0;
                const int32_t ss = o.op(a, b, slow);
                gTq_SmallFloat = 1;
                SCOPED_TRACE(std::string(o.name) + " kind " + std::to_string(kind) + " bytes " + std::to_string(bytes) +
                             " it " + std::to_string(it));
                ASSERT_EQ(sf, ss);
                expectSame(fast, slow);
                // The frame's entry, writing over either operand.
                TqNum overA = a, overB = b;
                if (o.any(overA, b, overA)) {
                    expectSame(overA, slow);
                    ++direct;
                }
                if (o.any(a, overB, overB)) expectSame(overB, slow);
                if (a.V.Expo > 1000 || a.V.Expo < -1000 || b.V.Expo > 1000 || b.V.Expo < -1000) continue;
                mpfr_t x, y, z;
                mpfr_inits2(8192, x, y, nullptr);  // decimal operands within 2^-8192
                mpfr_init2(z, ulp_OraclePrec());
                tqg_ToMpfr(x, a);
                tqg_ToMpfr(y, b);
                o.mp(z, x, y, MPFR_RNDN);
                EXPECT_LE(ulp_Error(fast, z), o.bound);
                mpfr_clears(x, y, z, nullptr);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 20000);
    EXPECT_GT(direct, 15000);
    gTq_Kernel_Limb64 = savedLimb;
    TQ_SETPRECISION(3, savedBytes);
    mpz_clears(ma, mb, nullptr);
}

// Decimal quotients that land on a half of the last kept digit, or a hair
// above or below one (A = 10^n + c over small even divisors), at every cut
// position: the short path must round them exactly as the general path.
TEST(SmallFloat, DecimalQuotientsNearHalves) {
    const int32_t savedBytes = TQ_GETPRECISION(3);
    mpz_t ma, mb;
    mpz_inits(ma, mb, nullptr);
    int64_t direct = 0;
    for (int32_t bytes : {4, 20, 64})
        for (unsigned n = 1; n < 150; ++n)
            for (unsigned long c : {1ul, 3ul, 5ul})
                for (unsigned long d : {2ul, 8ul, 64ul, 20000002ul}) {
                    TQ_SETPRECISION(3, bytes);
                    mpz_ui_pow_ui(ma, 10, n);
                    mpz_add_ui(ma, ma, c);
                    mpz_set_ui(mb, d);
                    const TqNum a = tqg_Make(TarqDecFloat, ma, -static_cast<int32_t>(n % 7)), b = tqg_Make(TarqDecFloat, mb, 0);
                    TqNum fast, slow, any;
                    fast.V.NumType = slow.V.NumType = any.V.NumType = TarqDecFloat;
                    ASSERT_EQ(n_DivRef(a, b, fast), 0);
                    gTq_SmallFloat = 0;
                    ASSERT_EQ(n_DivRef(a, b, slow), 0);
                    gTq_SmallFloat = 1;
                    if (tq_SmallDivAny(a, b, any)) {
                        ++direct;
                        expectSame(any, slow);
                    }
                    SCOPED_TRACE("bytes " + std::to_string(bytes) + " n " + std::to_string(n) + " c " +
                                 std::to_string(c) + " d " + std::to_string(d));
                    expectSame(fast, slow);
                }
    EXPECT_GT(direct, 2500);
    TQ_SETPRECISION(3, savedBytes);
    mpz_clears(ma, mb, nullptr);
}

// Quotients built from their parts, A = Q B + R: Q of K - 1 to K + 4 digits
// (the kept digits, and four more where the cut moves up), now and then
// ending in 5000; R zero, at and beside B / 2, and 3, 10, 30 and 6000
// hundred-millionths of B above it (the window the short path leaves to the
// general one, and beyond). The short path must round as the general path or
// decline.
TEST(SmallFloat, DecimalQuotientsAroundHalves) {
    const int32_t savedBytes = TQ_GETPRECISION(3);
    TqRng g(15);
    mpz_t q, b, r, a, t;
    mpz_inits(q, b, r, a, t, nullptr);
    int64_t direct = 0;
    for (int32_t bytes : {4, 16, 20, 32}) {
        TQ_SETPRECISION(3, bytes);
        const unsigned long K = static_cast<unsigned long>(2.40823996531184952 * (bytes + 4));
        for (unsigned it = 0; it < 960; ++it) {
            mpz_ui_pow_ui(t, 10, K - 2 + it % 6);
            mpz_mul_ui(q, t, 9);
            mpz_urandomm(q, g.st, q);
            mpz_add(q, q, t);  // K - 1 + it % 6 digits
            if (it / 6 % 2) {
                mpz_fdiv_q_ui(q, q, 10000);
                mpz_mul_ui(q, q, 10000);
                mpz_add_ui(q, q, 5000);
            }
            tqt_RandPos(g, b, 6);
            mpz_fdiv_q_2exp(r, b, 1);
            static const unsigned long kAbove[] = {3, 10, 30, 6000};
            switch (it / 12 % 8) {
                case 0: mpz_set_ui(r, 0); break;
                case 1: mpz_sub_ui(r, r, mpz_sgn(r) > 0); break;
                case 2: break;
                case 3: mpz_add_ui(r, r, 1); break;
                default:
                    mpz_mul_ui(t, b, kAbove[it / 12 % 8 - 4]);
                    mpz_fdiv_q_ui(t, t, 100000000);
                    mpz_add(r, r, t);
            }
            if (mpz_cmp(r, b) >= 0) mpz_set_ui(r, 0);
            mpz_mul(a, q, b);
            mpz_add(a, a, r);
            const TqNum na = tqg_Make(TarqDecFloat, a, 0), nb = tqg_Make(TarqDecFloat, b, 0);
            TqNum fast, slow;
            fast.V.NumType = slow.V.NumType = TarqDecFloat;
            gTq_SmallFloat = 0;
            ASSERT_EQ(n_DivRef(na, nb, slow), 0);
            gTq_SmallFloat = 1;
            if (tq_SmallDivAny(na, nb, fast)) {
                ++direct;
                SCOPED_TRACE("bytes " + std::to_string(bytes) + " it " + std::to_string(it));
                expectSame(fast, slow);
            }
        }
    }
    EXPECT_GT(direct, 2500);
    TQ_SETPRECISION(3, savedBytes);
    mpz_clears(q, b, r, a, t, nullptr);
}

// Products on a half of the last kept digit and one unit of B on either side,
// A B = Q 10^j + 10^j / 2 + {-B, 0, B} for B among small powers of two and
// five, Q of K - 1 to K + 4 digits and A's exponent moving the cut over j:
// the short path must round them as the general path on both limb widths,
// and where the cut falls on j, to Q (the half rounds down) or Q + 1.
TEST(SmallFloat, DecimalProductsAroundHalves) {
    const int32_t savedLimb = gTq_Kernel_Limb64, savedBytes = TQ_GETPRECISION(3);
    TqRng g(21);
    Mpz q, m, a, t;
    int64_t direct = 0, halves = 0;
    for (int32_t bytes : {4, 16, 20, 32}) {
        TQ_SETPRECISION(3, bytes);
        const unsigned long K = static_cast<unsigned long>(2.40823996531184952 * (bytes + 4));
        for (unsigned it = 0; it < 1200; ++it) {
            static const unsigned long kB[] = {1, 2, 4, 5, 8, 25};
            const unsigned long j = 4 + g.ui(56), b = kB[it % 6];
            gTq_Kernel_Limb64 = it / 6 % 2;
            mpz_ui_pow_ui(t, 10, K - 2 + it / 12 % 6);
            mpz_mul_ui(q, t, 9);
            mpz_urandomm(q, g.st, q);
            mpz_add(q, q, t);  // K - 1 + it / 12 % 6 digits
            mpz_mul_ui(m, q, 10);
            mpz_add_ui(m, m, 5);
            mpz_ui_pow_ui(t, 10, j - 1);
            mpz_mul(m, m, t);  // Q 10^j + 10^j / 2
            mpz_divexact_ui(a, m, b);
            const long delta = static_cast<long>(g.ui(3)) - 1;
            if (delta < 0) mpz_sub_ui(a, a, 1);
            if (delta > 0) mpz_add_ui(a, a, 1);
            const int32_t ea = static_cast<int32_t>(g.ui(8)) - 4 - static_cast<int32_t>(j % 4);
            const TqNum na = tqg_Make(TarqDecFloat, a, ea), nb = tqg_Make(TarqDecFloat, Mpz(static_cast<long>(b)), 0);
            TqNum fast, slow;
            fast.V.NumType = slow.V.NumType = TarqDecFloat;
            gTq_SmallFloat = 0;
            ASSERT_EQ(n_MulRef(na, nb, slow), 0);
            gTq_SmallFloat = 1;
            if (!tq_SmallMulAny(na, nb, fast)) continue;
            ++direct;
            SCOPED_TRACE("bytes " + std::to_string(bytes) + " it " + std::to_string(it));
            expectSame(fast, slow);
            if (fast.V.Expo - ea != static_cast<int32_t>(j)) continue;  // the cut fell elsewhere
            // 10^j / 2 + delta B dropped: Q on the half and below it, Q + 1 above.
            mpz_add_ui(q, q, delta > 0 ? 1 : 0);
            EXPECT_EQ(mpz_cmp(Mpz(fast.MantN), q), 0);
            ++halves;
        }
    }
    EXPECT_GT(direct, 4500);
    EXPECT_GT(halves, 600);
    gTq_Kernel_Limb64 = savedLimb;
    TQ_SETPRECISION(3, savedBytes);
}
