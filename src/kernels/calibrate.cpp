// Measuring the multiplication and squaring thresholds on the running
// machine (n_Init_Constants, options 3 and 4) and the benchmarks behind them.
// The multiplication benchmarks use the processor's time-stamp counter, the
// squaring benchmarks the monotonic high-resolution clock; times compared in
// one benchmark always come from the same counter.
#include "calibrate.h"

#include <vector>

#include "base/platform.h"
#include "base/tq_state.h"
#include "kernels/mul.h"
#include "kernels/mul_threaded.h"

namespace {

typedef void (*MulKernel)(TqStr, TqStr, int32_t &, TqStr &);

TqStr ones(int32_t bytes) { return TqStr(static_cast<size_t>(bytes), '\xFF'); }

void say(int32_t quiet, const std::string &line) {
    if (!quiet) n_Trace(line);
}

// The benchmark shared by the two Karatsuba multiplications: ten operand
// pairs (L, L) and (L, 2L) for five sizes L from 800 to 10000 bytes, the
// schoolbook kernel as reference (average of 8 runs), then one run per
// candidate with the candidate in *global.
int32_t calibrateMul(int32_t quiet, const TqMulPick &pick, int32_t *global, MulKernel kernel, bool threaded) {
    const int32_t sizes = 5, from = 800, to = 10000;
    const int32_t step = ((to - from) / (sizes - 1)) & ~3;
    say(quiet, "j:" + std::to_string(step));
    std::vector<std::pair<TqStr, TqStr>> pairs;
    for (int32_t k = 0; k < sizes; ++k) {
        const int32_t len = from + k * step;
        pairs.push_back({ones(len), ones(len)});
        pairs.push_back({ones(len), ones(2 * len)});
    }
    for (size_t i = 0; i < pairs.size(); ++i)
        say(quiet, std::to_string(i) + " ->" + std::to_string(pairs[i].first.size()) + " *" +
                       std::to_string(pairs[i].second.size()));
    TqStr r;
    uint64_t total = 0;
    for (int rep = 0; rep < 8; ++rep) {
        const uint64_t t0 = tq_TimeStampCounter();
        for (const auto &p : pairs) {
            int32_t trim = 1;
            h_Mul_schoolbook(p.first, p.second, trim, r);
        }
        total += tq_TimeStampCounter() - t0;
        tq_Yield();
    }
    const uint64_t reference = total / 8;
    if (threaded) say(quiet, "here .....");
    auto timeOf = [&](int32_t candidate) {
        *global = candidate;
        const uint64_t t0 = tq_TimeStampCounter();
        for (const auto &p : pairs) {
            int32_t trim = 1;
            kernel(p.first, p.second, trim, r);
        }
        const uint64_t t = tq_TimeStampCounter() - t0;
        tq_Yield();
        return t;
    };
    auto report = [&](int32_t candidate, uint64_t t, bool best) {
        say(quiet, "Threshold:" + std::to_string(candidate) + " ;" + std::to_string(t) + " Karats. time," + " ;" +
                       std::to_string(reference) + " schoolb. time," + (best ? " best so far" : ""));
    };
    const int32_t result = tq_PickMulThreshold(pick, reference, timeOf, report);
    say(quiet, "--> Karatsuba threshold should be at least:" + std::to_string(result));
    return result;
}

void karatsubaPlain(TqStr A, TqStr B, int32_t &trim, TqStr &R) { h_Mul_Karatsuba2Way(std::move(A), std::move(B), trim, R); }
void karatsubaThreaded(TqStr A, TqStr B, int32_t &trim, TqStr &R) {
    h_Mul_Karatsuba2Way_V5(std::move(A), std::move(B), trim, R);
}

}  // namespace

int32_t tq_PickMulThreshold(const TqMulPick &p, uint64_t reference, const tq_TimeOf &timeOf,
                            const tq_MulReport &report) {
    uint64_t best = p.BestInit;
    int32_t result = p.Default, misses = 0;
    for (int32_t t = p.From; t <= p.To; t += p.Step) {
        const uint64_t time = timeOf(t);
        if (time < best && time < reference) {
            best = time;
            result = t;
            misses = 0;
            report(t, time, true);
        } else {
            report(t, time, false);
            if (time > best && ++misses >= p.Patience) break;
        }
    }
    return result;
}

int32_t tq_PickByWins(const TqWinsPick &p, const tq_TimePair &times, const tq_WinsReport &report) {
    int32_t wins = 0;
    for (int32_t t = p.From; t <= p.To; t += p.Step) {
        const auto [fresh, reference] = times(t);
        const bool won = fresh <= reference;
        if (won && ++wins > p.WinsAbove) {
            report(t, fresh, reference, true, true);
            return t;
        }
        report(t, fresh, reference, won, false);
    }
    return p.Default;
}

int32_t h_Calibrate_Mul_Karatsuba2Way(int32_t &quiet) {
    const TqMulPick pick{8, 1000, 24, 99999999999999ull, 10, 300};
    return calibrateMul(quiet, pick, &gTq_Threshold_Mul_Karatsuba2Way, karatsubaPlain, false);
}

int32_t h_Calibrate_Mul_Karatsuba2Way_V5(int32_t &quiet) {
    const TqMulPick pick{48, 1000, 32, 999999999999999ull, 10, 300};
    return calibrateMul(quiet, pick, &gTq_Threshold_Mul_Karatsuba2Way_V5, karatsubaThreaded, true);
}

int32_t h_Calibrate_Square_Comba(int32_t &quiet) {
    const TqWinsPick pick{4, 6000, 12, 5, 500};
    TqStr r;
    auto times = [&](int32_t n) {
        const TqStr x = ones(n);
        uint64_t t0 = tq_PerfCounter();
        for (int rep = 0; rep < 150; ++rep) {
            int32_t trim = 1;
            h_Square_Comba(x, trim, r);
        }
        const uint64_t comba = tq_PerfCounter() - t0;
        tq_Yield();
        t0 = tq_PerfCounter();
        for (int rep = 0; rep < 150; ++rep) {
            int32_t trim = 1;
            h_Mul_schoolbook(x, x, trim, r);
        }
        const uint64_t school = tq_PerfCounter() - t0;
        tq_Yield();
        return std::make_pair(comba, school);
    };
    auto report = [&](int32_t n, uint64_t comba, uint64_t school, bool won, bool) {
        say(quiet, "Threshold:" + std::to_string(n) + " -" + std::to_string(comba) + " Comba Time," + " -" +
                       std::to_string(school) + " schoolbook Time," + (won ? " -Comba" : " -Schoolbook"));
    };
    const int32_t result = tq_PickByWins(pick, times, report);
    say(quiet, "--> Comba threshold should be at least:" + std::to_string(result));
    return result;
}

int32_t h_Calibrate_Square_Karatsuba(int32_t &quiet) {
    if (gTq_Threshold_Square_Comba == 0) {
        int32_t q = 1;
        gTq_Threshold_Square_Comba = h_Calibrate_Square_Comba(q);
    }
    const int32_t count = 20, from = 40, to = 2000;
    const int32_t step = static_cast<int32_t>((to - from) / double(count - 1) + 0.5) & ~3;
    say(quiet, "j:" + std::to_string(step));
    std::vector<TqStr> operands;
    for (int32_t i = 0; i < count; ++i) {
        operands.push_back(ones(from + i * step));
        say(quiet, std::to_string(i) + " ->" + std::to_string(from + i * step));
    }
    TqStr r;
    uint64_t total = 0;
    for (int rep = 0; rep < 15; ++rep) {
        const uint64_t t0 = tq_PerfCounter();
        for (const TqStr &x : operands) {
            int32_t trim = 0;
            if (tq_Len(x) <= gTq_Threshold_Square_Comba)
                h_Mul_schoolbook(x, x, trim, r);
            else
                h_Square_Comba(x, trim, r);
        }
        total += tq_PerfCounter() - t0;
        tq_Yield();
    }
    const uint64_t reference = total / 15;
    const TqWinsPick pick{12, 2000, 24, 8, 500};
    auto times = [&](int32_t candidate) {
        gTq_Threshold_Square_Karatsuba = candidate;
        const uint64_t t0 = tq_PerfCounter();
        for (const TqStr &x : operands) {
            int32_t trim = 1;
            h_Square_Karatsuba(x, trim, r);
        }
        return std::make_pair(tq_PerfCounter() - t0, reference);
    };
    auto report = [&](int32_t candidate, uint64_t kara, uint64_t ref, bool won, bool decided) {
        if (!decided)
            say(quiet, "Threshold:" + std::to_string(candidate) + " -" + std::to_string(kara) + " Kara. time," + " -" +
                           std::to_string(ref) + " Comba time," + (won ? " Karatsuba" : " Comba"));
        tq_Yield();
    };
    const int32_t result = tq_PickByWins(pick, times, report);
    say(quiet, "--> Karatsuba threshold should be at least:" + std::to_string(result));
    return result;
}

// Measures every threshold that has no usable value: all three while the
// multiplication threshold is 0 (nothing read from a cache file), and a
// squaring threshold left 0 when only the multiplication threshold was set
// (option 3 before the initialisation) - a squaring threshold of 0 would make
// the squaring recursion split for ever.
bool tq_ThresholdSane(int32_t t) { return t >= 4 && t <= (1 << 24); }

void n_Init_Constants() {
    n_Trace("n_Init_Constants");
    int32_t loud = 0, quiet = 1;
    if (gTq_Threshold_Mul_Karatsuba2Way == 0) {
        n_Trace("Calculating the Karatsuba en Comba threshold values from scratch");
        gTq_Threshold_Mul_Karatsuba2Way = h_Calibrate_Mul_Karatsuba2Way(loud);
        gTq_Threshold_Square_Comba = h_Calibrate_Square_Comba(quiet);
        gTq_Threshold_Square_Karatsuba = h_Calibrate_Square_Karatsuba(quiet);
    }
    if (!tq_ThresholdSane(gTq_Threshold_Square_Comba)) gTq_Threshold_Square_Comba = h_Calibrate_Square_Comba(quiet);
    if (!tq_ThresholdSane(gTq_Threshold_Square_Karatsuba))
        gTq_Threshold_Square_Karatsuba = h_Calibrate_Square_Karatsuba(quiet);
    gTq_Threshold_Mul_Karatsuba3Way = gTq_Threshold_Mul_Karatsuba2Way;
    n_Trace("for test purposes only. Change above line!!!!!");
    n_Trace("gTq_Threshold_Mul_Karatsuba2Way:" + std::to_string(gTq_Threshold_Mul_Karatsuba2Way));
    n_Trace("gTq_Threshold_Mul_Karatsuba3Way:" + std::to_string(gTq_Threshold_Mul_Karatsuba3Way));
    n_Trace(std::to_string(gTq_Threshold_Mul_Karatsuba2Way));
    n_Trace(std::to_string(gTq_Threshold_Square_Comba));
    n_Trace(std::to_string(gTq_Threshold_Square_Karatsuba));
}

// A value below one word would make the Karatsuba recursion split for ever;
// such values are raised to 4.
void n_SetThreshold_Mul(int32_t value) {
    if (value == 0) {
        int32_t loud = 0;
        value = h_Calibrate_Mul_Karatsuba2Way(loud);
    }
    gTq_Threshold_Mul_Karatsuba2Way = value < 4 ? 4 : value;
}

void n_SetThreshold_Square(int32_t value) {
    int32_t quiet = 1;
    gTq_Threshold_Square_Comba = h_Calibrate_Square_Comba(quiet);
    if (value == 0) value = h_Calibrate_Square_Karatsuba(quiet);
    gTq_Threshold_Square_Karatsuba = value < 4 ? 4 : value;
}
