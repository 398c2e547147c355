// Writing and reading the two start-up cache files. A file is untrusted
// input: it is read only when it is a regular file of this user that nobody
// else may write, below a size limit (platform_files.cpp); the body is parsed
// field by field; the reader checks the header, the digest, every field
// length against the end of the body, the entry counts against the
// structures they fill, every value against its sane range and the powers and
// constants against their true values (cache_verify.cpp), and installs the
// data only when the whole file is good, so a damaged, foreign or forged file
// never leaves half-read, wrong or unusable state behind. Files are written
// readable and writable by their owner only.
#include "cache.h"
#include "cache_verify.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "funcs/const_cache.h"
#include "base/sha256.h"
#include "base/platform.h"
#include "numbers/pow10.h"
#include "kernels/calibrate.h"
#include "base/tq_state.h"

const char *const tq_Cache_Header = "TARQ cache file for faster startup - V0004";

namespace {

// The writer stores these highest indices; a reader accepts no other table
// count and no constant count above the cache.
constexpr int32_t kHighestConst = tq_ConstCache_Entries - 1;  // 20
constexpr int32_t kHighestTable = tq_Pow10_Entries - 1;       // 31
// Far above the largest file the writer makes at the highest precision.
constexpr size_t kFileMax = size_t(256) << 20;

void putBytes(std::string &body, std::string_view bytes) {
    const uint32_t len = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) body += static_cast<char>((len >> (8 * i)) & 0xFF);
    body.append(bytes.data(), bytes.size());
}

void putInt(std::string &body, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    char b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    putBytes(body, std::string_view(b, 4));
}

// Reads fields in order; any field running past the end of the body fails.
struct FieldReader {
    std::string_view body;
    size_t pos = 0;

    bool bytes(std::string_view &out) {
        if (body.size() - pos < 4) return false;
        uint32_t len = 0;
        for (int i = 0; i < 4; ++i) len |= static_cast<uint32_t>(static_cast<unsigned char>(body[pos + i])) << (8 * i);
        pos += 4;
        if (body.size() - pos < len) return false;
        out = body.substr(pos, len);
        pos += len;
        return true;
    }
    bool integer(int32_t &v) {
        std::string_view f;
        if (!bytes(f) || f.size() != 4) return false;
        uint32_t u = 0;
        for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(static_cast<unsigned char>(f[i])) << (8 * i);
        v = static_cast<int32_t>(u);
        return true;
    }
    bool magnitude(TqStr &m) {
        std::string_view f;
        if (!bytes(f) || f.size() % 4 != 0) return false;
        m.assign(f.data(), f.size());
        return true;
    }
};

const std::string &fileName(int32_t which) {
    return which == 1 ? gTq_Cache_FileN_Constants : gTq_Cache_FileN_Tables;
}

// Header and digest; on success body is the checked body.
bool openBody(const std::string &content, std::string_view &body) {
    const size_t head = tq_Cache_HeaderLen + tq_Cache_DigestLen;
    if (content.size() < head) return false;
    if (content.compare(0, tq_Cache_HeaderLen, tq_Cache_Header) != 0) return false;
    body = std::string_view(content).substr(head);
    const std::string digest = tq_Sha256(std::string(body));
    return content.compare(tq_Cache_HeaderLen, tq_Cache_DigestLen, digest) == 0;
}

bool readConstants(std::string_view body, const std::string &name) {
    FieldReader r{body};
    int32_t mul = 0, comba = 0, square = 0, n = 0;
    if (!r.integer(mul) || !r.integer(comba) || !r.integer(square) || !r.integer(n)) return false;
    if (!tq_ThresholdSane(mul) || !tq_ThresholdSane(comba) || !tq_ThresholdSane(square)) return false;
    if (n < 0 || n > kHighestConst) return false;
    std::vector<TqNum> entries(static_cast<size_t>(n) + 1);
    for (TqNum &e : entries) {
        TarqVar &v = e.V;
        if (!r.integer(v.Sign) || !r.integer(v.Expo) || !r.integer(v.NumType) || !r.integer(v.Special)) return false;
        if (!r.magnitude(e.MantN) || !r.magnitude(e.DenN)) return false;
        if ((v.Sign != 1 && v.Sign != -1) || v.NumType < 0 || v.NumType > TarqText || v.Special < 0 ||
            v.Special > tq_Special_NaN)
            return false;
        v.InUse = e.MantN.empty() ? 0 : 1;
        if (!tq_ConstEntry_Plausible(static_cast<int32_t>(&e - entries.data()), e)) return false;
    }
    gTq_Threshold_Mul_Karatsuba2Way = mul;
    gTq_Threshold_Square_Comba = comba;
    gTq_Threshold_Square_Karatsuba = square;
    TqNum *cc = tq_ConstCache_Persistent();
    for (int32_t i = 0; i <= n; ++i) cc[i] = std::move(entries[static_cast<size_t>(i)]);
    n_Trace("retrieved from disk cache file: " + name);
    n_Trace("gTq_Threshold_Mul_Karatsuba2Way   :" + std::to_string(mul));
    n_Trace("gTq_Threshold_Square_Comba    :" + std::to_string(comba));
    n_Trace("gTq_Threshold_Square_Karatsuba:" + std::to_string(square));
    return true;
}

// A table entry is a trimmed, non-zero magnitude with a non-negative exponent
// in whole words, and the entries must be the true powers (cache_verify.cpp).
bool readTable(std::string_view body) {
    n_Trace("==Powers of 10, read from disk caching file ...");
    FieldReader r{body};
    int32_t n = 0;
    if (!r.integer(n) || n != kHighestTable) return false;
    TqPow10Entry entries[tq_Pow10_Entries];
    for (int32_t i = 0; i <= n; ++i) {
        TqPow10Entry &e = entries[i];
        if (!r.integer(e.Expo) || !r.magnitude(e.Mant)) return false;
        if (e.Mant.empty() || e.Expo < 0 || e.Expo % 4 != 0 || tq_W(e.Mant)[tq_NWords(e.Mant) - 1] == 0) return false;
    }
    if (!tq_Pow10_Plausible(entries)) return false;
    n_Pow10_Install(entries);
    return true;
}

std::string buildBody(int32_t which) {
    std::string body;
    if (which == 1) {
        putInt(body, gTq_Threshold_Mul_Karatsuba2Way);
        putInt(body, gTq_Threshold_Square_Comba);
        putInt(body, gTq_Threshold_Square_Karatsuba);
        putInt(body, kHighestConst);
        const TqNum *cc = tq_ConstCache_Persistent();
        for (int32_t i = 0; i <= kHighestConst; ++i) {
            const TqNum &e = cc[i];
            putInt(body, e.V.Sign);
            putInt(body, e.V.Expo);
            putInt(body, e.V.NumType);
            putInt(body, e.V.Special);
            putBytes(body, e.MantN);
            putBytes(body, e.DenN);
        }
    } else {
        putInt(body, kHighestTable);
        const TqPow10Entry *t = tq_Pow10Table();
        for (int32_t i = 0; i <= kHighestTable; ++i) {
            putInt(body, t[i].Expo);
            putBytes(body, t[i].Mant);
        }
    }
    return body;
}

}  // namespace

int32_t n_Cache_Read(int32_t which) {
    TqLockGuard guard;
    if (!gTq_Opt_DiskCache) {
        n_Trace("Disk caching is not enabled");
        return 1;
    }
    const std::string &name = fileName(which);
    n_Trace("Trying to open disk cache file: " + name);
    if (!tq_PathExists(name)) {
        n_Trace("Disk cache file does not exist.");
        return 1;
    }
    std::string content;
    std::string_view body;
    if (!tq_ReadOwnFile(name, kFileMax, content) || !openBody(content, body)) return 1;
    const bool ok = which == 1 ? readConstants(body, name) : readTable(body);
    return ok ? 0 : 1;
}

int32_t n_Cache_Save(int32_t which, int32_t atUnload) {
    (void)atUnload;  // the unload save writes the same content
    if (!gTq_Opt_DiskCache) {
        n_Trace("Disk caching is not enabled");
        return 1;
    }
    const std::string body = buildBody(which);
    const std::string &name = fileName(which);
    n_Trace("Trying to save to disk cache file: " + name);
    const std::string content = std::string(tq_Cache_Header, tq_Cache_HeaderLen) + tq_Sha256(body) + body;
    if (!tq_WriteOwnFile(name, content)) return tq_RaiseErr(tq_Err_CacheWrite);
    return 0;
}

void n_Cache_SaveAtUnload() {
    if (gTq_Opt_DiskCache) n_Cache_Save(1, 1);
}
