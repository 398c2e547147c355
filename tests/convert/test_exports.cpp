// The exports through the C interface: every string shape in and out, the
// empty-text rules, bounded reads of caller memory, handles, kind conversion,
// the predicates and the first-call initialisation; integers and floats put
// into every kind and read back, the range edges of the native readers, and
// random doubles and extended floats against their exact values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "conv_oracle.h"
#include "fresh.h"
#include "frame/store.h"

namespace {

struct Exports : ::testing::Test {
    int32_t h[6] = {};
    int32_t &dec = h[1], &bin = h[2], &big = h[3], &txt = h[5];
    void SetUp() override {
        TQ_GETGLOBALERROR();
        for (int32_t k = 1; k <= 5; ++k) h[k] = TQ_ALLOCVAR(k);
    }
    void TearDown() override {
        for (int32_t k = 1; k <= 5; ++k) TQ_UNALLOCVAR(h[k]);
    }
    // The text of hh in a format, or "<" and the status.
    std::string get(int32_t hh, int32_t format = 0, int32_t digits = 0) {
        tq_dstr s = nullptr;
        int32_t st = TQ_GET_STRING(hh, format, digits, &s);
        std::string r(1, '<');
        if (st) r += std::to_string(st);
        else r.assign(s, static_cast<size_t>(TQ_DS_LEN(s)));
        TQ_DS_FREE(s);
        return r;
    }
    int32_t put(const std::string &text, int32_t hh) {
        tq_dstr s = TQ_DS_NEW(text.data(), static_cast<int32_t>(text.size()));
        int32_t st = TQ_PUT_STRING(s, hh);
        TQ_DS_FREE(s);
        return st;
    }
    // The text as TQ_GETANY_S2ADD writes it.
    std::string text(int32_t hh) {
        char buf[256];
        TQ_GETANY_S2ADD(hh, buf);
        return buf;
    }
};

TEST_F(Exports, PutAndGetString) {
    EXPECT_EQ(put("  -1 2.5 *d 3", dec), 0);
    EXPECT_EQ(get(dec), "-12500");
    EXPECT_EQ(get(dec, tq_Format_Scientific), "-1.25*d+4");
    EXPECT_EQ(put("abc", dec), 1);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1);
    EXPECT_EQ(put("abc", txt), 0);
    EXPECT_EQ(get(txt), "abc");
    EXPECT_EQ(put("", big), 0);  // the plain put accepts the empty text
    EXPECT_EQ(get(big), " 0");
    EXPECT_EQ(get(dec, tq_Format_Dec | tq_Format_Hex), "<1");
    // A caller's previous string is freed and replaced.
    tq_dstr s = TQ_DS_NEW("old", 3);
    EXPECT_EQ(TQ_GET_STRING(txt, 0, 0, &s), 0);
    EXPECT_EQ(std::string(s, TQ_DS_LEN(s)), "abc");
    TQ_DS_FREE(s);
    TQ_GETGLOBALERROR();
    EXPECT_EQ(TQ_GET_STRING(txt, 0, 0, nullptr), 1);  // the text would go nowhere
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1);
}

TEST_F(Exports, BadHandles) {
    EXPECT_EQ(put("1", 99999), 16);
    EXPECT_EQ(put("1", -1), 16);
    tq_dstr s = nullptr;
    EXPECT_EQ(TQ_GET_STRING(-3, 0, 0, &s), 16);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(TQ_GETSTRINGLENGTH(70000), 0);
    EXPECT_EQ(TQ_GETSTRING_PDS(70000), nullptr);
    EXPECT_EQ(TQ_CONVERTDT(dec, -1), 16);
    EXPECT_EQ(TQ_PUTSTRING_FROMADD("1", 1, 70000), 16);
    EXPECT_EQ(TQ_GETGLOBALERROR() & 16, 16);
}

TEST_F(Exports, StringShapesIn) {
    tq_dstr s = TQ_DS_NEW("42", 2);
    EXPECT_EQ(TQ_PUTSTRING_DS(s, big), 0);
    EXPECT_EQ(get(big), " 42");
    EXPECT_EQ(TQ_PUTSTRING_PDS(&s, dec), 0);
    EXPECT_EQ(get(dec), " 42.0");
    EXPECT_EQ(TQ_PUTSTRING_VB(&s, txt), 0);
    EXPECT_EQ(get(txt), "42");
    TQ_DS_FREE(s);
    EXPECT_EQ(TQ_PUTSTRING_PAZ("-7.5", dec), 0);
    EXPECT_EQ(get(dec), "-7.5");
    tq_az100 az;
    std::memset(az.text, '9', sizeof az.text);  // no terminator: exactly 100 bytes are read
    EXPECT_EQ(TQ_PUTSTRING_AZ(az, big), 0);
    EXPECT_EQ(get(big), " " + std::string(100, '9'));
    std::strcpy(az.text, "&hff");
    EXPECT_EQ(TQ_PUTSTRING_AZ(az, big), 0);
    EXPECT_EQ(get(big), " 255");
    const char buf[] = {'1', '2', '3', '4', '5'};  // not terminated
    EXPECT_EQ(TQ_PUTSTRING_FROMADD(buf, 3, big), 0);
    EXPECT_EQ(get(big), " 123");
    EXPECT_EQ(TQ_PUTSTRING_FROMADD(buf, -5, big), 0);  // bounded search for the zero byte
    EXPECT_EQ(get(big), " 12345");
    EXPECT_EQ(TQ_PUTSTRING_FROMADD("77\0 88", -6, big), 0);
    EXPECT_EQ(get(big), " 77");
    EXPECT_EQ(TQ_PUTSTRING_FROMADD("abcde", INT32_MIN, txt), 0);  // the most negative length
    EXPECT_EQ(TQ_GETSTRINGLENGTH(txt), 5);
}

TEST_F(Exports, EmptyAndNullTexts) {
    TQ_GETGLOBALERROR();
    EXPECT_EQ(TQ_PUTSTRING_FROMADD("x", 0, dec), 1);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1);
    EXPECT_EQ(TQ_PUTSTRING_FROMADD(nullptr, 0, txt), 0);
    EXPECT_EQ(TQ_GETSTRINGLENGTH(txt), 0);
    EXPECT_EQ(TQ_PUTSTRING_DS(nullptr, big), 1);
    EXPECT_EQ(TQ_PUTSTRING_PDS(nullptr, big), 1);
    EXPECT_EQ(TQ_PUTSTRING_VB(nullptr, big), 1);
    EXPECT_EQ(TQ_PUTSTRING_PAZ(nullptr, big), 1);
    EXPECT_EQ(TQ_PUTSTRING_FROMADD(nullptr, 5, big), 1);
    EXPECT_EQ(TQ_PUTSTRING_FROMADD(nullptr, -5, txt), 0);
    EXPECT_EQ(TQ_PUTSTRING_PAZ("", txt), 0);
    tq_az100 az{};
    EXPECT_EQ(TQ_PUTSTRING_AZ(az, big), 1);
    EXPECT_EQ(TQ_PUTSTRING_AZ(az, txt), 0);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1);
}

TEST_F(Exports, TextReaders) {
    ASSERT_EQ(put("hello", txt), 0);
    EXPECT_EQ(TQ_GETSTRINGLENGTH(txt), 5);
    tq_dstr ds = TQ_GETSTRING_DS(txt);
    EXPECT_EQ(std::string(ds, TQ_DS_LEN(ds)), "hello");
    TQ_DS_FREE(ds);
    tq_dstr *pds = TQ_GETSTRING_PDS(txt);
    ASSERT_NE(pds, nullptr);
    EXPECT_EQ(std::string(*pds, TQ_DS_LEN(*pds)), "hello");
    EXPECT_EQ(TQ_GETSTRING_PDS(txt), pds);  // the variable's own handle
    const char *paz = TQ_GETSTRING_PAZ(txt);
    ASSERT_NE(paz, nullptr);
    EXPECT_STREQ(paz, "hello");
    char dest[8] = "XXXXXXX";
    EXPECT_EQ(TQ_GETSTRING_2ADD(txt, dest), 0);
    EXPECT_STREQ(dest, "helloXX");
    // The handle follows the variable's text and survives growth of the store.
    ASSERT_EQ(put("a longer text than before", txt), 0);
    EXPECT_EQ(TQ_GETSTRING_PDS(txt), pds);
    EXPECT_EQ(std::string(*pds, TQ_DS_LEN(*pds)), "a longer text than before");
    // Freed with the variable.
    TQ_UNALLOCVAR(txt);
    EXPECT_EQ(*pds, nullptr);
    txt = TQ_ALLOCVAR(TarqText);
    TQ_GETGLOBALERROR();
    EXPECT_EQ(TQ_GETSTRINGLENGTH(dec), 0);
    EXPECT_EQ(TQ_GETSTRING_DS(dec), nullptr);
    EXPECT_EQ(TQ_GETSTRING_PDS(dec), nullptr);
    EXPECT_EQ(TQ_GETSTRING_PAZ(dec), nullptr);
    EXPECT_EQ(TQ_GETSTRING_2ADD(dec, dest), 2);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 2);
}

TEST_F(Exports, ConvertDTUsesTheDefaultFormat) {
    ASSERT_EQ(put("-12.5", dec), 0);
    EXPECT_EQ(TQ_SETOPTION(7, tq_Format_Scientific | tq_Format_Dec), 0);
    EXPECT_EQ(TQ_SETOPTION(8, 2), 0);
    EXPECT_EQ(TQ_CONVERTDT(dec, txt), 0);
    EXPECT_EQ(get(txt), "-1.3*d+1");
    tq_dstr ds = TQ_GETANY_DS(dec);
    EXPECT_EQ(std::string(ds, TQ_DS_LEN(ds)), "-1.3*d+1");
    TQ_DS_FREE(ds);
    char dest[32];
    EXPECT_EQ(TQ_GETANY_S2ADD(dec, dest), 0);
    EXPECT_STREQ(dest, "-1.3*d+1");
    TQ_SETOPTION(7, 0);
    TQ_SETOPTION(8, 0);
    EXPECT_EQ(TQ_CONVERTDT(dec, txt), 0);
    EXPECT_EQ(get(txt), get(dec));
    EXPECT_EQ(TQ_CONVERTDT(txt, big), 0);
    EXPECT_EQ(get(big), "-12");
    EXPECT_EQ(TQ_CONVERTDT(big, bin), 0);
    EXPECT_EQ(get(bin, tq_Format_Hex), "-&hC*h+0");
    // A failing format raises its bit and gives the empty text.
    TQ_SETOPTION(7, tq_Format_Dec | tq_Format_Hex);
    TQ_GETGLOBALERROR();
    ds = TQ_GETANY_DS(dec);
    EXPECT_EQ(TQ_DS_LEN(ds), 0);
    TQ_DS_FREE(ds);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1);
    TQ_SETOPTION(7, 0);
}

// The predicates on a pair: COMPARE, L, LE, G, GE, EQ, NE (-9: not looked
// at), and the error word after them (a kind mismatch, a NaN, a bad handle).
TEST_F(Exports, ComparePredicates) {
    const int32_t a = TQ_ALLOCVAR(TarqBigInt), b = TQ_ALLOCVAR(TarqBigInt), nan = TQ_ALLOCVAR(TarqBigInt);
    put("2", a), put("3", b), put("*NaN", nan);
    struct Case {
        int32_t x, y;
        int32_t want[7];
        uint32_t err;
    } cases[] = {
        {a, b, {-1, 1, 1, 0, 0, 0, 1}, 0},   {a, a, {0, 0, 1, 0, 1, 1, 0}, 0},
        {a, dec, {2, 0, 1, 0, 1, 2, 0}, 2},  {a, nan, {-2, 0, 1, 0, 1, 0, 1}, 1},
        {a, 99999, {16, -9, -9, -9, -9, 0, -9}, 16},
    };
    for (const Case &c : cases) {
        TQ_GETGLOBALERROR();
        const int32_t got[7] = {TQ_COMPARE(c.x, c.y), TQ_IS_L(c.x, c.y),  TQ_IS_LE(c.x, c.y), TQ_IS_G(c.x, c.y),
                                TQ_IS_GE(c.x, c.y),   TQ_IS_EQ(c.x, c.y), TQ_IS_NE(c.x, c.y)};
        for (int k = 0; k < 7; ++k) {
            if (c.want[k] == -9) continue;
            EXPECT_EQ(got[k], c.want[k]) << "predicate " << k << " on " << c.x << ", " << c.y;
        }
        EXPECT_EQ(TQ_GETGLOBALERROR(), c.err);
    }
    EXPECT_EQ(TQ_ISZERO(a), 0);
    put("-0", a);
    EXPECT_EQ(TQ_ISZERO(a), 1);
    EXPECT_EQ(TQ_ISZERO(-1), 0);
    EXPECT_EQ(TQ_ISINRANGE(-1, 6), 0);
    for (int32_t h : {a, b, nan}) TQ_UNALLOCVAR(h);
}

// The first call of a process after TQ_ALLOCVAR reads a text into a float at
// a defined precision.
TEST(FreshProcess, PutStringInitialises) {
    TQ_FRESH_ONLY();
    int32_t h = TQ_ALLOCVAR(TarqBinFloat);
    tq_dstr s = TQ_DS_NEW("0.1", 3);
    EXPECT_EQ(TQ_PUT_STRING(s, h), 0);
    TQ_DS_FREE(s);
    EXPECT_EQ(gTq_Prec_Bytes_Internal, 16);
    // 128 bits from the leading one bit of 0.1 (an endless binary fraction)
    // span five words.
    EXPECT_EQ(gTq_Store[h].MantN.size(), 20u);
}

TEST(ExportsFresh, PutStringInitialises) { EXPECT_TRUE(tq_RunFresh("PutStringInitialises")); }

TEST_F(Exports, PutIntegers) {
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
TEST_F(Exports, GetLongAndDwordEdges) {
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

TEST_F(Exports, DoubleEdges) {
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
TEST_F(Exports, RandomDoublesRoundTrip) {
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
TEST_F(Exports, RandomExtendedFloats) {
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
