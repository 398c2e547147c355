// Roots, powers, elementary functions and the computed constants through
// the DLL, in both float kinds, against well-known values written to 50
// digits; each result is compared to 30 significant digits. The working
// precision is 50 digits: a binary float keeps its exponent in whole words,
// so its top word may hold a single bit and up to 31 bits of the working
// precision go unused.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host.h"

// "d.ddd...*d+e" of a 50-digit reference rounded half up to n digits, in
// the library's scientific layout (trailing zeros removed, as it does).
static void reference(const char *digits, int exponent, int negative, int n, char *out) {
    char m[64];
    int len = (int)strlen(digits);
    memcpy(m, digits, (size_t)n);
    m[n] = '\0';
    if (n < len && digits[n] >= '5') {
        int i = n - 1;
        while (i >= 0 && m[i] == '9') m[i--] = '0';
        if (i >= 0) {
            ++m[i];
        } else {  // 999... became 1000...
            memmove(m + 1, m, (size_t)n);
            m[0] = '1';
            m[n] = '\0';
            ++exponent;
        }
    }
    int last = n - 1;
    while (last > 0 && m[last] == '0') --last;
    char frac[64];
    if (last == 0) strcpy(frac, "0");
    else {
        memcpy(frac, m + 1, (size_t)last);
        frac[last] = '\0';
    }
    sprintf(out, "%c%c.%s*d%c%d", negative ? '-' : ' ', m[0], frac, exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
}

typedef struct {
    const char *op;     // export, or "CONST" with the code as argument
    const char *arg;    // argument text (second argument after a comma for POW)
    const char *value;  // 50 significant digits of the result
    int exponent;       // its decimal exponent
    int negative;
} Case;

static const Case kCases[] = {
    {"TQ_SQRT", "2", "14142135623730950488016887242096980785696718753769", 0, 0},
    {"TQ_SQRT", "10", "31622776601683793319988935444327185337195551393252", 0, 0},
    {"TQ_SQRT", "0.0002", "14142135623730950488016887242096980785696718753769", -2, 0},
    {"TQ_EXP", "1", "27182818284590452353602874713526624977572470936999", 0, 0},
    {"TQ_EXP", "-1", "36787944117144232159552377016146086744581113103176", -1, 0},
    {"TQ_EXP2", "0.5", "14142135623730950488016887242096980785696718753769", 0, 0},
    {"TQ_EXP10", "0.5", "31622776601683793319988935444327185337195551393252", 0, 0},
    {"TQ_LOG", "2", "69314718055994530941723212145817656807550013436025", -1, 0},
    {"TQ_LOG", "10", "23025850929940456840179914546843642076011014886287", 0, 0},
    {"TQ_LOG", "0.5", "69314718055994530941723212145817656807550013436025", -1, 1},
    {"TQ_LOG2", "10", "33219280948873623478703194294893901758648313930245", 0, 0},
    {"TQ_LOG10", "2", "30102999566398119521373889472449302676818988146211", -1, 0},
    {"TQ_SIN", "1", "84147098480789650665250232163029899962256306079837", -1, 0},
    {"TQ_COS", "1", "54030230586813971740093660744297660373231042061792", -1, 0},
    {"TQ_TAN", "1", "15574077246549022305069748074583601730872507723815", 0, 0},
    {"TQ_SIN", "-100", "50636564110975879365655761045978543206503272129065", -1, 0},
    {"TQ_ATAN", "1", "78539816339744830961566084581987572104929234984378", -1, 0},
    {"TQ_ASIN", "0.5", "52359877559829887307710723054658381403286156656252", -1, 0},
    {"TQ_POW", "2,0.5", "14142135623730950488016887242096980785696718753769", 0, 0},
    {"TQ_POW", "10,-0.5", "31622776601683793319988935444327185337195551393252", -1, 0},
    {"CONST", "1", "69314718055994530941723212145817656807550013436025", -1, 0},
    {"CONST", "2", "23025850929940456840179914546843642076011014886287", 0, 0},
    {"CONST", "7", "14142135623730950488016887242096980785696718753769", 0, 0},
    {"CONST", "8", "31415926535897932384626433832795028841971693993751", 0, 0},
    {"CONST", "9", "62831853071795864769252867665590057683943387987502", 0, 0},
    {"CONST", "10", "15707963267948966192313216916397514420985846996876", 0, 0},
};

void host_TestFunctions(void) {
    host_Group("roots, powers, elementary functions, computed constants");
    T.SETPRECISION(1, 50);
    int ran = 0;
    for (int32_t kind = 1; kind <= 2; ++kind) {
        int32_t a = T.ALLOCVAR(kind), b = T.ALLOCVAR(kind), r = T.ALLOCVAR(kind);
        for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
            const Case *c = &kCases[i];
            int32_t st;
            char arg[64], got[256], want[64];
            strcpy(arg, c->arg);
            char *comma = strchr(arg, ',');
            if (comma) *comma = '\0';
            if (strcmp(c->op, "CONST") == 0) {
                st = T.GETCONST(atoi(arg), r);
            } else {
                host_Put(a, arg);
                if (comma) {
                    host_Put(b, comma + 1);
                    st = ((Fn_I_III)(void (*)(void))GetProcAddress(gDll, c->op))(a, b, r);
                } else {
                    st = ((Fn_I_II)(void (*)(void))GetProcAddress(gDll, c->op))(a, r);
                }
            }
            host_Get(r, 2 + 8, 30, got, sizeof got);
            reference(c->value, c->exponent, c->negative, 30, want);
            if (st != 0 || strcmp(got, want) != 0) {
                printf("FAIL  %s(%s) in kind %d: status %d, %s, expected %s\n", c->op, c->arg, (int)kind, (int)st, got, want);
                ++gFail;
            } else {
                ++gPass;
            }
            ++ran;
        }
        T.UNALLOCVAR(a);
        T.UNALLOCVAR(b);
        T.UNALLOCVAR(r);
    }
    printf("%d function values checked\n", ran);
    T.SETPRECISION(1, 38);
    CHECK_EQ(host_Err(), 0);
}
