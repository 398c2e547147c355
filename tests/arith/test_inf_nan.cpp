// Infinities and NaN in every operation and every numeric kind: the resulting
// special value, the status and the bits left in the global error word, with
// the expected outcomes derived from the usual rules of signed infinities
// (a finite zero counts as positive; NaN in, NaN out; inf - inf and inf / inf
// are NaN; finite / inf is zero without error; x / 0 is an infinity).
#include "arith_harness.h"

namespace {

struct Operand {
    int32_t special;  // 0 finite
    long value;       // when finite
};

const Operand kOperands[] = {{0, 0}, {0, 5}, {0, -3}, {1, 0}, {2, 0}, {3, 0}};

TqNum make(int32_t kind, const Operand &o) {
    if (o.special) return tqg_Special(kind, o.special);
    return tqg_Int(kind, o.value);
}

int signOf(const Operand &o) {  // +1 / -1, zero positive
    if (o.special == 1) return 1;
    if (o.special == 2) return -1;
    return o.value < 0 ? -1 : 1;
}

int32_t infOf(int sign) { return sign > 0 ? 1 : 2; }

struct Expect {
    int32_t special;  // -1: finite result (not checked here)
    int32_t status;
    int32_t errWord;
};

Expect finite() { return {-1, 0, 0}; }
Expect special(int32_t s, bool nanIn) { return {s, tq_Err_Special, tq_Err_Special | (nanIn ? tq_Err_Invalid : 0)}; }

Expect expectAdd(const Operand &a, const Operand &b, bool sub) {
    const bool nanIn = a.special == 3 || b.special == 3;
    if (nanIn) return special(3, true);
    int sb = signOf(b);
    if (sub) sb = -sb;
    if (a.special && b.special) return signOf(a) == sb ? special(infOf(sb), false) : special(3, false);
    if (a.special) return special(a.special, false);
    if (b.special) return special(infOf(sb), false);
    return finite();
}

Expect expectMul(const Operand &a, const Operand &b) {
    if (a.special == 3 || b.special == 3) return special(3, true);
    if (a.special || b.special) return special(infOf(signOf(a) * signOf(b)), false);
    return finite();
}

Expect expectDiv(const Operand &a, const Operand &b) {
    if (a.special == 3 || b.special == 3) return special(3, true);
    if (a.special && b.special) return special(3, true);
    if (b.special) return {0, 0, 0};  // zero, no error
    if (a.special) return special(infOf(signOf(a) * signOf(b)), false);
    if (b.value == 0) return special(infOf(signOf(a)), false);
    return finite();
}

void checkOutcome(const Expect &e, int32_t status, const TqNum &r, const std::string &what) {
    const int32_t word = TQ_GETGLOBALERROR();
    if (e.special < 0) return;
    EXPECT_EQ(status, e.status) << what;
    EXPECT_EQ(word, e.errWord) << what;
    EXPECT_EQ(r.V.Special, e.special) << what;
    if (e.special == 0) {
        EXPECT_TRUE(tqt_WellFormed(r)) << what;
    }
}

}  // namespace

class Specials : public ArithTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(Specials, TwoOperandTablesEveryRow) {
    const int32_t kind = GetParam();
    for (const Operand &a : kOperands) {
        for (const Operand &b : kOperands) {
            const std::string what = "kind " + std::to_string(kind) + " a(" + std::to_string(a.special) + "," +
                                     std::to_string(a.value) + ") b(" + std::to_string(b.special) + "," +
                                     std::to_string(b.value) + ")";
            put2(make(kind, a), make(kind, b));
            TQ_GETGLOBALERROR();
            int32_t st = TQ_ADD(h[0], h[1], h[2]);
            checkOutcome(expectAdd(a, b, false), st, res(), "add " + what);
            st = TQ_SUB(h[0], h[1], h[2]);
            checkOutcome(expectAdd(a, b, true), st, res(), "sub " + what);
            st = TQ_MUL(h[0], h[1], h[2]);
            checkOutcome(expectMul(a, b), st, res(), "mul " + what);
            st = TQ_DIV(h[0], h[1], h[2]);
            checkOutcome(expectDiv(a, b), st, res(), "div " + what);

            // Integer division decides specials and a zero divisor for every
            // kind, then refuses all kinds but big integers.
            Expect q = expectDiv(a, b);
            st = TQ_DIVINT(h[0], h[1], h[2], h[3]);
            if (q.special < 0 && kind != TarqBigInt) q = {-2, tq_Err_Type, tq_Err_Type};
            if (q.special == -2) {
                EXPECT_EQ(st, tq_Err_Type) << "divint " << what;
                TQ_GETGLOBALERROR();
            } else {
                checkOutcome(q, st, res(2), "divint " + what);
                if (q.special >= 0) {
                    EXPECT_TRUE(tqt_WellFormed(res(3))) << "divint remainder is zero " << what;
                }
            }
        }
    }
}

TEST_P(Specials, OneOperandOperationsPassSpecialsOn) {
    const int32_t kind = GetParam();
    for (int32_t s = 1; s <= 3; ++s) {
        const bool nan = s == 3;
        put2(tqg_Special(kind, s), tqg_Special(kind, s));
        TQ_GETGLOBALERROR();
        int32_t (*ops[])(int32_t, int32_t) = {TQ_INCR, TQ_DECR, TQ_MULBY2, TQ_DIVBY2, TQ_FIX, TQ_FRAC};
        for (auto op : ops) {
            const int32_t st = op(h[0], h[2]);
            checkOutcome(special(s, nan), st, res(), "one-operand special " + std::to_string(s));
        }
        // Squares of infinities are +inf; reciprocals of infinities are zero.
        int32_t st = TQ_SQR(h[0], h[2]);
        checkOutcome(special(nan ? 3 : 1, nan), st, res(), "sqr");
        st = TQ_RECIPROCAL(h[0], h[2]);
        checkOutcome(nan ? special(3, true) : Expect{0, 0, 0}, st, res(), "reciprocal");
    }
    // The reciprocal of zero is +inf.
    put2(tqg_Zero(kind), tqg_Zero(kind));
    TQ_GETGLOBALERROR();
    int32_t st = TQ_RECIPROCAL(h[0], h[2]);
    checkOutcome(special(1, false), st, res(), "reciprocal of zero");
}

INSTANTIATE_TEST_SUITE_P(Kinds, Specials, ::testing::Values(TarqDecFloat, TarqBinFloat, TarqBigInt, TarqFraction));
