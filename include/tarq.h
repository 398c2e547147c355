/*
 * tarq.h - the C interface of TARQ, an arbitrary-precision arithmetic library.
 *
 * Numbers live in the library's own variable store; hosts hold 32-bit handles.
 * Every function returns a status (0 = success, otherwise the error bits that
 * were also ORed into the global error word, see TQ_GETGLOBALERROR) unless
 * its description says it returns a value.
 *
 * Builds: libtarq.so / libtarq.a (platform C convention), the 32-bit
 * Windows tarq.dll (__stdcall, undecorated names, BSTR dynamic strings) and
 * the 64-bit Windows tarq.dll (the one x64 convention, the same names).
 */
#ifndef TARQ_H
#define TARQ_H

#include <stdint.h>

#if defined(_WIN32)
#include <windows.h>
#include <oleauto.h>
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define TQ_CALL __stdcall
#else
#define TQ_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Everything declared here is an export: visible from the shared library,
 * whose other names are compiled with hidden visibility. */
#if defined(__GNUC__) && !defined(_WIN32)
#pragma GCC visibility push(default)
#endif

/* Dynamic string: Windows BSTR; elsewhere a pointer to the first text byte,
 * preceded by a uint32_t byte length and followed by one zero byte. */
#if defined(_WIN32)
typedef BSTR tq_dstr;
#else
typedef char *tq_dstr;
#endif

/* The native extended float of TQ_PUTEXT and TQ_GETANY_EXT: the 80-bit long
 * double, except in the 64-bit Windows DLL, whose hosts (MSVC, VBA) have no
 * such type: there it is a double. */
#if defined(_WIN64)
typedef double tq_ext;
#else
typedef long double tq_ext;
#endif

/* A zero-terminated text in a fixed 100-byte block, passed by value. */
typedef struct {
    char text[100];
} tq_az100;

/* Number kinds. */
#define TQ_KIND_DECFLOAT 1
#define TQ_KIND_BINFLOAT 2
#define TQ_KIND_BIGINT 3
#define TQ_KIND_FRACTION 4
#define TQ_KIND_TEXT 5

/* Error bits of the status results and the global error word. */
#define TQ_ERR_INVALID 1
#define TQ_ERR_TYPE 2
#define TQ_ERR_KIND 4
#define TQ_ERR_SPECIAL 8
#define TQ_ERR_HANDLE 16
#define TQ_ERR_RANGE 32
#define TQ_ERR_CACHEWRITE 64
#define TQ_ERR_EXPRANGE 256
#define TQ_ERR_NOINVERSE 512

/* Format flags of TQ_GET_STRING: one layout flag plus one radix flag. */
#define TQ_FORMAT_NORMAL 1
#define TQ_FORMAT_SCIENTIFIC 2
#define TQ_FORMAT_INTMANTISSA 4
#define TQ_FORMAT_DEC 8
#define TQ_FORMAT_HEX 16
#define TQ_FORMAT_BIN 32

/* Codes of TQ_GETCONST. 1 to 10 are computed to the working precision (float
 * kinds; TQ_CONST_LN1_0625 binary floats only), 11 to 30 are fixed values
 * (28 to 30 float kinds, 28 and 29 binary floats only), 31 to 33 the special
 * values. */
enum tq_const {
    TQ_CONST_LN2 = 1,         /* ln 2 */
    TQ_CONST_LN10 = 2,        /* ln 10 */
    TQ_CONST_LN256 = 3,       /* ln 256 */
    TQ_CONST_LN1_0625 = 4,    /* ln 1.0625 */
    TQ_CONST_INV_LN2 = 5,     /* 1 / ln 2 */
    TQ_CONST_INV_LN10 = 6,    /* 1 / ln 10 */
    TQ_CONST_SQRT2 = 7,       /* square root of 2 */
    TQ_CONST_PI = 8,          /* pi */
    TQ_CONST_2PI = 9,         /* 2 pi */
    TQ_CONST_PI_2 = 10,       /* pi / 2 */
    TQ_CONST_0 = 11,
    TQ_CONST_0_25 = 12,
    TQ_CONST_0_5 = 13,
    TQ_CONST_1 = 14,
    TQ_CONST_MINUS1 = 15,
    TQ_CONST_2 = 16,
    TQ_CONST_3 = 17,
    TQ_CONST_5 = 18,
    TQ_CONST_8 = 19,
    TQ_CONST_10 = 20,
    TQ_CONST_16 = 21,
    TQ_CONST_20 = 22,
    TQ_CONST_100 = 23,
    TQ_CONST_125 = 24,
    TQ_CONST_180 = 25,
    TQ_CONST_200 = 26,
    TQ_CONST_256 = 27,
    TQ_CONST_1_0625 = 28,
    TQ_CONST_0_96875 = 29,
    TQ_CONST_0_001 = 30,      /* exact as a decimal float, slightly above as a binary float */
    TQ_CONST_POSINF = 31,
    TQ_CONST_NEGINF = 32,
    TQ_CONST_NAN = 33
};

/* Dynamic-string helpers. */
tq_dstr TQ_CALL TQ_DS_NEW(const char *bytes, int32_t len);
void TQ_CALL TQ_DS_FREE(tq_dstr s);
int32_t TQ_CALL TQ_DS_LEN(tq_dstr s);

/* Variables. */
int32_t TQ_CALL TQ_ALLOCVAR(int32_t kind);
int32_t TQ_CALL TQ_UNALLOCVAR(int32_t h);
int32_t TQ_CALL TQ_COPYVAR(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_ABS(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_REVSIGN(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_GETGLOBALERROR(void);

/* Precision and options. */
int32_t TQ_CALL TQ_SETPRECISION(int32_t mode, int32_t amount);
int32_t TQ_CALL TQ_GETPRECISION(int32_t mode);
int32_t TQ_CALL TQ_SETOPTION(int32_t code, int32_t value);
int32_t TQ_CALL TQ_GETOPTION(int32_t code);
int32_t TQ_CALL TQ_GETPOW10(int32_t n, int32_t hOut);

/* Text in and out. */
int32_t TQ_CALL TQ_PUT_STRING(tq_dstr text, int32_t hOut);
int32_t TQ_CALL TQ_GET_STRING(int32_t hIn, int32_t format, int32_t digits, tq_dstr *text);
int32_t TQ_CALL TQ_GETSTRINGLENGTH(int32_t h);
tq_dstr TQ_CALL TQ_GETSTRING_DS(int32_t h);
tq_dstr *TQ_CALL TQ_GETSTRING_PDS(int32_t h);
const char *TQ_CALL TQ_GETSTRING_PAZ(int32_t h);
int32_t TQ_CALL TQ_GETSTRING_2ADD(int32_t h, void *dest);
int32_t TQ_CALL TQ_PUTSTRING_DS(tq_dstr text, int32_t hOut);
int32_t TQ_CALL TQ_PUTSTRING_VB(tq_dstr *text, int32_t hOut);
int32_t TQ_CALL TQ_PUTSTRING_PDS(tq_dstr *text, int32_t hOut);
int32_t TQ_CALL TQ_PUTSTRING_AZ(tq_az100 text, int32_t hOut);
int32_t TQ_CALL TQ_PUTSTRING_PAZ(const char *text, int32_t hOut);
int32_t TQ_CALL TQ_PUTSTRING_FROMADD(const void *addr, int32_t len, int32_t hOut);

/* Native values. */
int32_t TQ_CALL TQ_PUTEXT(tq_ext x, int32_t hOut);
int32_t TQ_CALL TQ_PUTDOUBLE(double x, int32_t hOut);
int32_t TQ_CALL TQ_PUTLONG(int32_t x, int32_t hOut);
int32_t TQ_CALL TQ_PUTDWORD(uint32_t x, int32_t hOut);
tq_ext TQ_CALL TQ_GETANY_EXT(int32_t h);
double TQ_CALL TQ_GETANY_DOUBLE(int32_t h);
int32_t TQ_CALL TQ_GETANY_LONG(int32_t h);
uint32_t TQ_CALL TQ_GETANY_DWORD(int32_t h);
tq_dstr TQ_CALL TQ_GETANY_DS(int32_t h);
int32_t TQ_CALL TQ_GETANY_S2ADD(int32_t h, void *dest);

/* Comparisons and predicates. */
int32_t TQ_CALL TQ_COMPARE(int32_t a, int32_t b);
int32_t TQ_CALL TQ_IS_EQ(int32_t a, int32_t b);
int32_t TQ_CALL TQ_IS_NE(int32_t a, int32_t b);
int32_t TQ_CALL TQ_IS_L(int32_t a, int32_t b);
int32_t TQ_CALL TQ_IS_LE(int32_t a, int32_t b);
int32_t TQ_CALL TQ_IS_G(int32_t a, int32_t b);
int32_t TQ_CALL TQ_IS_GE(int32_t a, int32_t b);
int32_t TQ_CALL TQ_ISZERO(int32_t h);
int32_t TQ_CALL TQ_ISINRANGE(int32_t h, int32_t rangeCode);

/* Kind and unit conversion. */
int32_t TQ_CALL TQ_CONVERTDT(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_CONVERTUNITS(int32_t code, int32_t hIn, int32_t hOut);

/* Arithmetic. */
int32_t TQ_CALL TQ_ADD(int32_t a, int32_t b, int32_t hOut);
int32_t TQ_CALL TQ_SUB(int32_t a, int32_t b, int32_t hOut);
int32_t TQ_CALL TQ_MUL(int32_t a, int32_t b, int32_t hOut);
int32_t TQ_CALL TQ_DIV(int32_t a, int32_t b, int32_t hOut);
int32_t TQ_CALL TQ_GCD(int32_t a, int32_t b, int32_t hOut);
int32_t TQ_CALL TQ_LCM(int32_t a, int32_t b, int32_t hOut);
int32_t TQ_CALL TQ_POW(int32_t a, int32_t b, int32_t hOut);
int32_t TQ_CALL TQ_INCR(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_DECR(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_MULBY2(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_DIVBY2(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_FIX(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_FRAC(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_SQR(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_RECIPROCAL(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_SQRT(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_EXP(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_EXP2(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_EXP10(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_LOG(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_LOG2(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_LOG10(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_SIN(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_COS(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_TAN(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_ATAN(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_ASIN(int32_t hIn, int32_t hOut);
int32_t TQ_CALL TQ_DIVINT(int32_t a, int32_t b, int32_t hQuot, int32_t hRem);
int32_t TQ_CALL TQ_MOD(int32_t a, int32_t b, int32_t hOut);
int32_t TQ_CALL TQ_ROOT(int32_t a, int32_t n, int32_t wantRemainder, int32_t hRoot, int32_t hRem);
int32_t TQ_CALL TQ_POWMOD(int32_t base, int32_t exponent, int32_t modulus, int32_t hOut);
int32_t TQ_CALL TQ_GETCONST(int32_t code, int32_t hOut);
int32_t TQ_CALL TQ_MODINV(int32_t a, int32_t modulus, int32_t hOut);
int32_t TQ_CALL TQ_EXTEUCLIDALGO(int32_t a, int32_t b, int32_t hX, int32_t hY, int32_t hG);

/* SHA-256 (no lock, no initialisation). */
int32_t TQ_CALL SHA256_BUFFER(const void *data, int32_t len, void *digest32);
int32_t TQ_CALL SHA256_FILE(tq_dstr *fileName, tq_dstr *digest);

/* Benchmarks. */
int32_t TQ_CALL TQ_TEST(int32_t unused);
int32_t TQ_CALL TQ_TEST2(int32_t unused1, tq_dstr *operand, int32_t unused3);

#if defined(__GNUC__) && !defined(_WIN32)
#pragma GCC visibility pop
#endif

#ifdef __cplusplus
}
#endif

#endif /* TARQ_H */
