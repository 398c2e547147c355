// Working precision and the precision parameter sets.
#pragma once
#include <cstdint>
#include <memory>

#include "base/tq_types.h"

// The core of a precision change: mode 1 digits, 3 bytes, otherwise bits.
// Returns digits for mode 1, bits otherwise.
int32_t n_SetPrecision_Core(int32_t mode, int32_t amount);
// The whole TQ_SETPRECISION step without the lock: core, then sets 1..3.
// A request beyond tq_Prec_MaxBytes is refused at once with tq_Err_Invalid
// (result 0) and changes nothing.
int32_t n_SetPrecision_Export(int32_t mode, int32_t amount);
// The highest working precision a caller may set: 1,000,000 decimal digits
// (415,244 bytes, 3,321,952 bits). Its powers-of-ten table (8 times as long
// per entry) still fits comfortably in memory; beyond it a precision change
// would run for minutes under the global lock.
constexpr int32_t tq_Prec_MaxDigits = 1000000;
constexpr int32_t tq_Prec_MaxBytes = 415244;
// Bytes a request would set (mode 1 digits, 3 bytes, otherwise bits), in 64
// bits so that no request wraps: whole words, at least one.
int64_t n_PrecisionBytesFor(int32_t mode, int32_t amount);

// 10^gTq_Prec_Digits_Internal as a magnitude, formed on first use after a
// precision change (and checked against an exact power).
const TqStr &n_Prec_Pow10();

void n_PrecisionSets_Create();
int32_t n_PrecisionParameters_Store(int32_t index);
int32_t n_PrecisionParameters_Store();
int32_t n_PrecisionParameters_Retrieve(int32_t index);
int32_t n_PrecisionParameters_FreeSet(int32_t index);
int32_t n_PrecisionSets_Highest();

// trunc(log10(256) * bytes)
int32_t n_DigitsForBytes(int32_t bytes);

// The precision state an export may change: the working precision with its
// power of ten, the three fixed parameter sets and the table precision. An
// export frame opens a record (two pointers and a flag) and closes it; the
// places that change this state for good (a precision change, a parameter set
// stored or retrieved, the table precision) first call n_Precision_Keep,
// which fills every open record not yet filled with the state as it still is.
// A call that changes no precision therefore copies nothing. Restoring only
// moves values back and cannot throw, so a failed export puts everything back
// while it unwinds. The temporary precision of one operation
// (TqPrecisionScope) puts itself back and needs no record.
struct TqPrecisionStrings {
    TqStr Pow10, SetPow10[3];
};
struct TqPrecisionState {
    bool Kept = false;
    int32_t Digits = 0, Bytes = 0, Pow10Precision = 0, Fixed = 0;
    int32_t SetDigits[3] = {}, SetBytes[3] = {};
    std::unique_ptr<TqPrecisionStrings> Strings;
    TqPrecisionState *Outer = nullptr;
};
extern TqPrecisionState *gTq_Prec_OpenRecord;  // innermost open record, under the global lock
inline void n_Precision_Begin(TqPrecisionState &s) noexcept {
    s.Outer = gTq_Prec_OpenRecord;
    gTq_Prec_OpenRecord = &s;
}
inline void n_Precision_End(TqPrecisionState &s) noexcept { gTq_Prec_OpenRecord = s.Outer; }
void n_Precision_Restore(TqPrecisionState &s) noexcept;
// Fills the open records before the precision state changes for good.
void n_Precision_Keep();

// The working precision of one operation (bytes and digits), put back on
// destruction. Only bytes and digits change: the iterations, series and raised
// precisions inside an operation never read 10^digits nor the parameter sets,
// so those are neither changed nor saved. set(bytes) takes whole words, at
// least one; raise(extraBytes) sets the caller's precision plus extraBytes and
// remembers it, toCaller() and toRaised() switch between the two, finish(r)
// puts the caller's back and cuts r to it. Nothing here can throw but the cut
// in finish(), which comes after the precision is back: whatever ends the
// scope, the caller's precision is as it was. restore() may come early.
class TqPrecisionScope {
public:
    TqPrecisionScope() noexcept;
    ~TqPrecisionScope() { restore(); }
    TqPrecisionScope(const TqPrecisionScope &) = delete;
    TqPrecisionScope &operator=(const TqPrecisionScope &) = delete;

    void set(int32_t bytes) noexcept;
    void raise(int32_t extraBytes) noexcept;
    void toCaller() noexcept { restore(); }
    void toRaised() noexcept { set(raised_); }
    void finish(TqNum &r);
    void restore() noexcept;
    int32_t savedBytes() const { return bytes_; }

private:
    int32_t bytes_, digits_, raised_;
};
