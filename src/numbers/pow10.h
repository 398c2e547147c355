// Powers of ten as binary floats, from the powers-of-ten table: entry i holds
// 10^(2^i), i = 0..31, as a magnitude of at most gTq_Opt_Pow10_Precision bytes
// times 256^Expo (Expo in bytes, a multiple of 4).
#pragma once
#include "base/tq_types.h"

// v becomes a TarqBinFloat (Sign +1, Special 0) with MantN * 256^Expo equal to
// 10^n within the table's precision; n < 0 gives zero.
void n_Pow10_Lookup(int32_t n, TarqVar &v, TqStr &MantN);
// 10^n from the lookup as an integer magnitude (shifted up by its exponent).
void n_Pow10_Integer(int32_t n, TqStr &R);

// 10^d for d = 0..9.
extern const uint32_t tq_Pow10Word[10];
// M = M x 10^d (d >= 0), trimmed: by one-word products up to 72 digits
// (eight of them at most), from the lookup beyond.
void n_MulPow10(TqStr &M, int32_t d);

constexpr int32_t tq_Pow10_Entries = 32;

struct TqPow10Entry {
    TqStr Mant;
    int32_t Expo = 0;
};

// The whole table (tq_Pow10_Entries entries), every entry built first.
TqPow10Entry *tq_Pow10Table();
// The table's precision in bytes (the length of a cut entry), 0 while the
// table is empty.
int32_t n_Pow10_TablePrecision();
// Builds every entry from scratch at gTq_Opt_Pow10_Precision.
void n_Pow10_Generate();
// Brings the table up to gTq_Opt_Pow10_Precision at once: the entries never
// cut are kept, the others are built again when a lookup needs them.
void n_Pow10_Grow();
// Cuts entries longer than gTq_Opt_Pow10_Precision to that length.
void n_Pow10_Reduce();
// Replaces the whole table (entries 0..31; all empty for an empty table),
// its precision the length of entry 31, and forgets the last lookup.
void n_Pow10_Install(TqPow10Entry *entries);

// Start-up step: brings the table to gTq_Opt_Pow10_Precision, from the tables
// file when the frame has installed its reader, else generated.
void n_Init_PowersOf10Table();
// The frame's reader (0 on success) and writer of the tables file.
void n_Pow10_SetDiskCache(int32_t (*read)(), void (*save)());
