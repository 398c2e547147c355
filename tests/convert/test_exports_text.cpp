// The text exports through the C interface: every string shape in, every
// string shape out, the empty-text rules, bounded reads of caller memory,
// handles, kind conversion and the first-call initialisation.
#include <gtest/gtest.h>

#include <cstring>

#include "conv_oracle.h"
#include "fresh.h"
#include "frame/store.h"

namespace {

struct TextExports : ::testing::Test {
    int32_t dec = -1, big = -1, txt = -1, bin = -1;
    void SetUp() override {
        TQ_GETGLOBALERROR();
        dec = TQ_ALLOCVAR(TarqDecFloat);
        bin = TQ_ALLOCVAR(TarqBinFloat);
        big = TQ_ALLOCVAR(TarqBigInt);
        txt = TQ_ALLOCVAR(TarqText);
    }
    void TearDown() override {
        for (int32_t h : {dec, bin, big, txt}) TQ_UNALLOCVAR(h);
    }
    std::string get(int32_t h, int32_t format = 0, int32_t digits = 0) {
        tq_dstr s = nullptr;
        int32_t st = TQ_GET_STRING(h, format, digits, &s);
        std::string r(1, '<');
        if (st) r += std::to_string(st);
        else r.assign(s, static_cast<size_t>(TQ_DS_LEN(s)));
        TQ_DS_FREE(s);
        return r;
    }
    int32_t put(const std::string &text, int32_t h) {
        tq_dstr s = TQ_DS_NEW(text.data(), static_cast<int32_t>(text.size()));
        int32_t st = TQ_PUT_STRING(s, h);
        TQ_DS_FREE(s);
        return st;
    }
};

TEST_F(TextExports, PutAndGetString) {
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

TEST_F(TextExports, BadHandles) {
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

TEST_F(TextExports, StringShapesIn) {
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

TEST_F(TextExports, EmptyAndNullTexts) {
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

TEST_F(TextExports, TextReaders) {
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

TEST_F(TextExports, ConvertDTUsesTheDefaultFormat) {
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
TEST_F(TextExports, ComparePredicates) {
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

TEST(TextExportsFresh, PutStringInitialises) { EXPECT_TRUE(tq_RunFresh("PutStringInitialises")); }

}  // namespace
