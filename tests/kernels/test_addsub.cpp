// Addition, subtraction, comparison, shifts and unit steps on magnitudes:
// the listed edge cases, aliasing of result and operands, canaries after the
// pointer kernels' output, and differential checks against GMP on random
// and adversarial operands for both limb paths.
#include <gtest/gtest.h>

#include "kernel_harness.h"
#include "kernels/addsub.h"

namespace {

class AddSub : public LimbPathTest {};

TEST_P(AddSub, ListedEdgeCases) {
    // Carries, borrows, shifts and comparisons across words are the
    // differential's; here what it does not draw: equal values of other
    // lengths, equal operands, wraps below zero.
    EXPECT_EQ(h_Compare_Ptr(W({1}).data(), 4, W({1, 0, 0, 0}).data(), 16), 0);
    TqStr r;
    h_Sub(W({5, 6, 7}), W({5, 6, 7}), 1, r);
    EXPECT_EQ(r, W({0}));
    h_Sub(W({5, 6, 7}), W({5, 6, 7}), 0, r);
    EXPECT_EQ(r, W({0, 0, 0}));
    h_Sub(W({1}), W({2}), 0, r);  // caller error: wraps silently
    EXPECT_EQ(r, W({0xFFFFFFFF}));
    h_Dec(W({0, 0}), r);  // zero wraps to all ones
    EXPECT_EQ(r, W({0xFFFFFFFF, 0xFFFFFFFF}));

    EXPECT_EQ(h_IsZero(TqStr()), 1);
    EXPECT_EQ(h_IsZero(W({0, 0})), 1);
    EXPECT_EQ(h_IsZero(W({0, 1})), 0);
    EXPECT_EQ(h_IsOdd(W({3})), 1);
    EXPECT_EQ(h_IsOdd(W({2, 1})), 0);
    EXPECT_EQ(h_IsSmaller(W({1}), W({2})), 1);
    EXPECT_EQ(h_IsSmaller(W({2}), W({2, 0})), 0);

    EXPECT_EQ(h_PadToWord(TqStr("\x01\x02\x03\x04\x05", 5), r), 1);
    EXPECT_EQ(r, TqStr("\x01\x02\x03\x04\x05\0\0\0", 8));
    EXPECT_EQ(h_PadToWord(W({1}), r), 0);
    EXPECT_EQ(r, W({1}));

    r = W({0, 0, 0});
    h_Trim(r);
    EXPECT_EQ(r, W({0}));
    r.clear();
    h_Trim(r);
    EXPECT_EQ(r, W({0}));
}

TEST_P(AddSub, ResultMayBeAnOperand) {
    std::mt19937_64 rng(11);
    for (int32_t nx : {1, 2, 3, 5, 9, 17}) {
        for (int32_t ny : {1, 4, 8, 20}) {
            const TqStr X = tq_RandomMag(rng, nx), Y = tq_RandomMag(rng, ny);
            TqStr sum, expect;
            h_Add(X, Y, expect);
            sum = X;
            h_Add(sum, Y, sum);  // the result grows when Y is longer
            EXPECT_EQ(sum, expect);
            sum = Y;
            h_Add(X, sum, sum);
            EXPECT_EQ(sum, expect);
            sum = X;
            h_Add(sum, sum, sum);
            TqStr twice;
            h_ShiftLeft1(X, twice);
            EXPECT_EQ(sum, twice);

            // (X + Y) - Y in place, through both operand positions.
            TqStr d = expect;
            h_Sub(d, Y, 1, d);
            TqStr xt = X;
            h_Trim(xt);
            EXPECT_EQ(d, xt);
            TqStr y = Y;
            h_Sub(expect, y, 1, y);
            EXPECT_EQ(y, xt);
        }
    }
}

TEST_P(AddSub, DifferentialAgainstGmp) {
    std::mt19937_64 rng(20260 + GetParam());
    for (int round = 0; round < 1500; ++round) {
        const auto px = static_cast<MagPattern>(rng() % static_cast<int>(MagPattern::kCount));
        const auto py = static_cast<MagPattern>(rng() % static_cast<int>(MagPattern::kCount));
        const int32_t nx = 1 + static_cast<int32_t>(rng() % (round < 1400 ? 40 : 3000));
        const int32_t ny = 1 + static_cast<int32_t>(rng() % (round < 1400 ? 40 : 3000));
        const TqStr X = tq_RandomMag(rng, nx, px), Y = tq_RandomMag(rng, ny, py);
        Mpz x(X), y(Y), e;
        SCOPED_TRACE(::testing::Message() << "round " << round << " nx " << nx << " ny " << ny);

        TqStr r;
        h_Add(X, Y, r);
        mpz_add(e, x, y);
        EXPECT_EQ(r, magOfLen(e, std::max(nx, ny) + (mpz_sizeinbase(e, 2) > 32u * std::max(nx, ny))));

        const int cmp = mpz_cmp(x, y);
        EXPECT_EQ(h_Compare_Ptr(X.data(), tq_Len(X), Y.data(), tq_Len(Y)), cmp < 0 ? 1 : cmp > 0 ? -1 : 0);

        const TqStr &L = cmp >= 0 ? X : Y, &S = cmp >= 0 ? Y : X;
        Mpz l(L), s(S);
        mpz_sub(e, l, s);
        h_Sub(L, S, 0, r);
        EXPECT_EQ(r, magOfLen(e, std::max(nx, ny)));
        h_Sub(L, S, 1, r);
        EXPECT_EQ(r, magOf(e));

        TqStr bit;
        h_ShiftRight1(X, r, bit);
        mpz_tdiv_q_2exp(e, x, 1);
        EXPECT_EQ(r, magOf(e));
        EXPECT_EQ(bit, tq_Word(static_cast<uint32_t>(mpz_odd_p(x.v) ? 1 : 0)));

        h_ShiftLeft1(X, r);
        mpz_mul_2exp(e, x, 1);
        EXPECT_EQ(r, magOfLen(e, nx + (mpz_sizeinbase(e, 2) > 32u * nx)));

        h_Inc(X, r);
        mpz_add_ui(e, x, 1);
        EXPECT_EQ(r, magOfLen(e, nx + (mpz_sizeinbase(e, 2) > 32u * nx)));
        if (mpz_sgn(x.v) > 0) {
            h_Dec(X, r);
            mpz_sub_ui(e, x, 1);
            EXPECT_EQ(r, magOf(e));
        }
    }
}

// Division by one word: quotient words (with canaries after them) and
// remainder against GMP, every divisor width from 1 to all ones, in place too.
TEST_P(AddSub, WordDivisionAgainstGmp) {
    std::mt19937_64 rng(4242 + GetParam());
    const uint32_t divisors[] = {1, 2, 3, 7, 10, 0xFFFF, 0x10000, 1000000000u, 0x7FFFFFFF, 0x80000000u,
                                 0xFFFFFFFFu, static_cast<uint32_t>(rng() | 1)};
    tq_ForOperands(rng, {1, 2, 3, 4, 5, 8, 9, 33, 100}, [&](const TqStr &A) {
        const int32_t n = tq_NWords(A);
        for (uint32_t w : divisors) {
            Mpz a(A), q;
            const unsigned long rem = mpz_tdiv_q_ui(q, a, w);
            uint32_t got = 0;
            const TqStr Q = tq_Canaried(n, [&](uint32_t *r) { got = tq_DivWordN(r, tq_W(A), n, w); });
            EXPECT_EQ(Q, magOfLen(q, static_cast<size_t>(n))) << "w " << w << " n " << n;
            EXPECT_EQ(got, rem) << "w " << w << " n " << n;
            TqStr inPlace = A;
            tq_DivWordN(tq_W(inPlace), tq_W(inPlace), n, w);
            EXPECT_EQ(inPlace, Q);
        }
    });
}

// Pointer kernels write exactly the destination (plus the carry word of the
// addition when it occurs) and leave the canaries beyond it alone.
TEST_P(AddSub, PointerKernelsAndCanaries) {
    std::mt19937_64 rng(77);
    const uint32_t canary = 0xDEADBEEFu;
    for (int round = 0; round < 400; ++round) {
        const int32_t nx = 1 + static_cast<int32_t>(rng() % 70), ny = 1 + static_cast<int32_t>(rng() % 70);
        const auto p = static_cast<MagPattern>(rng() % static_cast<int>(MagPattern::kCount));
        const TqStr X = tq_RandomMag(rng, nx, p), Y = tq_RandomMag(rng, ny, MagPattern::AllOnes);
        const int32_t nl = std::max(nx, ny);
        std::vector<uint32_t> d(nl + 3, canary);
        uint8_t carry = 7;
        h_Add_Ptr1(X.data(), 4 * nx, Y.data(), 4 * ny, d.data(), carry);
        Mpz x(X), y(Y), e;
        mpz_add(e, x, y);
        const TqStr full = magOfLen(e, nl + 1);
        EXPECT_EQ(carry, tq_W(full)[nl]);
        EXPECT_EQ(0, std::memcmp(d.data(), full.data(), 4 * nl));
        EXPECT_EQ(d[nl], carry ? 1u : canary);
        EXPECT_EQ(d[nl + 1], canary);

        // In place, the destination being the longer operand.
        TqStr dst = nx >= ny ? X : Y;
        dst += tq_Word(canary);
        const TqStr &other = nx >= ny ? Y : X;
        h_Add_Ptr1(dst.data(), 4 * nl, other.data(), tq_Len(other), dst.data(), carry);
        EXPECT_EQ(0, std::memcmp(dst.data(), full.data(), 4 * nl));
        EXPECT_EQ(tq_W(dst)[nl], carry ? 1u : canary);

        // Subtraction of the smaller from the larger, zero-extended to nl words.
        const bool xBig = mpz_cmp(x, y) >= 0;
        TqStr big = xBig ? X : Y, small = xBig ? Y : X;
        big.resize(4 * nl, '\0');
        std::fill(d.begin(), d.end(), canary);
        uint8_t borrow = 7;
        h_Sub_Ptr1(big.data(), 4 * nl, small.data(), tq_Len(small), d.data(), borrow);
        Mpz bg(big), sm(small);
        mpz_sub(e, bg, sm);
        EXPECT_EQ(borrow, 0);
        EXPECT_EQ(0, std::memcmp(d.data(), magOfLen(e, nl).data(), 4 * nl));
        EXPECT_EQ(d[nl], canary);
    }
}

// A borrow out of the top is reported (and traced) and wraps; a carry out of
// the longer operand (the shorter given first: swapped) is written past it.
TEST_P(AddSub, PointerKernelsCarryAndBorrowOut) {
    TraceCollector trace;
    gTq_Karatsuba_Depth = 2;
    uint8_t flag = 0;
    EXPECT_EQ(tq_Canaried(3, [&](uint32_t *p) { h_Sub_Ptr1(W({1, 0, 0}).data(), 12, W({2, 0}).data(), 8, p, flag); }),
              W({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}));
    EXPECT_EQ(flag, 1);
    ASSERT_EQ(TraceCollector::lines().size(), 2u);
    EXPECT_EQ(TraceCollector::lines()[0], "        h_Sub_Ptr1: CarryFlag <> 0. Possible error condition !");
    EXPECT_EQ(TraceCollector::lines()[1], " ");
    flag = 0;
    EXPECT_EQ(tq_Canaried(3, [&](uint32_t *p) { h_Add_Ptr1(W({1}).data(), 4, W({0xFFFFFFFF, 0xFFFFFFFF}).data(), 8, p, flag); }),
              W({0, 0, 1}));
    EXPECT_EQ(flag, 1);
}

TQ_ON_LIMB_PATHS(AddSub);

}  // namespace
