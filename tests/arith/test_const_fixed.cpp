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

// The constants that are not whole numbers, per kind: the status and, when
// made, the magnitude, exponent, sign and denominator.
TEST(FixedConstants, BinaryFractionsPerKind) {
    const int32_t D = TarqDecFloat, B = TarqBinFloat, F = TarqFraction, I = TarqBigInt;
    struct Case {
        int32_t code, kind, status;
        TqStr mant;
        int32_t expo, sign;
        uint32_t den;
    } cases[] = {
        {12, D, 0, tq_Word(25), -2, 1, 1},          {13, B, 0, tq_Word(0x80000000u), -4, 1, 1},
        {13, F, 0, tq_Word(1), 0, 1, 2},            {15, F, 0, tq_Word(1), 0, -1, 1},
        {12, I, tq_Err_Type, "", 0, 1, 1},          {28, B, 0, words({0x10000000u, 1}), -4, 1, 1},
        {29, B, 0, tq_Word(0xF8000000u), -4, 1, 1}, {28, D, tq_Err_Type, "", 0, 1, 1},
        {29, F, tq_Err_Type, "", 0, 1, 1},          {30, D, 0, tq_Word(1), -3, 1, 1},
        {30, B, 0, tq_Word(0x418938u), -4, 1, 1},    {30, F, tq_Err_Type, "", 0, 1, 1},
        {30, I, tq_Err_Type, "", 0, 1, 1},
        // the computed constants only in the float kinds, ln 1.0625 only binary
        {8, I, tq_Err_Type, "", 0, 1, 1},           {8, F, tq_Err_Type, "", 0, 1, 1},
        {4, D, tq_Err_Type, "", 0, 1, 1},
    };
    for (const Case &c : cases) {
        TqNum v = ofKind(c.kind);
        ASSERT_EQ(n_GetConst(c.code, v), c.status) << c.code << " kind " << c.kind;
        if (c.status) continue;
        EXPECT_EQ(v.MantN, c.mant) << c.code << " kind " << c.kind;
        EXPECT_EQ(v.V.Expo, c.expo) << c.code << " kind " << c.kind;
        EXPECT_EQ(v.V.Sign, c.sign) << c.code << " kind " << c.kind;
        EXPECT_EQ(v.DenN, tq_Word(c.den)) << c.code << " kind " << c.kind;
    }
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
    EXPECT_EQ(n_GetConst(1, t), tq_Err_Type);
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
