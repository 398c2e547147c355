// The float speed table in one run: every row times TARQ's export and MPFR's
// function alternately on the same value (MPFR at the same number of bits,
// 8 x the working precision in bytes; thread CPU time, so other processes on
// a busy machine do not bias the ratio), checks TARQ's result against an MPFR
// oracle (counter err_ulp, the error in units in the last place; a result
// more than kCheckUnits units of the cut off fails the row), and at the end prints the
// table of ratios TARQ / MPFR with the target of each row.
//
//   Arith/<op>/<kind>/<digits>   TQ_ADD, TQ_SUB, TQ_MUL, TQ_DIV (the table
//                                shows 38 digits; 1,000 and 10,000 for scale)
//   Func/<fn>/<kind>/<digits>    TQ_SQRT, TQ_EXP, TQ_LOG, TQ_SIN, TQ_COS, TQ_ATAN
//   First/<const>/<kind>/<digits> pi, e (TQ_EXP of 1) and ln 2 with every
//                                cached constant dropped first, in both libraries
//   DecBin/<fn>/<digits>         the decimal function and the binary one
//                                alternately on the same value: the table's
//                                decimal / binary cells
//   ColdStart/NoCache|WithCache  the first export of a fresh process (this
//                                program re-run as a child), without cache
//                                files and with both present and option 9 set
//                                before the first call
//
// The table also gives each decimal function's time over the binary one at
// the same precision (target 1.3), from the DecBin rows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "accuracy.h"
#include "bench_ratio.h"
#include "funcs/const_cache.h"
#include "frame/store.h"

namespace {

// The check's bound, in units of the last place that the cut to the working
// precision keeps (whole words for binary floats).
constexpr double kCheckUnits = 2.0;

const char *kindName(int32_t kind) { return kind == TarqDecFloat ? "dec" : "bin"; }

// A variable holding base + 1/7000 as TARQ computes it, so that it has every
// digit of the working precision and the length of the library's own results.
int32_t fullValue(double base, int32_t kind) {
    const int32_t h = TQ_ALLOCVAR(kind), t = TQ_ALLOCVAR(kind);
    TQ_PUTLONG(1, h);
    TQ_PUTLONG(7000, t);
    TQ_DIV(h, t, h);
    TQ_PUTDOUBLE(base, t);
    TQ_ADD(h, t, h);
    TQ_UNALLOCVAR(t);
    return h;
}

// TARQ variables and MPFR values of up to two operands and the result.
struct Bench {
    int32_t kind, h[2] = {-1, -1}, out;
    mpfr_t m[2], r;
    std::vector<TqNum> args;
    Bench(int32_t kind_, int32_t digits, std::vector<double> bases) : kind(kind_) {
        tq_BenchInit();
        TQ_SETPRECISION(1, digits);
        out = TQ_ALLOCVAR(kind);
        mpfr_init2(r, TQ_GETPRECISION(2));
        for (size_t i = 0; i < 2; ++i) {
            mpfr_init2(m[i], TQ_GETPRECISION(2));
            if (i >= bases.size()) continue;
            h[i] = fullValue(bases[i], kind);
            args.push_back(tqg_Get(h[i]));
            tqg_ToMpfr(m[i], args.back());
        }
    }
    ~Bench() {
        for (int32_t hi : h)
            if (hi >= 0) TQ_UNALLOCVAR(hi);
        TQ_UNALLOCVAR(out);
        mpfr_clears(m[0], m[1], r, static_cast<mpfr_ptr>(nullptr));
    }
    // Compares TARQ's last result with the oracle `exact` (given the exact
    // operands at a high precision), reports err_ulp and fails the row when
    // the error is too large or an error bit was raised.
    template <class Oracle> void check(benchmark::State &state, Oracle exact) {
        mpfr_t x[2], y;
        for (size_t i = 0; i < 2; ++i) {
            mpfr_init2(x[i], 64);
            if (i < args.size()) acc_Exact(x[i], args[i]);
        }
        mpfr_init2(y, ulp_OraclePrec());
        exact(y, x[0], x[1]);
        state.counters["err_ulp"] = ulp_Error(tqg_Get(out), y);
        const double err = tqg_Get(out).V.Special ? INFINITY : ulp_Error(tqg_Get(out), y);
        if (TQ_GETGLOBALERROR() != 0)
            state.SkipWithError("TARQ raised an error");
        else if (!(err <= kCheckUnits))
            state.SkipWithError("TARQ's result differs from MPFR's");
        mpfr_clears(x[0], x[1], y, static_cast<mpfr_ptr>(nullptr));
    }
};

typedef int32_t(TQ_CALL *Tq2)(int32_t, int32_t, int32_t);
typedef int32_t(TQ_CALL *Tq1)(int32_t, int32_t);
typedef int (*Mp2)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
typedef int (*Mp1)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

void BM_Arith(benchmark::State &state, Tq2 tq, Mp2 mp, int32_t kind) {
    Bench b(kind, static_cast<int32_t>(state.range(0)), {1.2345, 0.8765});
    tq_BenchPair(
        state, [&] { tq(b.h[0], b.h[1], b.out); }, [&] { mp(b.r, b.m[0], b.m[1], MPFR_RNDN); });
    b.check(state, [&](mpfr_t y, mpfr_t x0, mpfr_t x1) { mp(y, x0, x1, MPFR_RNDN); });
}

void BM_Func(benchmark::State &state, Tq1 tq, Mp1 mp, int32_t kind, double base) {
    Bench b(kind, static_cast<int32_t>(state.range(0)), {base});
    tq(b.h[0], b.out);  // constants the function uses are computed outside the timing
    mp(b.r, b.m[0], MPFR_RNDN);
    tq_BenchPair(
        state, [&] { tq(b.h[0], b.out); }, [&] { mp(b.r, b.m[0], MPFR_RNDN); });
    b.check(state, [&](mpfr_t y, mpfr_t x0, mpfr_t) { mp(y, x0, MPFR_RNDN); });
}

// The decimal function against the binary one at the same precision, timed
// alternately on the same value in one row (as the MPFR rows are), so that the
// machine's state drifting between rows does not enter the ratio. The
// "gmp_ns" counter of these rows is the binary call's time.
void BM_DecBin(benchmark::State &state, Tq1 tq, Mp1 mp, double base) {
    const int32_t digits = static_cast<int32_t>(state.range(0));
    Bench d(TarqDecFloat, digits, {base}), b(TarqBinFloat, digits, {base});
    tq(d.h[0], d.out);
    tq(b.h[0], b.out);
    tq_BenchPair(
        state, [&] { tq(d.h[0], d.out); }, [&] { tq(b.h[0], b.out); });
    for (Bench *x : {&d, &b}) x->check(state, [&](mpfr_t y, mpfr_t x0, mpfr_t) { mp(y, x0, MPFR_RNDN); });
}

// A constant on its first call: every cached constant dropped first.
enum Const { kPi, kE, kLn2 };
void BM_First(benchmark::State &state, Const c, int32_t kind) {
    Bench b(kind, static_cast<int32_t>(state.range(0)), {});
    const int32_t one = TQ_ALLOCVAR(kind);
    TQ_PUTLONG(1, one);
    mpfr_set_ui(b.m[0], 1, MPFR_RNDN);
    auto tarq = [&] {
        tq_ConstCache_Clear();
        if (c == kPi)
            TQ_GETCONST(8, b.out);
        else if (c == kLn2)
            TQ_GETCONST(1, b.out);
        else
            TQ_EXP(one, b.out);
    };
    auto mpfr = [&] {
        mpfr_free_cache();
        if (c == kPi)
            mpfr_const_pi(b.r, MPFR_RNDN);
        else if (c == kLn2)
            mpfr_const_log2(b.r, MPFR_RNDN);
        else
            mpfr_exp(b.r, b.m[0], MPFR_RNDN);
    };
    tq_BenchPair(state, tarq, mpfr);
    TQ_UNALLOCVAR(one);
    b.check(state, [&](mpfr_t y, mpfr_t, mpfr_t) {
        if (c == kPi)
            mpfr_const_pi(y, MPFR_RNDN);
        else if (c == kLn2)
            mpfr_const_log2(y, MPFR_RNDN);
        else
            mpfr_exp(y, b.m[0], MPFR_RNDN);
    });
}

// ---- start-up in a fresh process ----

using Clock = std::chrono::steady_clock;
std::string gSelf, gCacheDir;

double cpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Child: option 9 with the cache directory when one is given, then the first
// export; prints the wall and CPU seconds of those calls.
int coldChild(const char *dir) {
    const double c0 = cpuSeconds();
    const auto t0 = Clock::now();
    if (dir && *dir) {
        const int32_t h = TQ_ALLOCVAR(TarqText);
        {
            TqLockGuard g;
            gTq_Store[h].MantN = dir;
        }
        TQ_SETOPTION(9, h);
        TQ_UNALLOCVAR(h);
    }
    const int32_t digits = TQ_GETPRECISION(1);
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    std::printf("%.9f %.9f %d\n", wall, cpuSeconds() - c0, digits);
    return 0;
}

double runChild(const std::string &dir, double &cpu) {
    const std::string cmd = "'" + gSelf + "' --cold-child '" + dir + "'";
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    double wall = -1;
    int digits = 0;
    if (std::fscanf(p, "%lf %lf %d", &wall, &cpu, &digits) != 3 || digits <= 0) wall = -1;
    pclose(p);
    return wall;
}

void BM_ColdStart(benchmark::State &state, bool withCache) {
    double cpu = 0, cpuSum = 0;
    if (withCache) runChild(gCacheDir, cpu);  // a cold child with caching writes both files
    int64_t n = 0;
    for (auto _ : state) {
        const double wall = runChild(withCache ? gCacheDir : "", cpu);
        if (wall < 0) {
            state.SkipWithError("child failed");
            break;
        }
        state.SetIterationTime(wall);
        cpuSum += cpu;
        ++n;
    }
    if (n) state.counters["cpu_ms"] = 1000.0 * cpuSum / static_cast<double>(n);
}

// ---- registration ----

const int32_t kKinds[] = {TarqDecFloat, TarqBinFloat};

void registerAll() {
    const struct {
        const char *name;
        Tq2 tq;
        Mp2 mp;
    } arith[] = {{"add", TQ_ADD, mpfr_add}, {"sub", TQ_SUB, mpfr_sub}, {"mul", TQ_MUL, mpfr_mul}, {"div", TQ_DIV, mpfr_div}};
    const struct {
        const char *name;
        Tq1 tq;
        Mp1 mp;
        double base;
    } funcs[] = {{"sqrt", TQ_SQRT, mpfr_sqrt, 2.0}, {"exp", TQ_EXP, mpfr_exp, 0.7390851332151607},
                 {"log", TQ_LOG, mpfr_log, 1.7390851332151607}, {"sin", TQ_SIN, mpfr_sin, 0.7390851332151607},
                 {"cos", TQ_COS, mpfr_cos, 0.7390851332151607}, {"atan", TQ_ATAN, mpfr_atan, 0.5773502691896257}};
    for (const auto &a : arith)
        for (int32_t k : kKinds)
            benchmark::RegisterBenchmark((std::string("Arith/") + a.name + "/" + kindName(k)).c_str(), BM_Arith, a.tq, a.mp, k)
                ->Arg(38)
                ->Arg(1000)
                ->Arg(10000)
                ->Unit(benchmark::kMicrosecond);
    for (const auto &f : funcs)
        for (int32_t k : kKinds)
            benchmark::RegisterBenchmark((std::string("Func/") + f.name + "/" + kindName(k)).c_str(), BM_Func, f.tq, f.mp, k, f.base)
                ->Arg(38)
                ->Arg(1000)
                ->Arg(10000)
                ->Unit(benchmark::kMicrosecond);
    for (const auto &f : funcs)
        benchmark::RegisterBenchmark((std::string("DecBin/") + f.name).c_str(), BM_DecBin, f.tq, f.mp, f.base)
            ->Arg(38)
            ->Arg(1000)
            ->Arg(10000)
            ->Unit(benchmark::kMicrosecond);
    const char *cnames[] = {"pi", "e", "ln2"};
    for (Const c : {kPi, kE, kLn2})
        for (int32_t k : kKinds)
            benchmark::RegisterBenchmark((std::string("First/") + cnames[c] + "/" + kindName(k)).c_str(), BM_First, c, k)
                ->Arg(10000)
                ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ColdStart/NoCache", BM_ColdStart, false)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("ColdStart/WithCache", BM_ColdStart, true)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
}

// ---- the table ----

struct Row {
    double tarq_ns = 0, mpfr_ns = 0, ratio = 0, err = 0, ms = 0;
    bool ok = false;
};

// The console reporter that also keeps every row for the table.
class TableReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, Row> rows;
    void ReportRuns(const std::vector<Run> &reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run &r : reports) {
            Row row;
            row.ok = !r.error_occurred;
            auto get = [&](const char *k) {
                auto it = r.counters.find(k);
                return it == r.counters.end() ? 0.0 : static_cast<double>(it->second);
            };
            row.tarq_ns = get("tarq_ns");
            row.mpfr_ns = get("gmp_ns");
            row.ratio = get("ratio");
            row.err = get("err_ulp");
            row.ms = r.GetAdjustedRealTime();  // in the row's unit (ms for start-up)
            rows[r.benchmark_name()] = row;
        }
    }
};

void printTable(const std::map<std::string, Row> &rows) {
    auto find = [&](const std::string &k) -> const Row * {
        auto it = rows.find(k);
        return it == rows.end() ? nullptr : &it->second;
    };
    auto line = [](const std::string &work, const Row *r, double target) {
        if (!r) return;
        if (!r->ok) {
            std::printf("| %-24s | %12s | %12s | %7s | %6.1f | FAILED |\n", work.c_str(), "-", "-", "-", target);
            return;
        }
        std::printf("| %-24s | %12.0f | %12.0f | %7.2f | %6.1f | %-6s |\n", work.c_str(), r->tarq_ns, r->mpfr_ns,
                    r->ratio, target, r->ratio <= target ? "met" : "missed");
    };
    std::printf("\n| work (kind, digits)      |   TARQ ns    |   MPFR ns    | ratio   | target | status |\n");
    std::printf("|--------------------------|--------------|--------------|---------|--------|--------|\n");
    for (const char *op : {"add", "sub", "mul", "div"})
        for (int32_t k : kKinds)
            line(std::string(op) + " " + kindName(k) + " 38", find(std::string("Arith/") + op + "/" + kindName(k) + "/38"), 2);
    for (const char *d : {"38", "1000", "10000"})
        for (const char *f : {"sqrt", "exp", "log", "sin", "cos", "atan"})
            for (int32_t k : kKinds)
                line(std::string(f) + " " + kindName(k) + " " + d,
                     find(std::string("Func/") + f + "/" + kindName(k) + "/" + d), 2);
    for (const char *c : {"pi", "e", "ln2"})
        for (int32_t k : kKinds)
            line(std::string(c) + " first " + kindName(k) + " 10000",
                 find(std::string("First/") + c + "/" + kindName(k) + "/10000"), 1);
    std::printf("\n| decimal / binary (TARQ) | 38    | 1000  | 10000 | target |\n");
    std::printf("|-------------------------|-------|-------|-------|--------|\n");
    for (const char *f : {"sqrt", "exp", "log", "sin", "cos", "atan"}) {
        std::printf("| %-23s |", f);
        for (const char *d : {"38", "1000", "10000"}) {
            const Row *r = find(std::string("DecBin/") + f + "/" + d);
            if (r && r->ok)
                std::printf(" %5.2f |", r->ratio);
            else
                std::printf(" %5s |", "-");
        }
        std::printf("  1.3   |\n");
    }
    std::printf("\n| start-up                | wall ms | target ms |\n");
    std::printf("|-------------------------|---------|-----------|\n");
    for (const auto &[name, target] : {std::pair<const char *, double>{"NoCache", 100}, {"WithCache", 5}}) {
        auto it = rows.lower_bound(std::string("ColdStart/") + name + "/");
        const Row *r = it != rows.end() && it->first.rfind(std::string("ColdStart/") + name + "/", 0) == 0 ? &it->second : nullptr;
        if (r && r->ok)
            std::printf("| %-23s | %7.1f | %9.0f |\n", name, r->ms, target);
    }
}

}  // namespace

int main(int argc, char **argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--cold-child") == 0) return coldChild(argv[2]);
    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    gSelf = len > 0 ? std::string(self, static_cast<size_t>(len)) : argv[0];
    char tmpl[] = "/tmp/tarq_bench_cache_XXXXXX";
    gCacheDir = mkdtemp(tmpl) ? tmpl : "/tmp";
    registerAll();
    benchmark::Initialize(&argc, argv);
    TableReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    benchmark::Shutdown();
    printTable(rep.rows);
    std::remove((gCacheDir + "/~$TARQ_A.txt").c_str());
    std::remove((gCacheDir + "/~$TARQ_B.txt").c_str());
    rmdir(gCacheDir.c_str());
    return 0;
}
