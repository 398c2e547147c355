// Variable store, handles, the variable exports and the error word.
#include <gtest/gtest.h>

#include "fresh.h"
#include "frame/store.h"
#include "base/tq_state.h"
#include "tarq.h"

TEST(FreshProcess, FirstHandlesAndLazyInit) {
    TQ_FRESH_ONLY();
    EXPECT_EQ(TQ_ALLOCVAR(TQ_KIND_BIGINT), 0);
    EXPECT_EQ(gTq_Initialised, 0) << "TQ_ALLOCVAR must not initialise";
    EXPECT_EQ(TQ_ALLOCVAR(TQ_KIND_BIGINT), 1);
    EXPECT_EQ(TQ_COPYVAR(0, 1), 0);
    EXPECT_EQ(gTq_Initialised, 1);
    EXPECT_EQ(TQ_GETPRECISION(1), 38);
    EXPECT_EQ(TQ_GETPRECISION(2), 128);
}

TEST(FreshProcess, LowestFreeSlotAndGrowth) {
    TQ_FRESH_ONLY();
    for (int i = 0; i < 10; ++i) ASSERT_EQ(TQ_ALLOCVAR(TQ_KIND_DECFLOAT), i);
    EXPECT_EQ(TQ_UNALLOCVAR(3), 0);
    EXPECT_EQ(TQ_UNALLOCVAR(7), 0);
    EXPECT_EQ(TQ_ALLOCVAR(TQ_KIND_DECFLOAT), 3);
    EXPECT_EQ(TQ_ALLOCVAR(TQ_KIND_DECFLOAT), 7);
    for (int i = 10; i < 5002; ++i) ASSERT_EQ(TQ_ALLOCVAR(TQ_KIND_DECFLOAT), i);
    EXPECT_EQ(TQ_GETOPTION(2), 6000);
    EXPECT_EQ(TQ_GETOPTION(10), 5001);
}

TEST(FreshProcess, UnallocBounds) {
    TQ_FRESH_ONLY();
    EXPECT_EQ(TQ_UNALLOCVAR(-1), 16);
    EXPECT_EQ(TQ_UNALLOCVAR(5001), 16);
    EXPECT_EQ(TQ_UNALLOCVAR(5000), 0);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 16);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
    for (int32_t kind : {0, 6, 9, -1}) {
        EXPECT_EQ(TQ_ALLOCVAR(kind), -1) << "kind " << kind << " gives no handle";
        EXPECT_EQ(TQ_GETGLOBALERROR(), TQ_ERR_KIND) << kind;
    }
    EXPECT_EQ(TQ_ALLOCVAR(TQ_KIND_TEXT), 0) << "a refused kind takes no slot";
}

TEST(FreshProcess, StoreShrinksWithOption2) {
    TQ_FRESH_ONLY();
    EXPECT_EQ(TQ_SETOPTION(2, 100), 0);
    EXPECT_EQ(TQ_GETOPTION(2), 100);
    for (int i = 0; i <= 100; ++i) ASSERT_EQ(TQ_ALLOCVAR(TQ_KIND_BIGINT), i);
    EXPECT_EQ(TQ_ALLOCVAR(TQ_KIND_BIGINT), 101);  // grows again by 1000
    EXPECT_EQ(TQ_GETOPTION(2), 1100);
}

TEST(FreshDriver, FreshProcessCases) {
    for (const char *name : {"FirstHandlesAndLazyInit", "LowestFreeSlotAndGrowth", "UnallocBounds",
                             "StoreShrinksWithOption2"})
        EXPECT_TRUE(tq_RunFresh(name)) << name;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { TQ_GETGLOBALERROR(); }
};

TEST_F(StoreTest, CopyBetweenKindsRefusedAbsConverts) {
    int32_t bi = TQ_ALLOCVAR(TQ_KIND_BIGINT), df = TQ_ALLOCVAR(TQ_KIND_DECFLOAT);
    gTq_Store[bi].MantN = tq_Word(42);
    gTq_Store[bi].V.Sign = -1;
    EXPECT_EQ(TQ_COPYVAR(bi, df), 2);
    EXPECT_EQ(gTq_Store[df].V.NumType, TarqDecFloat);
    EXPECT_EQ(gTq_Store[df].MantN, tq_Word(0));
    EXPECT_EQ(TQ_GETGLOBALERROR(), 2);
    EXPECT_EQ(TQ_ABS(bi, df), 0);
    EXPECT_EQ(gTq_Store[df].V.NumType, TarqBigInt);
    EXPECT_EQ(gTq_Store[df].V.Sign, 1);
    EXPECT_EQ(gTq_Store[df].MantN, tq_Word(42));
    EXPECT_EQ(gTq_Store[bi].V.Sign, -1) << "the source is untouched";
    TQ_UNALLOCVAR(bi);
    TQ_UNALLOCVAR(df);
}

TEST_F(StoreTest, RevSignOfZeroAndBack) {
    int32_t h = TQ_ALLOCVAR(TQ_KIND_BIGINT), g = TQ_ALLOCVAR(TQ_KIND_BIGINT);
    EXPECT_EQ(TQ_REVSIGN(h, g), 0);
    EXPECT_EQ(gTq_Store[g].V.Sign, -1);
    EXPECT_EQ(TQ_REVSIGN(g, g), 0);
    EXPECT_EQ(gTq_Store[g].V.Sign, 1);
    EXPECT_EQ(TQ_REVSIGN(h, g), 0);
    EXPECT_EQ(TQ_ABS(g, g), 0);
    EXPECT_EQ(gTq_Store[g].V.Sign, 1);
    TQ_UNALLOCVAR(h);
    TQ_UNALLOCVAR(g);
}

TEST_F(StoreTest, FreedAndOutOfRangeHandlesAreRejectedEverywhere) {
    int32_t h = TQ_ALLOCVAR(TQ_KIND_BIGINT), g = TQ_ALLOCVAR(TQ_KIND_BIGINT);
    TQ_UNALLOCVAR(g);
    EXPECT_EQ(TQ_COPYVAR(h, g), 16);
    EXPECT_EQ(TQ_ABS(g, h), 16);
    EXPECT_EQ(TQ_REVSIGN(h, -5), 16);
    EXPECT_EQ(TQ_COPYVAR(h, 1 << 30), 16);
    EXPECT_EQ(TQ_GETCONST(14, g), 16);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 16);
    EXPECT_EQ(TQ_UNALLOCVAR(g), 0) << "freeing twice stays harmless";
    TQ_UNALLOCVAR(h);
}

TEST_F(StoreTest, ErrorBitsAccumulateUntilRead) {
    int32_t bi = TQ_ALLOCVAR(TQ_KIND_BIGINT), df = TQ_ALLOCVAR(TQ_KIND_DECFLOAT);
    EXPECT_EQ(TQ_COPYVAR(bi, df), 2);
    EXPECT_EQ(TQ_GETCONST(34, df), 1);
    EXPECT_EQ(TQ_UNALLOCVAR(-3), 16);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 19);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
    TQ_UNALLOCVAR(bi);
    TQ_UNALLOCVAR(df);
}

TEST_F(StoreTest, AllocationFailureIsReportedAndTheLibraryStaysUsable) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer aborts on a failed huge allocation instead of throwing";
#endif
    int32_t before = TQ_GETOPTION(2);
    // Two billion slots cannot be had: the export reports bit 1, nothing leaks out.
    EXPECT_EQ(TQ_SETOPTION(2, 0x7FFFFFF0), 1);
    EXPECT_EQ(TQ_GETGLOBALERROR() & 1, 1);
    EXPECT_EQ(TQ_GETOPTION(2), before);
    int32_t h = TQ_ALLOCVAR(TQ_KIND_BIGINT);
    EXPECT_GE(h, 0);
    EXPECT_EQ(TQ_GETCONST(23, h), 0);
    EXPECT_EQ(gTq_Store[h].MantN, tq_Word(100));
    TQ_UNALLOCVAR(h);
}
