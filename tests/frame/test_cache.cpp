// The start-up cache files: exact layout, round trips in this process and
// across fresh processes (this test program re-runs itself as the child),
// rejection of tampered, foreign, truncated and malformed files (nothing
// changes, the data is regenerated and the file rewritten), caching off, and
// the directory choices of option 9.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "files.h"
#include "fresh.h"
#include "trace.h"
#include "frame/cache.h"
#include "funcs/const_cache.h"
#include "frame/options.h"
#include "numbers/pow10.h"
#include "frame/store.h"
#include "base/tq_state.h"
#include "base/sha256.h"
#include "tarq.h"

namespace {

// Body field helpers for hand-made files.
void putInt(std::string &b, int32_t v) {
    uint32_t len = 4, u = static_cast<uint32_t>(v);
    b.append(reinterpret_cast<const char *>(&len), 4);
    b.append(reinterpret_cast<const char *>(&u), 4);
}
void putBytes(std::string &b, const std::string &s) {
    uint32_t len = static_cast<uint32_t>(s.size());
    b.append(reinterpret_cast<const char *>(&len), 4);
    b += s;
}
TqStr piDigits() {
    const uint64_t pi = 314159265358979ull;
    return tq_Word(static_cast<uint32_t>(pi)) + tq_Word(static_cast<uint32_t>(pi >> 32));
}
// ln 2 as a binary float: 0xB17217F7D1CF79AB * 256^-8.
TqStr ln2Words() { return tq_Word(0xD1CF79ABu) + tq_Word(0xB17217F7u); }

std::string wrap(const std::string &body, const std::string &header = tq_Cache_Header) {
    return header + tq_Sha256(body) + body;
}

// The body of a tables file: the highest index 31, then exponent and
// magnitude per entry.
std::string tablesBody(const TqPow10Entry *t) {
    std::string b;
    putInt(b, 31);
    for (int i = 0; i < tq_Pow10_Entries; ++i) {
        putInt(b, t[i].Expo);
        putBytes(b, t[i].Mant);
    }
    return b;
}

// The body of a constants file: the three thresholds, the highest index, and
// sign, exponent, kind, special, magnitude and denominator per entry.
std::string constantsBody(int32_t mul, int32_t comba, int32_t square, int32_t n, const TqNum *entries, int count) {
    std::string b;
    for (int32_t v : {mul, comba, square, n}) putInt(b, v);
    for (int i = 0; i < count; ++i) {
        const TqNum &e = entries[i];
        for (int32_t v : {e.V.Sign, e.V.Expo, e.V.NumType, e.V.Special}) putInt(b, v);
        putBytes(b, e.MantN);
        putBytes(b, e.DenN);
    }
    return b;
}

// Sets option 9 to dir through a TarqText variable.
int32_t setCacheDir(const std::string &dir) {
    const int32_t h = TQ_ALLOCVAR(TarqText);
    gTq_Store[h].MantN = dir;
    const int32_t rc = TQ_SETOPTION(9, h);
    TQ_UNALLOCVAR(h);
    return rc;
}

struct Thresholds {
    int32_t mul, comba, square;
    static Thresholds now() {
        return {gTq_Threshold_Mul_Karatsuba2Way, gTq_Threshold_Square_Comba, gTq_Threshold_Square_Karatsuba};
    }
    void restore() const {
        gTq_Threshold_Mul_Karatsuba2Way = mul;
        gTq_Threshold_Square_Comba = comba;
        gTq_Threshold_Square_Karatsuba = square;
    }
    bool operator==(const Thresholds &) const = default;
};

class Cache : public ::testing::Test {
  protected:
    TqTempDir tmp{"tarq_cache"};
    std::string dir = tmp.path, fileA, fileB;
    Thresholds saved{};
    TqPow10Entry table[tq_Pow10_Entries];

    void SetUp() override {
        tq_EnsureInit();
        saved = Thresholds::now();
        for (int i = 0; i < tq_Pow10_Entries; ++i) table[i] = tq_Pow10Table()[i];
        ASSERT_FALSE(dir.empty());
        fileA = dir + "/~$TARQ_A.txt";
        fileB = dir + "/~$TARQ_B.txt";
        ASSERT_EQ(setCacheDir(dir), 0);
        ASSERT_EQ(gTq_Opt_DiskCache, 1);
    }
    void TearDown() override {
        gTq_Opt_DiskCache = 0;
        saved.restore();
        n_Pow10_Install(table);
        TQ_GETGLOBALERROR();
    }
    bool tableEquals(const TqPow10Entry *t) {
        for (int i = 0; i < tq_Pow10_Entries; ++i)
            if (tq_Pow10Table()[i].Mant != t[i].Mant || tq_Pow10Table()[i].Expo != t[i].Expo) return false;
        return true;
    }
    void emptyTable() {
        TqPow10Entry none[tq_Pow10_Entries];
        n_Pow10_Install(none);
    }
};

}  // namespace

TEST_F(Cache, TablesFileLayoutAndRoundTrip) {
    ASSERT_EQ(n_Cache_Save(2, 0), 0);
    const std::string content = tq_ReadFile(fileB);
    ASSERT_GT(content.size(), 74u);
    EXPECT_EQ(content.substr(0, 42), "TARQ cache file for faster startup - V0004");
    const std::string body = content.substr(74);
    EXPECT_EQ(content.substr(42, 32), tq_Sha256(body));
    EXPECT_EQ(body, tablesBody(table));
    emptyTable();
    EXPECT_EQ(n_Pow10_TablePrecision(), 0);
    EXPECT_EQ(n_Cache_Read(2), 0);
    EXPECT_TRUE(tableEquals(table));
}

TEST_F(Cache, ConstantsFileLayoutAndRoundTrip) {
    TqNum *cc = tq_ConstCache_Persistent();
    const TqNum keep = cc[15];
    cc[15].V = TarqVar{1, 1, -14, TarqDecFloat, 0};  // decimal pi, 314159265358979 * 10^-14
    cc[15].MantN = piDigits();
    cc[15].DenN = tq_Word(1);
    Thresholds{312, 52, 508}.restore();
    ASSERT_EQ(n_Cache_Save(1, 0), 0);
    EXPECT_EQ(tq_ReadFile(fileA), wrap(constantsBody(312, 52, 508, 20, cc, 21)));
    Thresholds{100, 40, 200}.restore();
    cc[15] = TqNum();
    EXPECT_EQ(n_Cache_Read(1), 0);
    EXPECT_TRUE(Thresholds::now() == (Thresholds{312, 52, 508}));
    EXPECT_TRUE(cc[15].V.Expo == -14 && cc[15].V.NumType == TarqDecFloat);
    EXPECT_TRUE(cc[15].MantN == piDigits() && cc[15].DenN == tq_Word(1));
    cc[15] = keep;
}

// Every damaged form of a good tables file is refused and changes nothing,
// also when its digest was recomputed after the change (the values
// themselves are checked against the true powers).
TEST_F(Cache, DamagedTablesFilesAreRejected) {
    ASSERT_EQ(n_Cache_Save(2, 0), 0);
    const std::string good = tq_ReadFile(fileB);
    const std::string body = good.substr(74);
    std::vector<std::pair<std::string, std::string>> bad;
    for (size_t pos : {size_t(0), size_t(41), size_t(42), size_t(73), size_t(74), size_t(80), good.size() - 1}) {
        std::string t = good;
        t[pos] = static_cast<char>(t[pos] ^ 0x01);
        bad.push_back({"flipped byte " + std::to_string(pos), t});
    }
    bad.push_back({"version V0003", wrap(body, "TARQ cache file for faster startup - V0003")});
    for (size_t len : {size_t(0), size_t(41), size_t(42), size_t(74), size_t(100), good.size() - 1})
        bad.push_back({"truncated to " + std::to_string(len), good.substr(0, len)});
    for (int32_t n : {-1, 30, 32, 1000, int32_t(0x7fffffff)}) {
        std::string b = body;
        uint32_t u = static_cast<uint32_t>(n);
        std::memcpy(&b[4], &u, 4);
        bad.push_back({"count " + std::to_string(n), wrap(b)});
    }
    std::string b = body;  // a field length running past the end, with a matching digest
    const uint32_t huge = 0xFFFFFFF0u;
    std::memcpy(&b[8], &huge, 4);
    bad.push_back({"field past the end", wrap(b)});
    bad.push_back({"short body", wrap(body.substr(0, body.size() - 4))});  // cut inside its last field
    auto tableWith = [&](int i, auto change) {
        TqPow10Entry t[tq_Pow10_Entries];
        std::copy(table, table + tq_Pow10_Entries, t);
        change(t[i]);
        return wrap(tablesBody(t));
    };
    auto bumpLow = [](TqPow10Entry &e) { tq_W(e.Mant)[0] ^= 1u << 20; };
    auto bumpTop = [](TqPow10Entry &e) { tq_W(e.Mant)[tq_NWords(e.Mant) - 1] ^= 1u << 3; };
    bad.push_back({"wrong entry 2", tableWith(2, [](TqPow10Entry &e) { e.Mant = tq_Word(10001); })});
    bad.push_back({"10^16 altered", tableWith(4, bumpLow)});  // read back 1*d16 as 1.00010995...*d16
    bad.push_back({"exact 10^1024 altered", tableWith(10, bumpLow)});
    bad.push_back({"cut entry, leading bits", tableWith(20, bumpTop)});
    bad.push_back({"last entry, leading bits", tableWith(31, bumpTop)});
    bad.push_back({"cut entry, exponent", tableWith(25, [](TqPow10Entry &e) { e.Expo += 4; })});
    bad.push_back({"cut entry, shorter", tableWith(25, [](TqPow10Entry &e) { e.Mant.erase(0, 4); })});
    emptyTable();
    for (const auto &[what, content] : bad) {
        tq_WriteFile(fileB, content);
        EXPECT_EQ(n_Cache_Read(2), 1) << what;
        EXPECT_EQ(n_Pow10_TablePrecision(), 0) << what;
    }
    tq_WriteFile(fileB, tableWith(0, [](TqPow10Entry &) {}));
    EXPECT_EQ(n_Cache_Read(2), 0);
    EXPECT_TRUE(tableEquals(table));
}

TEST_F(Cache, DamagedConstantsFilesAreRejectedAndLeaveThresholds) {
    auto constants = [](int32_t mul, int32_t comba, int32_t square, int32_t n, int32_t entries, int32_t type = 0) {
        TqNum empty;  // slot 0 binary ln 2, the rest empty
        empty.V.NumType = type;
        empty.DenN = tq_Word(1);
        std::vector<TqNum> e(static_cast<size_t>(std::max(entries, 1)), empty);
        e[0].V = TarqVar{0, 1, -8, TarqBinFloat, 0};
        e[0].MantN = ln2Words();
        return wrap(constantsBody(mul, comba, square, n, e.data(), entries));
    };
    const Thresholds before{296, 44, 412};
    before.restore();
    std::vector<std::pair<std::string, std::string>> bad = {
        {"zero Karatsuba threshold", constants(0, 44, 400, 20, 21)},
        {"zero Comba threshold", constants(300, 0, 400, 20, 21)},
        {"zero squaring threshold", constants(300, 44, 0, 20, 21)},
        {"threshold 2", constants(2, 44, 400, 20, 21)},
        {"negative threshold", constants(-300, 44, 400, 20, 21)},
        {"count 21", constants(300, 44, 400, 21, 22)},
        {"count -1", constants(300, 44, 400, -1, 0)},
        {"entries missing", constants(300, 44, 400, 20, 19)},
        {"kind 9", constants(300, 44, 400, 20, 21, 9)},
    };
    std::string foreign = constants(300, 44, 400, 20, 21);
    foreign[41] = '5';
    bad.push_back({"wrong header", foreign});
    for (const auto &[what, content] : bad) {
        tq_WriteFile(fileA, content);
        EXPECT_EQ(n_Cache_Read(1), 1) << what;
        EXPECT_TRUE(Thresholds::now() == before) << what;
    }
    // A shorter count is a good file: entries 0..n are read.
    const TqNum keep0 = tq_ConstCache_Persistent()[0];
    tq_WriteFile(fileA, constants(300, 44, 400, 0, 1));
    EXPECT_EQ(n_Cache_Read(1), 0);
    EXPECT_EQ(gTq_Threshold_Mul_Karatsuba2Way, 300);
    EXPECT_EQ(tq_ConstCache_Persistent()[0].MantN, ln2Words());
    tq_ConstCache_Persistent()[0] = keep0;
}

// Constants files whose digest was recomputed after a change: the values
// themselves are checked against the true constants.
TEST_F(Cache, ResealedConstantsAreRejected) {
    TqNum *cc = tq_ConstCache_Persistent();
    const TqNum keep = cc[14];
    ASSERT_GT(TQ_SETPRECISION(1, 60), 0);  // a precision above the cached one: slot 14 is computed
    const int32_t h = TQ_ALLOCVAR(TarqBinFloat);
    ASSERT_EQ(TQ_GETCONST(8, h), 0);
    TQ_UNALLOCVAR(h);
    TQ_SETPRECISION(1, 38);
    ASSERT_FALSE(cc[14].MantN.empty());
    const TqNum pi = cc[14];
    const std::vector<std::pair<std::string, std::function<void(TqNum &)>>> forged = {
        {"pi, leading word", [](TqNum &e) { tq_W(e.MantN)[tq_NWords(e.MantN) - 1] ^= 1u << 4; }},
        {"pi, exponent", [](TqNum &e) { e.V.Expo -= 4; }},
        {"pi, negative", [](TqNum &e) { e.V.Sign = -1; }},
        {"pi, as a decimal float", [](TqNum &e) { e.V.NumType = TarqDecFloat; }},
    };
    for (const auto &[what, change] : forged) {
        cc[14] = pi;
        change(cc[14]);
        ASSERT_EQ(n_Cache_Save(1, 0), 0);
        cc[14] = pi;
        EXPECT_EQ(n_Cache_Read(1), 1) << what;
    }
    cc[14] = pi;
    ASSERT_EQ(n_Cache_Save(1, 0), 0);
    EXPECT_EQ(n_Cache_Read(1), 0);
    cc[14] = keep;
}

// Only a regular file of this user that nobody else may write is read;
// nothing else may hang, flood or mislead the reader. Written files and a
// created directory are for their owner only.
TEST_F(Cache, OnlyOwnRegularFilesAreRead) {
    ASSERT_EQ(n_Cache_Save(2, 0), 0);
    struct stat st;
    ASSERT_EQ(stat(fileB.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const std::string good = tq_ReadFile(fileB), other = dir + "/other.txt";
    tq_WriteFile(other, good);
    chmod(other.c_str(), 0600);
    std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"FIFO", [&] { mkfifo(fileB.c_str(), 0600); }},
        {"symlink to a good file", [&] { ASSERT_EQ(symlink(other.c_str(), fileB.c_str()), 0); }},
        {"symlink to /dev/zero", [&] { ASSERT_EQ(symlink("/dev/zero", fileB.c_str()), 0); }},
        {"directory", [&] { mkdir(fileB.c_str(), 0700); }},
        {"writable by the group", [&] { tq_WriteFile(fileB, good); chmod(fileB.c_str(), 0620); }},
        {"writable by others", [&] { tq_WriteFile(fileB, good); chmod(fileB.c_str(), 0602); }},
        {"over the size limit", [&] { tq_WriteFile(fileB, good); ASSERT_EQ(truncate(fileB.c_str(), 300L << 20), 0); }},
    };
    if (geteuid() == 0)
        cases.push_back({"owned by another user", [&] { tq_WriteFile(fileB, good); ASSERT_EQ(chown(fileB.c_str(), 65534, 65534), 0); }});
    emptyTable();
    for (const auto &[what, make] : cases) {
        std::remove(fileB.c_str());
        rmdir(fileB.c_str());
        make();
        EXPECT_EQ(n_Cache_Read(2), 1) << what;
        EXPECT_EQ(n_Pow10_TablePrecision(), 0) << what;
    }
    std::remove(fileB.c_str());
    rmdir(fileB.c_str());
    std::remove(other.c_str());
    tq_WriteFile(fileB, good);
    chmod(fileB.c_str(), 0644);
    EXPECT_EQ(n_Cache_Read(2), 0);
    // Option 9 creates a missing directory for its owner only; a directory
    // text with a NUL in it is refused and creates nothing.
    const std::string sub = dir + "/sub";
    ASSERT_EQ(setCacheDir(sub), 0);
    ASSERT_EQ(stat(sub.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    rmdir(sub.c_str());
    TQ_GETGLOBALERROR();
    EXPECT_EQ(setCacheDir(sub + std::string(1, '\0') + "x"), tq_Err_Invalid);
    EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Invalid);
    EXPECT_FALSE(tq_Exists(sub));
    EXPECT_EQ(gTq_Cache_FileN_Tables, sub + "/~$TARQ_B.txt");
}

// A good file of a coarser table makes the start-up step regenerate; a finer
// one is cut in memory.
TEST_F(Cache, LoadedPrecisionIsAdjusted) {
    ASSERT_EQ(TQ_SETOPTION(5, 8 * 512), 0);  // table at 512 bytes, saved? no: caching regenerated it
    ASSERT_EQ(n_Cache_Save(2, 0), 0);
    gTq_Opt_Pow10_Precision = 6000;
    emptyTable();
    n_Init_PowersOf10Table();  // reads the 512-byte file, regenerates at 6000, rewrites
    EXPECT_TRUE(tableEquals(table));
    EXPECT_EQ(n_Cache_Read(2), 0);
    EXPECT_EQ(n_Pow10_TablePrecision(), 6000);
    gTq_Opt_Pow10_Precision = 1024;
    emptyTable();
    n_Init_PowersOf10Table();  // reads the 6000-byte file, cuts it and rewrites it
    EXPECT_EQ(n_Pow10_TablePrecision(), 1024);
    emptyTable();
    EXPECT_EQ(n_Cache_Read(2), 0);
    EXPECT_EQ(n_Pow10_TablePrecision(), 1024);  // the file shrank with the table
    gTq_Opt_Pow10_Precision = 6000;
}

TEST_F(Cache, CachingOffReadsAndWritesNothing) {
    gTq_Opt_DiskCache = 0;
    TQ_GETGLOBALERROR();
    EXPECT_EQ(n_Cache_Save(1, 1), 1);
    EXPECT_EQ(n_Cache_Save(2, 0), 1);
    n_Cache_SaveAtUnload();
    EXPECT_FALSE(tq_Exists(fileA));
    EXPECT_FALSE(tq_Exists(fileB));
    EXPECT_EQ(n_Cache_Read(1), 1);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0);
}

TEST_F(Cache, UnwritableFileRaisesBit64) {
    gTq_Cache_FileN_Tables = dir + "/no/such/dir/~$TARQ_B.txt";
    TQ_GETGLOBALERROR();
    EXPECT_EQ(n_Cache_Save(2, 0), tq_Err_CacheWrite);
    EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_CacheWrite);
}

TEST_F(Cache, OptionNineDirectories) {
    // The Linux separator is appended unless the text ends with one.
    EXPECT_EQ(gTq_Cache_FileN_Constants, dir + "/~$TARQ_A.txt");
    EXPECT_EQ(gTq_Cache_FileN_Tables, dir + "/~$TARQ_B.txt");
    EXPECT_EQ(setCacheDir(dir + "/"), 0);
    EXPECT_EQ(gTq_Cache_FileN_Tables, dir + "/~$TARQ_B.txt");
    // -1: the temporary directory.
    const char *old = std::getenv("TMPDIR");
    const std::string oldTmp = old ? old : "";
    setenv("TMPDIR", dir.c_str(), 1);
    EXPECT_EQ(TQ_SETOPTION(9, -1), 0);
    EXPECT_EQ(gTq_Cache_FileN_Tables, dir + "/~$TARQ_B.txt");
    if (old) setenv("TMPDIR", oldTmp.c_str(), 1); else unsetenv("TMPDIR");
    // -2: the current directory.
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    EXPECT_EQ(TQ_SETOPTION(9, -2), 0);
    EXPECT_EQ(gTq_Cache_FileN_Tables, dir + "/~$TARQ_B.txt");
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_EQ(gTq_Opt_DiskCache, 1);
    EXPECT_EQ(TQ_GETOPTION(9), 0);
    // A handle of another kind, or outside the store: status 2 and caching off.
    const int32_t h = TQ_ALLOCVAR(TarqBigInt);
    EXPECT_EQ(TQ_SETOPTION(9, h), tq_Err_Type);
    EXPECT_EQ(gTq_Opt_DiskCache, 0);
    EXPECT_EQ(TQ_GETOPTION(9), 0);
    ASSERT_EQ(setCacheDir(dir), 0);
    EXPECT_EQ(TQ_SETOPTION(9, 1 << 28), tq_Err_Type);
    EXPECT_EQ(gTq_Opt_DiskCache, 0);
    TQ_UNALLOCVAR(h);
}

// ---- Round trips across processes -------------------------------------
// The parent runs this program again (FreshProcess.CacheChild) with the mode
// and the directory in the environment; the child writes a result file.

namespace {

bool runChild(const std::string &mode, const std::string &dir) {
    return tq_RunFresh("CacheChild", {"TARQ_CACHE_CHILD=" + mode, "TARQ_CACHE_DIR=" + dir});
}

}  // namespace

TEST(FreshProcess, CacheChild) {
    TQ_FRESH_ONLY();
    const std::string want = std::getenv("TARQ_CACHE_CHILD"), dir = std::getenv("TARQ_CACHE_DIR");
    TraceCollector trace;
    // Option 9 before anything initialises the library.
    ASSERT_EQ(gTq_Initialised, 0);
    ASSERT_EQ(setCacheDir(dir), 0);
    EXPECT_EQ(TQ_GETPRECISION(1), 38);  // runs the initialisation
    const bool measured = TraceCollector::has("Calculating the Karatsuba en Comba threshold values from scratch");
    const bool generated = TraceCollector::has("Init Powers-of-10 table ... Done ..");
    EXPECT_EQ(measured, want == "cold" || want == "badconst") << want;
    EXPECT_EQ(generated, want == "cold" || want == "badtable") << want;
    int32_t h = TQ_ALLOCVAR(TarqBinFloat);
    EXPECT_EQ(TQ_GETPOW10(100, h), 0);
    std::ofstream(dir + "/result.txt") << gTq_Threshold_Mul_Karatsuba2Way << ' ' << gTq_Threshold_Square_Comba
                                       << ' ' << gTq_Threshold_Square_Karatsuba << ' '
                                       << tq_NWords(gTq_Store[h].MantN) << ' ' << gTq_Store[h].V.Expo;
}

TEST(CacheProcesses, WriteInOneProcessReadInAnother) {
    TqTempDir tmp("tarq_cache");
    const std::string &dir = tmp.path;
    ASSERT_FALSE(dir.empty());
    const std::string fileA = dir + "/~$TARQ_A.txt", fileB = dir + "/~$TARQ_B.txt";
    ASSERT_TRUE(runChild("cold", dir));
    ASSERT_TRUE(tq_Exists(fileA));  // written at unload
    ASSERT_TRUE(tq_Exists(fileB));  // written after generating the table
    const std::string coldResult = tq_ReadFile(dir + "/result.txt");
    const std::string goodA = tq_ReadFile(fileA), goodB = tq_ReadFile(fileB);

    ASSERT_TRUE(runChild("warm", dir));
    EXPECT_EQ(tq_ReadFile(dir + "/result.txt"), coldResult);
    EXPECT_EQ(tq_ReadFile(fileB), goodB);

    std::string t = goodA;
    t[90] = static_cast<char>(t[90] ^ 0x10);
    tq_WriteFile(fileA, t);
    ASSERT_TRUE(runChild("badconst", dir));
    EXPECT_NE(tq_ReadFile(fileA), t);  // rewritten at unload ...
    EXPECT_EQ(tq_ReadFile(fileA).substr(0, 42), goodA.substr(0, 42));
    ASSERT_TRUE(runChild("warm", dir));  // ... and good again

    t = goodB;
    t.resize(t.size() / 2);
    tq_WriteFile(fileB, t);
    ASSERT_TRUE(runChild("badtable", dir));
    EXPECT_EQ(tq_ReadFile(fileB), goodB);  // regenerated and rewritten, byte for byte

    // A finer tables file, as a run at a higher table precision leaves, is cut
    // at the start and written back at the start-up size.
    tq_EnsureInit();
    TqPow10Entry keep[tq_Pow10_Entries];
    std::copy(tq_Pow10Table(), tq_Pow10Table() + tq_Pow10_Entries, keep);
    const int32_t opt = gTq_Opt_Pow10_Precision, cache = gTq_Opt_DiskCache;
    const std::string name = gTq_Cache_FileN_Tables;
    gTq_Opt_Pow10_Precision = 4 * opt;
    n_Pow10_Generate();
    gTq_Opt_DiskCache = 1;
    gTq_Cache_FileN_Tables = fileB;
    ASSERT_EQ(n_Cache_Save(2, 0), 0);
    gTq_Cache_FileN_Tables = name;
    gTq_Opt_DiskCache = cache;
    gTq_Opt_Pow10_Precision = opt;
    n_Pow10_Install(keep);
    ASSERT_GT(tq_ReadFile(fileB).size(), goodB.size());
    ASSERT_TRUE(runChild("warm", dir));
    EXPECT_EQ(tq_ReadFile(fileB).size(), goodB.size());
    ASSERT_TRUE(runChild("warm", dir));
}
