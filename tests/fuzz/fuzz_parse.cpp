// libFuzzer target: arbitrary bytes are parsed into every kind, each result is
// formatted in every radix and layout (with and without a digit count) and
// converted into every other kind. Beyond the sanitizers it checks that a
// value equals itself and that every kind survives a round trip through the
// texts that are exact for it (no digit count, its own radix family).
//
// Texts whose exponents have more than three digits are skipped: their values
// are legitimately enormous (a big integer of 10^999999 digits) and would only
// measure the machine's memory.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "convert/convert.h"
#include "numbers/precision.h"
#include "base/tq_state.h"
#include "kernels/limbs.h"

namespace {

bool hasLongExponent(const std::string &t) {
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '*') continue;
        int digits = 0;
        for (size_t j = i + 1; j < t.size() && t[j] != '*'; ++j) {
            const char c = t[j];
            if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '.') ++digits;
        }
        if (digits > 3) return true;
    }
    return false;
}

TqNum zero(int32_t kind) {
    TqNum v;
    v.V = TarqVar{1, 1, 0, kind, 0};
    v.MantN = tq_Word(0);
    v.DenN = tq_Word(1);
    return v;
}

const int32_t kFormats[] = {0,  1 | 8,  2 | 8,  4 | 8,  1 | 16, 2 | 16, 4 | 16, 1 | 32,
                            2 | 32, 4 | 32, 16, 32, 8 | 16, 1 | 2 | 4 | 16 | 32};
const int32_t kDigits[] = {0, 1, 5, 40};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool ready = [] {
        tq_EnsureInit();
        return true;
    }();
    (void)ready;
    if (size > 256) return 0;
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (hasLongExponent(text)) return 0;
    for (int32_t kind = 1; kind <= 6; ++kind) {
        TqNum v = zero(kind);
        if (n_Convert_String2TarqVar(text, v.V, v.MantN, v.DenN, kind) != 0) continue;
        if (kind == 6) continue;
        if (v.V.Special != tq_Special_NaN && n_Compare(v, v) != 0) std::abort();
        for (int32_t f : kFormats) {
            for (int32_t d : kDigits) {
                TqStr out;
                (void)n_Convert_TarqVar2String(v, f, d, out);  // any status: only a crash is a fault here
            }
        }
        for (int32_t to = 1; to <= 5; ++to) {
            TqNum r = zero(to);
            (void)n_Convert_TarqVar2TarqVar(v, r, 0, 0);  // any status: only a crash is a fault here
        }
        // Texts written without a digit count in the kind's own radix family
        // are exact: reading them back gives the same value.
        if (v.V.Special == 0 && kind != TarqText) {
            const int32_t exact[4][2] = {{1 | 8, 4 | 8}, {1 | 16, 4 | 32}, {8, 2 | 16}, {8, 32}};
            for (int32_t f : exact[kind - 1]) {
                TqStr out;
                if (n_Convert_TarqVar2String(v, f, 0, out) != 0) std::abort();
                TqNum back = zero(kind);
                {
                    // Read back above the working precision: a float parse
                    // ends with the cut, which is not the identity on values
                    // already cut with another exponent alignment.
                    TqPrecisionScope wider;
                    wider.set(wider.savedBytes() + 64);
                    if (n_Convert_String2TarqVar(out, back.V, back.MantN, back.DenN, kind) != 0) std::abort();
                }
                const bool zeroDen = kind == TarqFraction && tq_IsZero(v.DenN);
                if (!zeroDen && n_Compare(back, v) != 0) std::abort();
            }
        }
    }
    gTq_ErrorWord = 0;
    return 0;
}
