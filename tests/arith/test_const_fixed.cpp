// The fixed numbered constants in every kind.
#include <gtest/gtest.h>

#include "funcs/constants.h"
#include "frame/store.h"
#include "tarq.h"
#include "tq_gmp.h"

namespace {
TqNum ofKind(int32_t kind) {
    TqNum v;
    v.V.InUse = 1;
    v.V.NumType = kind;
    n_SetZero(v);
    return v;
}
TqStr words(std::initializer_list<uint32_t> w) { return tq_MagFromWords(w); }
}  // namespace

TEST(FixedConstants, IntegersInEveryNumericKind) {
    const uint32_t values[] = {0, 0, 0, 1, 1, 2, 3, 5, 8, 10, 16, 20, 100, 125, 180, 200, 256};
    for (int32_t kind = 1; kind <= 4; ++kind) {
        for (int32_t code = 11; code <= 27; ++code) {
            if (code == 12 || code == 13) continue;
            TqNum v = ofKind(kind);
            v.V.Sign = -1;
            v.V.Expo = 12;
            ASSERT_EQ(n_GetConst(code, v), 0) << code << " kind " << kind;
            EXPECT_EQ(v.MantN, tq_Word(values[code - 11])) << code;
            EXPECT_EQ(v.DenN, tq_Word(1));
            EXPECT_EQ(v.V.Expo, 0);
            EXPECT_EQ(v.V.Sign, code == 15 ? -1 : 1);
            EXPECT_EQ(v.V.NumType, kind);
        }
    }
}

TEST(FixedConstants, BinaryFractionsPerKind) {
    TqNum d = ofKind(TarqDecFloat), b = ofKind(TarqBinFloat), f = ofKind(TarqFraction), i = ofKind(TarqBigInt);
    ASSERT_EQ(n_GetConst(12, d), 0);
    EXPECT_EQ(d.MantN, tq_Word(25));
    EXPECT_EQ(d.V.Expo, -2);
    ASSERT_EQ(n_GetConst(13, b), 0);
    EXPECT_EQ(b.MantN, tq_Word(0x80000000u));
    EXPECT_EQ(b.V.Expo, -4);
    ASSERT_EQ(n_GetConst(13, f), 0);
    EXPECT_EQ(f.MantN, tq_Word(1));
    EXPECT_EQ(f.DenN, tq_Word(2));
    ASSERT_EQ(n_GetConst(15, f), 0);
    EXPECT_EQ(f.V.Sign, -1);
    EXPECT_EQ(f.DenN, tq_Word(1));
    EXPECT_EQ(n_GetConst(12, i), tq_Err_Type);
    ASSERT_EQ(n_GetConst(28, b), 0);
    EXPECT_EQ(b.MantN, words({0x10000000u, 1}));
    EXPECT_EQ(b.V.Expo, -4);
    ASSERT_EQ(n_GetConst(29, b), 0);
    EXPECT_EQ(b.MantN, tq_Word(0xF8000000u));
    EXPECT_EQ(n_GetConst(28, d), tq_Err_Type);
    EXPECT_EQ(n_GetConst(29, f), tq_Err_Type);
    ASSERT_EQ(n_GetConst(30, d), 0);
    EXPECT_EQ(d.MantN, tq_Word(1));
    EXPECT_EQ(d.V.Expo, -3);
    ASSERT_EQ(n_GetConst(30, b), 0);
    EXPECT_EQ(b.MantN, tq_Word(0x418938u));
    EXPECT_EQ(n_GetConst(30, f), tq_Err_Type);
    EXPECT_EQ(n_GetConst(30, i), tq_Err_Type);
}

TEST(FixedConstants, SpecialsKeepTheMagnitude) {
    TqNum v = ofKind(TarqBigInt);
    v.MantN = tq_Word(77);
    v.V.Sign = -1;
    ASSERT_EQ(n_GetConst(31, v), 0);
    EXPECT_EQ(v.V.Special, 1);
    EXPECT_EQ(v.V.Sign, 1);
    EXPECT_EQ(v.MantN, tq_Word(77));
    ASSERT_EQ(n_GetConst(32, v), 0);
    EXPECT_EQ(v.V.Special, 2);
    ASSERT_EQ(n_GetConst(33, v), 0);
    EXPECT_EQ(v.V.Special, 3);
    ASSERT_EQ(n_GetConst(14, v), 0);
    EXPECT_EQ(v.V.Special, 0);
}

TEST(FixedConstants, UnknownCodesAndTextVariables) {
    TqNum v = ofKind(TarqBinFloat);
    v.V.Special = 3;
    v.V.Sign = -1;
    EXPECT_EQ(n_GetConst(0, v), tq_Err_Invalid);
    EXPECT_EQ(v.V.Special, 0) << "sign and special are reset before the code check";
    EXPECT_EQ(v.V.Sign, 1);
    EXPECT_EQ(n_GetConst(34, v), tq_Err_Invalid);
    TqNum t = ofKind(TarqText);
    EXPECT_EQ(n_GetConst(14, t), tq_Err_Type);
    EXPECT_EQ(n_GetConst(31, t), tq_Err_Type);
}

TEST(FixedConstants, ThroughTheExport) {
    TQ_GETGLOBALERROR();
    int32_t h = TQ_ALLOCVAR(TQ_KIND_FRACTION);
    EXPECT_EQ(TQ_GETCONST(12, h), 0);
    EXPECT_EQ(gTq_Store[h].DenN, tq_Word(4));
    EXPECT_EQ(TQ_GETCONST(40, h), 1);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 1);
    TQ_UNALLOCVAR(h);
}
