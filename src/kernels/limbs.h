// Word-vector primitives under the magnitude kernels.
//
// Every primitive works on little-endian arrays of 32-bit words given by a
// pointer and a word count. On x86-64 the loops read and write two words at a
// time as one 64-bit limb (the word layout is also the 64-bit limb layout; an
// odd word count leaves one 32-bit word at the top, handled separately) and
// multiply with 64 x 64 -> 128-bit products. Elsewhere, and whenever
// gTq_Kernel_Limb64 is 0, the portable 32-bit loops run. Both paths give the
// same words in every case.
//
// Aliasing: the result may be the same array as an operand (exactly, not
// shifted) for the addition and subtraction primitives; the products require
// a result that overlaps neither operand.
#pragma once
#include <atomic>
#include <cstdint>

#include "frame/tq_state.h"

#ifndef TQ_HAVE_LIMB64
#if defined(__x86_64__) && defined(__SIZEOF_INT128__)
#define TQ_HAVE_LIMB64 1
#else
#define TQ_HAVE_LIMB64 0
#endif
#endif

// gTq_Kernel_Limb64 (tq_state.h) selects the 64-bit limb loops where the
// build has them; tests set it to 0 to run the portable path on the same
// machine.

// 1 when the 64-bit loops may use their assembly forms (the row loop needs
// MULX, ADCX and ADOX; set at load from the processor's feature bits). Tests
// set it to 0 to run the portable 64-bit loops as well.
extern int32_t gTq_Kernel_Adx;

// r = a + b over n words; returns the carry out (0 or 1). n may be 0.
uint32_t tq_AddN(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n);
// r = a - b over n words; returns the borrow out (0 or 1).
uint32_t tq_SubN(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n);
// r = a + c over n words (c is 0 or 1); returns the carry out. When r != a the
// whole range is written; when r == a it stops as soon as the carry is gone.
uint32_t tq_Add1(uint32_t *r, const uint32_t *a, int32_t n, uint32_t c);
// r = a - c over n words (c is 0 or 1); returns the borrow out. Same early exit.
uint32_t tq_Sub1(uint32_t *r, const uint32_t *a, int32_t n, uint32_t c);
// r = 2 a over n words; returns the bit shifted out of the top.
uint32_t tq_Lsh1N(uint32_t *r, const uint32_t *a, int32_t n);
// Compares a and b, both n words: +1 when a > b, -1 when a < b, 0 when equal.
int32_t tq_CmpN(const uint32_t *a, const uint32_t *b, int32_t n);

// r = a x b by rows; r holds na + nb words and overlaps neither operand.
// na, nb >= 1. Rows of zero multiplier words are skipped.
void tq_MulBasecase(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb);
// r = a x a (2n words), each cross product formed once and doubled.
void tq_SqrBasecase(uint32_t *r, const uint32_t *a, int32_t n);

// Steps the Karatsuba depth counter. The threaded multiplication updates it
// from several threads, so every access is atomic (relaxed: the value only
// indents a diagnostic line).
inline void tq_DepthAdd(int32_t d) {
    std::atomic_ref<int32_t>(gTq_Karatsuba_Depth).fetch_add(d, std::memory_order_relaxed);
}
inline int32_t tq_Depth() { return std::atomic_ref<int32_t>(gTq_Karatsuba_Depth).load(std::memory_order_relaxed); }

// The Karatsuba combination: r holds z0 (2h words) followed by z2 (n2 >= 1
// words) and nothing else; adds (z0 + z2 + mSign M) x^h into r, where M has
// 2h words and mSign is +1, -1 or 0 (M absent). The caller guarantees that
// the coefficient is not negative and that the sum fits in 2h + n2 words. T
// is scratch of 2h + 1 words, used only when n2 < h.
void tq_KaratsubaCombine(uint32_t *r, int32_t h, int32_t n2, const uint32_t *M, int32_t mSign, uint32_t *T);

// r = a x b with the fastest algorithm for the sizes (schoolbook or Karatsuba,
// with unbalanced operands cut into pieces); r holds na + nb words and
// overlaps neither operand. na, nb >= 1.
void tq_MulWords(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb);
// r = a x a (2n words) with the fastest algorithm for the size.
void tq_SqrWords(uint32_t *r, const uint32_t *a, int32_t n);
