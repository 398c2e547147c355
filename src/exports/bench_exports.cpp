// TQ_TEST (an empty entry point) and TQ_TEST2, the developers' benchmark of
// the threaded Karatsuba multiplication: it measures the threaded threshold,
// asks for a run time and an operand length, races the plain and the threaded
// Karatsuba multiplication on random operands, checks that both give the same
// product and leave their operands alone, and passes a report to the trace.
// Neither export takes the global lock.
#include "bench_exports.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "frame/dstr.h"
#include "base/platform.h"
#include "base/tq_state.h"
#include "kernels/addsub.h"
#include "kernels/calibrate.h"
#include "kernels/mul.h"
#include "kernels/mul_threaded.h"
#include "tarq.h"

namespace {

double secondsNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Between w and 2w words; each byte random with probability 0.8, else 0;
// trimmed; an empty operand becomes the one word 1.
TqStr randomOperand(std::mt19937 &rng, int32_t w) {
    std::uniform_int_distribution<int32_t> words(w, 2 * w);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    TqStr x(static_cast<size_t>(words(rng)) * 4, '\0');
    for (char &c : x)
        if (chance(rng) >= 0.2) c = static_cast<char>(rng() & 0xFF);
    if (x.empty()) return tq_Word(1);
    h_Trim(x);
    return x;
}

std::string hexText(const TqStr &m) {
    static const char *digits = "0123456789ABCDEF";
    std::string s;
    for (int32_t i = tq_NWords(m) - 1; i >= 0; --i) {
        const uint32_t w = tq_W(m)[i];
        for (int k = 7; k >= 0; --k) s += digits[(w >> (4 * k)) & 15];
    }
    return s;
}

// The numeric value at the start of a text (0 when it holds no number).
double numericValue(const std::string &text) { return std::strtod(text.c_str(), nullptr); }

}  // namespace

int32_t n_Test2_Race(double minutes, int32_t length, TqStr &lastB) {
    const int32_t w = (length > 0 ? length & ~3 : 0) / 4;
    std::mt19937 rng(static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    uint64_t tix4 = 0, tix5 = 0, sum4 = 0, sum5 = 0;
    int32_t errors = 0, loops = 0, wins4 = 0, wins5 = 0;
    const double start = secondsNow(), end = start + minutes * 60.0;
    double nextReport = start;
    do {
        ++loops;
        gTq_Debug_TotalThreadsCreated = 0;
        TqStr A = randomOperand(rng, w), B = randomOperand(rng, w);
        const TqStr keepA = A, keepB = B;
        TqStr r4, r5;
        int32_t trim = 1;
        uint64_t t0 = tq_TimeStampCounter();
        h_Mul_Karatsuba2Way(A, B, trim, r4);
        tix4 = tq_TimeStampCounter() - t0;
        sum4 += tix4;
        auto checkOperands = [&]() {
            if (A == keepA && B == keepB) return;
            n_Trace("Error!!!: Variable changed!!" + std::to_string(keepA.size()) + " " + std::to_string(A.size()) +
                    " " + std::to_string(keepB.size()) + " " + std::to_string(B.size()));
            tq_SleepMs(300);
            ++errors;
        };
        checkOperands();
        trim = 1;
        t0 = tq_TimeStampCounter();
        h_Mul_Karatsuba2Way_V5(A, B, trim, r5);
        tix5 = tq_TimeStampCounter() - t0;
        sum5 += tix5;
        checkOperands();
        if (tix4 < tix5)
            ++wins4;
        else
            ++wins5;
        tq_Yield();
        if (r4 != r5) {
            n_Trace("Error -!!!" + std::to_string(r4.size()) + " " + std::to_string(r5.size()));
            tq_SleepMs(300);
            ++errors;
            const std::string h4 = hexText(r4), h5 = hexText(r5);
            n_Trace("hr1 ==========================================================");
            n_Trace(h4);
            n_Trace("hr2 ==========================================================");
            n_Trace(h5);
            size_t p = 0;
            while (p < h4.size() && p < h5.size() && h4[p] == h5[p]) ++p;
            n_Trace(std::string(p + 1, ' ') + "*");
        }
        lastB = B;
        const double now = secondsNow();
        if (now >= nextReport) {
            n_Trace("Time left:" + std::to_string((end - now) / 60.0));
            nextReport = now + 20.0;
        }
    } while (secondsNow() <= end);
    const double pct4 = sum5 ? 100.0 * double(sum4) / double(sum5) : 0.0;
    const double pct5 = sum4 ? 100.0 * double(sum5) / double(sum4) : 0.0;
    n_Trace("gTq_Tix4 :" + std::to_string(tix4));
    n_Trace("gTq_Tix5 :" + std::to_string(tix5));
    n_Trace("gTq_Tix4Sum :" + std::to_string(sum4));
    n_Trace("gTq_Tix5Sum :" + std::to_string(sum5));
    n_Trace("Kara2   : gTq_Tix4Sum/gTq_Tix5Sum     : " + std::to_string(pct4) + " %");
    n_Trace("Kara2_V5: gTq_Tix5Sum/gTq_Tix4Sum     : " + std::to_string(pct5) + " %");
    n_Trace(">>>> Errors :" + std::to_string(errors));
    n_Trace("Loops done                  :" + std::to_string(loops));
    n_Trace("h_Mul_Karatsuba2Way    wins :" + std::to_string(wins4));
    n_Trace("h_Mul_Karatsuba2Way_V5 wins :" + std::to_string(wins5));
    n_Trace("gTq_Threshold_Mul_Karatsuba2Way   :" + std::to_string(gTq_Threshold_Mul_Karatsuba2Way));
    n_Trace("gTq_Threshold_Mul_Karatsuba3Way   :" + std::to_string(gTq_Threshold_Mul_Karatsuba3Way));
    n_Trace("gTq_Threshold_Mul_Karatsuba2Way_V5:" + std::to_string(gTq_Threshold_Mul_Karatsuba2Way_V5));
    n_Trace("gTq_Debug_TotalThreadsCreated in one function call! :" + std::to_string(gTq_Debug_TotalThreadsCreated));
    return errors;
}

extern "C" {

int32_t TQ_CALL TQ_TEST(int32_t) { return 0; }

// The plain Karatsuba entry needs its threshold: a library that has not been
// initialised yet is initialised first.
int32_t TQ_CALL TQ_TEST2(int32_t, tq_dstr *operand, int32_t) {
    try {
        if (!gTq_Initialised) tq_EnsureInit();
        int32_t loud = 0;
        gTq_Threshold_Mul_Karatsuba2Way_V5 = h_Calibrate_Mul_Karatsuba2Way_V5(loud);
        const double minutes = numericValue(tq_AskText("Time to run [min]:", "0.01", "TARQ_TEST2_MINUTES"));
        const double length = numericValue(tq_AskText("Variable length:", "5000", "TARQ_TEST2_LENGTH"));
        const int32_t bytes = length > 0 && length < 1e9 ? static_cast<int32_t>(length) : 0;
        TqStr lastB;
        n_Test2_Race(minutes > 0 ? minutes : 0.0, bytes, lastB);
        if (operand) tq_DS_Assign(operand, lastB);
    } catch (...) {
    }
    return 0;
}

}  // extern "C"
