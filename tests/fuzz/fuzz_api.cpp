// libFuzzer target over the C interface: the input is a program of calls.
// Each step's first byte picks an action (allocate a kind, put a text, an
// arithmetic or function export on chosen handles, a precision change, read
// a text back), the next bytes its operands; handles may be stale or foreign.
// Invariants beyond the sanitizers (signed overflow of an exponent is
// reported by UndefinedBehaviorSanitizer): every status is in the error word,
// |sin x| and |cos x| are at most 1, and every kind reads back its own text.
#include <cstdint>
#include <utility>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tarq.h"

namespace {

const char *const kTexts[] = {
    "0", "1", "-2.5", "3.14159265358979323846", "0.5", "22/7", "-7/3", "*+inf", "*-inf", "*NaN",
    "123456789012345678901234567890", "&hFFFFFFFF*h10", "1*d2000000000", "1*d-2000000000", "1*d-2147483648",
    "1*d600000000", "&h3C999801700E6A7F3229461.C58B5B80A2A3908", "-1*d21000+81000", "1*d40", "-1*d-40",
};

struct Program {
    const uint8_t *p;
    size_t n, i = 0;
    uint8_t next() { return i < n ? p[i++] : 0; }
};

void fail(const char *what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The status must be in the error word it was raised into.
void checkStatus(int32_t st) {
    const int32_t word = TQ_GETGLOBALERROR();
    if ((word & st) != st) fail("status not in the error word");
}

std::string text(int32_t h, int32_t format) {
    tq_dstr s = nullptr;
    if (TQ_GET_STRING(h, format, 0, &s) != 0 || !s) return std::string();
    std::string t(s, static_cast<size_t>(TQ_DS_LEN(s)));
    TQ_DS_FREE(s);
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Program prog{data, size};
    std::vector<int32_t> h;
    TQ_SETPRECISION(1, 38);
    for (int32_t k = 1; k <= 4; ++k) h.push_back(TQ_ALLOCVAR(k));
    auto pick = [&]() -> int32_t {
        const uint8_t b = prog.next();
        return b == 255 ? 99999 : h[b % h.size()];
    };
    for (int steps = 0; prog.i < prog.n && steps < 64; ++steps) {
        const uint8_t op = prog.next() % 8;
        int32_t st = 0;
        switch (op) {
            case 0:
                if (h.size() < 16) h.push_back(TQ_ALLOCVAR(1 + prog.next() % 5));
                break;
            case 1: {
                const char *t = kTexts[prog.next() % (sizeof kTexts / sizeof *kTexts)];
                st = TQ_PUTSTRING_PAZ(t, pick());
                break;
            }
            case 2: {
                const int32_t a = pick(), b = pick(), r = pick();
                switch (prog.next() % 6) {
                    case 0: st = TQ_ADD(a, b, r); break;
                    case 1: st = TQ_SUB(a, b, r); break;
                    case 2: st = TQ_MUL(a, b, r); break;
                    case 3: st = TQ_DIV(a, b, r); break;
                    case 4: st = TQ_POW(a, b, r); break;
                    default: st = TQ_CONVERTDT(a, r); break;
                }
                break;
            }
            case 3: {
                const int32_t a = pick(), r = pick();
                switch (prog.next() % 10) {
                    case 0: st = TQ_SQR(a, r); break;
                    case 1: st = TQ_SQRT(a, r); break;
                    case 2: st = TQ_EXP(a, r); break;
                    case 3: st = TQ_LOG(a, r); break;
                    case 4: st = TQ_RECIPROCAL(a, r); break;
                    case 5: st = TQ_MULBY2(a, r); break;
                    case 6: st = TQ_DIVBY2(a, r); break;
                    case 7: st = TQ_EXP2(a, r); break;
                    case 8: st = TQ_ATAN(a, r); break;
                    default: st = TQ_EXP10(a, r); break;
                }
                break;
            }
            case 4:
                TQ_SETPRECISION(1, 5 + prog.next());
                TQ_GETGLOBALERROR();
                break;
            case 5: {  // sine and cosine of moderate arguments stay within [-1, 1]
                const int32_t kind = 1 + prog.next() % 2;
                const int32_t x = TQ_ALLOCVAR(kind), r = TQ_ALLOCVAR(kind), one = TQ_ALLOCVAR(kind);
                TQ_GETCONST(14, one);
                const int32_t a = pick();
                if (TQ_CONVERTDT(a, x) == 0 && TQ_GETANY_DOUBLE(x) < 1e6 && TQ_GETANY_DOUBLE(x) > -1e6) {
                    for (int fn = 0; fn < 2; ++fn) {
                        if ((fn ? TQ_COS(x, r) : TQ_SIN(x, r)) == 0) {
                            TQ_ABS(r, r);
                            if (TQ_COMPARE(r, one) > 0) fail("|sin| or |cos| above 1");
                        }
                    }
                }
                for (int32_t v : {x, r, one}) TQ_UNALLOCVAR(v);
                TQ_GETGLOBALERROR();
                break;
            }
            default: {  // every kind reads back the text it prints in its own radix
                const int32_t a = pick();
                const int32_t layout = prog.next() & 1 ? 2 : 1;
                const int32_t exactFormat = 8 | (prog.next() & 1 ? 16 : 0);
                TQ_GETGLOBALERROR();
                if (a == 99999) break;
                for (int32_t kind : {1, 2, 3, 4}) {
                    // Floats print in their own radix (decimal floats in decimal, binary
                    // floats in hexadecimal), plain or scientific.
                    const int32_t format = kind == 1 ? layout | 8 : kind == 2 ? layout | 16 : exactFormat;
                    int32_t b = TQ_ALLOCVAR(kind), c = TQ_ALLOCVAR(kind);
                    bool ok = TQ_CONVERTDT(a, b) == 0;
                    if (ok && kind <= 2) {
                        // A float made at a higher precision than the one now in force
                        // cannot read back at this one: check the value as read at it.
                        const std::string t = text(b, format);
                        ok = !t.empty() && TQ_PUTSTRING_PAZ(t.c_str(), c) == 0;
                        std::swap(b, c);
                    }
                    if (ok) {
                        const std::string u = text(b, format);
                        // NaN is unordered, so it never compares equal to its copy.
                        if (!u.empty() && u.find("NaN") == std::string::npos &&
                            TQ_PUTSTRING_PAZ(u.c_str(), c) == 0 && TQ_COMPARE(b, c) != 0)
                            fail("a value does not read back its own text");
                    }
                    TQ_UNALLOCVAR(b);
                    TQ_UNALLOCVAR(c);
                }
                TQ_GETGLOBALERROR();
                break;
            }
        }
        if (st) checkStatus(st);
        else TQ_GETGLOBALERROR();
    }
    for (int32_t x : h) TQ_UNALLOCVAR(x);
    TQ_GETGLOBALERROR();
    return 0;
}
