// The shared harness of the magnitude-kernel tests (the oracle and the
// operands are in mag_gmp.h): canary words after a pointer kernel's output,
// a fixture that runs each test once per limb path the build and processor
// have (32-bit words, 64-bit limbs, 64-bit limbs with MULX/ADX), the check
// that all paths give the same words, and the trace collector (trace.h). A
// kernel's test file then says only what is particular to that kernel.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mag_gmp.h"
#include "trace.h"

// A magnitude of the given words, lowest first.
inline TqStr W(std::initializer_list<uint32_t> ws) { return tq_MagFromWords(ws); }

// ------------------------------------------------------------ canaries

// Runs write(p) on n words followed by two canary words (the n words start as
// canaries too), checks that the canaries after them are untouched, and
// returns the n words written.
template <class W> TqStr tq_Canaried(int32_t n, W write, uint32_t canary = 0xA5A5A5A5u) {
    std::vector<uint32_t> r(static_cast<size_t>(n) + 2, canary);
    write(r.data());
    EXPECT_EQ(r[n], canary) << "written past " << n << " words";
    EXPECT_EQ(r[n + 1], canary) << "written past " << n << " words";
    return TqStr(reinterpret_cast<const char *>(r.data()), static_cast<size_t>(n) * 4);
}

// Fixture of the kernel tests: every TEST_P of a suite deriving from it runs
// once per limb path (instantiate with TQ_ON_LIMB_PATHS).
class LimbPathTest : public ::testing::TestWithParam<int32_t> {
  protected:
    KernelSettingsGuard guard;
    void SetUp() override { tq_SelectLimbPath(GetParam()); }
};
#define TQ_ON_LIMB_PATHS(Suite)                                                \
    INSTANTIATE_TEST_SUITE_P(LimbPaths, Suite, ::testing::ValuesIn(tq_LimbPaths()), \
                             [](const auto &info) { return tq_LimbPathName(info.param); })

// f() must give the same result on every limb path (besides each agreeing
// with GMP): the 32-bit path's result is the reference.
template <class F> void tq_ExpectSameOnAllPaths(F f) {
    KernelSettingsGuard guard;
    tq_SelectLimbPath(0);
    const TqStr r0 = f();
    for (int32_t path : tq_LimbPaths()) {
        tq_SelectLimbPath(path);
        ASSERT_EQ(f(), r0) << tq_LimbPathName(path);
    }
}
