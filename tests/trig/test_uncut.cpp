// The functions that hand back their result before the cut (the decimal
// functions round that result once, to decimal): within 2^-(8P + 4) of the
// exact value, a sixteenth of a unit in the last place, against MPFR at
// several precisions, on arguments of every size and next to the places
// where each function is delicate. A result cut to P bytes is off by up to
// half a unit and fails here.
#include <gtest/gtest.h>

#include <random>

#include "explog/explog.h"
#include "funcs_oracle.h"
#include "trig/trig.h"

namespace {

struct Row {
    const char *name;
    int32_t (*f)(TqNum, TqNum &);
    int (*oracle)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
    double lo, hi;  // log2 |x| of the random arguments
    int32_t sign;   // -1: either sign
    double near;    // an argument where the function is delicate
};

const Row kRows[] = {
    {"sin", n_Sin_Uncut, mpfr_sin, -40, 30, -1, 3.14159265358979},
    {"cos", n_Cos_Uncut, mpfr_cos, -40, 30, -1, 1.5707963267949},
    {"tan", n_Tan_Uncut, mpfr_tan, -40, 30, -1, 1.5707963267949},
    {"atan", n_Atan_Uncut, mpfr_atan, -40, 40, -1, 1.0},
    {"asin", n_Asin_Uncut, mpfr_asin, -40, -0.01, -1, 0.999999999999},
    {"ln", n_Log_Uncut, mpfr_log, -300, 300, 1, 1.0000000000001},
    {"log2", n_Log2_Uncut, mpfr_log2, -300, 300, 1, 0.99999999999},
    {"log10", n_Log10_Uncut, mpfr_log10, -300, 300, 1, 1.0000001},
    {"exp", n_Exp_Uncut, mpfr_exp, -40, 9, -1, 0.5},
};

}  // namespace

TEST(Uncut, WithinASixteenthOfAUnit) {
    std::mt19937_64 rng(15);
    for (int32_t digits : {20, 38, 100, 1000, 2000}) {
        fo_SetDigits(digits);
        for (const Row &row : kRows) {
            for (int i = 0; i < 8; ++i) {
                const double l = row.lo + (row.hi - row.lo) * static_cast<double>(rng() % 1000) / 1000.0;
                const int32_t sign = row.sign > 0 || rng() % 2 ? 1 : -1;
                fo_CheckUnary(row.f, row.oracle, fo_Random(rng, TarqBinFloat, l, sign), 1.0 / 16,
                              std::string(row.name) + " at " + std::to_string(digits));
            }
            FoMpfr x(64);
            mpfr_set_d(x, row.near, MPFR_RNDN);
            fo_CheckUnary(row.f, row.oracle, fo_FromMpfr(x, TarqBinFloat), 1.0 / 16,
                          std::string(row.name) + " near its delicate place at " + std::to_string(digits));
        }
    }
    fo_SetDigits(38);
}
