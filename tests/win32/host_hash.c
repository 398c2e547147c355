// SHA-256 through the DLL: digests of memory ranges against the published
// test vectors, and of files (written by the host, read by the library)
// against the digests of the same bytes in memory.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host.h"

static void hex(const unsigned char *d, char out[65]) {
    for (int i = 0; i < 32; ++i) sprintf(out + 2 * i, "%02x", d[i]);
}

static void bufferDigest(const void *data, int32_t len, char out[65]) {
    unsigned char d[32];
    memset(d, 0, sizeof d);
    int32_t st = T.SHA256_BUFFER(data, len, d);
    CHECK_EQ(st, 0);
    hex(d, out);
}

static int writeFile(const char *name, const char *data, size_t len) {
    FILE *f = fopen(name, "wb");
    if (!f) return 0;
    int ok = fwrite(data, 1, len, f) == len;
    return fclose(f) == 0 && ok;
}

// SHA256_FILE of name into a hex string; returns its status.
static int32_t fileDigest(const char *name, char out[65]) {
    BSTR fileName = host_Bstr(name);
    BSTR digest = SysAllocStringByteLen("old", 3);  // replaced (and freed) by the library
    int32_t st = T.SHA256_FILE(&fileName, &digest);
    out[0] = '\0';
    if (st == 0) {
        CHECK_EQ(SysStringByteLen(digest), 32);
        if (SysStringByteLen(digest) == 32) hex((const unsigned char *)digest, out);
    }
    SysFreeString(digest);
    SysFreeString(fileName);
    return st;
}

void host_TestHash(void) {
    host_Group("SHA-256");
    char got[65], want[65];
    bufferDigest("abc", 3, got);
    CHECK_STR(got, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    bufferDigest("", 0, got);
    CHECK_STR(got, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    const char *two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    bufferDigest(two, (int32_t)strlen(two), got);
    CHECK_STR(got, "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    enum { kMillion = 1000000 };
    char *as = malloc(kMillion);
    CHECK(as != NULL);
    if (!as) return;
    memset(as, 'a', kMillion);
    const char *millionA = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
    bufferDigest(as, kMillion, got);
    CHECK_STR(got, millionA);

    // Files: one of a million bytes (many read chunks and a partial last
    // one), one of lengths around the padding boundary, one empty.
    const char *name = "host_sha.tmp";
    CHECK(writeFile(name, as, kMillion));
    CHECK_EQ(fileDigest(name, got), 0);
    CHECK_STR(got, millionA);
    for (int i = 0; i < kMillion; ++i) as[i] = (char)(i * 131 + (i >> 9));
    static const int lengths[] = {0, 1, 55, 56, 63, 64, 65, 31999, 32000, 32001, 64000, 100003};
    int mismatches = 0;
    for (size_t k = 0; k < sizeof lengths / sizeof lengths[0]; ++k) {
        int n = lengths[k];
        if (!writeFile(name, as, (size_t)n) || fileDigest(name, got) != 0) {
            ++mismatches;
            continue;
        }
        bufferDigest(as, n, want);
        if (strcmp(got, want) != 0) {
            printf("FAIL  SHA256_FILE of %d bytes: %s, in memory %s\n", n, got, want);
            ++mismatches;
        }
    }
    CHECK_EQ(mismatches, 0);
    DeleteFileA(name);
    free(as);
    CHECK_EQ(fileDigest("host_no_such_file.tmp", got), 53);

    // Hashing neither initialises the library nor touches the error word.
    CHECK_EQ(host_Err(), 0);
}
