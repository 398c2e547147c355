// Working precision in digits, bits and bytes; the precision parameter sets.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "numbers/precision.h"
#include "base/tq_state.h"
#include "tarq.h"

namespace {
struct PrecisionRestore {
    int32_t bytes = gTq_Prec_Bytes_Internal;
    ~PrecisionRestore() { TQ_SETPRECISION(3, bytes); }
};
}  // namespace

// TQ_SETPRECISION(mode, amount): what it returns and the bytes it sets
// (modes 1 digits, 2 bits, 3 bytes; unknown modes count bits; negative
// amounts give the smallest precision).
TEST(Precision, DigitsBitsAndBytes) {
    TQ_GETPRECISION(1);
    PrecisionRestore restore;
    struct Case {
        int32_t mode, amount, returned, bytes;
    } cases[] = {{1, 38, 38, 16}, {1, 40, 48, 20}, {2, 100, 128, 16}, {2, 256, 256, 32}, {1, 0, 9, 4},
                 {2, 1, 32, 4},   {3, 5, 64, 8},   {7, 33, 64, 8},    {1, -5, 9, 4},     {2, -100, 32, 4},
                 {3, -1, 32, 4},  {1, 1000, 1001, 416}};
    for (const Case &c : cases) {
        EXPECT_EQ(TQ_SETPRECISION(c.mode, c.amount), c.returned) << c.mode << " " << c.amount;
        EXPECT_EQ(gTq_Prec_Bytes_Internal, c.bytes) << c.mode << " " << c.amount;
    }
    EXPECT_EQ(TQ_GETPRECISION(2), 3328);
    EXPECT_EQ(TQ_GETPRECISION(1), 1001);
    EXPECT_EQ(TQ_GETPRECISION(3), 0);
}

// A request beyond the highest precision (1,000,000 digits) is refused at
// once with bit 1 in every mode, and nothing changes; option 5 likewise.
TEST(Precision, RequestsBeyondTheHighestAreRefusedAtOnce) {
    TQ_GETPRECISION(1);
    PrecisionRestore restore;
    ASSERT_EQ(TQ_SETPRECISION(1, 50), 57);
    const int32_t bytes = gTq_Prec_Bytes_Internal, table = TQ_GETOPTION(5);
    const std::pair<int32_t, int32_t> requests[] = {
        {1, 1000008}, {1, 10000000}, {1, INT32_MAX}, {2, 3321953}, {2, INT32_MAX}, {3, 415245}, {3, INT32_MAX}, {7, INT32_MAX}};
    for (const auto &[mode, amount] : requests) {
        TQ_GETGLOBALERROR();
        EXPECT_EQ(TQ_SETPRECISION(mode, amount), 0) << mode << " " << amount;
        EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Invalid);
        EXPECT_EQ(gTq_Prec_Bytes_Internal, bytes);
        EXPECT_EQ(TQ_GETPRECISION(1), 57);
    }
    EXPECT_EQ(TQ_SETOPTION(5, INT32_MAX), tq_Err_Invalid);
    EXPECT_EQ(TQ_GETOPTION(5), table);
    EXPECT_EQ(n_PrecisionBytesFor(1, tq_Prec_MaxDigits), tq_Prec_MaxBytes);  // the highest is allowed
    EXPECT_EQ(n_PrecisionBytesFor(2, 8 * tq_Prec_MaxBytes), tq_Prec_MaxBytes);
    TQ_GETGLOBALERROR();
}

TEST(Precision, FixedSetsFollowEveryChange) {
    TQ_GETPRECISION(1);
    PrecisionRestore restore;
    TQ_SETPRECISION(1, 100);  // 44 bytes
    const int32_t p = gTq_Prec_Bytes_Internal;
    ASSERT_EQ(p, 44);
    ASSERT_EQ(n_PrecisionParameters_Retrieve(2), 0);
    EXPECT_EQ(gTq_Prec_Bytes_Internal, p + 8);
    ASSERT_EQ(n_PrecisionParameters_Retrieve(tq_PrecSet_Newton), 0);
    EXPECT_EQ(gTq_Prec_Bytes_Internal, p + 12);
    EXPECT_EQ(gTq_Prec_Digits_Internal, n_DigitsForBytes(p + 12));
    ASSERT_EQ(n_PrecisionParameters_Retrieve(tq_PrecSet_Normal), 0);
    EXPECT_EQ(gTq_Prec_Bytes_Internal, p);
    EXPECT_EQ(gTq_Prec_Digits_Internal, 105);
}

TEST(Precision, PowerOfTenFollowsTheDigits) {
    TQ_GETPRECISION(1);
    PrecisionRestore restore;
    TQ_SETPRECISION(3, 8);  // 8 bytes, 19 digits
    ASSERT_EQ(gTq_Prec_Digits_Internal, 19);
    // 10^19 = 0x8AC7230489E80000
    TqStr expect = tq_Word(0x89E80000u) + tq_Word(0x8AC72304u);
    EXPECT_EQ(n_Prec_Pow10(), expect);
}

TEST(Precision, DynamicSetsStoreRetrieveFree) {
    TQ_GETPRECISION(1);
    PrecisionRestore restore;
    TQ_SETPRECISION(1, 50);
    const int32_t a = n_PrecisionParameters_Store();
    TQ_SETPRECISION(3, 200);
    const int32_t b = n_PrecisionParameters_Store();
    EXPECT_NE(a, b);
    EXPECT_EQ(n_PrecisionParameters_Retrieve(a), 0);
    EXPECT_EQ(gTq_Prec_Digits_Internal, 57);  // 50 digits -> 24 bytes -> 57 digits
    EXPECT_EQ(n_PrecisionParameters_Retrieve(b), 0);
    EXPECT_EQ(gTq_Prec_Bytes_Internal, 200);
    EXPECT_EQ(n_PrecisionParameters_FreeSet(b), 0);
    EXPECT_EQ(n_PrecisionParameters_FreeSet(b), 1) << "double free";
    EXPECT_EQ(n_PrecisionParameters_FreeSet(a), 0);
    const int32_t again = n_PrecisionParameters_Store();
    EXPECT_EQ(again, a < b ? a : b) << "the lowest free set is reused";
    EXPECT_EQ(n_PrecisionParameters_FreeSet(again), 0);
    const int32_t high = n_PrecisionSets_Highest();
    EXPECT_EQ(n_PrecisionParameters_Retrieve(high + 1), 1);
    EXPECT_EQ(n_PrecisionParameters_FreeSet(high + 1), 1);
    EXPECT_EQ(n_PrecisionParameters_Retrieve(-1), 1);
}

// A raised scope left by an exception, outside any export frame, leaves the
// working precision, its power of ten and the fixed sets as before; set() changes
// bytes and digits only.
TEST(Precision, ScopeRestoresWhateverEndsIt) {
    TQ_GETPRECISION(1);
    PrecisionRestore restore;
    TQ_SETPRECISION(1, 100);
    auto snapshot = [] {
        std::vector<TqStr> s = {gTq_Prec_Pow10, std::to_string(gTq_Prec_Bytes_Internal) + "/" +
                                                    std::to_string(gTq_Prec_Digits_Internal)};
        for (int32_t i = 1; i <= 3; ++i) {
            n_PrecisionParameters_Retrieve(i);
            s.push_back(gTq_Prec_Pow10 + std::to_string(gTq_Prec_Bytes_Internal));
        }
        n_PrecisionParameters_Retrieve(tq_PrecSet_Normal);
        return s;
    };
    const auto before = snapshot();
    try {
        TqPrecisionScope scope;
        scope.raise(40);
        EXPECT_EQ(gTq_Prec_Bytes_Internal, 84);
        scope.toCaller();
        EXPECT_EQ(gTq_Prec_Pow10, before[0]);
        scope.toRaised();
        EXPECT_EQ(gTq_Prec_Bytes_Internal, 84);
        throw std::bad_alloc();
    } catch (const std::bad_alloc &) {
    }
    EXPECT_EQ(snapshot(), before);
    {
        TqPrecisionScope scope;
        scope.set(9);
        EXPECT_EQ(gTq_Prec_Bytes_Internal, 12) << "whole words";
        EXPECT_EQ(gTq_Prec_Pow10, before[0]);
        scope.restore();
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_EQ(snapshot(), before);
}
