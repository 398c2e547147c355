// The start-up cache files: 1 the constants file ("~$TARQ_A.txt": thresholds
// and the persistent constant cache), 2 the tables file ("~$TARQ_B.txt": the
// powers-of-ten table). Both are the header text, the SHA-256 digest of the
// body, then the body: fields of a 4-byte little-endian length and its bytes.
#pragma once
#include <cstdint>
#include <string>

// 0 on success, 1 on any failure (caching off, no file, bad header, digest,
// structure or values). A failed read changes nothing.
int32_t n_Cache_Read(int32_t which);
// 0 on success, 1 when disk caching is off, 64 when writing fails.
int32_t n_Cache_Save(int32_t which, int32_t atUnload);

extern const char *const tq_Cache_Header;  // 42 bytes, no terminator in the file
constexpr int32_t tq_Cache_HeaderLen = 42;
constexpr int32_t tq_Cache_DigestLen = 32;
// Saves the cache files at unload when disk caching is on.
void n_Cache_SaveAtUnload();
