// A small, slow and obviously correct big-integer arithmetic for the host
// test: magnitudes of 32-bit words, least significant first, no leading
// zero words (zero has length 0). It checks the library's results.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum { kBigMaxWords = 4200 };
typedef struct {
    int32_t n;
    uint32_t w[kBigMaxWords];
} HostBig;

void big_Trim(HostBig *a);
int big_Cmp(const HostBig *a, const HostBig *b);
void big_Add(const HostBig *a, const HostBig *b, HostBig *r);  // r may alias
void big_Sub(const HostBig *a, const HostBig *b, HostBig *r);  // a >= b; r may alias
void big_Mul(const HostBig *a, const HostBig *b, HostBig *r);  // r must not alias
// Upper-case hexadecimal without leading zeros ("0" for zero).
void big_ToHex(const HostBig *a, char *out);
// Reads hexadecimal digits; returns 0 on a character that is not one.
int big_FromHex(const char *s, HostBig *a);
