// Native-value exports: machine integers and floats go in as their print and
// come out through the range test and its text. Infinities and NaN put from
// the host become the library's special values.
#include <cmath>
#include <cstring>

#include "convert/convert.h"
#include "frame/dstr.h"
#include "frame/frame.h"
#include "convert/native.h"
#include "frame/put_text.h"
#include "tarq.h"

static TqStr floatText(long double x) {
    if (std::isnan(x)) return "*NaN";
    if (std::isinf(x)) return x > 0 ? "*+inf" : "*-inf";
    return n_PrintNativeFloat(x);
}

// Range test of handle h with code; the text out on success, false otherwise
// (tq_Err_Range raised).
static bool inRange(int32_t h, int32_t code, TqStr &text, int32_t &sign) {
    if (!tq_CheckHandle(h)) return false;
    const TqNum &v = gTq_Store[h];
    sign = v.V.Sign;
    if (!n_IsInRange(v, code, text)) {
        tq_RaiseErr(tq_Err_Range);
        return false;
    }
    return true;
}

static TqStr defaultText(int32_t h, int32_t &status) {
    TqStr s;
    status = n_Convert_TarqVar2String(gTq_Store[h], gTq_Opt_DefaultFormat, gTq_Opt_DefaultDigits, s);
    if (status) {
        tq_RaiseErr(status);
        s.clear();
    }
    return s;
}

static double getDouble(int32_t h) {
    TqStr text;
    int32_t sign = 1;
    if (!inRange(h, tq_Type_Double, text, sign)) return 0.0;
    return n_ReadNativeDouble(text);
}

extern "C" {

int32_t TQ_CALL TQ_PUTLONG(int32_t x, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t { return n_PutText(n_PrintNativeInt(x), hOut, true, false); });
}

int32_t TQ_CALL TQ_PUTDWORD(uint32_t x, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t { return n_PutText(n_PrintNativeInt(x), hOut, true, false); });
}

int32_t TQ_CALL TQ_PUTDOUBLE(double x, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t { return n_PutText(floatText(x), hOut, true, false); });
}

// In the 64-bit Windows DLL tq_ext is a double, so this is TQ_PUTDOUBLE there.
int32_t TQ_CALL TQ_PUTEXT(tq_ext x, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t { return n_PutText(floatText(x), hOut, true, false); });
}

int32_t TQ_CALL TQ_GETANY_LONG(int32_t h) {
    return tq_Guarded(true, 0, [&]() -> int32_t {
        TqStr sNum;
        int32_t sign = 1;
        if (!inRange(h, tq_Type_Long, sNum, sign)) return 0;
        if (sNum.size() != 4) {
            n_Trace("tq_GetAny_Long: Unexpected error: sNum too long!");
            return 0;
        }
        int64_t m = tq_W(sNum)[0];
        return static_cast<int32_t>(sign < 0 ? -m : m);
    });
}

uint32_t TQ_CALL TQ_GETANY_DWORD(int32_t h) {
    return tq_Guarded(true, 0u, [&]() -> uint32_t {
        TqStr sNum;
        int32_t sign = 1;
        if (!inRange(h, tq_Type_Dword, sNum, sign)) return 0;
        if (sNum.size() != 4) {
            n_Trace("tq_GetAny_Dword: Unexpected error: sNum too long!");
            return 0;
        }
        return tq_W(sNum)[0];
    });
}

double TQ_CALL TQ_GETANY_DOUBLE(int32_t h) {
    return tq_Guarded(true, 0.0, [&]() -> double { return getDouble(h); });
}

// In the 64-bit Windows DLL tq_ext is a double: the double's range test and
// rounding, exactly as TQ_GETANY_DOUBLE (not the extended value rounded twice).
tq_ext TQ_CALL TQ_GETANY_EXT(int32_t h) {
#if defined(_WIN64)
    return tq_Guarded(true, 0.0, [&]() -> double { return getDouble(h); });
#else
    return tq_Guarded(true, 0.0L, [&]() -> long double {
        TqStr text;
        int32_t sign = 1;
        if (!inRange(h, tq_Type_Ext, text, sign)) return 0.0L;
        return n_ReadNativeFloat(text);
    });
#endif
}

tq_dstr TQ_CALL TQ_GETANY_DS(int32_t h) {
    return tq_Guarded(true, static_cast<tq_dstr>(nullptr), [&]() -> tq_dstr {
        if (!tq_CheckHandle(h)) return nullptr;
        int32_t st = 0;
        return tq_DS_Make(defaultText(h, st));
    });
}

int32_t TQ_CALL TQ_GETANY_S2ADD(int32_t h, void *dest) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(h)) return tq_Err_Handle;
        if (!dest) return tq_RaiseErr(tq_Err_Invalid);
        int32_t st = 0;
        const TqStr s = defaultText(h, st);
        std::memcpy(dest, s.c_str(), s.size() + 1);
        return 0;
    });
}

}  // extern "C"
