// The computed constants 1..10 against MPFR for both float kinds, their
// two-level cache, and the precision state around the computation of pi.
#include <gtest/gtest.h>

#include "arith/arith.h"
#include "funcs/constants.h"
#include "funcs/funcs.h"
#include "frame/cache.h"
#include "funcs/const_cache.h"
#include "accuracy.h"
#include "files.h"
#include "funcs_oracle.h"
#include "trace.h"

namespace {

double constUnits(int32_t code, int32_t kind) {
    TqNum v = tqg_Zero(kind);
    EXPECT_EQ(n_GetConst(code, v), 0) << "code " << code;
    FoMpfr ex;
    acc_Constant(code, ex);
    return ulp_Error(v, ex);
}

}  // namespace

TEST(Constants, AgainstMpfrBothKinds) {
    for (int32_t digits : {38, 100, 1000}) {
        fo_SetDigits(digits);
        FoPrecSnapshot snap;
        for (int32_t kind : {TarqBinFloat, TarqDecFloat}) {
            for (int32_t code = 1; code <= 10; ++code) {
                if (code == 4 && kind == TarqDecFloat) continue;
                EXPECT_LE(constUnits(code, kind), 1.0) << "code " << code << " kind " << kind << " digits " << digits;
            }
        }
        snap.expectSame();
    }
    fo_SetDigits(38);
}

TEST(Constants, PiTenThousandDigits) {
    fo_SetDigits(10000);
    FoPrecSnapshot snap;
    EXPECT_LE(constUnits(8, TarqBinFloat), 1.0);
    snap.expectSame();
    fo_SetDigits(38);
}

TEST(Constants, CacheServesRepeatsWithoutRecomputing) {
    fo_SetDigits(60);
    TqNum first = tqg_Zero(TarqDecFloat), second = tqg_Zero(TarqDecFloat);
    ASSERT_EQ(n_GetConst(8, first), 0);
    {
        TraceCollector trace;
        ASSERT_EQ(n_GetConst(8, second), 0);
    }
    EXPECT_TRUE(TraceCollector::lines().empty());
    EXPECT_EQ(first.MantN, second.MantN);
    EXPECT_EQ(first.V.Expo, second.V.Expo);
    // 2 pi and pi / 2, served from a longer cached value or from pi, stay
    // within a unit.
    EXPECT_LE(constUnits(9, TarqDecFloat), 1.0);
    EXPECT_LE(constUnits(10, TarqDecFloat), 1.0);
}

TEST(Constants, LowerPrecisionCutsRaisedRecomputes) {
    tq_ConstCache_Clear();
    fo_SetDigits(200);
    EXPECT_LE(constUnits(1, TarqBinFloat), 1.0);
    const size_t persistentLen = tq_ConstCache_Persistent()[0].MantN.size();
    EXPECT_GE(persistentLen, static_cast<size_t>(gTq_Prec_Bytes_Internal));
    fo_SetDigits(50);
    EXPECT_LE(constUnits(1, TarqBinFloat), 1.0);
    EXPECT_EQ(tq_ConstCache_Working()[0].MantN.size(), static_cast<size_t>(gTq_Prec_Bytes_Internal));
    EXPECT_EQ(tq_ConstCache_Persistent()[0].MantN.size(), persistentLen);  // kept at its length
    fo_SetDigits(150);  // served from the persistent entry
    {
        TraceCollector trace;
        EXPECT_LE(constUnits(1, TarqBinFloat), 1.0);
    }
    EXPECT_TRUE(TraceCollector::lines().empty());
    fo_SetDigits(400);  // longer than anything cached: computed again
    EXPECT_LE(constUnits(1, TarqBinFloat), 1.0);
    EXPECT_GT(tq_ConstCache_Persistent()[0].MantN.size(), persistentLen);
    fo_SetDigits(38);
}

TEST(Constants, KindAndCodeErrors) {
    fo_SetDigits(38);
    TqNum v = tqg_Zero(TarqBigInt);
    EXPECT_EQ(n_GetConst(8, v), tq_Err_Type);
    v = tqg_Zero(TarqFraction);
    EXPECT_EQ(n_GetConst(8, v), tq_Err_Type);
    v = tqg_Zero(TarqText);
    EXPECT_EQ(n_GetConst(1, v), tq_Err_Type);
    v = tqg_Zero(TarqDecFloat);
    EXPECT_EQ(n_GetConst(4, v), tq_Err_Type);
    EXPECT_EQ(n_GetConst(0, v), tq_Err_Invalid);
    EXPECT_EQ(n_GetConst(34, v), tq_Err_Invalid);
    const int32_t h = tqg_New(tqg_Zero(TarqBinFloat));
    EXPECT_EQ(TQ_GETCONST(8, h), 0);
    FoMpfr pi;
    mpfr_const_pi(pi, MPFR_RNDN);
    EXPECT_LE(ulp_Error(tqg_Get(h), pi), 1.0);
    TQ_UNALLOCVAR(h);
}

TEST(Constants, PiLeavesCallersPrecision) {
    tq_ConstCache_Clear();
    fo_SetDigits(77);
    FoPrecSnapshot snap;
    TqNum v = tqg_Zero(TarqBinFloat);
    ASSERT_EQ(n_GetConst(8, v), 0);
    snap.expectSame();
    EXPECT_EQ(TQ_GETPRECISION(1), snap.digits);
    // A square root right after works at the caller's precision.
    fo_CheckUnary(n_Sqrt, mpfr_sqrt, tq_IntNumForTest(TarqBinFloat, 3), 1.0, "sqrt after pi");
    TqNum r = tqg_Zero(TarqBinFloat);
    ASSERT_EQ(n_Sqrt(tq_IntNumForTest(TarqBinFloat, 3), r), 0);
    EXPECT_LE(static_cast<int32_t>(r.MantN.size()), gTq_Prec_Bytes_Internal + 4);
    fo_SetDigits(38);
}

TEST(Constants, CarriedByTheConstantsCacheFile) {
    TqTempDir dir("tarq_const");
    ASSERT_FALSE(dir.path.empty());
    TqNum text;
    text.V = TarqVar{1, 1, 0, TarqText, 0};
    text.MantN = dir.path;
    text.DenN = tq_Word(1);
    const int32_t h = tqg_New(text);
    ASSERT_EQ(TQ_SETOPTION(9, h), 0);
    fo_SetDigits(120);
    tq_ConstCache_Clear();
    TqNum pi = tqg_Zero(TarqBinFloat), ln10 = tqg_Zero(TarqDecFloat);
    ASSERT_EQ(n_GetConst(8, pi), 0);
    ASSERT_EQ(n_GetConst(2, ln10), 0);
    ASSERT_EQ(n_Cache_Save(1, 0), 0);
    tq_ConstCache_Clear();
    ASSERT_EQ(n_Cache_Read(1), 0);
    // Served from the persistent entries read back: identical, nothing computed.
    TqNum pi2 = tqg_Zero(TarqBinFloat), ln10b = tqg_Zero(TarqDecFloat);
    {
        TraceCollector trace;
        ASSERT_EQ(n_GetConst(8, pi2), 0);
        ASSERT_EQ(n_GetConst(2, ln10b), 0);
    }
    EXPECT_TRUE(TraceCollector::lines().empty());
    EXPECT_EQ(pi2.MantN, pi.MantN);
    EXPECT_EQ(pi2.V.Expo, pi.V.Expo);
    EXPECT_EQ(ln10b.MantN, ln10.MantN);
    EXPECT_EQ(ln10b.V.Expo, ln10.V.Expo);
    // Caching off again (a handle that is not a text), and the file removed.
    const int32_t notText = tqg_New(tqg_Zero(TarqBigInt));
    EXPECT_EQ(TQ_SETOPTION(9, notText), tq_Err_Type);
    TQ_GETGLOBALERROR();
    TQ_UNALLOCVAR(h);
    TQ_UNALLOCVAR(notText);
    fo_SetDigits(38);
}

// At 77 digits the Gauss-Legendre a settles exactly on a rounding boundary of
// the cut while b approaches it from below, so cut copies never agree; the
// iteration must still stop after a few rounds.
TEST(Constants, PiConvergesWhenAAndBStraddleARoundingBoundary) {
    fo_SetDigits(77);
    for (int32_t kind : {TarqBinFloat, TarqDecFloat}) {
        tq_ConstCache_Clear();
        TqNum v = tqg_Zero(kind);
        {
            TraceCollector trace;
            ASSERT_EQ(n_GetConst(8, v), 0);
        }
        EXPECT_LT(TraceCollector::lines().size(), 100u) << "kind " << kind;
        FoMpfr pi;
        mpfr_const_pi(pi, MPFR_RNDN);
        EXPECT_LE(ulp_Error(v, pi), 1.0);
    }
    fo_SetDigits(38);
}
