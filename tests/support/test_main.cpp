// Test entry point: the library's consistency-warning pauses are shortened so
// that tests exercising them do not wait five seconds each.
#include <gtest/gtest.h>

#include "frame/tq_state.h"

int main(int argc, char **argv) {
    gTq_WarningPauseMs = 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
