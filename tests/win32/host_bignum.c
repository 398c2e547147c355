// Schoolbook big-integer arithmetic for the host test (see host_bignum.h).
#include "host_bignum.h"

#include <string.h>

void big_Trim(HostBig *a) {
    while (a->n > 0 && a->w[a->n - 1] == 0) --a->n;
}

int big_Cmp(const HostBig *a, const HostBig *b) {
    if (a->n != b->n) return a->n < b->n ? -1 : 1;
    for (int32_t i = a->n - 1; i >= 0; --i)
        if (a->w[i] != b->w[i]) return a->w[i] < b->w[i] ? -1 : 1;
    return 0;
}

void big_Add(const HostBig *a, const HostBig *b, HostBig *r) {
    int32_t n = a->n > b->n ? a->n : b->n;
    uint64_t carry = 0;
    for (int32_t i = 0; i < n; ++i) {
        uint64_t s = carry + (i < a->n ? a->w[i] : 0) + (i < b->n ? b->w[i] : 0);
        r->w[i] = (uint32_t)s;
        carry = s >> 32;
    }
    r->w[n] = (uint32_t)carry;
    r->n = n + 1;
    big_Trim(r);
}

void big_Sub(const HostBig *a, const HostBig *b, HostBig *r) {
    int64_t borrow = 0;
    for (int32_t i = 0; i < a->n; ++i) {
        int64_t d = (int64_t)a->w[i] - (i < b->n ? b->w[i] : 0) - borrow;
        borrow = d < 0;
        r->w[i] = (uint32_t)(d + (borrow ? ((int64_t)1 << 32) : 0));
    }
    r->n = a->n;
    big_Trim(r);
}

void big_Mul(const HostBig *a, const HostBig *b, HostBig *r) {
    int32_t n = a->n + b->n;
    memset(r->w, 0, sizeof(uint32_t) * (size_t)n);
    for (int32_t i = 0; i < a->n; ++i) {
        uint64_t carry = 0;
        for (int32_t j = 0; j < b->n; ++j) {
            uint64_t t = (uint64_t)a->w[i] * b->w[j] + r->w[i + j] + carry;
            r->w[i + j] = (uint32_t)t;
            carry = t >> 32;
        }
        r->w[i + b->n] = (uint32_t)carry;
    }
    r->n = n;
    big_Trim(r);
}

void big_ToHex(const HostBig *a, char *out) {
    static const char digits[] = "0123456789ABCDEF";
    char *p = out;
    for (int32_t i = a->n - 1; i >= 0; --i)
        for (int s = 28; s >= 0; s -= 4) {
            int d = (int)((a->w[i] >> s) & 15);
            if (p == out && d == 0) continue;
            *p++ = digits[d];
        }
    if (p == out) *p++ = '0';
    *p = '\0';
}

int big_FromHex(const char *s, HostBig *a) {
    size_t len = strlen(s);
    memset(a->w, 0, sizeof a->w);
    for (size_t k = 0; k < len; ++k) {
        char c = s[len - 1 - k];
        uint32_t d;
        if (c >= '0' && c <= '9') d = (uint32_t)(c - '0');
        else if (c >= 'A' && c <= 'F') d = (uint32_t)(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') d = (uint32_t)(c - 'a' + 10);
        else return 0;
        if (k / 8 >= kBigMaxWords) return 0;
        a->w[k / 8] |= d << (4 * (k % 8));
    }
    a->n = (int32_t)((len + 7) / 8);
    big_Trim(a);
    return 1;
}
