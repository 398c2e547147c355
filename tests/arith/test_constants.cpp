// The computed constants: pi at 10,000 digits, their two-level cache and
// cache file, and the precision state around their computation (their values
// at 20 to 5,000 digits are rows of tests/accuracy).
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

// Computing a constant leaves the caller's precision and parameter sets as
// they were (the values are the accuracy test's rows).
TEST(Constants, LeaveCallersPrecision) {
    tq_ConstCache_Clear();
    fo_SetDigits(77);
    FoPrecSnapshot snap;
    for (int32_t kind : {TarqBinFloat, TarqDecFloat})
        for (int32_t code = 1; code <= 10; ++code) {
            TqNum v = tqg_Zero(kind);
            ASSERT_EQ(n_GetConst(code, v), code == 4 && kind == TarqDecFloat ? tq_Err_Type : 0);
        }
    snap.expectSame();
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
