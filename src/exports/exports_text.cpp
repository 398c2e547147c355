// Text exports: putting texts in every shape the hosts use, formatting values
// as text, reading text variables, and the kind conversion.
#include <cstring>

#include "convert/convert.h"
#include "frame/dstr.h"
#include "frame/frame.h"
#include "frame/store_text.h"
#include "frame/put_text.h"
#include "tarq.h"

// Bytes up to the first zero byte, looking at no more than max bytes.
static TqStr boundedText(const char *p, int64_t max) {
    if (!p || max <= 0) return TqStr();
    const void *z = std::memchr(p, 0, static_cast<size_t>(max));
    return TqStr(p, z ? static_cast<const char *>(z) - p : static_cast<size_t>(max));
}

// The text of a text variable, or nullptr after raising tq_Err_Type.
static const TqStr *textOf(int32_t h) {
    if (gTq_Store[h].V.NumType != TarqText) {
        tq_RaiseErr(tq_Err_Type);
        return nullptr;
    }
    return &gTq_Store[h].MantN;
}

extern "C" {

int32_t TQ_CALL TQ_PUT_STRING(tq_dstr text, int32_t hOut) {
    return tq_Guarded(false, tq_Err_Invalid, [&]() -> int32_t { return n_PutText(tq_DS_Read(text), hOut, false, false); });
}

int32_t TQ_CALL TQ_PUTSTRING_DS(tq_dstr text, int32_t hOut) {
    return tq_Guarded(false, tq_Err_Invalid, [&]() -> int32_t {
        const TqStr t = tq_DS_Read(text);
        n_Trace("tq_PutString_DS: input string:>" + t + "<");
        const int32_t st = n_PutText(t, hOut, false, true);
        n_Trace("exiting tq_PutString_DS");
        return st;
    });
}

int32_t TQ_CALL TQ_PUTSTRING_VB(tq_dstr *text, int32_t hOut) { return TQ_PUTSTRING_DS(text ? *text : nullptr, hOut); }

int32_t TQ_CALL TQ_PUTSTRING_PDS(tq_dstr *text, int32_t hOut) {
    return tq_Guarded(false, tq_Err_Invalid, [&]() -> int32_t {
        return n_PutText(text ? tq_DS_Read(*text) : TqStr(), hOut, false, true);
    });
}

int32_t TQ_CALL TQ_PUTSTRING_AZ(tq_az100 text, int32_t hOut) {
    return tq_Guarded(false, tq_Err_Invalid, [&]() -> int32_t {
        return n_PutText(boundedText(text.text, sizeof text.text), hOut, false, true);
    });
}

int32_t TQ_CALL TQ_PUTSTRING_PAZ(const char *text, int32_t hOut) {
    return tq_Guarded(false, tq_Err_Invalid, [&]() -> int32_t {
        return n_PutText(text ? TqStr(text) : TqStr(), hOut, false, true);
    });
}

int32_t TQ_CALL TQ_PUTSTRING_FROMADD(const void *addr, int32_t len, int32_t hOut) {
    return tq_Guarded(false, tq_Err_Invalid, [&]() -> int32_t {
        const char *p = static_cast<const char *>(addr);
        if (len > 0 && !p) {
            if (!tq_CheckHandle(hOut)) return tq_Err_Handle;
            return tq_RaiseErr(tq_Err_Invalid);
        }
        TqStr t = len > 0 ? TqStr(p, static_cast<size_t>(len)) : boundedText(p, -static_cast<int64_t>(len));
        return n_PutText(t, hOut, false, true);
    });
}

int32_t TQ_CALL TQ_GET_STRING(int32_t hIn, int32_t format, int32_t digits, tq_dstr *text) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(hIn)) return tq_Err_Handle;
        if (!text) return tq_RaiseErr(tq_Err_Invalid);  // the text would go nowhere
        TqStr s;
        if (int32_t st = n_Convert_TarqVar2String(gTq_Store[hIn], format, digits, s)) return st;
        tq_DS_Assign(text, s);
        return 0;
    });
}

int32_t TQ_CALL TQ_GETSTRINGLENGTH(int32_t h) {
    return tq_Guarded(false, 0, [&]() -> int32_t {
        if (!tq_CheckHandle(h)) return 0;
        const TqStr *t = textOf(h);
        return t ? static_cast<int32_t>(t->size()) : 0;
    });
}

tq_dstr TQ_CALL TQ_GETSTRING_DS(int32_t h) {
    return tq_Guarded(true, static_cast<tq_dstr>(nullptr), [&]() -> tq_dstr {
        if (!tq_CheckHandle(h)) return nullptr;
        const TqStr *t = textOf(h);
        return t ? tq_DS_Make(*t) : nullptr;
    });
}

tq_dstr *TQ_CALL TQ_GETSTRING_PDS(int32_t h) {
    return tq_Guarded(true, static_cast<tq_dstr *>(nullptr), [&]() -> tq_dstr * {
        if (!tq_CheckHandle(h)) return nullptr;
        const TqStr *t = textOf(h);
        return t ? n_Store_TextHandle(h, *t) : nullptr;
    });
}

const char *TQ_CALL TQ_GETSTRING_PAZ(int32_t h) {
    return tq_Guarded(true, static_cast<const char *>(nullptr), [&]() -> const char * {
        if (!tq_CheckHandle(h)) return nullptr;
        const TqStr *t = textOf(h);
        return t ? reinterpret_cast<const char *>(*n_Store_TextHandle(h, *t)) : nullptr;
    });
}

int32_t TQ_CALL TQ_GETSTRING_2ADD(int32_t h, void *dest) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(h)) return tq_Err_Handle;
        const TqStr *t = textOf(h);
        if (!t) return tq_Err_Type;
        if (!dest) return tq_RaiseErr(tq_Err_Invalid);
        if (!t->empty()) std::memcpy(dest, t->data(), t->size());
        return 0;
    });
}

int32_t TQ_CALL TQ_CONVERTDT(int32_t hIn, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(hIn) || !tq_CheckHandle(hOut)) return tq_Err_Handle;
        TqNum src = gTq_Store[hIn];
        TqOutSlot out(hOut);
        return n_Convert_TarqVar2TarqVar(src, out.v, gTq_Opt_DefaultFormat, gTq_Opt_DefaultDigits);
    });
}

}  // extern "C"
