// Native values through the C interface: integers and floats put into every
// kind and read back, the range edges of the readers, and random doubles and
// extended floats against their exact values.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "conv_oracle.h"
#include "frame/store.h"

namespace {

struct NativeExports : ::testing::Test {
    int32_t h[6] = {};
    void SetUp() override {
        TQ_GETGLOBALERROR();
        for (int32_t k = 1; k <= 5; ++k) h[k] = TQ_ALLOCVAR(k);
    }
    void TearDown() override {
        for (int32_t k = 1; k <= 5; ++k) TQ_UNALLOCVAR(h[k]);
    }
    int32_t put(const char *text, int32_t hh) { return TQ_PUTSTRING_PAZ(text, hh); }
    std::string text(int32_t hh) {
        char buf[256];
        TQ_GETANY_S2ADD(hh, buf);
        return buf;
    }
};

TEST_F(NativeExports, PutIntegers) {
    EXPECT_EQ(TQ_PUTLONG(-5, h[1]), 0);
    const TqNum &d = gTq_Store[h[1]];
    EXPECT_EQ(d.MantN, tq_Word(5));
    EXPECT_EQ(d.V.Sign, -1);
    EXPECT_EQ(d.V.Expo, 0);
    EXPECT_EQ(TQ_PUTLONG(-5, h[5]), 0);
    EXPECT_EQ(gTq_Store[h[5]].MantN, "-5");
    EXPECT_EQ(TQ_PUTLONG(INT32_MIN, h[3]), 0);
    EXPECT_EQ(TQ_GETANY_LONG(h[3]), INT32_MIN);
    EXPECT_EQ(TQ_PUTDWORD(4294967295u, h[2]), 0);
    EXPECT_EQ(TQ_GETANY_DWORD(h[2]), 4294967295u);
    EXPECT_EQ(TQ_PUTDWORD(7, h[4]), 0);
    EXPECT_EQ(text(h[4]), " 7/1");
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

// The 32-bit readers: a value put as text into a kind, read as a Long (L) or
// a Dword (W), and the error word after the read.
TEST_F(NativeExports, GetLongAndDwordEdges) {
    struct Case {
        int32_t kind;
        const char *text;
        char reader;
        int64_t want;
        uint32_t err;
    } cases[] = {
        {1, "2147483647.9", 'L', 2147483647, 0}, {1, "-2147483648.7", 'L', INT32_MIN, 0}, {1, "2147483648", 'L', 0, 32},
        {1, "-0.2", 'W', 0, 32},                 {1, "4294967295.5", 'W', 4294967295u, 0}, {1, "-7.9", 'L', -7, 0},
        {4, "-22/7", 'L', -3, 0},                {5, "abc", 'L', 0, 2 | 32},
    };
    for (const Case &c : cases)
        for (int32_t kind = c.kind; kind <= (c.kind == 1 ? 2 : c.kind); ++kind) {  // decimal rows: binary too
            put(c.text, h[kind]);
            TQ_GETGLOBALERROR();
            const int64_t got = c.reader == 'L' ? TQ_GETANY_LONG(h[kind]) : int64_t(TQ_GETANY_DWORD(h[kind]));
            EXPECT_EQ(got, c.want) << c.text << " kind " << kind;
            EXPECT_EQ(TQ_GETGLOBALERROR(), c.err) << c.text << " kind " << kind;
        }
    put("*+inf", h[1]);
    EXPECT_EQ(TQ_GETANY_DOUBLE(h[1]), 0.0);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 32);
    put("*NaN", h[1]);
    EXPECT_EQ(TQ_GETANY_EXT(h[1]), 0.0L);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1 | 32);
    EXPECT_EQ(TQ_GETANY_LONG(-5), 0);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 16);
}

TEST_F(NativeExports, DoubleEdges) {
    put("1*d308", h[1]);
    EXPECT_EQ(TQ_GETANY_DOUBLE(h[1]), 0.0);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 32);
    put("1*d307", h[1]);
    EXPECT_EQ(TQ_GETANY_DOUBLE(h[1]), 1e307);
    put("-1*d-306", h[1]);
    EXPECT_EQ(TQ_GETANY_DOUBLE(h[1]), -1e-306);
    put("1*d4000", h[1]);
    EXPECT_EQ(TQ_GETANY_EXT(h[1]), 1e4000L);
    put("0", h[2]);
    EXPECT_EQ(TQ_GETANY_DOUBLE(h[2]), 0.0);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
    EXPECT_EQ(TQ_PUTDOUBLE(0.1, h[5]), 0);
    EXPECT_EQ(gTq_Store[h[5]].MantN, "1.00000000000000006*d-01");
    EXPECT_EQ(TQ_PUTDOUBLE(0.1, h[1]), 0);
    EXPECT_EQ(tq_ValueStr(gTq_Store[h[1]]), "50000000000000003/500000000000000000");
    // Host infinities and NaN become special values.
    EXPECT_EQ(TQ_PUTDOUBLE(std::numeric_limits<double>::infinity(), h[2]), 0);
    EXPECT_EQ(gTq_Store[h[2]].V.Special, tq_Special_PosInf);
    EXPECT_EQ(TQ_PUTEXT(-std::numeric_limits<long double>::infinity(), h[2]), 0);
    EXPECT_EQ(gTq_Store[h[2]].V.Special, tq_Special_NegInf);
    EXPECT_EQ(TQ_PUTDOUBLE(std::nan(""), h[3]), 0);
    EXPECT_EQ(gTq_Store[h[3]].V.Special, tq_Special_NaN);
}

// Random doubles over the whole range through each float kind: 18 digits
// identify a double, so the value comes back exactly.
TEST_F(NativeExports, RandomDoublesRoundTrip) {
    std::mt19937_64 rng(2026);
    for (int iter = 0; iter < 1500; ++iter) {
        uint64_t bits = rng();
        double x;
        std::memcpy(&x, &bits, 8);
        if (!std::isfinite(x)) continue;
        const int32_t k = 1 + iter % 2;
        ASSERT_EQ(TQ_PUTDOUBLE(x, h[k]), 0);
        const double ax = std::fabs(x);
        const bool inside = x == 0 || (ax >= 1e-306 && ax < 9.999999999999999995e307);
        const double got = TQ_GETANY_DOUBLE(h[k]);
        if (inside) {
            EXPECT_EQ(got, x) << iter;
        } else if (ax < 1e-306) {
            EXPECT_EQ(got, 0.0);
            EXPECT_EQ(TQ_GETGLOBALERROR(), 32);
        }
        TQ_GETGLOBALERROR();
    }
}

// Extended floats: 18 digits do not identify every extended value, so the
// value read back is within half a unit of the 18th digit.
TEST_F(NativeExports, RandomExtendedFloats) {
    std::mt19937_64 rng(8);
    for (int iter = 0; iter < 500; ++iter) {
        const long double x = std::ldexp(static_cast<long double>(rng()) / 18446744073709551616.0L,
                                         static_cast<int>(rng() % 8000) - 4000) * (iter % 2 ? -1 : 1);
        if (x == 0) continue;
        ASSERT_EQ(TQ_PUTEXT(x, h[1]), 0);
        const long double got = TQ_GETANY_EXT(h[1]);
        EXPECT_LE(std::fabs(got - x), std::fabs(x) * 6e-18L) << iter;
    }
    TQ_GETGLOBALERROR();
}

}  // namespace
