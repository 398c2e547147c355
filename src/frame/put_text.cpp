// Putting a text into a variable: handle check, lazy start-up, the empty-text
// rule of the string exports, and the parse into the variable's own kind.
#include "put_text.h"

#include "convert/convert.h"
#include "frame/frame.h"

int32_t n_PutText(const TqStr &text, int32_t h, bool initAlways, bool rejectEmpty) {
    if (!tq_CheckHandle(h)) return tq_Err_Handle;
    const int32_t kind = gTq_Store[h].V.NumType;
    if (initAlways || kind != TarqText) tq_EnsureInit();
    if (rejectEmpty && text.empty() && kind != TarqText) return tq_RaiseErr(tq_Err_Invalid);
    TqOutSlot out(h);
    return n_Convert_String2TarqVar(text, out.v.V, out.v.MantN, out.v.DenN, kind);
}
