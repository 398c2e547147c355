// The trigonometric exports' checks and exact cases: refused kinds, special
// inputs, exact zeros and ones, symmetries that hold exactly, the arc sine at
// and beyond +-1, and the precision state left behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numbers/precision.h"
#include "tq_oracle.h"

namespace {

typedef int32_t(TQ_CALL *TrigExport)(int32_t, int32_t);
const TrigExport kAll[] = {TQ_SIN, TQ_COS, TQ_TAN, TQ_ATAN, TQ_ASIN};

class TrigEdges : public ::testing::Test {
protected:
    void SetUp() override {
        TQ_SETPRECISION(1, 38);
        TQ_GETGLOBALERROR();
    }
    int32_t alloc(int32_t kind) {
        const int32_t h = TQ_ALLOCVAR(kind);
        handles.push_back(h);
        return h;
    }
    void TearDown() override {
        for (int32_t h : handles) TQ_UNALLOCVAR(h);
    }
    std::vector<int32_t> handles;
};

TEST_F(TrigEdges, RefusesOtherKinds) {
    for (int32_t kind : {TarqBigInt, TarqFraction, TarqText}) {
        const int32_t a = alloc(kind), b = alloc(kind);
        for (TrigExport f : kAll) {
            EXPECT_EQ(f(a, b), tq_Err_Type);
            EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Type));
        }
    }
    // Input and output of different float kinds: refused, output unchanged.
    const int32_t d = alloc(TarqDecFloat), b = alloc(TarqBinFloat);
    tqg_Put(d, oracle_FromDouble(0.5, TarqDecFloat));
    tqg_Put(b, oracle_FromDouble(0.25, TarqBinFloat));
    const TqNum before = tqg_Get(b);
    for (TrigExport f : kAll) EXPECT_EQ(f(d, b), tq_Err_Type);
    EXPECT_EQ(tqg_Get(b).MantN, before.MantN);
    EXPECT_EQ(tqg_Get(b).V.Expo, before.V.Expo);
    EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Type));
    EXPECT_EQ(TQ_SIN(d, 123456), tq_Err_Handle);
    EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Handle));
}

TEST_F(TrigEdges, SpecialInputGivesNaN) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        const int32_t a = alloc(kind), r = alloc(kind);
        for (int32_t code : {31, 32, 33}) {
            TQ_GETCONST(code, a);
            for (TrigExport f : kAll) {
                TQ_GETCONST(14, r);
                EXPECT_EQ(f(a, r), tq_Err_Invalid);
                EXPECT_EQ(tqg_Get(r).V.Special, tq_Special_NaN);
                EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Invalid | tq_Err_Special));
            }
        }
    }
}

TEST_F(TrigEdges, ArcSineBeyondOneIsNaN) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        const int32_t a = alloc(kind), r = alloc(kind);
        for (double v : {1.0000001, -1.0000001, 2.0, -1e30}) {
            tqg_Put(a, oracle_FromDouble(v, kind));
            EXPECT_EQ(TQ_ASIN(a, r), tq_Err_Invalid) << v;
            EXPECT_EQ(tqg_Get(r).V.Special, tq_Special_NaN);
            EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Invalid | tq_Err_Special));
        }
    }
}

bool isExactly(const TqNum &v, uint32_t word, int32_t expo, int32_t sign) {
    return v.V.Special == 0 && v.MantN == tq_Word(word) && v.V.Expo == expo && v.V.Sign == sign;
}

TEST_F(TrigEdges, ExactValuesAtZero) {
    const int32_t d = alloc(TarqDecFloat), dr = alloc(TarqDecFloat);
    const int32_t b = alloc(TarqBinFloat), br = alloc(TarqBinFloat);
    EXPECT_EQ(TQ_SIN(d, dr), 0);
    EXPECT_TRUE(isExactly(tqg_Get(dr), 0, 0, 1));
    EXPECT_EQ(TQ_TAN(d, dr), 0);
    EXPECT_TRUE(isExactly(tqg_Get(dr), 0, 0, 1));
    EXPECT_EQ(TQ_COS(b, br), 0);
    EXPECT_TRUE(isExactly(tqg_Get(br), 1, 0, 1));
    // Sine of a binary zero and cosine of a decimal zero once came through
    // a shift by pi/2 and were only near 0 and 1.
    EXPECT_EQ(TQ_SIN(b, br), 0);
    EXPECT_TRUE(isExactly(tqg_Get(br), 0, 0, 1));
    EXPECT_EQ(TQ_COS(d, dr), 0);
    EXPECT_TRUE(isExactly(tqg_Get(dr), 1, 0, 1));
    for (int32_t h : {d, b}) {
        const int32_t r = h == d ? dr : br;
        EXPECT_EQ(TQ_ATAN(h, r), 0);
        EXPECT_TRUE(isExactly(tqg_Get(r), 0, 0, 1));
        EXPECT_EQ(TQ_ASIN(h, r), 0);
        EXPECT_TRUE(isExactly(tqg_Get(r), 0, 0, 1));
    }
    // A zero with a negative sign behaves as zero.
    TqNum negZero = tqg_Get(d);
    negZero.V.Sign = -1;
    tqg_Put(d, negZero);
    EXPECT_EQ(TQ_SIN(d, dr), 0);
    EXPECT_TRUE(isExactly(tqg_Get(dr), 0, 0, 1));
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

TEST_F(TrigEdges, SymmetriesHoldExactly) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        const int32_t x = alloc(kind), nx = alloc(kind), r1 = alloc(kind), r2 = alloc(kind);
        for (double v : {1e-20, 0.3, 1.2, 2.9, 4.0, 77.7, 1e5}) {
            tqg_Put(x, oracle_FromDouble(v, kind));
            TQ_REVSIGN(x, nx);
            // Sine and cosine reduce |x| and apply the sign.
            const TrigExport even = kind == TarqDecFloat ? TQ_SIN : TQ_COS;
            ASSERT_EQ(even(x, r1), 0);
            ASSERT_EQ(even(nx, r2), 0);
            TqNum a = tqg_Get(r1), b = tqg_Get(r2);
            if (kind == TarqDecFloat) b.V.Sign = -b.V.Sign;
            EXPECT_EQ(a.MantN, b.MantN) << v;
            EXPECT_EQ(a.V.Expo, b.V.Expo);
            EXPECT_EQ(a.V.Sign, b.V.Sign);
            // The arc tangent is odd in both kinds.
            ASSERT_EQ(TQ_ATAN(x, r1), 0);
            ASSERT_EQ(TQ_ATAN(nx, r2), 0);
            a = tqg_Get(r1), b = tqg_Get(r2);
            EXPECT_EQ(a.MantN, b.MantN) << v;
            EXPECT_EQ(a.V.Expo, b.V.Expo);
            EXPECT_EQ(a.V.Sign, -b.V.Sign);
        }
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

TEST_F(TrigEdges, ArcSineOfOneIsHalfPi) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        const int32_t x = alloc(kind), r = alloc(kind), c = alloc(kind);
        TQ_GETCONST(14, x);
        ASSERT_EQ(TQ_ASIN(x, r), 0);
        ASSERT_EQ(TQ_GETCONST(10, c), 0);
        EXPECT_EQ(tqg_Get(r).MantN, tqg_Get(c).MantN);
        EXPECT_EQ(tqg_Get(r).V.Expo, tqg_Get(c).V.Expo);
        EXPECT_EQ(tqg_Get(r).V.Sign, 1);
        TQ_GETCONST(15, x);
        ASSERT_EQ(TQ_ASIN(x, r), 0);
        EXPECT_EQ(tqg_Get(r).MantN, tqg_Get(c).MantN);
        EXPECT_EQ(tqg_Get(r).V.Sign, -1);
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

// Each operation raises the precision for a while; afterwards the working
// precision, the fixed parameter sets and the number of saved sets are as
// before.
TEST_F(TrigEdges, PrecisionStateIsRestored) {
    const int32_t digits = TQ_SETPRECISION(1, 100);
    const int32_t p = gTq_Prec_Bytes_Internal;
    const int32_t highestBefore = n_PrecisionSets_Highest();
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        const int32_t x = alloc(kind), r = alloc(kind);
        tqg_Put(x, oracle_FromDouble(0.8, kind));
        for (int rep = 0; rep < 3; ++rep)
            for (TrigExport f : kAll) ASSERT_EQ(f(x, r), 0);
        EXPECT_EQ(tqg_Get(r).MantN.size(), static_cast<size_t>(kind == TarqBinFloat ? p : tqg_Get(r).MantN.size()));
    }
    EXPECT_EQ(TQ_GETPRECISION(1), digits);
    EXPECT_EQ(gTq_Prec_Bytes_Internal, p);
    EXPECT_EQ(n_PrecisionSets_Highest(), highestBefore);
    const int32_t expect[] = {p, p + 8, p + 12};
    for (int32_t i = 1; i <= 3; ++i) {
        n_PrecisionParameters_Retrieve(i);
        EXPECT_EQ(gTq_Prec_Bytes_Internal, expect[i - 1]) << "set " << i;
    }
    n_PrecisionParameters_Retrieve(tq_PrecSet_Normal);
}

}  // namespace
