// A failed allocation changes nothing: every export met by an allocation
// failure at each of its first allocations returns an error and leaves the
// working precision, its power of ten, the table precision and every variable
// exactly as before, and the next call computes as if nothing had happened.
// The failures come from a replacement of operator new in this test program,
// idle unless a test arms it. A cancellation request is held to the same
// rule: made at each allocation in turn, the call either fails at its next
// check and changes nothing, or completes with the undisturbed result.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "base/cancel.h"
#include "frame/store.h"
#include "base/tq_state.h"
#include "tarq.h"

namespace {
long sCountdown = -1;  // allocations left before the failing one; -1 idle
bool sFired = false;
bool sCancel = false;  // at the countdown's end: request a cancellation, not fail
}  // namespace

void *operator new(std::size_t n) {
    if (sCountdown >= 0 && sCountdown-- == 0) {
        sFired = true;
        if (!sCancel) throw std::bad_alloc();
        tq_RequestCancel(true);
    }
    if (void *p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
// Kept out of line: inlined into gtest's factories, GCC pairs the library's
// operator new with this free and warns of a mismatch that is not there.
[[gnu::noinline]] void operator delete(void *p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

struct State {
    int32_t bytes, digits, table;
    TqStr pow10;
    std::vector<TqNum> vars;
    // What differs, or "" when nothing does.
    std::string diff(const State &o) const {
        if (bytes != o.bytes || digits != o.digits) return "precision " + std::to_string(o.bytes) + " bytes";
        if (table != o.table) return "table precision " + std::to_string(o.table);
        if (pow10 != o.pow10) return "power of ten of the precision";
        for (size_t i = 0; i < vars.size(); ++i) {
            const TqNum &a = vars[i], &b = o.vars[i];
            if (a.V.Sign != b.V.Sign || a.V.Expo != b.V.Expo || a.V.NumType != b.V.NumType ||
                a.V.Special != b.V.Special || a.MantN != b.MantN || a.DenN != b.DenN)
                return "variable " + std::to_string(i);
        }
        return "";
    }
};

State now(const std::vector<int32_t> &handles) {
    State s{gTq_Prec_Bytes_Internal, gTq_Prec_Digits_Internal, gTq_Opt_Pow10_Precision, gTq_Prec_Pow10, {}};
    for (int32_t h : handles) s.vars.push_back(gTq_Store[h]);
    return s;
}

int32_t put(int32_t h, const char *text) { return TQ_PUTSTRING_PAZ(text, h); }

// A variable's value to 30 significant digits.
std::string shown(int32_t h) {
    tq_dstr s = nullptr;
    const int32_t kind = gTq_Store[h].V.NumType;
    if (TQ_GET_STRING(h, 2 | (kind == 2 ? 16 : 8), 30, &s) != 0) return "no text";
    std::string t(s, static_cast<size_t>(TQ_DS_LEN(s)));
    TQ_DS_FREE(s);
    return t;
}

}  // namespace

void everyExportLeavesTheStateAsItWas(bool cancel) {
    sCancel = cancel;
    ASSERT_GT(TQ_SETPRECISION(1, 38), 0);
    const int32_t d = TQ_ALLOCVAR(1), b = TQ_ALLOCVAR(2), db = TQ_ALLOCVAR(1), bb = TQ_ALLOCVAR(2),
                  i = TQ_ALLOCVAR(3), ib = TQ_ALLOCVAR(3), f = TQ_ALLOCVAR(4), out = TQ_ALLOCVAR(1),
                  outb = TQ_ALLOCVAR(2), outi = TQ_ALLOCVAR(3), outf = TQ_ALLOCVAR(4), t = TQ_ALLOCVAR(5);
    put(d, "0.7853981633974483096156608458198757210");
    put(b, "2.5");
    put(db, "1*d40");
    put(bb, "&h3.243F6A8885A308D313198A2E037073*h5");
    put(i, "123456789012345678901234567890");
    put(ib, "987654321");
    put(f, "22/7");
    put(t, "1.25");
    const int32_t outi2 = TQ_ALLOCVAR(3), outi3 = TQ_ALLOCVAR(3);
    const std::vector<int32_t> handles = {d, b, db, bb, i, ib, f, out, outb, outi, outf, t, outi2, outi3};
    tq_dstr text = nullptr, text3 = TQ_DS_NEW("-123456789123456789", 19);
    char buffer[256] = {};
    const std::vector<std::pair<const char *, std::function<int32_t()>>> calls = {
        {"SIN", [&] { return TQ_SIN(d, out); }},       {"COS", [&] { return TQ_COS(b, outb); }},
        {"TAN", [&] { return TQ_TAN(d, out); }},       {"ATAN", [&] { return TQ_ATAN(b, outb); }},
        {"ASIN", [&] { return TQ_ASIN(d, out); }},     {"EXP", [&] { return TQ_EXP(b, outb); }},
        {"EXP10", [&] { return TQ_EXP10(d, out); }},   {"LOG", [&] { return TQ_LOG(bb, outb); }},
        {"LOG10", [&] { return TQ_LOG10(db, out); }},  {"SQRT", [&] { return TQ_SQRT(b, outb); }},
        {"POW", [&] { return TQ_POW(b, bb, outb); }},  {"ROOT", [&] { return TQ_ROOT(db, ib, 0, out, 0); }},
        {"DIV", [&] { return TQ_DIV(db, d, out); }},   {"MUL", [&] { return TQ_MUL(bb, b, outb); }},
        {"ADD", [&] { return TQ_ADD(db, d, out); }},   {"RECIPROCAL", [&] { return TQ_RECIPROCAL(bb, outb); }},
        {"GETCONST", [&] { return TQ_GETCONST(8, outb); }},
        {"GETPOW10", [&] { return TQ_GETPOW10(12345, outb); }},
        {"CONVERTDT", [&] { return TQ_CONVERTDT(bb, out); }},
        {"CONVERTUNITS", [&] { return TQ_CONVERTUNITS(1, d, out); }},
        {"PUT_STRING", [&] { return put(out, "-1.5*d-7"); }},
        {"GET_STRING", [&] { return TQ_GET_STRING(bb, 9, 0, &text); }},
        {"POWMOD", [&] { return TQ_POWMOD(i, ib, i, outi); }}, {"GCD", [&] { return TQ_GCD(i, ib, outi); }},
        {"MODINV", [&] { return TQ_MODINV(ib, i, outi); }},  {"ADD fractions", [&] { return TQ_ADD(f, f, outf); }},
        {"SETPRECISION", [&] { return TQ_SETPRECISION(1, 60) == 0 ? 1 : 0; }},
        {"SETOPTION 5", [&] { return TQ_SETOPTION(5, 8 * 4000); }},  // down: the table is cut, then rebuilt
        {"SETOPTION 1", [&] { return TQ_SETOPTION(1, 50); }},
        {"SUB", [&] { return TQ_SUB(bb, b, outb); }},   {"SQR", [&] { return TQ_SQR(db, out); }},
        {"DIVBY2", [&] { return TQ_DIVBY2(f, outf); }}, {"MULBY2", [&] { return TQ_MULBY2(d, out); }},
        {"ABS", [&] { return TQ_ABS(bb, outb); }},      {"REVSIGN", [&] { return TQ_REVSIGN(i, outi); }},
        {"INCR", [&] { return TQ_INCR(f, outf); }},     {"DECR", [&] { return TQ_DECR(db, out); }},
        {"FIX", [&] { return TQ_FIX(bb, outb); }},      {"FRAC", [&] { return TQ_FRAC(d, out); }},
        {"COPYVAR", [&] { return TQ_COPYVAR(i, outi); }},
        {"DIVINT", [&] { return TQ_DIVINT(i, ib, outi, outi2); }},
        {"MOD", [&] { return TQ_MOD(i, ib, outi); }},   {"LCM", [&] { return TQ_LCM(i, ib, outi); }},
        {"EXTEUCLIDALGO", [&] { return TQ_EXTEUCLIDALGO(i, ib, outi, outi2, outi3); }},
        {"LOG2", [&] { return TQ_LOG2(b, outb); }},     {"EXP2", [&] { return TQ_EXP2(d, out); }},
        {"SQRT dec", [&] { return TQ_SQRT(db, out); }}, {"ROOT bin", [&] { return TQ_ROOT(bb, ib, 0, outb, 0); }},
        {"CONVERTDT to binary", [&] { return TQ_CONVERTDT(d, outb); }},
        {"CONVERTDT fraction", [&] { return TQ_CONVERTDT(f, out); }},
        {"PUTDOUBLE", [&] { return TQ_PUTDOUBLE(0.1, outb); }}, {"PUTEXT", [&] { return TQ_PUTEXT(1e300L, out); }},
        {"PUTLONG", [&] { return TQ_PUTLONG(-7, outf); }},      {"PUTDWORD", [&] { return TQ_PUTDWORD(7u, outi); }},
        {"PUTSTRING_FROMADD", [&] { return TQ_PUTSTRING_FROMADD("22/7", 4, outf); }},
        {"PUTSTRING_AZ", [&] { tq_az100 a{}; std::strcpy(a.text, "&hFF.8"); return TQ_PUTSTRING_AZ(a, outb); }},
        {"PUTSTRING_PDS", [&] { return TQ_PUTSTRING_PDS(&text3, outi); }},
        {"PUTSTRING_VB", [&] { return TQ_PUTSTRING_VB(&text3, outb); }},
        {"SETOPTION 2", [&] { return TQ_SETOPTION(2, 6000); }},
        {"GETSTRING_PDS", [&] { (void)TQ_GETSTRING_PDS(i); return TQ_GETGLOBALERROR(); }},
        // The exports that return a value report a failure in the error word.
        {"GETANY_DOUBLE", [&] { (void)TQ_GETANY_DOUBLE(db); return TQ_GETGLOBALERROR(); }},
        {"GETANY_EXT", [&] { (void)TQ_GETANY_EXT(f); return TQ_GETGLOBALERROR(); }},
        {"GETANY_LONG", [&] { (void)TQ_GETANY_LONG(bb); return TQ_GETGLOBALERROR(); }},
        {"GETANY_DS", [&] { if (tq_dstr r = TQ_GETANY_DS(d)) TQ_DS_FREE(r); return TQ_GETGLOBALERROR(); }},
        {"GETANY_S2ADD", [&] { (void)TQ_GETANY_S2ADD(i, buffer); return TQ_GETGLOBALERROR(); }},
        {"GETSTRING_DS", [&] { if (tq_dstr r = TQ_GETSTRING_DS(b)) TQ_DS_FREE(r); return TQ_GETGLOBALERROR(); }},
        {"GETSTRING_PAZ", [&] { (void)TQ_GETSTRING_PAZ(f); return TQ_GETGLOBALERROR(); }},
        {"GETSTRING_2ADD", [&] { (void)TQ_GETSTRING_2ADD(db, buffer); return TQ_GETGLOBALERROR(); }},
        {"GETSTRINGLENGTH", [&] { (void)TQ_GETSTRINGLENGTH(bb); return TQ_GETGLOBALERROR(); }},
        {"COMPARE", [&] { (void)TQ_COMPARE(d, db); return TQ_GETGLOBALERROR(); }},
        {"IS_LE fractions", [&] { (void)TQ_IS_LE(f, f); return TQ_GETGLOBALERROR(); }},
        {"ISINRANGE", [&] { (void)TQ_ISINRANGE(bb, 3); return TQ_GETGLOBALERROR(); }},
        {"GETOPTION", [&] { (void)TQ_GETOPTION(5); return TQ_GETGLOBALERROR(); }},
        {"SHA256_BUFFER", [&] { unsigned char dg[32]; return SHA256_BUFFER(buffer, 100, dg); }},
        // A variable made and given back: a failed allocation leaves no handle.
        {"ALLOCVAR", [&] { const int32_t h = TQ_ALLOCVAR(2); return h < 0 ? TQ_GETGLOBALERROR() : TQ_UNALLOCVAR(h); }},
    };
    // Back to a recorded state through the exports (variables directly).
    auto reset = [&](const State &s) {
        if (gTq_Opt_Pow10_Precision != s.table) TQ_SETOPTION(5, 8 * s.table);
        if (gTq_Prec_Bytes_Internal != s.bytes) TQ_SETPRECISION(3, s.bytes);
        for (size_t k = 0; k < handles.size(); ++k) {
            const int32_t inUse = gTq_Store[handles[k]].V.InUse;
            gTq_Store[handles[k]] = s.vars[k];
            gTq_Store[handles[k]].V.InUse = inUse;
        }
    };
    const State initial = now(handles);
    int32_t failures = 0;
    for (const auto &[name, call] : calls) {
        // The result of an undisturbed call, computed from the same state
        // (the second time, when the caches it fills are warm).
        const State before = now(handles);
        call();
        reset(before);
        TQ_GETGLOBALERROR();
        const int32_t good = call();
        const State goodState = now(handles);
        std::vector<std::string> goodText;
        for (int32_t h : handles) goodText.push_back(shown(h));
        reset(before);
        for (long n = 0; n < 4000; ++n) {
            const State start = now(handles);
            TQ_GETGLOBALERROR();
            sFired = false;
            sCountdown = n;
            const int32_t st = call();
            sCountdown = -1;
            tq_RequestCancel(false);
            if (!sFired) {  // the call made fewer than n + 1 allocations
                // The same answer as undisturbed; the last bits of a float may
                // differ with what the constant caches hold by now.
                EXPECT_EQ(st, good) << name;
                State end = now(handles);
                for (size_t k = 0; k < handles.size(); ++k) EXPECT_EQ(shown(handles[k]), goodText[k]) << name;
                end.vars = goodState.vars;
                EXPECT_EQ(goodState.diff(end), "") << name;
                break;
            }
            if (cancel && st == good) {  // no check came after the request
                for (size_t k = 0; k < handles.size(); ++k) EXPECT_EQ(shown(handles[k]), goodText[k]) << name;
                reset(before);
                continue;
            }
            ++failures;
            EXPECT_NE(st, 0) << name << ": failure at allocation " << n << " reported as success";
            EXPECT_EQ(start.diff(now(handles)), "") << name << ": changed by a failure at allocation " << n;
        }
        reset(before);
    }
    EXPECT_GT(failures, 100) << "the calls were hardly ever stopped";
    reset(initial);
    if (text) TQ_DS_FREE(text);
    TQ_DS_FREE(text3);
    for (int32_t h : handles) TQ_UNALLOCVAR(h);
    TQ_SETPRECISION(1, 38);
    TQ_GETGLOBALERROR();
}

TEST(AllocationFailure, EveryExportLeavesTheStateAsItWas) { everyExportLeavesTheStateAsItWas(false); }
TEST(Cancellation, EveryExportFailsLeavingTheStateAsItWasOrCompletes) { everyExportLeavesTheStateAsItWas(true); }
