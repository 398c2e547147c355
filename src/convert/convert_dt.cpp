// The kind-conversion dispatcher behind TQ_CONVERTDT: same kind copies, special
// values are carried over but refused, and every pair of kinds has its route.
#include "convert.h"
#include "base/tq_state.h"

int32_t n_Convert_TarqVar2TarqVar(const TqNum &src, TqNum &dst, int32_t format, int32_t digits) {
    const int32_t from = src.V.NumType, to = dst.V.NumType;
    if (from == to) {
        dst = src;
        return 0;
    }
    if (src.V.Special != tq_Special_None) {
        dst.V.Expo = 0;
        dst.V.InUse = 1;
        dst.V.Special = src.V.Special;
        if (src.V.Special == tq_Special_NaN) return tq_RaiseErr(tq_Err_Invalid);
        return tq_RaiseErr(tq_Err_Special);
    }
    if (from < TarqDecFloat || from > TarqText) return 0;
    if (to == TarqText) {
        TqStr text;
        if (int32_t st = n_Convert_TarqVar2String(src, format, digits, text)) return st;
        dst.V.InUse = 1;
        dst.V.NumType = TarqText;
        dst.V.Expo = 0;
        dst.V.Sign = 1;
        dst.MantN = std::move(text);
        dst.DenN = tq_Word(1);
        return 0;
    }
    if (from == TarqText) {
        dst.V.InUse = 1;
        return n_Convert_String2TarqVar(src.MantN, dst.V, dst.MantN, dst.DenN, to);
    }
    if (to < TarqDecFloat || to > TarqText) return tq_RaiseErr(tq_Err_Kind);
    switch (from) {
        case TarqDecFloat:
            if (to == TarqBinFloat) return n_Convert_TarqDecFloat2TarqBinFloat(src, dst);
            if (to == TarqBigInt) return n_Convert_TarqDecFloat2TarqBigInt(src, dst);
            return n_Convert_TarqDecFloat2TarqFraction(src, dst);
        case TarqBinFloat:
            if (to == TarqDecFloat) return n_Convert_TarqBinFloat2TarqDecFloat(src, dst);
            if (to == TarqBigInt) return n_Convert_TarqBinFloat2TarqBigInt(src, dst);
            return n_Convert_TarqBinFloat2TarqFraction(src, dst);
        case TarqBigInt:
            if (to == TarqFraction) return n_Convert_TarqBigInt2TarqFraction(src, dst);
            return n_Convert_TarqBigInt2TarqFloat(src, dst, to);
        default:  // fraction
            if (to == TarqBigInt) return n_Convert_TarqFraction2TarqBigInt(src, dst);
            return n_Convert_TarqFraction2TarqFloat(src, dst, to);
    }
}
