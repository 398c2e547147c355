// The powers-of-ten table, its lookup with the last-result cache, the start-up
// step that brings the table to gTq_Opt_Pow10_Precision (from the tables file
// when possible).
//
// Entries 0..3 are exact one-word values; entry i >= 4 is the square of entry
// i - 1 with low zero words moved into the exponent and cut (truncated) to its
// most significant table-precision bytes. A lookup multiplies the entries of
// the set bits of n, cutting every partial product the same way, so all values
// are at most the true power and within the table precision.
//
// Entries are built in order and on demand: a lookup builds the entries up to
// its highest bit. Growing the table keeps the entries that were never cut
// (they are exact at any precision) and forgets the others, so a precision
// change costs nothing here; the squarings of long entries (10^(2^31) at a
// million digits is nine squarings of 3 MB) are paid only by the lookups of
// huge exponents that need them.
#include "pow10.h"

#include <algorithm>
#include <vector>

#include "base/tq_state.h"
#include "kernels/cut_pow10.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"

namespace {

// The tables file, read and written by the frame (installed at load).
int32_t (*sDiskRead)() = nullptr;
void (*sDiskSave)() = nullptr;

int32_t diskRead() { return sDiskRead ? sDiskRead() : 1; }
void diskSave() {
    if (sDiskSave) sDiskSave();
}

// Process-wide and never destroyed: the unload step may still save the table.
struct Pow10State {
    TqPow10Entry Table[tq_Pow10_Entries];
    int32_t Precision = 0;  // bytes; 0 while the table is empty
    int32_t Built = 0;      // entries 0..Built-1 hold their values
    bool Cut[tq_Pow10_Entries] = {};  // the entry (or one below it) was cut
    bool LastValid = false;
    int32_t LastN = 0;
    TarqVar LastV{};
    TqStr LastMant;
};

Pow10State &state() {
    static auto *s = new Pow10State;
    return *s;
}

// Moves low zero words into the exponent, then keeps the most significant
// `precision` bytes; true when bytes were cut.
bool normalise(TqStr &m, int32_t &expo, int32_t precision) {
    size_t low = 0;
    const size_t words = m.size() / 4;
    while (low + 1 < words && tq_W(m)[low] == 0) ++low;
    if (low) {
        m.erase(0, low * 4);
        expo += static_cast<int32_t>(low * 4);
    }
    if (precision > 0 && tq_Len(m) > precision) {
        const int32_t drop = tq_Len(m) - precision;
        m.erase(0, static_cast<size_t>(drop));
        expo += drop;
        return true;
    }
    return false;
}

// An empty table at `precision` bytes with its four exact entries.
void start(int32_t precision) {
    Pow10State &s = state();
    const uint32_t exact[4] = {10, 100, 10000, 100000000};
    TqStr small[4];
    for (int32_t i = 0; i < 4; ++i) small[i] = tq_Word(exact[i]);
    for (int32_t i = 0; i < tq_Pow10_Entries; ++i) {
        s.Table[i].Mant = i < 4 ? std::move(small[i]) : TqStr();
        s.Table[i].Expo = 0;
        s.Cut[i] = false;
    }
    s.Precision = precision;
    s.Built = 4;
    s.LastValid = false;
}

// Builds the entries up to `last`. Each square is made aside and moved in,
// so a failed allocation leaves the entries built so far.
void build(int32_t last) {
    Pow10State &s = state();
    if (s.Precision == 0) start(gTq_Opt_Pow10_Precision > 0 ? gTq_Opt_Pow10_Precision : 6000);
    while (s.Built <= last) {
        const int32_t i = s.Built;
        TqStr sq;
        h_Square(s.Table[i - 1].Mant, sq);
        int32_t expo = 2 * s.Table[i - 1].Expo;
        const bool cut = normalise(sq, expo, s.Precision);
        s.Table[i].Mant = std::move(sq);
        s.Table[i].Expo = expo;
        s.Cut[i] = s.Cut[i - 1] || cut;
        s.Built = i + 1;
    }
}

// The magnitude is copied first: a failed copy leaves the old, valid entry.
void remember(int32_t n, const TarqVar &v, const TqStr &m) {
    Pow10State &s = state();
    TqStr copy = m;
    s.LastMant.swap(copy);
    s.LastValid = true;
    s.LastN = n;
    s.LastV = v;
}

}  // namespace

TqPow10Entry *tq_Pow10Table() {
    build(tq_Pow10_Entries - 1);
    return state().Table;
}

int32_t n_Pow10_TablePrecision() { return state().Precision; }

void n_Pow10_Install(TqPow10Entry *entries) {
    Pow10State &s = state();
    for (int32_t i = 0; i < tq_Pow10_Entries; ++i) s.Table[i] = std::move(entries[i]);
    // An entry of the full length may have been cut: it counts as cut.
    s.Precision = tq_Len(s.Table[tq_Pow10_Entries - 1].Mant);
    s.Built = s.Precision ? tq_Pow10_Entries : 0;
    for (int32_t i = 0; i < tq_Pow10_Entries; ++i)
        s.Cut[i] = (i > 0 && s.Cut[i - 1]) || (s.Precision && tq_Len(s.Table[i].Mant) >= s.Precision);
    s.LastValid = false;
}

void n_Pow10_Generate() {
    start(gTq_Opt_Pow10_Precision);
    build(tq_Pow10_Entries - 1);
    n_Trace("Init Powers-of-10 table ... Done ..");
}

void n_Pow10_Grow() {
    Pow10State &s = state();
    if (s.Precision == 0) {
        start(gTq_Opt_Pow10_Precision);
        return;
    }
    int32_t keep = 0;
    while (keep < s.Built && !s.Cut[keep]) ++keep;
    for (int32_t i = keep; i < s.Built; ++i) TqStr().swap(s.Table[i].Mant);
    s.Built = keep;
    s.Precision = gTq_Opt_Pow10_Precision;
    s.LastValid = false;
}

void n_Pow10_Reduce() {
    Pow10State &s = state();
    for (int32_t i = 4; i < s.Built; ++i) {
        TqPow10Entry &e = s.Table[i];
        if (tq_Len(e.Mant) > gTq_Opt_Pow10_Precision) {
            const int32_t drop = tq_Len(e.Mant) - gTq_Opt_Pow10_Precision;
            e.Mant.erase(0, static_cast<size_t>(drop));
            e.Expo += drop;
            s.Cut[i] = true;
        }
        if (s.Cut[i - 1]) s.Cut[i] = true;
    }
    s.Precision = gTq_Opt_Pow10_Precision;
    s.LastValid = false;
    n_Trace("Reducing Powers-of-10 table ... Done ..");
}

void n_Pow10_SetDiskCache(int32_t (*read)(), void (*save)()) {
    sDiskRead = read;
    sDiskSave = save;
}

void n_Init_PowersOf10Table() {
    n_Trace("");
    n_Trace(std::string(58, '*'));
    n_Trace("Init Powers-of-10 table, gTq_Opt_Pow10_Precision:" + std::to_string(gTq_Opt_Pow10_Precision) + " bytes");
    const int32_t t = n_Pow10_TablePrecision();
    if (t == gTq_Opt_Pow10_Precision) return;
    if (t > gTq_Opt_Pow10_Precision) {
        n_Trace("n_Init_PowersOf10Table: Reducing precision of table in memory..");
        n_Pow10_Reduce();
        return;
    }
    n_Trace("n_Init_PowersOf10Table: table empty or precision too low..");
    n_Trace("Trying to load table from disk cache...");
    // An empty table is generated whole and saved (the start-up file); a
    // table that only grows keeps its exact entries and builds the rest on
    // demand.
    if (diskRead() != 0) {
        if (t > 0) {
            n_Pow10_Grow();
            return;
        }
        n_Trace("Retrieving data from disk cache was not succesful. Table must be generated from scratch.");
        n_Pow10_Generate();
        diskSave();
        return;
    }
    n_Trace("Retrieving data from disk cache was succesful...");
    const int32_t loaded = n_Pow10_TablePrecision();
    if (loaded > gTq_Opt_Pow10_Precision) {
        n_Pow10_Reduce();
        // A start-up file finer than the start-up table (left by a run at a
        // high table precision) is rewritten at the table's size: otherwise
        // every later start reads and hashes it whole, and the entries it
        // holds beyond the table are built on demand anyway.
        if (t == 0) diskSave();
    } else if (loaded < gTq_Opt_Pow10_Precision) {
        if (t > 0) {
            n_Pow10_Grow();
            return;
        }
        n_Pow10_Generate();
        n_Trace("n_Init_PowersOf10Table: disk data precision too small. Generating data from scratch");
        diskSave();
    }
}

void n_Pow10_Lookup(int32_t n, TarqVar &v, TqStr &MantN) {
    v.Sign = 1;
    v.Special = 0;
    v.Expo = 0;
    v.NumType = TarqBinFloat;
    if (n <= 0) {
        MantN = tq_Word(n < 0 ? 0 : 1);
        remember(n, v, MantN);
        return;
    }
    Pow10State &s = state();
    if (s.LastValid && s.LastN == n) {
        v = s.LastV;
        MantN = s.LastMant;
        return;
    }
    // An unbuilt table (a lookup before the initialisation) is started at
    // the default precision.
    if (s.Precision == 0 && gTq_Opt_Pow10_Precision <= 0) gTq_Opt_Pow10_Precision = 6000;
    int32_t i = 0, top = 30;
    while (!((n >> i) & 1)) ++i;
    while (!((n >> top) & 1)) --top;
    build(top);
    TqStr m = s.Table[i].Mant;
    int32_t expo = s.Table[i].Expo;
    for (int32_t j = i + 1; j < 31; ++j) {
        if (!((n >> j) & 1)) continue;
        int32_t trim = 1;
        TqStr p;
        h_Mul(std::move(m), s.Table[j].Mant, trim, p);
        m = std::move(p);
        expo += s.Table[j].Expo;
        normalise(m, expo, s.Precision);
    }
    v.Expo = expo;
    MantN = std::move(m);
    remember(n, v, MantN);
}

void n_Pow10_Integer(int32_t n, TqStr &R) {
    TarqVar v;
    TqStr m;
    n_Pow10_Lookup(n, v, m);
    R = TqStr(static_cast<size_t>(v.Expo > 0 ? v.Expo : 0), '\0') + m;
}

const uint32_t tq_Pow10Word[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

void n_MulPow10(TqStr &M, int32_t d) {
    if (d > 9 && d < tq_Pow10Small_Count) {
        // One product by the power from the table of small powers, through
        // a buffer on the stack when it fits.
        int32_t m;
        const uint32_t *p = tq_Pow10Small(d, m);
        const int32_t n = std::max(tq_SigWords(M), 1);
        constexpr int32_t kStack = 64;
        uint32_t buf[kStack];
        std::vector<uint32_t> big;
        uint32_t *r = buf;
        if (n + m > kStack) {
            big.resize(static_cast<size_t>(n + m));
            r = big.data();
        }
        tq_MulWords(r, tq_W(M), n, p, m);
        M.assign(reinterpret_cast<const char *>(r), static_cast<size_t>(4 * (n + m)));
        tq_Trim(M);
        return;
    }
    if (d <= 72) {
        // In place, with room for the one word each product can carry out.
        tq_Trim(M);
        int32_t n = tq_NWords(M);
        M.resize(static_cast<size_t>(4 * (n + (d + 8) / 9)), '\0');
        uint32_t *w = tq_W(M);
        for (; d > 0; d -= 9) {
            const uint32_t c = tq_MulWordN(w, w, n, tq_Pow10Word[d < 9 ? d : 9]);
            if (c) w[n++] = c;
        }
        M.resize(static_cast<size_t>(4 * n));
        return;
    }
    TarqVar pv;
    TqStr p;
    n_Pow10_Lookup(d, pv, p);
    int32_t trim = 1;
    h_Mul(std::move(M), std::move(p), trim, M);
    if (pv.Expo > 0 && !tq_IsZero(M)) M.insert(0, static_cast<size_t>(pv.Expo), '\0');
    if (M.size() % 4) M.append(4 - M.size() % 4, '\0');
    tq_Trim(M);
}
