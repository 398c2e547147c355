// The trigonometric exports: symmetries that hold exactly and the precision
// state left behind (special, zero and out-of-domain arguments and refused
// kinds are rows of test_outcomes.cpp).
#include <gtest/gtest.h>

#include "numbers/precision.h"
#include "accuracy.h"
#include "tq_vars.h"

namespace {

const char *const kTrig[] = {"SIN", "COS", "TAN", "ATAN", "ASIN"};

// Decimal sine and binary cosine reduce |x| and apply the sign; the arc
// tangent is odd in both kinds.
TEST(TrigEdges, SymmetriesHoldExactly) {
    TqTestPrecision p(38);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat})
        for (const char *v : {"1*d-20", "0.3", "1.2", "2.9", "4", "77.7", "1*d5"}) {
            TqVar x(kind, v), nx(kind), r1(kind), r2(kind);
            TQ_REVSIGN(x.h, nx.h);
            for (const char *fn : {kind == TarqDecFloat ? "SIN" : "COS", "ATAN"}) {
                ASSERT_EQ(acc_Op(fn).tq1(x.h, r1.h), 0);
                ASSERT_EQ(acc_Op(fn).tq1(nx.h, r2.h), 0);
                TqNum b = r2.num();
                if (std::string(fn) != "COS") b.V.Sign = -b.V.Sign;
                EXPECT_TRUE(acc_SameBits(r1.num(), b)) << fn << " " << v << " kind " << kind;
            }
        }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

// Each operation raises the precision for a while; afterwards the working
// precision, the fixed parameter sets and the number of saved sets are as
// before.
TEST(TrigEdges, PrecisionStateIsRestored) {
    TqTestPrecision keep(100);
    const int32_t digits = TQ_GETPRECISION(1), p = gTq_Prec_Bytes_Internal;
    const int32_t highestBefore = n_PrecisionSets_Highest();
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        TqVar x(kind, "0.8"), r(kind);
        for (int rep = 0; rep < 3; ++rep)
            for (const char *fn : kTrig) ASSERT_EQ(acc_Op(fn).tq1(x.h, r.h), 0);
        if (kind == TarqBinFloat) {
            EXPECT_EQ(r.num().MantN.size(), static_cast<size_t>(p));
        }
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
