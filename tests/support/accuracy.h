// Random differential measure of the float operations and functions against
// MPFR: for one operation, kind and precision, operands drawn from a few
// families (fixed seeds), each result's error in units in the last place
// (ulp.h), gathered into cases, largest error and the shares within half a
// unit and one unit. The test (tests/accuracy) asserts a bound per row; the
// table program (bench/accuracy_table.cpp) prints the same rows with more
// cases.
#pragma once
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tq_oracle.h"
#include "ulp.h"

// Operand families.
//   U uniform over the operation's ordinary range
//   L log-uniform magnitudes over the operation's range (1e-300..1e300 where
//     the operation allows it), either sign where allowed
//   Z near the point where the operation is delicate: near zero, near 1 for
//     the logarithms, a cancelling pair for addition
//   I integers
//   D every digit place set: mantissas 99..9 and 10..01 (binary 11..1, 10..01)
//   P near multiples of pi/2
struct AccGen {
    gmp_randstate_t rs;
    mpfr_prec_t prec;
    explicit AccGen(unsigned long seed, mpfr_prec_t p) : prec(p) {
        gmp_randinit_mt(rs);
        gmp_randseed_ui(rs, seed);
    }
    ~AccGen() { gmp_randclear(rs); }
    AccGen(const AccGen &) = delete;
    AccGen &operator=(const AccGen &) = delete;

    double unit() { return static_cast<double>(gmp_urandomb_ui(rs, 30)) / 1073741824.0; }
    int sign() { return gmp_urandomb_ui(rs, 1) ? -1 : 1; }
    // x uniform in [lo, hi) at full precision.
    void uniform(mpfr_t x, double lo, double hi) {
        mpfr_urandomb(x, rs);
        mpfr_mul_d(x, x, hi - lo, MPFR_RNDN);
        mpfr_add_d(x, x, lo, MPFR_RNDN);
    }
    // |x| = 10^t, t uniform in [lo10, hi10); negative with probability 1/2 when signed.
    void logUniform(mpfr_t x, double lo10, double hi10, bool sign_) {
        mpfr_t t;
        mpfr_init2(t, prec);
        uniform(t, lo10, hi10);
        mpfr_exp10(x, t, MPFR_RNDN);
        mpfr_clear(t);
        if (sign_ && sign() < 0) mpfr_neg(x, x, MPFR_RNDN);
    }
    // A random integer in [-max, max] (or [1, max] when positive), spread
    // log-uniformly over its number of digits.
    void integer(mpfr_t x, double log10Max, bool positive) {
        mpfr_t t;
        mpfr_init2(t, prec);
        logUniform(t, 0, log10Max, false);
        mpfr_rint(x, t, MPFR_RNDN);
        mpfr_clear(t);
        if (mpfr_zero_p(x)) mpfr_set_ui(x, 1, MPFR_RNDN);
        if (!positive && sign() < 0) mpfr_neg(x, x, MPFR_RNDN);
    }
    // k pi/2 (1 + 10^-j r), k up to 10^log10K, j up to 40.
    void nearHalfPi(mpfr_t x, double log10K) {
        mpfr_t k, e;
        mpfr_inits2(prec, k, e, static_cast<mpfr_ptr>(nullptr));
        integer(k, log10K, false);
        mpfr_const_pi(x, MPFR_RNDN);
        mpfr_mul(x, x, k, MPFR_RNDN);
        mpfr_div_2ui(x, x, 1, MPFR_RNDN);
        uniform(e, -1, 1);
        mpfr_mul(e, e, x, MPFR_RNDN);
        mpfr_div_d(e, e, std::pow(10.0, 1 + std::floor(unit() * 40)), MPFR_RNDN);
        mpfr_add(x, x, e, MPFR_RNDN);
        mpfr_clears(k, e, static_cast<mpfr_ptr>(nullptr));
    }
    // A number whose every digit place is set (mantissa 99..9 / 10..01 of
    // the kind's full length) with the magnitude of v.
    void everyDigit(mpfr_t x, const mpfr_t v, int32_t kind) {
        const bool nines = gmp_urandomb_ui(rs, 1);
        if (kind == TarqBinFloat) {
            const long bits = TQ_GETPRECISION(2);
            mpfr_set_ui_2exp(x, 1, bits, MPFR_RNDN);
            if (nines) {
                mpfr_sub_ui(x, x, 1, MPFR_RNDN);
            } else {
                mpfr_div_2ui(x, x, 1, MPFR_RNDN);
                mpfr_add_ui(x, x, 1, MPFR_RNDN);
            }
            mpfr_mul_2si(x, x, mpfr_get_exp(v) - bits, MPFR_RNDN);
        } else {
            const int32_t D = TQ_GETPRECISION(1);
            std::string s(static_cast<size_t>(D), nines ? '9' : '0');
            s.front() = s.back() = nines ? '9' : '1';
            mpfr_exp_t e10 = 0;
            char *t = mpfr_get_str(nullptr, &e10, 10, 2, v, MPFR_RNDZ);
            mpfr_free_str(t);
            s = "0." + s + "e" + std::to_string(e10);
            mpfr_set_str(x, s.c_str(), 10, MPFR_RNDN);
        }
        if (mpfr_sgn(v) < 0) mpfr_neg(x, x, MPFR_RNDN);
    }
    // everyDigit at a magnitude 10^[lo10, hi10), either sign.
    void everyDigitNear(mpfr_t x, int32_t kind, double lo10, double hi10) {
        mpfr_t t;
        mpfr_init2(t, prec);
        logUniform(t, lo10, hi10, true);
        everyDigit(x, t, kind);
        mpfr_clear(t);
    }
};

// An operation under test: its export, its MPFR oracle, its bound in units,
// its operand families, and the operands each family draws.
struct AccOp {
    const char *name;
    int arity;  // 0: the computed constants 1..10; 1 or 2 operands
    int32_t(TQ_CALL *tq1)(int32_t, int32_t);
    int32_t(TQ_CALL *tq2)(int32_t, int32_t, int32_t);
    int (*mp1)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
    int (*mp2)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
    double bound;
    const char *families;
    // Draws operands a (and b) of family f; false skips the case.
    bool (*draw)(AccGen &g, char f, int32_t kind, mpfr_t a, mpfr_t b);
};

// The float of the kind nearest to x at the working precision.
inline TqNum acc_ToKind(const mpfr_t x, int32_t kind) {
    if (kind == TarqDecFloat) return oracle_DecFromMpfr(x, TQ_GETPRECISION(1));
    mpfr_t r;
    mpfr_init2(r, TQ_GETPRECISION(2));
    mpfr_set(r, x, MPFR_RNDN);
    TqNum v = mpfr_zero_p(r) ? tqg_Zero(TarqBinFloat) : tqg_BinFloatFromMpfr(r);
    mpfr_clear(r);
    return v;
}

// The value of a float operand for the oracle. A binary operand is exact; a
// decimal one with a negative exponent has no finite binary form, so it is
// carried to twice the oracle precision (enough for a sum that cancels all of
// its digits) beyond its whole magnitude (which a periodic function of a
// large argument needs), plus the bits of a large exponent.
inline void acc_Exact(mpfr_t x, const TqNum &v) {
    mpfr_set_prec(x, 2 * ulp_OraclePrec() + 64 + 8L * tq_Len(v.MantN) +
                         4L * std::abs(v.V.Expo) * (v.V.NumType == TarqBinFloat ? 2 : 1));
    tqg_ToMpfr(x, v);
}

// The computed constants 1..10 (4, ln 1.0625, only as a binary float).
inline void acc_Constant(int32_t code, mpfr_t x) {
    mpfr_t t;
    mpfr_init2(t, mpfr_get_prec(x) + 64);
    switch (code) {
        case 1: mpfr_const_log2(x, MPFR_RNDN); break;
        case 2: mpfr_set_ui(t, 10, MPFR_RNDN); mpfr_log(x, t, MPFR_RNDN); break;
        case 3: mpfr_const_log2(t, MPFR_RNDN); mpfr_mul_ui(x, t, 8, MPFR_RNDN); break;
        case 4: mpfr_set_d(t, 1.0625, MPFR_RNDN); mpfr_log(x, t, MPFR_RNDN); break;
        case 5: mpfr_const_log2(t, MPFR_RNDN); mpfr_ui_div(x, 1, t, MPFR_RNDN); break;
        case 6: mpfr_set_ui(t, 10, MPFR_RNDN); mpfr_log(t, t, MPFR_RNDN); mpfr_ui_div(x, 1, t, MPFR_RNDN); break;
        case 7: mpfr_sqrt_ui(x, 2, MPFR_RNDN); break;
        case 8: mpfr_const_pi(x, MPFR_RNDN); break;
        case 9: mpfr_const_pi(t, MPFR_RNDN); mpfr_mul_ui(x, t, 2, MPFR_RNDN); break;
        default: mpfr_const_pi(t, MPFR_RNDN); mpfr_div_2ui(x, t, 1, MPFR_RNDN); break;
    }
    mpfr_clear(t);
}

struct AccStats {
    int cases = 0, within05 = 0, within1 = 0, failed = 0, inPlaceDiffers = 0;
    double maxUnits = 0;
    std::string worst;  // the operands of the largest error
    void add(double units, const std::string &what) {
        ++cases;
        within05 += units <= 0.5;
        within1 += units <= 1.0;
        if (units > maxUnits || (cases == 1)) {
            maxUnits = units;
            worst = what;
        }
    }
};

inline std::string acc_Text(const mpfr_t x) {
    char *s = nullptr;
    mpfr_asprintf(&s, "%.25Rg", x);
    std::string r(s);
    mpfr_free_str(s);
    return r;
}

inline bool acc_SameBits(const TqNum &a, const TqNum &b) {
    return a.V.Sign == b.V.Sign && a.V.Expo == b.V.Expo && a.V.Special == b.V.Special && a.MantN == b.MantN;
}

// Runs `perFamily` cases of each family of op (kind, digits), seeded by the
// row, into st. The first case of each family also runs with the result
// written over the first operand, which must give the same bits.
inline void acc_Run(const AccOp &op, int32_t kind, int32_t digits, int perFamily, AccStats &st) {
    TQ_SETPRECISION(1, digits);
    const unsigned long seed = 1000003UL * static_cast<unsigned long>(digits) + 101UL * static_cast<unsigned long>(kind) +
                               static_cast<unsigned long>(std::strlen(op.name)) * 7919UL + static_cast<unsigned char>(op.name[0]);
    AccGen g(seed, ulp_OraclePrec() + 64);
    const int32_t ha = TQ_ALLOCVAR(kind), hb = TQ_ALLOCVAR(kind), hr = TQ_ALLOCVAR(kind);
    mpfr_t a, b, xa, xb, exact;
    mpfr_inits2(g.prec, a, b, xa, xb, static_cast<mpfr_ptr>(nullptr));
    mpfr_init2(exact, ulp_OraclePrec());
    if (op.arity == 0) {
        for (int32_t code = 1; code <= 10; ++code) {
            if (code == 4 && kind == TarqDecFloat) continue;
            const int32_t s = TQ_GETCONST(code, hr);
            acc_Constant(code, exact);
            st.add(s ? INFINITY : ulp_Error(tqg_Get(hr), exact), "constant " + std::to_string(code));
        }
    }
    for (const char *f = op.families; op.arity > 0 && *f; ++f) {
        for (int i = 0; i < perFamily; ++i) {
            if (!op.draw(g, *f, kind, a, b)) continue;
            const TqNum na = acc_ToKind(a, kind), nb = acc_ToKind(b, kind);
            tqg_Put(ha, na);
            tqg_Put(hb, nb);
            acc_Exact(xa, na);
            acc_Exact(xb, nb);
            int32_t s;
            if (op.arity == 1) {
                s = op.tq1(ha, hr);
                op.mp1(exact, xa, MPFR_RNDN);
            } else {
                s = op.tq2(ha, hb, hr);
                op.mp2(exact, xa, xb, MPFR_RNDN);
            }
            std::string what = std::string(1, *f) + " a=" + acc_Text(xa) + (op.arity == 2 ? " b=" + acc_Text(xb) : "");
            if (s != 0) ++st.failed;
            st.add(s ? INFINITY : ulp_Error(tqg_Get(hr), exact), what);
            if (i == 0 && s == 0) {
                if (op.arity == 1) op.tq1(ha, ha);
                else op.tq2(ha, hb, ha);
                if (!acc_SameBits(tqg_Get(ha), tqg_Get(hr))) ++st.inPlaceDiffers;
            }
        }
    }
    TQ_GETGLOBALERROR();
    mpfr_clears(a, b, xa, xb, exact, static_cast<mpfr_ptr>(nullptr));
    TQ_UNALLOCVAR(ha);
    TQ_UNALLOCVAR(hb);
    TQ_UNALLOCVAR(hr);
}

// ---- the operand families of each operation ----

// Two operands for addition and subtraction: a cancelling pair for Z, the
// second operand's magnitude within D + 10 digits of the first's for L.
inline bool acc_DrawAdd(AccGen &g, char f, int32_t kind, mpfr_t a, mpfr_t b) {
    const double D = TQ_GETPRECISION(1);
    switch (f) {
        case 'U': g.uniform(a, -1e3, 1e3); g.uniform(b, -1e3, 1e3); break;
        case 'L':
            g.logUniform(a, -300, 300, true);
            g.logUniform(b, -(D + 10), D + 10, true);
            mpfr_mul(b, b, a, MPFR_RNDN);
            break;
        case 'Z':
            g.logUniform(a, -300, 300, true);
            g.logUniform(b, -(D + 5), -1, true);
            mpfr_add_ui(b, b, 1, MPFR_RNDN);
            mpfr_mul(b, b, a, MPFR_RNDN);
            mpfr_neg(b, b, MPFR_RNDN);
            break;
        case 'I': g.integer(a, 30, false); g.integer(b, 30, false); break;
        default: g.everyDigitNear(a, kind, -30, 30); g.everyDigitNear(b, kind, -30, 30); break;
    }
    return true;
}

// Two operands for multiplication and division.
inline bool acc_DrawMul(AccGen &g, char f, int32_t kind, mpfr_t a, mpfr_t b) {
    switch (f) {
        case 'U': g.uniform(a, -1e3, 1e3); g.uniform(b, -1e3, 1e3); break;
        case 'L': g.logUniform(a, -300, 300, true); g.logUniform(b, -300, 300, true); break;
        case 'Z':  // b next to 1
            g.logUniform(a, -30, 30, true);
            g.logUniform(b, -(TQ_GETPRECISION(1) + 5.0), -1, true);
            mpfr_add_ui(b, b, 1, MPFR_RNDN);
            break;
        case 'I': g.integer(a, 30, false); g.integer(b, 15, false); break;
        default: g.everyDigitNear(a, kind, -30, 30); g.everyDigitNear(b, kind, -30, 30); break;
    }
    return !mpfr_zero_p(b);
}

// One operand: U over [lo, hi), L over 10^[lo10, hi10) (signed unless
// positive), Z near `centre` (0 or 1), I integers up to 10^intMax10.
struct AccRange {
    double lo, hi, lo10, hi10;
    bool positive;
    int centre;
    double intMax10;
};

inline bool acc_DrawUnary(AccGen &g, char f, int32_t kind, mpfr_t a, const AccRange &r) {
    switch (f) {
        case 'U': g.uniform(a, r.lo, r.hi); break;
        case 'L': g.logUniform(a, r.lo10, r.hi10, !r.positive); break;
        case 'Z':
            g.logUniform(a, -(TQ_GETPRECISION(1) + 300.0 * g.unit()), -1, !r.positive || r.centre == 1);
            if (r.centre == 1) mpfr_add_ui(a, a, 1, MPFR_RNDN);
            break;
        case 'I': g.integer(a, r.intMax10, r.positive); break;
        case 'P': g.nearHalfPi(a, 6); break;
        default: {
            mpfr_t t;
            mpfr_init2(t, g.prec);
            g.uniform(t, r.lo, r.hi);
            g.everyDigit(a, t, kind);
            mpfr_clear(t);
        }
    }
    if (r.positive) mpfr_abs(a, a, MPFR_RNDN);
    return !(r.positive && mpfr_zero_p(a)) && (r.lo >= -1 && r.hi <= 1 ? mpfr_cmpabs_ui(a, 1) <= 0 : true);
}

template <const AccRange &R> bool acc_Draw1(AccGen &g, char f, int32_t kind, mpfr_t a, mpfr_t b) {
    mpfr_set_ui(b, 0, MPFR_RNDN);
    return acc_DrawUnary(g, f, kind, a, R);
}

// x^y: bases and exponents chosen so the power stays within 1e-1000..1e1000.
inline bool acc_DrawPow(AccGen &g, char f, int32_t kind, mpfr_t a, mpfr_t b) {
    switch (f) {
        case 'U': g.uniform(a, 0, 10); g.uniform(b, -50, 50); break;
        case 'L': g.logUniform(a, -300, 300, false); g.uniform(b, -3, 3); break;
        case 'Z': {
            const double k = 1 + g.unit() * TQ_GETPRECISION(1);
            g.logUniform(a, -k, -k + 1, true);
            mpfr_add_ui(a, a, 1, MPFR_RNDN);
            g.integer(b, std::min(k, 12.0), false);
            break;
        }
        case 'I': g.integer(a, 3, true); g.integer(b, 2, false); break;
        default: {
            mpfr_t t;
            mpfr_init2(t, g.prec);
            g.uniform(t, 0, 10);
            g.everyDigit(a, t, kind);
            g.uniform(t, -30, 30);
            g.everyDigit(b, t, kind);
            mpfr_clear(t);
        }
    }
    return !mpfr_zero_p(a);
}

inline constexpr AccRange kAccSqrt{0, 1e3, -300, 300, true, 1, 30};
inline constexpr AccRange kAccExp{-50, 50, -300, 7, false, 0, 7};
inline constexpr AccRange kAccLog{0, 1e3, -300, 300, true, 1, 30};
inline constexpr AccRange kAccTrig{-10, 10, -300, 300, false, 0, 15};
inline constexpr AccRange kAccAsin{-1, 1, -300, 0, false, 0, 0};

// Every measured operation, in the order of the table.
inline const std::vector<AccOp> &acc_Ops() {
    static const std::vector<AccOp> ops = {
        {"ADD", 2, nullptr, TQ_ADD, nullptr, mpfr_add, 0.5, "ULZID", acc_DrawAdd},
        {"SUB", 2, nullptr, TQ_SUB, nullptr, mpfr_sub, 0.5, "ULZID", acc_DrawAdd},
        {"MUL", 2, nullptr, TQ_MUL, nullptr, mpfr_mul, 0.5, "ULZID", acc_DrawMul},
        {"DIV", 2, nullptr, TQ_DIV, nullptr, mpfr_div, 0.5, "ULZID", acc_DrawMul},
        {"SQRT", 1, TQ_SQRT, nullptr, mpfr_sqrt, nullptr, 0.5, "ULZID", acc_Draw1<kAccSqrt>},
        {"EXP", 1, TQ_EXP, nullptr, mpfr_exp, nullptr, 1, "ULZID", acc_Draw1<kAccExp>},
        {"EXP2", 1, TQ_EXP2, nullptr, mpfr_exp2, nullptr, 1, "ULZID", acc_Draw1<kAccExp>},
        {"EXP10", 1, TQ_EXP10, nullptr, mpfr_exp10, nullptr, 1, "ULZID", acc_Draw1<kAccExp>},
        {"LOG", 1, TQ_LOG, nullptr, mpfr_log, nullptr, 1, "ULZID", acc_Draw1<kAccLog>},
        {"LOG2", 1, TQ_LOG2, nullptr, mpfr_log2, nullptr, 1, "ULZID", acc_Draw1<kAccLog>},
        {"LOG10", 1, TQ_LOG10, nullptr, mpfr_log10, nullptr, 1, "ULZID", acc_Draw1<kAccLog>},
        {"POW", 2, nullptr, TQ_POW, nullptr, mpfr_pow, 1, "ULZID", acc_DrawPow},
        {"CONST", 0, nullptr, nullptr, nullptr, nullptr, 1, "", nullptr},
        {"SIN", 1, TQ_SIN, nullptr, mpfr_sin, nullptr, 1, "ULZIPD", acc_Draw1<kAccTrig>},
        {"COS", 1, TQ_COS, nullptr, mpfr_cos, nullptr, 1, "ULZIPD", acc_Draw1<kAccTrig>},
        {"TAN", 1, TQ_TAN, nullptr, mpfr_tan, nullptr, 1, "ULZIPD", acc_Draw1<kAccTrig>},
        {"ATAN", 1, TQ_ATAN, nullptr, mpfr_atan, nullptr, 1, "ULZID", acc_Draw1<kAccTrig>},
        {"ASIN", 1, TQ_ASIN, nullptr, mpfr_asin, nullptr, 1, "UZD", acc_Draw1<kAccAsin>},
    };
    return ops;
}

inline const AccOp &acc_Op(const std::string &name) {
    for (const AccOp &op : acc_Ops())
        if (name == op.name) return op;
    return acc_Ops().front();
}
