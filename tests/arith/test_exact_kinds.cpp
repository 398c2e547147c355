// Big integers and fractions are exact: every operation through its export is
// compared with GMP on random operands of many sizes and signs.
#include "arith_harness.h"

namespace {

// The exact value of a unary operation on a big integer or fraction; returns
// false when the operation has no finite result (reciprocal of zero).
bool unaryExact(const char *op, int32_t kind, mpq_t r, const mpq_t a) {
    const std::string o = op;
    mpq_t one;
    mpq_init(one);
    mpq_set_ui(one, 1, 1);
    bool finite = true;
    if (o == "incr") {
        mpq_add(r, a, one);
    } else if (o == "decr") {
        mpq_sub(r, a, one);
    } else if (o == "mulby2") {
        mpq_add(r, a, a);
    } else if (o == "divby2") {
        if (kind == TarqBigInt) {
            mpz_tdiv_q_2exp(mpq_numref(r), mpq_numref(a), 1);
            mpz_set_ui(mpq_denref(r), 1);
        } else {
            mpq_div_2exp(r, a, 1);
        }
    } else if (o == "fix" || o == "frac") {
        mpz_tdiv_q(mpq_numref(r), mpq_numref(a), mpq_denref(a));
        mpz_set_ui(mpq_denref(r), 1);
        if (o == "frac") mpq_sub(r, a, r);
    } else if (o == "sqr") {
        mpq_mul(r, a, a);
    } else {  // reciprocal
        if (mpq_sgn(a) == 0) {
            finite = false;
        } else if (kind == TarqBigInt) {
            if (mpz_cmpabs_ui(mpq_numref(a), 1) == 0)
                mpq_set(r, a);
            else
                mpq_set_ui(r, 0, 1);
        } else {
            mpq_inv(r, a);
        }
    }
    mpq_canonicalize(r);
    mpq_clear(one);
    return finite;
}

int32_t callUnary(const char *op, int32_t a, int32_t c) {
    const std::string o = op;
    if (o == "incr") return TQ_INCR(a, c);
    if (o == "decr") return TQ_DECR(a, c);
    if (o == "mulby2") return TQ_MULBY2(a, c);
    if (o == "divby2") return TQ_DIVBY2(a, c);
    if (o == "fix") return TQ_FIX(a, c);
    if (o == "frac") return TQ_FRAC(a, c);
    if (o == "sqr") return TQ_SQR(a, c);
    return TQ_RECIPROCAL(a, c);
}

const char *kUnary[] = {"incr", "decr", "mulby2", "divby2", "fix", "frac", "sqr", "reciprocal"};

TqNum randExact(TqRng &g, int32_t kind, int maxWords) {
    if (kind == TarqFraction) return tqt_RandFraction(g, maxWords);
    mpz_t z;
    mpz_init(z);
    tqt_RandMpz(g, z, maxWords);
    TqNum v = tqg_BigInt(z);
    mpz_clear(z);
    return v;
}

}  // namespace

class ExactKinds : public ArithTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(ExactKinds, BinaryOperationsMatchGmp) {
    const int32_t kind = GetParam();
    TqRng g(100 + kind);
    mpq_t qa, qb, want;
    mpq_inits(qa, qb, want, nullptr);
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
    mpq_clears(qa, qb, want, nullptr);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

TEST_P(ExactKinds, UnaryOperationsMatchGmp) {
    const int32_t kind = GetParam();
    TqRng g(200 + kind);
    mpq_t qa, want;
    mpq_inits(qa, want, nullptr);
    for (int it = 0; it < 1500; ++it) {
        const int maxWords = it % 50 == 0 ? 60 : it % 5 == 0 ? 12 : 3;
        TqNum a = randExact(g, kind, maxWords);
        tqg_ToMpq(qa, a);
        for (const char *op : kUnary) {
            put2(a, a);
            const bool finite = unaryExact(op, kind, want, qa);
            const int32_t st = callUnary(op, h[0], h[2]);
            if (!finite) {
                EXPECT_EQ(st, tq_Err_Special) << op;
                EXPECT_EQ(res().V.Special, tq_Special_PosInf) << op;
                continue;
            }
            ASSERT_EQ(st, 0) << op;
            ASSERT_TRUE(tqt_ExactEq(res(), want)) << op << " iteration " << it;
        }
    }
    mpq_clears(qa, want, nullptr);
    TQ_GETGLOBALERROR();
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExactKinds, ::testing::Values(TarqBigInt, TarqFraction));

TEST_F(ArithTest, DivIntAndModMatchGmpTruncation) {
    TqRng g(300);
    mpz_t a, b, q, r;
    mpz_inits(a, b, q, r, nullptr);
    mpq_t x;
    mpq_init(x);
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
    mpq_clear(x);
    mpz_clears(a, b, q, r, nullptr);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

TEST_F(ArithTest, UnreducedFractionsGiveReducedResults) {
    TqRng g(400);
    mpq_t qa, qb, want;
    mpq_inits(qa, qb, want, nullptr);
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
    mpq_clears(qa, qb, want, nullptr);
}

TEST_F(ArithTest, FractionsStayUnreducedWhenReductionIsOff) {
    TQ_SETOPTION(6, 0);
    mpz_t n, d;
    mpz_inits(n, d, nullptr);
    mpz_set_ui(n, 1);
    mpz_set_ui(d, 6);
    put2(tqg_Fraction(n, d), tqg_Fraction(n, d));
    ASSERT_EQ(TQ_ADD(h[0], h[1], h[2]), 0);  // 1/6 + 1/6 = 2/6 kept as is
    tqg_MagToMpz(n, res().MantN);
    tqg_MagToMpz(d, res().DenN);
    EXPECT_EQ(mpz_get_ui(n), 2u);
    EXPECT_EQ(mpz_get_ui(d), 6u);
    mpz_clears(n, d, nullptr);
}
