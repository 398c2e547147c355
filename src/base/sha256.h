// Incremental SHA-256 (FIPS 180-4): feed bytes in any pieces, then finish to
// get the 32-byte digest (state words most significant byte first). Used by
// the SHA-256 exports and by the start-up cache files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct TqSha256 {
    uint32_t H[8];
    uint8_t Block[64];    // pending bytes of the current block
    uint32_t BlockFill;   // how many of Block are used
    uint64_t TotalBytes;  // message length so far; 64 bits so files of 4 GiB and more hash correctly
};

void tq_Sha256_Init(TqSha256 &c);
void tq_Sha256_Update(TqSha256 &c, const void *data, size_t len);
void tq_Sha256_Final(TqSha256 &c, uint8_t digest[32]);
// Compresses n whole 64-byte blocks at p into the state words.
void tq_Sha256_Blocks(uint32_t H[8], const uint8_t *p, size_t n);

// One-shot digest of a byte string, as 32 raw bytes.
std::string tq_Sha256(const std::string &data);
