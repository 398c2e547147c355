// Exports whose operations are not available yet: each reports tq_Err_Invalid
// (status 1, or a zero/empty result for value exports) and changes nothing.
// An export leaves this file when its operation lands.
#include "frame/tq_state.h"
#include "tarq.h"

static int32_t notAvailable() { return tq_RaiseErr(tq_Err_Invalid); }

extern "C" {

int32_t TQ_CALL TQ_PUT_STRING(tq_dstr, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_GET_STRING(int32_t, int32_t, int32_t, tq_dstr *) {
    return notAvailable();
}

int32_t TQ_CALL TQ_GETSTRINGLENGTH(int32_t) {
    return notAvailable();
}

tq_dstr TQ_CALL TQ_GETSTRING_DS(int32_t) {
    notAvailable();
    return nullptr;
}

tq_dstr * TQ_CALL TQ_GETSTRING_PDS(int32_t) {
    notAvailable();
    return nullptr;
}

const char * TQ_CALL TQ_GETSTRING_PAZ(int32_t) {
    notAvailable();
    return nullptr;
}

int32_t TQ_CALL TQ_GETSTRING_2ADD(int32_t, void *) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTSTRING_DS(tq_dstr, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTSTRING_VB(tq_dstr *, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTSTRING_PDS(tq_dstr *, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTSTRING_AZ(tq_az100, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTSTRING_PAZ(const char *, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTSTRING_FROMADD(const void *, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTEXT(long double, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTDOUBLE(double, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTLONG(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_PUTDWORD(uint32_t, int32_t) {
    return notAvailable();
}

long double TQ_CALL TQ_GETANY_EXT(int32_t) {
    notAvailable();
    return 0;
}

double TQ_CALL TQ_GETANY_DOUBLE(int32_t) {
    notAvailable();
    return 0;
}

int32_t TQ_CALL TQ_GETANY_LONG(int32_t) {
    return notAvailable();
}

uint32_t TQ_CALL TQ_GETANY_DWORD(int32_t) {
    notAvailable();
    return 0;
}

tq_dstr TQ_CALL TQ_GETANY_DS(int32_t) {
    notAvailable();
    return nullptr;
}

int32_t TQ_CALL TQ_GETANY_S2ADD(int32_t, void *) {
    return notAvailable();
}

int32_t TQ_CALL TQ_COMPARE(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_IS_EQ(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_IS_NE(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_IS_L(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_IS_LE(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_IS_G(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_IS_GE(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_ISZERO(int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_ISINRANGE(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_CONVERTDT(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_CONVERTUNITS(int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_GCD(int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_LCM(int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_POW(int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_SQRT(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_EXP(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_EXP2(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_EXP10(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_LOG(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_LOG2(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_LOG10(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_SIN(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_COS(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_TAN(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_ATAN(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_ASIN(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_ROOT(int32_t, int32_t, int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_POWMOD(int32_t, int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_MODINV(int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_EXTEUCLIDALGO(int32_t, int32_t, int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_TEST(int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_TEST2(int32_t, tq_dstr *, int32_t) {
    return notAvailable();
}

}  // extern "C"
