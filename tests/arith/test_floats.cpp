// Decimal and binary floats against exact rational values: each result must
// agree with the exact value to the working precision (rounding of the last
// kept byte or digit), at several precisions, on random operands whose
// exponents put them both close together and a precision apart.
#include "arith_harness.h"

namespace {

struct FloatCase {
    int32_t kind;
    int32_t precBytes;
};

void PrintTo(const FloatCase &c, std::ostream *os) {
    *os << (c.kind == TarqBinFloat ? "bin" : "dec") << "_P" << c.precBytes;
}

// Tolerance in units of the last kept digit, and the relative tolerance of
// the addition shortcut (an operand a whole precision below the other is
// ignored).
// A decimal quotient is truncated at its last digit and may then be scaled by
// up to 10^3 to bring its exponent to a multiple of 4, so its error can reach
// 1000 units of the final last digit (still far inside the precision).
long unitsFor(TqtOp op, int32_t) {
    return op == kAdd || op == kSub ? 2 : 1;
}

TqNum randFloat(TqRng &g, const FloatCase &c) {
    const int maxWords = c.precBytes / 4 + 2;
    if (c.kind == TarqBinFloat) return tqt_RandFloat(g, c.kind, maxWords, -(c.precBytes + 24), 24);
    const int32_t digits = static_cast<int32_t>(c.precBytes * 2.408);
    return tqt_RandFloat(g, c.kind, maxWords, -(digits + 40), 40);
}

}  // namespace

class Floats : public ArithTest, public ::testing::WithParamInterface<FloatCase> {};

TEST_P(Floats, BinaryOperationsAgreeToWorkingPrecision) {
    const FloatCase c = GetParam();
    tqt_SetPrecisionBytes(c.precBytes);
    ASSERT_EQ(gTq_Prec_Bytes_Internal, c.precBytes);
    TqRng g(1000 + 10 * c.kind + c.precBytes);
    Mpq qa, qb, want;
    const int rounds = c.precBytes > 100 ? 60 : 700;
    for (int it = 0; it < rounds; ++it) {
        TqNum a = randFloat(g, c), b = randFloat(g, c);
        tqg_ToMpq(qa, a);
        tqg_ToMpq(qb, b);
        for (TqtOp op : {kAdd, kSub, kMul, kDiv}) {
            if (op == kDiv && mpq_sgn(qb) == 0) continue;
            put2(a, b);
            ASSERT_EQ(tqt_Call(op, h[0], h[1], h[2]), 0) << tqt_OpName(op);
            tqt_Exact(op, want, qa, qb);
            const long rel = (op == kAdd || op == kSub) ? c.precBytes - 1 : 0;
            ASSERT_TRUE(tqt_FloatClose(res(), want, unitsFor(op, c.kind), rel)) << tqt_OpName(op) << " iteration " << it;
        }
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

TEST_P(Floats, UnaryOperationsAgreeToWorkingPrecision) {
    const FloatCase c = GetParam();
    tqt_SetPrecisionBytes(c.precBytes);
    TqRng g(2000 + 10 * c.kind + c.precBytes);
    Mpq qa, want, one(1, 1);
    const int rounds = c.precBytes > 100 ? 60 : 500;
    for (int it = 0; it < rounds; ++it) {
        TqNum a = randFloat(g, c);
        tqg_ToMpq(qa, a);
        put2(a, a);

        ASSERT_EQ(TQ_INCR(h[0], h[2]), 0);
        mpq_add(want, qa, one);
        ASSERT_TRUE(tqt_FloatClose(res(), want, 2, c.precBytes - 1)) << "incr " << it;
        ASSERT_EQ(TQ_DECR(h[0], h[2]), 0);
        mpq_sub(want, qa, one);
        ASSERT_TRUE(tqt_FloatClose(res(), want, 2, c.precBytes - 1)) << "decr " << it;
        ASSERT_EQ(TQ_MULBY2(h[0], h[2]), 0);
        mpq_add(want, qa, qa);
        ASSERT_TRUE(tqt_FloatClose(res(), want, 1)) << "mulby2 " << it;
        ASSERT_EQ(TQ_DIVBY2(h[0], h[2]), 0);
        mpq_div_2exp(want, qa, 1);
        ASSERT_TRUE(tqt_FloatClose(res(), want, 1)) << "divby2 " << it;
        ASSERT_EQ(TQ_SQR(h[0], h[2]), 0);
        mpq_mul(want, qa, qa);
        ASSERT_TRUE(tqt_FloatClose(res(), want, 1)) << "sqr " << it;

        // The integer part is exact; the fractional part is exact up to the
        // cut of the subtraction.
        ASSERT_EQ(TQ_FIX(h[0], h[2]), 0);
        mpz_tdiv_q(mpq_numref(want), mpq_numref(qa), mpq_denref(qa));
        mpz_set_ui(mpq_denref(want), 1);
        ASSERT_TRUE(tqt_WellFormed(res()));
        Mpq got;
        tqg_ToMpq(got, res());
        ASSERT_TRUE(mpq_equal(got, want)) << "fix " << it;
        ASSERT_EQ(TQ_FRAC(h[0], h[2]), 0);
        mpq_sub(want, qa, want);
        ASSERT_TRUE(tqt_FloatClose(res(), want, 2, c.precBytes - 1)) << "frac " << it;

        if (mpq_sgn(qa)) {
            ASSERT_EQ(TQ_RECIPROCAL(h[0], h[2]), 0);
            mpq_inv(want, qa);
            ASSERT_TRUE(tqt_FloatClose(res(), want, unitsFor(kDiv, c.kind))) << "reciprocal " << it;
        }
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

INSTANTIATE_TEST_SUITE_P(KindsAndPrecisions, Floats,
                         ::testing::Values(FloatCase{TarqBinFloat, 4}, FloatCase{TarqBinFloat, 16},
                                           FloatCase{TarqBinFloat, 44}, FloatCase{TarqBinFloat, 416},
                                           FloatCase{TarqDecFloat, 4}, FloatCase{TarqDecFloat, 16},
                                           FloatCase{TarqDecFloat, 44}, FloatCase{TarqDecFloat, 416}));

// The 32-bit word loops (the path of the 32-bit build) give the same results
// as the 64-bit limb loops.
TEST_F(ArithTest, PortableWordLoopsAgree) {
    TqRng g(4242);
    Mpq qa, qb, want;
    const int32_t saved = gTq_Kernel_Limb64;
    for (int32_t kind : {TarqBinFloat, TarqDecFloat, TarqBigInt}) {
        for (int it = 0; it < 300; ++it) {
            const FloatCase c{kind == TarqBigInt ? TarqBinFloat : kind, 44};
            tqt_SetPrecisionBytes(c.precBytes);
            TqNum a = randFloat(g, c), b = randFloat(g, c);
            if (kind == TarqBigInt) {
                a.V.NumType = b.V.NumType = TarqBigInt;
                a.V.Expo = b.V.Expo = 0;
            }
            tqg_ToMpq(qa, a);
            tqg_ToMpq(qb, b);
            for (TqtOp op : {kAdd, kSub, kMul, kDiv}) {
                if (op == kDiv && mpq_sgn(qb) == 0) continue;
                TqNum out[2];
                for (int path = 0; path < 2; ++path) {
                    gTq_Kernel_Limb64 = path;
                    put2(a, b);
                    ASSERT_EQ(tqt_Call(op, h[0], h[1], h[2]), 0);
                    out[path] = res();
                }
                gTq_Kernel_Limb64 = saved;
                EXPECT_EQ(out[0].MantN, out[1].MantN) << tqt_OpName(op) << " kind " << kind << " it " << it;
                EXPECT_EQ(out[0].V.Expo, out[1].V.Expo);
                EXPECT_EQ(out[0].V.Sign, out[1].V.Sign);
                if (kind != TarqBigInt) {
                    tqt_Exact(op, want, qa, qb);
                    EXPECT_TRUE(tqt_FloatClose(out[0], want, unitsFor(op, kind), op == kAdd || op == kSub ? 43 : 0));
                }
            }
        }
    }
    gTq_Kernel_Limb64 = saved;
}
