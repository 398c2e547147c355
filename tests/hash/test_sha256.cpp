// SHA-256: published vectors, incremental feeding in random pieces against
// the one-shot digest, and files of the padding and chunk-boundary sizes
// checked against the system's sha256sum.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "files.h"
#include "frame/dstr.h"
#include "base/sha256.h"
#include "tarq.h"

namespace {

std::string hex(const std::string &d) {
    static const char *x = "0123456789abcdef";
    std::string s;
    for (unsigned char c : d) {
        s += x[c >> 4];
        s += x[c & 15];
    }
    return s;
}

std::string bufferDigest(const std::string &m) {
    std::string out(40, '\x5a');  // canary bytes after the 32 digest bytes
    EXPECT_EQ(SHA256_BUFFER(m.data(), static_cast<int32_t>(m.size()), out.data()), 0);
    EXPECT_EQ(out.substr(32), std::string(8, '\x5a')) << "wrote past 32 bytes";
    return hex(out.substr(0, 32));
}

// A name in this test's temporary directory.
std::string tempName(const char *tag) {
    static TqTempDir dir("tarq_sha");
    return dir.path + "/" + tag;
}

// Digest by SHA256_FILE; rc receives the status.
std::string fileDigest(const std::string &name, int32_t &rc) {
    tq_dstr fn = tq_DS_Make(name);
    tq_dstr dg = nullptr;
    rc = SHA256_FILE(&fn, &dg);
    std::string d = tq_DS_Read(dg);
    TQ_DS_FREE(fn);
    TQ_DS_FREE(dg);
    return hex(d);
}

// The system's sha256sum (coreutils) as an independent second computation.
std::string systemDigest(const std::string &name) {
    std::string cmd = "sha256sum '" + name + "' 2>/dev/null";
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return "";
    char buf[128] = {};
    size_t n = fread(buf, 1, 64, p);
    pclose(p);
    return n == 64 ? std::string(buf, 64) : "";
}

std::string randomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto &c : s) c = static_cast<char>(rng());
    return s;
}

}  // namespace

TEST(Sha256, PublishedVectors) {
    EXPECT_EQ(bufferDigest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(bufferDigest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(bufferDigest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(bufferDigest(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, IncrementalPiecesMatchOneShot) {
    std::mt19937 rng(7);
    for (int t = 0; t < 200; ++t) {
        const size_t n = rng() % 700;
        const std::string m = randomBytes(n, 1000 + t);
        TqSha256 c;
        tq_Sha256_Init(c);
        size_t pos = 0;
        while (pos < n) {
            size_t k = rng() % 130;
            if (k > n - pos) k = n - pos;
            tq_Sha256_Update(c, m.data() + pos, k);
            pos += k;
        }
        uint8_t d[32];
        tq_Sha256_Final(c, d);
        EXPECT_EQ(hex(std::string(reinterpret_cast<char *>(d), 32)), bufferDigest(m)) << "length " << n;
    }
}

TEST(Sha256, BufferRefusesBadArguments) {
    std::string out(32, 'x');
    EXPECT_NE(SHA256_BUFFER("abc", -1, out.data()), 0);
    EXPECT_NE(SHA256_BUFFER("abc", 3, nullptr), 0);
    EXPECT_NE(SHA256_BUFFER(nullptr, 3, out.data()), 0);
    EXPECT_EQ(out, std::string(32, 'x'));
    EXPECT_EQ(SHA256_BUFFER(nullptr, 0, out.data()), 0);
}

// Files against the system's sha256sum and the digest in memory: the padding
// boundaries (55 bytes pad into one final block, 56..63 into two, 64 is a
// whole block and a padding block, 119 the last two-block tail), 0 bytes,
// exactly one 32000-byte chunk, one byte into a second chunk, and a size that
// ends mid-block after several chunks.
TEST(Sha256, FilesAgainstSha256sum) {
    for (size_t n : {0, 1, 55, 56, 63, 64, 119, 31999, 32000, 32001, 100055}) {
        const std::string name = tempName("f");
        const std::string content = randomBytes(n, static_cast<uint32_t>(n));
        tq_WriteFile(name, content);
        int32_t rc = -7;
        const std::string d = fileDigest(name, rc);
        EXPECT_EQ(rc, 0) << n;
        EXPECT_EQ(d, bufferDigest(content)) << n;
        EXPECT_EQ(d, systemDigest(name)) << n;
    }
}

TEST(Sha256, MissingFileReturns53AndLeavesDigest) {
    tq_dstr fn = tq_DS_Make(tempName("missing"));
    tq_dstr dg = tq_DS_Make("keep");
    EXPECT_EQ(SHA256_FILE(&fn, &dg), 53);
    EXPECT_EQ(tq_DS_Read(dg), "keep");
    TQ_DS_FREE(fn);
    TQ_DS_FREE(dg);
}

// What is not a regular file is refused at once with an error number and the
// digest left alone: a directory, a FIFO without a writer (which would block),
// /dev/zero (which never ends); a name with a NUL is not cut short.
TEST(Sha256, NonRegularFilesAndNulNamesAreRefused) {
    const std::string dir = tempName("dir"), fifo = tempName("fifo"), file = tempName("nul");
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    tq_WriteFile(file, "abc");
    const std::pair<std::string, int32_t> cases[] = {
        {dir, EISDIR}, {fifo, ENODEV}, {"/dev/zero", ENODEV}, {file + std::string(1, '\0') + "x", EINVAL}};
    for (const auto &[name, want] : cases) {
        tq_dstr fn = tq_DS_Make(name), dg = tq_DS_Make("keep");
        EXPECT_EQ(SHA256_FILE(&fn, &dg), want) << name;
        EXPECT_EQ(tq_DS_Read(dg), "keep") << name;
        TQ_DS_FREE(fn);
        TQ_DS_FREE(dg);
    }
    rmdir(dir.c_str());
}

// The length is kept in 64 bits: a sparse file just over 4 GiB hashes like
// the system's sha256sum. Slow (reads 4 GiB), so it runs only on request.
TEST(Sha256, FileOver4GiBWhenRequested) {
    if (!std::getenv("TARQ_LONG_TESTS")) GTEST_SKIP() << "set TARQ_LONG_TESTS=1";
    const std::string name = tempName("big");
    tq_WriteFile(name, "x");
    ASSERT_EQ(truncate(name.c_str(), (int64_t(1) << 32) + 3), 0);
    int32_t rc = -7;
    const std::string d = fileDigest(name, rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(d, systemDigest(name));
}
