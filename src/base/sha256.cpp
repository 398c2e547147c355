// SHA-256 compression and the incremental context. Full blocks are compressed
// straight from the caller's memory; only a partial block is buffered. The
// message length is counted in 64 bits, so the padding is right for any size.
#include "sha256.h"

#include <cstring>

static const uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

static inline uint32_t rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

static inline uint32_t loadBE(const uint8_t *p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

static inline void storeBE(uint8_t *p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

void tq_Sha256_Blocks(uint32_t H[8], const uint8_t *p, size_t n) {
    uint32_t w[64];
    for (; n; --n, p += 64) {
        for (int i = 0; i < 16; ++i) w[i] = loadBE(p + 4 * i);
        for (int i = 16; i < 64; ++i) {
            const uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = H[0], b = H[1], c = H[2], d = H[3], e = H[4], f = H[5], g = H[6], h = H[7];
        for (int i = 0; i < 64; ++i) {
            const uint32_t t1 = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
            const uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        H[0] += a;
        H[1] += b;
        H[2] += c;
        H[3] += d;
        H[4] += e;
        H[5] += f;
        H[6] += g;
        H[7] += h;
    }
}

void tq_Sha256_Init(TqSha256 &c) {
    static const uint32_t kInit[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::memcpy(c.H, kInit, sizeof kInit);
    c.BlockFill = 0;
    c.TotalBytes = 0;
}

void tq_Sha256_Update(TqSha256 &c, const void *data, size_t len) {
    const uint8_t *p = static_cast<const uint8_t *>(data);
    c.TotalBytes += len;
    if (c.BlockFill) {
        const size_t take = len < 64 - c.BlockFill ? len : 64 - c.BlockFill;
        std::memcpy(c.Block + c.BlockFill, p, take);
        c.BlockFill += static_cast<uint32_t>(take);
        p += take;
        len -= take;
        if (c.BlockFill < 64) return;
        tq_Sha256_Blocks(c.H, c.Block, 1);
        c.BlockFill = 0;
    }
    tq_Sha256_Blocks(c.H, p, len / 64);
    p += len - len % 64;
    len %= 64;
    std::memcpy(c.Block, p, len);
    c.BlockFill = static_cast<uint32_t>(len);
}

void tq_Sha256_Final(TqSha256 &c, uint8_t digest[32]) {
    // Tail: the pending bytes, 0x80, zeros, and the length in bits (64-bit
    // big-endian); one block when the pending part has at most 55 bytes, else two.
    uint8_t tail[128] = {};
    const uint32_t n = c.BlockFill;
    std::memcpy(tail, c.Block, n);
    tail[n] = 0x80;
    const size_t tailLen = n <= 55 ? 64 : 128;
    const uint64_t bits = c.TotalBytes * 8;
    for (int i = 0; i < 8; ++i) tail[tailLen - 1 - i] = uint8_t(bits >> (8 * i));
    tq_Sha256_Blocks(c.H, tail, tailLen / 64);
    for (int i = 0; i < 8; ++i) storeBE(digest + 4 * i, c.H[i]);
}

std::string tq_Sha256(const std::string &data) {
    TqSha256 c;
    tq_Sha256_Init(c);
    tq_Sha256_Update(c, data.data(), data.size());
    uint8_t d[32];
    tq_Sha256_Final(c, d);
    return std::string(reinterpret_cast<const char *>(d), 32);
}
