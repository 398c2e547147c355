// Magnitude multiplication and squaring: the dispatch entries and the
// algorithms behind them, exposed for the threshold calibration and the
// threaded multiplication.
//
// Operands and results are magnitude strings (little-endian 32-bit words,
// lengths in bytes, multiples of 4). The untrimmed product of la and lb bytes
// has la + lb bytes unless an entry says otherwise.
#pragma once
#include <cstdint>

#include "base/tq_types.h"

// R = A x B. Below gTq_Threshold_Mul_Karatsuba2Way (shorter operand, bytes)
// the schoolbook kernel runs with the caller's trim flag; otherwise the
// Karatsuba entry does.
void h_Mul(TqStr A, TqStr B, int32_t &trim, TqStr &R);
// R = A x A, always trimmed.
void h_Square(TqStr A, TqStr &R);

// R = A x B by rows (la + lb bytes, trimmed when trim is non-zero). R may be
// the same string as A or B.
void h_Mul_schoolbook(const TqStr &A, const TqStr &B, int32_t &trim, TqStr &R);
// Writes the lenA + lenB bytes of A x B at R, which overlaps neither operand.
// Never trims: a non-zero trim flag only passes a diagnostic line to the trace.
void h_Mul_schoolbook_Ptr(const void *A, int32_t lenA, const void *B, int32_t lenB, int32_t &trim, void *R);

// R = A x B by Karatsuba. When either operand is at most the threshold the
// schoolbook kernel runs and the product is always trimmed. Otherwise both
// operands count as extended to the common length N = L x 2^c (L the longer
// length halved c times, raised to a multiple of 4 after each halving, until
// it is at most the threshold) and the untrimmed result has 2N bytes.
void h_Mul_Karatsuba2Way(TqStr A, TqStr B, int32_t &trim, TqStr &R);
// A and B both n bytes; writes the 2n-byte product at R, which overlaps
// neither operand.
void h_Mul_Karatsuba2Way_helper(const void *A, const void *B, int32_t n, void *R);
// The common length N of the Karatsuba entry for operands of la and lb bytes.
int32_t h_Mul_Karatsuba2Way_CommonLength(int32_t la, int32_t lb);

// R = A x A by columns (2n bytes, trimmed when trim is non-zero).
void h_Square_Comba(const TqStr &A, int32_t &trim, TqStr &R);
// R = A x A by the Karatsuba squaring recursion, trimmed when trim is
// non-zero. Untrimmed, the result has 2n bytes, or 2n + 8 when A is longer
// than gTq_Threshold_Square_Karatsuba and has an odd number of words (the
// recursion extends it by one zero word).
void h_Square_Karatsuba(TqStr A, int32_t &trim, TqStr &R);
