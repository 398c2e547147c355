// Square root and inverse square root.
//
// n_InverseSquareRoot: Y = 1/sqrt(X) for a positive finite float by the
// division-free Newton step Y <- Y + Y (1 - X Y^2) / 2. The start value comes
// from a double estimate (at least 17 correct bits, normally 50); the steps run
// at a precision that doubles from step to step, each level 4 bytes above half
// the next, up to the Newton precision (working precision + 12 bytes), so only
// the last step costs full-length products.
// n_Sqrt: binary floats and big integers by the integer root, rounded as the
// cut rounds (it costs less than the Newton steps at every precision);
// decimal floats by the integer root of the mantissa times a small power of
// ten at short precisions, at long ones by the binary root of the mantissa
// times a power of five, rounded there to the cut's digits (else through the
// binary kind, dec_via_bin.cpp);
// what neither takes as X * (1/sqrt X), with the last Newton step folded into
// the product (s = X y, s <- s + y (X - s^2) / 2), the result cut once to the
// working precision. The working precision is unchanged on return.
// The Newton steps work on finite floats of one kind near 1 (X scaled, Y its
// inverse root), where no product, sum or halving can fail: their statuses
// are dropped, marked (void).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "arith/arith.h"
#include "base/cancel.h"
#include "constants.h"
#include "dec_via_bin.h"
#include "numbers/number.h"
#include "base/tq_state.h"
#include "funcs.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"
#include "kernels/cut_pow10.h"
#include "kernels/limbs.h"
#include "kernels/pow.h"
#include "kernels/root.h"

namespace {

constexpr int32_t kNewtonGuardBytes = 12;

int32_t ceil4(int32_t b) { return (b + 3) / 4 * 4; }

// 2^l2 (binary) or 10^(l2 log10 2) (decimal) as a float of the kind, from a
// double: 53 significant bits, or about 18 digits.
TqNum powerEstimate(int32_t kind, double l2) {
    TqNum y = tq_IntNum(kind, 1);
    if (kind == TarqBinFloat) {
        const double k = std::floor(l2);
        const uint64_t mant = static_cast<uint64_t>(std::llround(std::exp2(l2 - k + 52)));
        const int64_t e = static_cast<int64_t>(k) - 52;  // value = mant * 2^e
        const int64_t q = (e >= 0 ? e / 32 : -((-e + 31) / 32));
        const int32_t r = static_cast<int32_t>(e - 32 * q);
        TqStr m(12, '\0');
        const uint64_t lo = mant << r, hi = r ? mant >> (64 - r) : 0;
        tq_W(m)[0] = static_cast<uint32_t>(lo);
        tq_W(m)[1] = static_cast<uint32_t>(lo >> 32);
        tq_W(m)[2] = static_cast<uint32_t>(hi);
        tq_Trim(m);
        y.MantN = m;
        y.V.Expo = static_cast<int32_t>(4 * q);
    } else {
        const double l10 = l2 * 0.301029995663981195;
        const double k = std::floor(l10) - 17;
        const uint64_t mant = static_cast<uint64_t>(std::llround(std::pow(10.0, l10 - k)));
        y.MantN = tq_Word(static_cast<uint32_t>(mant));
        if (mant >> 32) y.MantN += tq_Word(static_cast<uint32_t>(mant >> 32));
        y.V.Expo = static_cast<int32_t>(k);
    }
    return y;
}

TqNum cutTo(const TqNum &v, int32_t bytes, TqPrecisionScope &wp) {
    wp.set(bytes);
    TqNum c = v;
    n_ReducePrecision(c.V, c.MantN);
    return c;
}

// r = 1 - X y^2 at the current precision.
TqNum residual(const TqNum &xp, const TqNum &y, const TqNum &one) {
    TqNum t = y;
    (void)n_Sqr(y, t);
    (void)n_Mul(xp, t, t);
    (void)n_Sub(one, t, t);
    return t;
}

// t = y r / 2 for a correction r much shorter than y: only about r's length
// of y can reach the product, so y is cut to that first (which also keeps
// the product balanced).
TqNum halfProduct(const TqNum &y, const TqNum &r) {
    TqPrecisionScope wp;
    const int32_t bytes = tq_Len(r.MantN) + 8;
    TqNum t = y;
    if (bytes < gTq_Prec_Bytes_Internal) {
        TqNum yc = cutTo(y, bytes, wp);
        (void)n_Mul(yc, r, t);
    } else {
        (void)n_Mul(y, r, t);
    }
    (void)n_DivBy2(t, t);
    return t;
}

// y <- y + y r / 2 at the current precision.
void newtonUpdate(TqNum &y, const TqNum &r) { (void)n_Add(y, halfProduct(y, r), y); }

// The precisions of the doubling steps, lowest first, ending at `target`.
std::vector<int32_t> schedule(int32_t target) {
    std::vector<int32_t> ps{target};
    while (ps.back() > 12) ps.push_back(ceil4(ps.back() / 2 + 4));
    return std::vector<int32_t>(ps.rbegin(), ps.rend());
}

// 1/sqrt(x) to `target` bytes; the rounds used are added to *rounds.
TqNum inverseSqrtTo(const TqNum &x, int32_t target, int32_t *rounds) {
    TqPrecisionScope wp;
    const int32_t kind = x.V.NumType;
    TqNum one = tq_IntNum(kind, 1);
    TqNum y = powerEstimate(kind, -tq_ApproxLog2(x) / 2);
    const std::vector<int32_t> ps = schedule(target);
    // Lowest level: repeat until the residual is below the level's precision
    // (a binary float may lose up to 31 bits of it to its top word) or stops
    // shrinking.
    TqNum xp = cutTo(x, ps[0], wp);
    double last = INFINITY;
    for (int32_t k = 0; k < tq_MaxRounds; ++k) {
        tq_CheckCancel();
        ++*rounds;
        TqNum r = residual(xp, y, one);
        if (tq_IsZeroNum(r)) break;
        const double l = tq_ApproxLog2(r);
        if (l < -(8.0 * ps[0] - 40) || l > last - 1) break;
        last = l;
        newtonUpdate(y, r);
    }
    // Each further level doubles the correct bits with one step.
    for (size_t i = 1; i < ps.size(); ++i) {
        tq_CheckCancel();
        ++*rounds;
        xp = cutTo(x, ps[i], wp);
        TqNum r = residual(xp, y, one);
        if (!tq_IsZeroNum(r)) newtonUpdate(y, r);
    }
    return y;
}

}  // namespace

void n_InverseSquareRoot_Newton(const TqNum &x, TqNum &y) {
    int32_t rounds = 0;
    y = inverseSqrtTo(x, gTq_Prec_Bytes_Internal + kNewtonGuardBytes, &rounds);
}

int32_t n_InverseSquareRoot(TqNum x, TqNum &y) {
    n_Trace("n_InverseSquareRoot");
    tq_TraceNumber(x);
    int32_t rounds = 0;
    TqNum r = inverseSqrtTo(x, gTq_Prec_Bytes_Internal + kNewtonGuardBytes, &rounds);
    n_Trace("========n_InverseSquareRoot, Nr of loops:" + std::to_string(rounds));
    n_ReducePrecision(r.V, r.MantN);
    y = std::move(r);
    y.V.InUse = x.V.InUse;
    return 0;
}

// sqrt(x) for a positive finite binary float x = M 2^(32 j), M of m bits,
// from the integer root of X = M 2^e, e the least even shift that gives the
// root (of ceil((m + e) / 2) bits) the 8P bits the cut keeps, plus 32 guard
// bits from 512 bits on (they let the root skip its last remainder nearly
// always): sqrt(x) = sqrt(X) 2^(16j - e/2), rounded in the kernel at its
// 8P-th bit from the top as the cut would round it. The exponent in bits goes
// to the word grid by a product of the mantissa by 2^(its remainder mod 32).
static void exactBinarySqrt(const TqNum &x, TqNum &c) {
    const int64_t bits = 8 * static_cast<int64_t>(gTq_Prec_Bytes_Internal);
    const int64_t j = x.V.Expo / 4, m = h_BitLength(x.MantN);
    int64_t e = 2 * bits - 1 - m;
    if (e < 0) e = 0;
    e += (e & 1) + (bits >= 512 ? 64 : 0);
    const int64_t k = (m + e + 1) / 2 - bits;
    h_SqrtNearest(x.MantN, e, k, c.MantN);
    const int64_t E = 16 * j - e / 2 + k;
    const int64_t q = E >= 0 ? E / 32 : -((-E + 31) / 32);
    if (E - 32 * q) tq_MulWord(c.MantN, 1u << (E - 32 * q));
    c.V.Expo = static_cast<int32_t>(4 * q);
    c.DenN = tq_Word(1);
    n_ReducePrecision(c.V, c.MantN);
}

// 5^n, the last one asked for kept per slot (each is exact): a
// never-destroyed heap object, not locked (exports run under the global
// lock).
static const TqStr &powerOf5(int64_t n, int slot) {
    struct Cache {
        int64_t n[2] = {-1, -1};
        TqStr pow5[2];
    };
    static auto *c = new Cache;
    if (n != c->n[slot]) {
        c->n[slot] = -1;
        h_Pow(tq_Word(5), tq_Word(static_cast<uint32_t>(n)), c->pow5[slot]);
        c->n[slot] = n;
    }
    return c->pow5[slot];
}

// 5^b for some b from n - 31 to n, from the cache of slot 0 when it holds
// such a b (the digits a root needs vary by a few with the operand's
// exponent, so a cached power a little below serves them all); else 5^n,
// or 5^(n - 16) when the cached power lies above n.
static const TqStr &powerOf5Below(int64_t n, int64_t &b) {
    static int64_t cached = -1;
    if (cached < 0 || cached > n || cached < n - 31) cached = cached > n ? std::max<int64_t>(n - 16, 0) : n;
    b = cached;
    return powerOf5(b, 0);
}

constexpr uint32_t kPow5[14] = {1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125, 9765625, 48828125, 244140625, 1220703125};

// The decimal root of a long mantissa straight from the binary one: for
// A >= 1 (M, or 10 M for an odd f) and h, with sqrt(x) = sqrt(A) 10^(h + e0),
// the cut's mantissa R = sqrt(A) 10^(h - d) rounded to nearest (an exact half
// down) and its exponent E1 = e0 + d, d from the leading digit's place as the
// cut finds it (K digits and up to three more, E1 a multiple of 4). N, the
// root of A 4^g rounded to the nearest (|N - sqrt(A) 2^g| <= 1/2), places
// sqrt(A) 10^(h - d) = sqrt(A) 2^g 5^(h - d) / 2^s, s = g - h + d, within
// 5^h / 2 of Q = N 5^(h - d) in units of 2^-s, and g makes 5^h / 2 < 2^(s - 32).
// So with F the top 32 of the s bits below R = Q >> s, F of 2^31 + 1 or more
// rounds up and 2^31 - 2 or less down (F = 0 and all ones included: a
// root beyond the next integer rounds to it either way); only F of
// 2^31 - 1 and 2^31 are left open, and a leading digit's place within 10^-6
// of a power of ten: false then. The product by 5^(h - d) is half as long as
// A 10^(2h) would be.
static bool decimalRootByBinary(const uint32_t *A, int32_t an, int64_t h, int64_t e0, int64_t K, TqStr &R, int64_t &E1) {
    const int64_t g = static_cast<int64_t>(static_cast<double>(h) * 3.32192809488736235) + 36;
    TqStr &N = R;  // N lives in R's buffer until the product is formed
    h_SqrtNearestWords(A, an, 2 * g + 64, 32, N);
    const int32_t nn = tq_SigWords(N);
    const uint32_t *nw = tq_W(N);
    // log10 sqrt(A) from N's top three words (N has more than three).
    if (nn < 4) return false;
    const int32_t lz = __builtin_clz(nw[nn - 1]);
    const uint64_t top = (static_cast<uint64_t>(nw[nn - 1]) << 32 | nw[nn - 2]) << lz | (lz ? nw[nn - 3] >> (32 - lz) : 0);
    const int64_t below = 32 * static_cast<int64_t>(nn - 2) - lz;  // bits under the top 64
    const double l10 = std::log10(static_cast<double>(top)) + static_cast<double>(below - g) * 0.30102999566398120;
    const double fl = std::floor(l10);
    if (l10 - fl < 1e-6 || fl + 1 - l10 < 1e-6) return false;
    const int64_t lead = e0 + h + static_cast<int64_t>(fl);
    const int64_t t = lead - K + 1;
    E1 = 4 * (t >= 0 ? t / 4 : -((-t + 3) / 4));
    const int64_t d = E1 - e0;
    if (d < 1 || d > h) return false;
    int64_t b = 0;
    const TqStr *p5 = &powerOf5Below(h - d, b);
    TqStr full5;  // the rest of 5^(h - d) goes onto the cached power, the shorter factor
    if (h - d > b) {
        full5 = *p5;
        for (int64_t r = h - d - b; r > 0; r -= 13) tq_MulWord(full5, kPow5[std::min<int64_t>(r, 13)]);
        p5 = &full5;
    }
    const int32_t n5 = tq_SigWords(*p5);
    const int64_t sBits = g - h + d;
    const int32_t sw = static_cast<int32_t>(sBits / 32), sb = static_cast<int32_t>(sBits % 32);
    // Q = N 5^(h - d) from word D = sw - 2 up by the short product, short of
    // the exact words by at most min(nn, n5) units of word D, so by less than
    // B^(sw - 1) <= 2^(s - 32) in all: the true F is F or F + 1 (F + 1
    // carrying into R for F of all ones, which then rounds to R + 1 either
    // way), the cases those of the exact product but for F = 2^31 - 2, also
    // left open. qw holds Q's words from D.
    if (sw < 1 || nn + n5 <= sw + 1) return false;
    const int32_t D = std::max(sw - 2, 0);
    tq_Scratch<uint32_t, 256> Q(static_cast<size_t>(nn + n5));
    if (D > 0)
        tq_MulHigh(Q.data(), nw, nn, tq_W(*p5), n5, D);
    else
        tq_MulWords(Q.data(), nw, nn, tq_W(*p5), n5);
    uint32_t *qw = Q.data() + D;
    int32_t qn = nn + n5 - D;
    while (qn > 0 && qw[qn - 1] == 0) --qn;
    if (qn <= sw - D + 1) return false;
    const uint32_t F = static_cast<uint32_t>((static_cast<uint64_t>(qw[sw - D]) << 32 | qw[sw - D - 1]) << (32 - sb) >> 32);
    if (F >= (D > 0 ? 0x7FFFFFFEu : 0x7FFFFFFFu) && F <= 0x80000000u) return false;
    qw += sw - D;
    qn -= sw - D;
    R.resize(4 * static_cast<size_t>(qn));  // N is spent: R = Q >> s, shifted as it is copied
    if (sb)
        tqL_ShiftRight(tq_W(R), qw, qn, sb);
    else
        std::memcpy(tq_W(R), qw, 4 * static_cast<size_t>(qn));
    if (F > 0x80000000u && tq_Add1(tq_W(R), tq_W(R), qn, 1)) R += tq_Word(1);
    tq_Trim(R);
    return true;
}

// sqrt(x) for a positive finite decimal float x = M 10^E of a short
// mantissa (below 10^159) straight to the cut's digits: the leading digit of
// sqrt(x) has the place lead = floor((D - 1 + E) / 2) for M of D digits, the
// cut keeps the digits from E1 = 4 floor((lead - K + 1) / 4) up, so the
// result is sqrt(M 10^f), f = E - 2 E1, rounded to the nearest integer (no
// half: (n + 1/2)^2 is no integer), times 10^E1. False when f falls outside
// the small powers of ten (M longer than the kept digits allow).
static bool shortDecimalSqrt(const TqNum &x, TqNum &c) {
    const int32_t mn = std::max(tq_SigWords(x.MantN), 1);
    const int64_t D = tq_DecimalDigitsSmall(tq_W(x.MantN), mn);
    if (D <= 0) return false;
    const int64_t twice = D - 1 + x.V.Expo;
    const int64_t lead = twice >= 0 ? twice / 2 : -((-twice + 1) / 2);
    const int64_t t = lead - n_DecCutDigits() + 1;
    const int64_t E1 = 4 * (t >= 0 ? t / 4 : -((-t + 3) / 4));
    const int64_t f = x.V.Expo - 2 * E1;
    if (f < 0 || f >= tq_Pow10Small_Count) return false;
    int32_t pn = 0;
    const uint32_t *p = tq_Pow10Small(static_cast<int32_t>(f), pn);
    tq_Scratch<uint32_t, 64> X(static_cast<size_t>(mn + pn));
    tq_MulBasecase(X.data(), tq_W(x.MantN), mn, p, pn);
    h_SqrtNearestWords(X.data(), mn + pn, 0, 0, c.MantN);
    c.V.Expo = static_cast<int32_t>(E1);
    c.DenN = tq_Word(1);
    return true;
}

// sqrt(x) for a positive finite decimal float x = M 10^E from the integer
// root S = floor(sqrt X) of X = M 10^f, f >= 0 of E's parity and the least
// that gives S at least K + 4 digits (the cut keeps K digits and up to three
// more to align its exponent): sqrt(x) = sqrt(X) 10^((E - f) / 2). The cut
// then drops at least one digit of S, its rounding boundaries are integers,
// and as sqrt X lies in [S, S + 1) cutting S rounds as the exact root would,
// but for a root above S and S on a boundary: an inexact root is cut as
// S + 1/10 (one digit more), which lies off every boundary.
// X = M 10^f comes from the small powers of ten when they reach (a product
// on the stack); beyond them the cut's mantissa itself comes from the binary
// root of M (10 M for an odd f) scaled by a power of five, rounded there,
// when that settles it, else S from X = M 5^f 2^f, the 2^f (but for one
// factor 2 when f is odd) left to the root's shift.
static bool exactDecimalSqrt(const TqNum &x, TqNum &c) {
    if (shortDecimalSqrt(x, c)) return true;
    const int64_t K = static_cast<int64_t>(2.40823996531184952 * (gTq_Prec_Bytes_Internal + 4));
    // M has at least this many digits (M >= 2^(bits - 1)).
    const int64_t mDigits = static_cast<int64_t>((h_BitLength(x.MantN) - 1) * 0.30102999566398119) + 1;
    int64_t f = 2 * (K + 4) - mDigits;
    if (f < 0) f = 0;
    if ((x.V.Expo - f) % 2 != 0) ++f;
    bool exact = false;
    if (f < tq_Pow10Small_Count) {
        // X = M 10^f by the rows on the stack (both factors are a few words).
        int32_t pn = 0;
        const uint32_t *p = tq_Pow10Small(static_cast<int32_t>(f), pn);
        const int32_t mn = std::max(tq_SigWords(x.MantN), 1);
        tq_Scratch<uint32_t, 64> X(static_cast<size_t>(mn + pn));
        tq_MulBasecase(X.data(), tq_W(x.MantN), mn, p, pn);
        h_SqrtWords(X.data(), mn + pn, 0, c.MantN, &exact);
    } else {
        if (f > (1 << 28)) return false;
        const int32_t mn = std::max(tq_SigWords(x.MantN), 1);
        tq_Scratch<uint32_t, 256> tenM(f & 1 ? static_cast<size_t>(mn + 1) : 1);  // 10 M for an odd f
        if (f & 1) tenM.data()[mn] = tq_MulWordN(tenM.data(), tq_W(x.MantN), mn, 10);
        int64_t E1 = 0;
        if (decimalRootByBinary(f & 1 ? tenM.data() : tq_W(x.MantN), f & 1 ? mn + 1 : mn, f / 2, (x.V.Expo - f) / 2,
                                n_DecCutDigits(), c.MantN, E1)) {
            c.V.Expo = static_cast<int32_t>(E1);
            c.DenN = tq_Word(1);
            return true;
        }
        {
            const TqStr &p5 = powerOf5(f, 1);
            const int32_t n5 = tq_SigWords(p5);
            TqStr X(4 * static_cast<size_t>(mn + n5), '\0');
            tq_MulWords(tq_W(X), tq_W(x.MantN), mn, tq_W(p5), n5);
            if (f & 1) tq_MulWord(X, 2);
            h_SqrtShifted(X, f & ~int64_t{1}, c.MantN, &exact);
        }
    }
    c.V.Expo = static_cast<int32_t>((x.V.Expo - f) / 2);
    if (!exact) {  // S + 1/10 for the root above S: the cut cannot see a tie
        tq_MulWord(c.MantN, 10);
        tq_W(c.MantN)[0] += 1;
        --c.V.Expo;
    }
    c.DenN = tq_Word(1);
    n_ReducePrecision(c.V, c.MantN);
    return true;
}

// sqrt(x) for a positive finite float, cut to the working precision.
static void floatSqrt(const TqNum &x, TqNum &c) {
    if (x.V.NumType == TarqBinFloat) {
        exactBinarySqrt(x, c);
        return;
    }
    const int32_t W = gTq_Prec_Bytes_Internal;
    const int32_t T = W + kNewtonGuardBytes;
    const int32_t half = ceil4(T / 2 + 8);
    int32_t rounds = 0;
    TqNum y = inverseSqrtTo(x, half, &rounds);
    TqNum s = y;
    {
        TqPrecisionScope wp;
        TqNum xh = cutTo(x, half, wp);
        (void)n_Mul(xh, y, s);  // s = x y, good to about `half` bytes
        wp.set(T);
        TqNum e = s;
        (void)n_Sqr(s, e);
        (void)n_Sub(x, e, e);  // e = x - s^2, small
        if (!tq_IsZeroNum(e)) (void)n_Add(s, halfProduct(y, e), s);
    }
    n_Trace("========n_InverseSquareRoot, Nr of loops:" + std::to_string(rounds));
    n_ReducePrecision(s.V, s.MantN);
    c.MantN = std::move(s.MantN);
    c.DenN = tq_Word(1);
    c.V.Expo = s.V.Expo;
}

int32_t n_Sqrt(TqNum a, TqNum &c) {
    if (a.V.NumType == TarqDecFloat && c.V.NumType == TarqDecFloat && a.V.Special == 0 && a.V.Sign > 0 &&
        !tq_IsZeroNum(a) && a.V.Expo <= (1 << 30) && a.V.Expo >= -(1 << 30)) {
        const int32_t inUse = c.V.InUse;
        c.V = a.V;
        c.V.InUse = inUse;
        if (exactDecimalSqrt(a, c)) return 0;
    }
    if (int32_t st; n_DecViaBin(TqDecFn::Sqrt, a, c, st)) return st;
    n_Trace("n_Sqrt -- input argument");
    tq_TraceNumber(a);
    if (c.V.NumType != a.V.NumType) return tq_RaiseErr(tq_Err_Type);
    const int32_t inUse = c.V.InUse;
    c.V = a.V;
    c.V.InUse = inUse;
    // A negative operand has no real root: the result is NaN, not the
    // operand's record over the output's old magnitude.
    if ((a.V.Special == 0 && a.V.Sign < 0) || a.V.Special == tq_Special_NegInf) {
        tq_SetSpecial(c, tq_Special_NaN);
        return tq_RaiseErr(tq_Err_Invalid);
    }
    if (a.V.Special == tq_Special_PosInf || a.V.Special == tq_Special_NaN) {
        tq_SetSpecial(c, a.V.Special);
        if (a.V.Special == tq_Special_NaN) tq_RaiseErr(tq_Err_Invalid);
        return tq_RaiseErr(tq_Err_Special);
    }
    if (a.V.NumType >= TarqDecFloat && a.V.NumType <= TarqFraction && tq_IsZeroNum(a)) {
        n_SetZero(c);
        return 0;
    }
    if (a.V.NumType != TarqDecFloat && a.V.NumType != TarqBinFloat && a.V.NumType != TarqBigInt)
        return tq_RaiseErr(tq_Err_Type);
    if (a.V.NumType == TarqBigInt) {
        TqStr r;
        h_Sqrt(a.MantN, 0, c.MantN, r);
        c.V.Expo = 0;
        c.DenN = tq_Word(1);
    } else {
        floatSqrt(a, c);
    }
    c.V.Sign = 1;
    return 0;
}
