// Every two- and one-operand operation of every numeric kind through its
// export against the exact rational value (GMP): big integers and fractions
// exactly, decimal and binary floats to the working precision (the rounding
// of the last kept byte or digit) at several precisions, on random operands
// with a bias to word boundaries, whose exponents put them both close together
// and a precision apart.
#include "arith_harness.h"

namespace {

struct KindCase {
    int32_t kind;
    int32_t precBytes;  // floats only
};

void PrintTo(const KindCase &c, std::ostream *os) {
    const char *names[] = {"", "dec", "bin", "bigint", "fraction"};
    *os << names[c.kind];
    if (c.precBytes) *os << "_P" << c.precBytes;
}

// The unary operations: export, exact value (false when there is no finite
// result: the reciprocal of zero), and the float tolerance in units (with the
// relative one of an addition when add-like). Big integers halve and invert
// truncating.
struct UnaryOp {
    const char *name;
    int32_t(TQ_CALL *call)(int32_t, int32_t);
    bool (*exact)(int32_t kind, mpq_t r, const mpq_t a);
    long units;
    bool addLike;
};
const Mpq kOne(1, 1);
void truncated(mpq_t r, const mpq_t a) {
    mpz_tdiv_q(mpq_numref(r), mpq_numref(a), mpq_denref(a));
    mpz_set_ui(mpq_denref(r), 1);
}
const UnaryOp kUnary[] = {
    {"incr", TQ_INCR, [](int32_t, mpq_t r, const mpq_t a) { mpq_add(r, a, kOne); return true; }, 2, true},
    {"decr", TQ_DECR, [](int32_t, mpq_t r, const mpq_t a) { mpq_sub(r, a, kOne); return true; }, 2, true},
    {"mulby2", TQ_MULBY2, [](int32_t, mpq_t r, const mpq_t a) { mpq_add(r, a, a); return true; }, 1, false},
    {"divby2", TQ_DIVBY2, [](int32_t kind, mpq_t r, const mpq_t a) {
         mpq_div_2exp(r, a, 1);
         if (kind == TarqBigInt) truncated(r, r);
         return true;
     }, 1, false},
    {"fix", TQ_FIX, [](int32_t, mpq_t r, const mpq_t a) { truncated(r, a); return true; }, 0, false},
    // exact up to the cut of the subtraction
    {"frac", TQ_FRAC, [](int32_t, mpq_t r, const mpq_t a) {
         truncated(r, a);
         mpq_sub(r, a, r);
         return true;
     }, 2, true},
    {"sqr", TQ_SQR, [](int32_t, mpq_t r, const mpq_t a) { mpq_mul(r, a, a); return true; }, 1, false},
    {"reciprocal", TQ_RECIPROCAL, [](int32_t kind, mpq_t r, const mpq_t a) {
         if (mpq_sgn(a) == 0) return false;
         mpq_inv(r, a);
         if (kind == TarqBigInt) truncated(r, r);
         return true;
     }, 1, false},
};

bool isFloat(const KindCase &c) { return c.kind == TarqDecFloat || c.kind == TarqBinFloat; }

// Operands: floats with mantissas of up to P + 8 bytes and exponents from a
// precision below 1 to 24 bytes (40 digits) above; exact kinds mostly short,
// every fifth up to 12 words and every fiftieth up to 60.
TqNum randOperand(TqRng &g, const KindCase &c, int it) {
    if (!isFloat(c)) {
        const int maxWords = it % 50 == 0 ? 60 : it % 5 == 0 ? 12 : 3;
        if (c.kind == TarqFraction) return tqt_RandFraction(g, maxWords);
        Mpz z;
        tqt_RandMpz(g, z, maxWords);
        return tqg_BigInt(z);
    }
    const int maxWords = c.precBytes / 4 + 2;
    if (c.kind == TarqBinFloat) return tqt_RandFloat(g, c.kind, maxWords, -(c.precBytes + 24), 24);
    const int32_t digits = static_cast<int32_t>(c.precBytes * 2.408);
    return tqt_RandFloat(g, c.kind, maxWords, -(digits + 40), 40);
}

// A float within `units` (or, add-like, within the precision of the larger
// operand); an exact kind, or 0 units, exactly.
::testing::AssertionResult close(const KindCase &c, const TqNum &res, const mpq_t want, long units, bool addLike) {
    if (!isFloat(c) || units == 0) return tqt_ExactEq(res, want);
    return tqt_FloatClose(res, want, units, addLike ? c.precBytes - 1 : 0);
}

}  // namespace

class Kinds : public ArithTest, public ::testing::WithParamInterface<KindCase> {
  protected:
    void SetUp() override {
        ArithTest::SetUp();
        if (isFloat(GetParam())) tqt_SetPrecisionBytes(GetParam().precBytes);
    }
    int rounds() const { return !isFloat(GetParam()) ? 1500 : GetParam().precBytes > 100 ? 60 : 600; }
};

TEST_P(Kinds, BinaryOperationsAgainstExactValues) {
    const KindCase c = GetParam();
    TqRng g(1000 + 10 * c.kind + c.precBytes);
    Mpq qa, qb, want;
    for (int it = 0; it < rounds(); ++it) {
        TqNum a = randOperand(g, c, it), b = randOperand(g, c, it);
        tqg_ToMpq(qa, a);
        tqg_ToMpq(qb, b);
        for (TqtOp op : {kAdd, kSub, kMul, kDiv}) {
            if (op == kDiv && mpq_sgn(qb) == 0) continue;
            put2(a, b);
            ASSERT_EQ(tqt_Call(op, h[0], h[1], h[2]), 0) << tqt_OpName(op);
            if (op == kDiv && c.kind == TarqBigInt) {
                mpz_tdiv_q(mpq_numref(want), mpq_numref(qa), mpq_numref(qb));
                mpz_set_ui(mpq_denref(want), 1);
            } else {
                tqt_Exact(op, want, qa, qb);
            }
            ASSERT_TRUE(close(c, res(), want, op == kAdd || op == kSub ? 2 : 1, op == kAdd || op == kSub))
                << tqt_OpName(op) << " iteration " << it;
        }
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

TEST_P(Kinds, UnaryOperationsAgainstExactValues) {
    const KindCase c = GetParam();
    TqRng g(2000 + 10 * c.kind + c.precBytes);
    Mpq qa, want;
    for (int it = 0; it < rounds(); ++it) {
        TqNum a = randOperand(g, c, it);
        tqg_ToMpq(qa, a);
        for (const UnaryOp &op : kUnary) {
            put2(a, a);
            const bool finite = op.exact(c.kind, want, qa);
            const int32_t st = op.call(h[0], h[2]);
            if (!finite) {
                EXPECT_EQ(st, tq_Err_Special) << op.name;
                EXPECT_EQ(res().V.Special, tq_Special_PosInf) << op.name;
                continue;
            }
            ASSERT_EQ(st, 0) << op.name;
            ASSERT_TRUE(close(c, res(), want, op.units, op.addLike)) << op.name << " iteration " << it;
        }
    }
    TQ_GETGLOBALERROR();
}

INSTANTIATE_TEST_SUITE_P(KindsAndPrecisions, Kinds,
                         ::testing::Values(KindCase{TarqBinFloat, 4}, KindCase{TarqBinFloat, 16},
                                           KindCase{TarqBinFloat, 44}, KindCase{TarqBinFloat, 416},
                                           KindCase{TarqDecFloat, 4}, KindCase{TarqDecFloat, 16},
                                           KindCase{TarqDecFloat, 44}, KindCase{TarqDecFloat, 416},
                                           KindCase{TarqBigInt, 0}, KindCase{TarqFraction, 0}));

TEST_F(ArithTest, DivIntAndModMatchGmpTruncation) {
    TqRng g(300);
    Mpz a, b, q, r;
    Mpq x;
    for (int it = 0; it < 2000; ++it) {
        const int maxWords = it % 50 == 0 ? 60 : it % 4 == 0 ? 10 : 3;
        tqt_RandMpz(g, a, maxWords);
        tqt_RandMpz(g, b, maxWords);
        if (mpz_sgn(b) == 0) mpz_set_si(b, it % 2 ? -1 : 1);
        put2(tqg_BigInt(a), tqg_BigInt(b));
        mpz_tdiv_qr(q, r, a, b);
        ASSERT_EQ(TQ_DIVINT(h[0], h[1], h[2], h[3]), 0);
        mpq_set_z(x, q);
        ASSERT_TRUE(tqt_ExactEq(res(2), x)) << "quotient, iteration " << it;
        mpq_set_z(x, r);
        ASSERT_TRUE(tqt_ExactEq(res(3), x)) << "remainder, iteration " << it;
        ASSERT_EQ(TQ_MOD(h[0], h[1], h[2]), 0);
        ASSERT_TRUE(tqt_ExactEq(res(2), x)) << "mod, iteration " << it;
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

TEST_F(ArithTest, UnreducedFractionsGiveReducedResults) {
    TqRng g(400);
    Mpq qa, qb, want;
    for (int it = 0; it < 300; ++it) {
        TqNum a = tqt_RandFraction(g, 4, true), b = tqt_RandFraction(g, 4, true);
        tqg_ToMpq(qa, a);
        tqg_ToMpq(qb, b);
        for (TqtOp op : {kAdd, kSub, kMul}) {
            put2(a, b);
            ASSERT_EQ(tqt_Call(op, h[0], h[1], h[2]), 0);
            tqt_Exact(op, want, qa, qb);
            ASSERT_TRUE(tqt_ExactEq(res(), want)) << tqt_OpName(op);
        }
    }
}

TEST_F(ArithTest, FractionsStayUnreducedWhenReductionIsOff) {
    TQ_SETOPTION(6, 0);
    const TqNum sixth = tqg_Fraction(Mpz(1), Mpz(6));
    put2(sixth, sixth);
    ASSERT_EQ(TQ_ADD(h[0], h[1], h[2]), 0);  // 1/6 + 1/6 = 2/6 kept as is
    EXPECT_EQ(res().MantN, tq_Word(2));
    EXPECT_EQ(res().DenN, tq_Word(6));
}

// The 32-bit word loops (the path of the 32-bit build) give the same results
// as the 64-bit limb loops.
TEST_F(ArithTest, PortableWordLoopsAgree) {
    TqRng g(4242);
    Mpq qa, qb, want;
    const int32_t saved = gTq_Kernel_Limb64;
    tqt_SetPrecisionBytes(44);
    for (int32_t kind : {TarqBinFloat, TarqDecFloat, TarqBigInt}) {
        for (int it = 0; it < 300; ++it) {
            const KindCase c{kind == TarqBigInt ? TarqBinFloat : kind, 44};
            TqNum a = randOperand(g, c, it), b = randOperand(g, c, it);
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
                EXPECT_TRUE(out[0].MantN == out[1].MantN && out[0].V.Expo == out[1].V.Expo && out[0].V.Sign == out[1].V.Sign)
                    << tqt_OpName(op) << " kind " << kind << " it " << it;
                if (kind != TarqBigInt) {
                    tqt_Exact(op, want, qa, qb);
                    EXPECT_TRUE(close(c, out[0], want, op == kAdd || op == kSub ? 2 : 1, op == kAdd || op == kSub));
                }
            }
        }
    }
    gTq_Kernel_Limb64 = saved;
}
