// Working precision: setting it in digits, bits or bytes, and the store of
// saved precision parameter sets (digits, bytes, 10^digits).
#include "precision.h"

#include <cmath>
#include <vector>

#include "kernels/mul.h"
#include "kernels/pow.h"
#include "number.h"
#include "pow10.h"
#include "base/tq_state.h"

namespace {
struct PrecSet {
    int32_t Digits = 0;
    int32_t Bytes = 0;  // 0 marks a free set
    TqStr Pow10;
};
// Never destroyed: the sets live until the process ends.
std::vector<PrecSet> &sets() {
    static auto *s = new std::vector<PrecSet>();
    return *s;
}
const double kLog10_256 = 2.40823996531184952;  // log10(256)
}  // namespace

int32_t n_DigitsForBytes(int32_t bytes) { return static_cast<int32_t>(std::trunc(kLog10_256 * bytes)); }

void n_PrecisionSets_Create() {
    if (sets().empty()) sets().resize(3);
}

int32_t n_PrecisionSets_Highest() { return static_cast<int32_t>(sets().size()) - 1; }

static void growSets() {
    int32_t highest = n_PrecisionSets_Highest() + 10;
    if (highest > 50)
        n_Trace("Warning: n_PrecisionParameters_Store: abnormally high number of precision parameter sets stored!");
    sets().resize(static_cast<size_t>(highest) + 1);
}

TqPrecisionState *gTq_Prec_OpenRecord = nullptr;

// The records are filled from the innermost outwards; an outer record filled
// already holds an older state, and so do all around it.
void n_Precision_Keep() {
    for (TqPrecisionState *s = gTq_Prec_OpenRecord; s && !s->Kept; s = s->Outer) {
        auto kept = std::make_unique<TqPrecisionStrings>();
        kept->Pow10 = gTq_Prec_Pow10;
        const std::vector<PrecSet> &v = sets();
        const int32_t fixed = v.size() > 3 ? 3 : static_cast<int32_t>(v.size()) - 1;
        for (int32_t i = 0; i < fixed; ++i) {
            const PrecSet &p = v[static_cast<size_t>(i) + 1];
            s->SetDigits[i] = p.Digits;
            s->SetBytes[i] = p.Bytes;
            kept->SetPow10[i] = p.Pow10;
        }
        s->Fixed = fixed;
        s->Digits = gTq_Prec_Digits_Internal;
        s->Bytes = gTq_Prec_Bytes_Internal;
        s->Pow10Precision = gTq_Opt_Pow10_Precision;
        s->Strings = std::move(kept);
        s->Kept = true;
    }
}

int32_t n_PrecisionParameters_Store(int32_t index) {
    if (index >= 1 && index <= 3) n_Precision_Keep();
    while (index > n_PrecisionSets_Highest()) growSets();
    PrecSet &p = sets()[index];
    p.Digits = gTq_Prec_Digits_Internal;
    p.Bytes = gTq_Prec_Bytes_Internal;
    p.Pow10 = gTq_Prec_Pow10;
    return index;
}

int32_t n_PrecisionParameters_Store() {
    int32_t index = -1;
    for (int32_t i = 0; i <= n_PrecisionSets_Highest(); ++i) {
        if (sets()[i].Bytes == 0) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        index = n_PrecisionSets_Highest() + 1;
        growSets();
    }
    return n_PrecisionParameters_Store(index);
}

int32_t n_PrecisionParameters_Retrieve(int32_t index) {
    if (index < 0 || index > n_PrecisionSets_Highest()) {
        n_Trace("Error: n_PrecisionParameters_Retrieve: Illegal index !!!");
        return 1;
    }
    n_Precision_Keep();
    const PrecSet &p = sets()[index];
    gTq_Prec_Digits_Internal = p.Digits;
    gTq_Prec_Bytes_Internal = p.Bytes;
    gTq_Prec_Pow10 = p.Pow10;
    return 0;
}

int32_t n_PrecisionParameters_FreeSet(int32_t index) {
    if (index < 0 || index > n_PrecisionSets_Highest()) {
        n_Trace("Error: n_PrecisionParameters_FreeSet: Illegal index !!!");
        return 1;
    }
    PrecSet &p = sets()[index];
    if (p.Bytes == 0) {
        n_Trace("Error: n_PrecisionParameters_FreeSet: Set already freed !!!");
        return 1;
    }
    p.Bytes = 0;
    return 0;
}

int32_t n_SetPrecision_Core(int32_t mode, int32_t amount) {
    if (mode == 3) {
        mode = 2;
        amount = amount > INT32_MAX / 8 ? INT32_MAX : amount * 8;
    }
    int32_t bytes, result;
    if (mode == 1) {
        if (amount <= 0) amount = 1;
        bytes = static_cast<int32_t>(std::ceil(amount / kLog10_256));
        if (bytes % 4) bytes += 4 - bytes % 4;
        result = n_DigitsForBytes(bytes);
    } else {
        if (amount < 32) amount = 32;
        bytes = (amount % 32 == 0) ? amount / 8 : (amount / 32 + 1) * 4;
        result = 8 * bytes;
    }
    gTq_Prec_Bytes_Internal = bytes;
    gTq_Prec_Digits_Internal = n_DigitsForBytes(bytes);
    n_Trace(">>>> Precision changed..:");
    n_Trace("gTq_Prec_Digits_Internal:" + std::to_string(gTq_Prec_Digits_Internal));
    n_Trace("gTq_Prec_Bytes_Internal :" + std::to_string(gTq_Prec_Bytes_Internal));
    if (8 * bytes > gTq_Opt_Pow10_Precision) {
        gTq_Opt_Pow10_Precision = 8 * bytes;
        n_Init_PowersOf10Table();
    }
    // 10^digits is formed when first asked for (n_Prec_Pow10): a precision
    // change stays cheap at a million digits.
    gTq_Prec_Pow10.clear();
    return result;
}

const TqStr &n_Prec_Pow10() {
    if (!gTq_Prec_Pow10.empty()) return gTq_Prec_Pow10;
    // 10^digits twice, as an exact power and from the powers-of-ten table;
    // the table's value is kept. A difference means the table is damaged.
    TqStr exact;
    h_Pow(tq_Word(10), tq_Word(static_cast<uint32_t>(gTq_Prec_Digits_Internal)), exact);
    TqStr fromTable;
    n_Pow10_Integer(gTq_Prec_Digits_Internal, fromTable);
    if (exact != fromTable) {
        n_Trace("Error: n_SetPrecision: pow10 table mismatch ");
        tq_WarningPause();
    }
    gTq_Prec_Pow10.swap(fromTable);
    return gTq_Prec_Pow10;
}

void n_Precision_Restore(TqPrecisionState &s) noexcept {
    if (!s.Kept) return;
    gTq_Prec_Digits_Internal = s.Digits;
    gTq_Prec_Bytes_Internal = s.Bytes;
    gTq_Opt_Pow10_Precision = s.Pow10Precision;
    TqPrecisionStrings *kept = s.Strings.get();
    gTq_Prec_Pow10.swap(kept->Pow10);
    for (int32_t i = 0; i < s.Fixed; ++i) {
        PrecSet &p = sets()[static_cast<size_t>(i) + 1];
        p.Digits = s.SetDigits[i];
        p.Bytes = s.SetBytes[i];
        p.Pow10.swap(kept->SetPow10[i]);
    }
}

int64_t n_PrecisionBytesFor(int32_t mode, int32_t amount) {
    const int64_t a = amount;
    int64_t bytes = mode == 1 ? static_cast<int64_t>(std::ceil((a <= 0 ? 1 : a) / kLog10_256))
                    : mode == 3 ? a
                                : (a + 7) / 8;
    bytes = (bytes + 3) / 4 * 4;
    return bytes < 4 ? 4 : bytes;
}

int32_t n_SetPrecision_Export(int32_t mode, int32_t amount) {
    if (n_PrecisionBytesFor(mode, amount) > tq_Prec_MaxBytes) {
        n_Trace("n_SetPrecision: request beyond the highest precision refused");
        tq_RaiseErr(tq_Err_Invalid);
        return 0;
    }
    n_Precision_Keep();
    // The table grows once, straight to what the Newton set below needs,
    // instead of being rebuilt for each of the three sets.
    const int64_t need = 8 * (n_PrecisionBytesFor(mode, amount) + 12);
    if (need > gTq_Opt_Pow10_Precision) {
        gTq_Opt_Pow10_Precision = static_cast<int32_t>(need);
        n_Init_PowersOf10Table();
    }
    int32_t result = n_SetPrecision_Core(mode, amount);
    n_PrecisionParameters_Store(tq_PrecSet_Normal);
    int32_t p = gTq_Prec_Bytes_Internal;
    n_SetPrecision_Core(3, p + 8);
    n_PrecisionParameters_Store(2);
    n_SetPrecision_Core(3, p + 12);
    n_PrecisionParameters_Store(tq_PrecSet_Newton);
    n_PrecisionParameters_Retrieve(tq_PrecSet_Normal);
    return result;
}

TqPrecisionScope::TqPrecisionScope() noexcept
    : bytes_(gTq_Prec_Bytes_Internal), digits_(gTq_Prec_Digits_Internal), raised_(gTq_Prec_Bytes_Internal) {}

void TqPrecisionScope::set(int32_t bytes) noexcept {
    if (bytes < 4) bytes = 4;
    bytes = (bytes + 3) / 4 * 4;
    gTq_Prec_Bytes_Internal = bytes;
    gTq_Prec_Digits_Internal = n_DigitsForBytes(bytes);
}

void TqPrecisionScope::raise(int32_t extraBytes) noexcept {
    set(gTq_Prec_Bytes_Internal + extraBytes);
    raised_ = gTq_Prec_Bytes_Internal;
}

void TqPrecisionScope::restore() noexcept {
    gTq_Prec_Bytes_Internal = bytes_;
    gTq_Prec_Digits_Internal = digits_;
}

void TqPrecisionScope::finish(TqNum &r) {
    restore();
    if (r.V.Special == 0) {
        n_ReducePrecision(r.V, r.MantN);
        n_NormaliseZero(r.V, r.MantN);
    }
}
