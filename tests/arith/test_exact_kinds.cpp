// Big integers and fractions are exact: every operation through its export is
// compared with GMP on random operands of many sizes and signs.
#include "arith_harness.h"

namespace {

// The unary operations: export and exact value (false when there is no finite
// result: the reciprocal of zero). Big integers halve and invert truncating.
struct UnaryOp {
    const char *name;
    int32_t(TQ_CALL *call)(int32_t, int32_t);
    bool (*exact)(int32_t kind, mpq_t r, const mpq_t a);
};
const Mpq kOne(1, 1);
void truncated(mpq_t r, const mpq_t a) {
    mpz_tdiv_q(mpq_numref(r), mpq_numref(a), mpq_denref(a));
    mpz_set_ui(mpq_denref(r), 1);
}
const UnaryOp kUnary[] = {
    {"incr", TQ_INCR, [](int32_t, mpq_t r, const mpq_t a) { mpq_add(r, a, kOne); return true; }},
    {"decr", TQ_DECR, [](int32_t, mpq_t r, const mpq_t a) { mpq_sub(r, a, kOne); return true; }},
    {"mulby2", TQ_MULBY2, [](int32_t, mpq_t r, const mpq_t a) { mpq_add(r, a, a); return true; }},
    {"divby2", TQ_DIVBY2, [](int32_t kind, mpq_t r, const mpq_t a) {
         mpq_div_2exp(r, a, 1);
         if (kind == TarqBigInt) truncated(r, r);
         return true;
     }},
    {"fix", TQ_FIX, [](int32_t, mpq_t r, const mpq_t a) { truncated(r, a); return true; }},
    {"frac", TQ_FRAC, [](int32_t, mpq_t r, const mpq_t a) {
         truncated(r, a);
         mpq_sub(r, a, r);
         return true;
     }},
    {"sqr", TQ_SQR, [](int32_t, mpq_t r, const mpq_t a) { mpq_mul(r, a, a); return true; }},
    {"reciprocal", TQ_RECIPROCAL, [](int32_t kind, mpq_t r, const mpq_t a) {
         if (mpq_sgn(a) == 0) return false;
         mpq_inv(r, a);
         if (kind == TarqBigInt) truncated(r, r);
         return true;
     }},
};

TqNum randExact(TqRng &g, int32_t kind, int maxWords) {
    if (kind == TarqFraction) return tqt_RandFraction(g, maxWords);
    Mpz z;
    tqt_RandMpz(g, z, maxWords);
    return tqg_BigInt(z);
}

}  // namespace

class ExactKinds : public ArithTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(ExactKinds, BinaryOperationsMatchGmp) {
    const int32_t kind = GetParam();
    TqRng g(100 + kind);
    Mpq qa, qb, want;
    for (int it = 0; it < 1500; ++it) {
        const int maxWords = it % 50 == 0 ? 60 : it % 5 == 0 ? 12 : 3;
        TqNum a = randExact(g, kind, maxWords), b = randExact(g, kind, maxWords);
        tqg_ToMpq(qa, a);
        tqg_ToMpq(qb, b);
        for (TqtOp op : {kAdd, kSub, kMul, kDiv}) {
            if (op == kDiv && mpq_sgn(qb) == 0) continue;
            put2(a, b);
            ASSERT_EQ(tqt_Call(op, h[0], h[1], h[2]), 0) << tqt_OpName(op);
            if (op == kDiv && kind == TarqBigInt) {
                mpz_tdiv_q(mpq_numref(want), mpq_numref(qa), mpq_numref(qb));
                mpz_set_ui(mpq_denref(want), 1);
            } else {
                tqt_Exact(op, want, qa, qb);
            }
            ASSERT_TRUE(tqt_ExactEq(res(), want)) << tqt_OpName(op) << " iteration " << it;
        }
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

TEST_P(ExactKinds, UnaryOperationsMatchGmp) {
    const int32_t kind = GetParam();
    TqRng g(200 + kind);
    Mpq qa, want;
    for (int it = 0; it < 1500; ++it) {
        const int maxWords = it % 50 == 0 ? 60 : it % 5 == 0 ? 12 : 3;
        TqNum a = randExact(g, kind, maxWords);
        tqg_ToMpq(qa, a);
        for (const UnaryOp &op : kUnary) {
            put2(a, a);
            const bool finite = op.exact(kind, want, qa);
            const int32_t st = op.call(h[0], h[2]);
            if (!finite) {
                EXPECT_EQ(st, tq_Err_Special) << op.name;
                EXPECT_EQ(res().V.Special, tq_Special_PosInf) << op.name;
                continue;
            }
            ASSERT_EQ(st, 0) << op.name;
            ASSERT_TRUE(tqt_ExactEq(res(), want)) << op.name << " iteration " << it;
        }
    }
    TQ_GETGLOBALERROR();
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExactKinds, ::testing::Values(TarqBigInt, TarqFraction));

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
