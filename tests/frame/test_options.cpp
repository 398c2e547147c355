// The numbered options.
#include <gtest/gtest.h>

#include "base/tq_state.h"
#include "tarq.h"

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        TQ_GETPRECISION(1);
        TQ_GETGLOBALERROR();
    }
};

TEST_F(OptionsTest, SmallPrimesTable) {
    EXPECT_EQ(TQ_SETOPTION(1, 0), 0);
    EXPECT_EQ(TQ_GETOPTION(1), 1500);
    EXPECT_EQ(gTq_SmallPrimes[1], tq_Word(2));
    EXPECT_EQ(gTq_SmallPrimes[1500], tq_Word(12553));  // the 1500th prime
    EXPECT_EQ(TQ_SETOPTION(1, 20000), 0);
    EXPECT_EQ(TQ_GETOPTION(1), 10000);
    EXPECT_EQ(gTq_SmallPrimes[10000], tq_Word(104729));
    EXPECT_EQ(TQ_SETOPTION(1, 5), 0);
    EXPECT_EQ(TQ_GETOPTION(1), 5);
    EXPECT_EQ(gTq_SmallPrimes[5], tq_Word(11));
}

TEST_F(OptionsTest, NegativeSizesAreRefused) {
    const int32_t primes = TQ_GETOPTION(1), slots = TQ_GETOPTION(2);
    EXPECT_EQ(TQ_SETOPTION(1, -1), 1);
    EXPECT_EQ(TQ_SETOPTION(2, -7), 1);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1);
    EXPECT_EQ(TQ_GETOPTION(1), primes);
    EXPECT_EQ(TQ_GETOPTION(2), slots);
}

TEST_F(OptionsTest, UnknownCodes) {
    EXPECT_EQ(TQ_SETOPTION(11, 0), 1);
    EXPECT_EQ(TQ_SETOPTION(0, 0), 1);
    EXPECT_EQ(TQ_SETOPTION(10, 5), 1) << "option 10 is read only";
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1);
    EXPECT_EQ(TQ_GETOPTION(11), 0);
    EXPECT_EQ(TQ_GETOPTION(-3), 0);
}

TEST_F(OptionsTest, FractionReductionAndFormatDefaults) {
    EXPECT_EQ(TQ_SETOPTION(6, 5), 0);
    EXPECT_EQ(TQ_GETOPTION(6), 1);
    EXPECT_EQ(TQ_SETOPTION(6, 0), 0);
    EXPECT_EQ(TQ_GETOPTION(6), 0);
    EXPECT_EQ(TQ_SETOPTION(6, 1), 0);
    EXPECT_EQ(TQ_SETOPTION(7, 17), 0);
    EXPECT_EQ(TQ_SETOPTION(8, 25), 0);
    EXPECT_EQ(TQ_GETOPTION(7), 17);
    EXPECT_EQ(TQ_GETOPTION(8), 25);
    TQ_SETOPTION(7, 0);
    TQ_SETOPTION(8, 0);
}
