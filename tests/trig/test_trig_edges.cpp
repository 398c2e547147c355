// The trigonometric exports: symmetries that hold exactly and the precision
// state left behind (special, zero and out-of-domain arguments and refused
// kinds are rows of test_outcomes.cpp).
#include <gtest/gtest.h>

#include "accuracy.h"
#include "funcs_oracle.h"
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
// precision, the parameter sets and the free sets are as before.
TEST(TrigEdges, PrecisionStateIsRestored) {
    fo_SetDigits(100);
    FoPrecSnapshot snap;
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        TqVar x(kind, "0.8"), r(kind);
        for (int rep = 0; rep < 3; ++rep)
            for (const char *fn : kTrig) ASSERT_EQ(acc_Op(fn).tq1(x.h, r.h), 0);
        if (kind == TarqBinFloat) {
            EXPECT_EQ(r.num().MantN.size(), static_cast<size_t>(snap.bytes));
        }
    }
    snap.expectSame();
    fo_SetDigits(38);
}

}  // namespace
