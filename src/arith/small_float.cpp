// Short float operands in stack arrays: aligned sum, product and widened
// quotient, then the cut to the working precision on the array (the rules of
// n_ReducePrecision: binary floats keep 8P bits rounded half up, decimal
// floats the K = floor(2.408 (P + 4)) leading digits and up to three more,
// rounded with an exact half down), and one store into the result. A decimal
// quotient mostly comes out of its one division already rounded as that cut
// would round the widened quotient (decQuotient).
#include "small_float.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "base/tq_state.h"
#include "kernels/cut_pow10.h"
#include "kernels/div_core.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/root.h"
#include "numbers/num_util.h"

namespace {

// Operands of at most kMaxWords words at a precision of at most kMaxPrecBytes
// bytes; every array below holds kCap words, checked before each write.
constexpr int32_t kMaxWords = 16;
constexpr int32_t kMaxPrecBytes = 64;
constexpr int32_t kCap = 96;
// Exponents beyond this are left to the general path, which splits far
// exponents before the cut and checks the range after it.
constexpr int64_t kFarExpo = int64_t(1) << 25;

constexpr double kLog10Of256 = 2.40823996531184952;

// K = floor(2.408 (P + 4)), the leading digits the decimal cut keeps at P
// bytes, by an integer product: log10 256 rounded up to 30 fraction bits
// gives the same K for every precision the short paths take.
constexpr int64_t keptDigits(int64_t P) { return ((P + 4) * 2585827973) >> 30; }
static_assert([] {
    for (int64_t P = 0; P <= kMaxPrecBytes; ++P)
        if (keptDigits(P) != static_cast<int64_t>(kLog10Of256 * static_cast<double>(P + 4))) return false;
    return true;
}());

// The significant words of a magnitude (0 for zero).
int32_t sigWords(const TqNum &x) {
    // A stored float is trimmed: its top word decides at once.
    const size_t n = x.MantN.size() / 4;
    if (n > 0 && tq_W(x.MantN)[n - 1] != 0) [[likely]]
        return static_cast<int32_t>(n);
    return tq_SigWords(x.MantN);
}

// Words at the bottom of the n significant words that are zero (0 when all are).
int32_t lowZeroWords(const uint32_t *w, int32_t n) {
    int32_t k = 0;
    while (k < n && w[k] == 0) ++k;
    return k < n ? k : 0;
}

bool shortOperands(const TqNum &a, const TqNum &b, int32_t na, int32_t nb) {
    // Both lengths in 1..kMaxWords: as unsigned, na - 1 and nb - 1 are below
    // kMaxWords (a power of two) exactly when their bitwise or is.
    static_assert((kMaxWords & (kMaxWords - 1)) == 0);
    if (!gTq_SmallFloat || (static_cast<uint32_t>(na - 1) | static_cast<uint32_t>(nb - 1)) >= uint32_t{kMaxWords}) return false;
    if (gTq_Prec_Bytes_Internal > kMaxPrecBytes) return false;
    if (a.V.Expo >= kFarExpo || a.V.Expo <= -kFarExpo || b.V.Expo >= kFarExpo || b.V.Expo <= -kFarExpo) return false;
    if (a.V.NumType == TarqBinFloat && (a.V.Expo % 4 != 0 || b.V.Expo % 4 != 0)) return false;
    return true;
}

// An arithmetic shift: the floor for negative x too.
int64_t floorDiv4(int64_t x) { return x >> 2; }

// Binary cut of the trimmed w[0..n) (n >= 1; room for n + 1 words) to `bits`
// significant bits; whole dropped words move to expo, and w then points past
// them (the kept words stay where they are).
void cutBinary(uint32_t *&w, int32_t &n, int64_t &expo, int64_t bits) {
    const int64_t length = 32 * int64_t(n - 1) + (32 - __builtin_clz(w[n - 1]));
    if (length <= bits) return;
    const int64_t drop = length - bits;
    const bool up = (w[(drop - 1) / 32] >> ((drop - 1) % 32)) & 1u;
    const int32_t words = static_cast<int32_t>(drop / 32);
    const int clear = static_cast<int>(drop % 32);
    w += words;
    n -= words;
    expo += 4 * words;
    if (clear) w[0] &= ~((1u << clear) - 1u);
    if (!up) return;
    uint64_t carry = uint64_t{1} << clear;
    for (int32_t i = 0; carry && i < n; ++i) {
        const uint64_t t = w[i] + carry;
        w[i] = static_cast<uint32_t>(t);
        carry = t >> 32;
    }
    if (carry) w[n++] = 1;
}

// The places d the decimal cut drops from the trimmed w[0..n) (n >= 1, of
// `bits` bits) of exponent expo: it keeps the K = floor(2.408 (P + 4))
// leading digits and as many more as put the exponent on a multiple of 4. A
// d below 1 drops none. kNoPlaces when the digits would have to be counted
// beyond the small powers.
constexpr int64_t kNoPlaces = INT64_MIN;
int64_t cutPlaces(const uint32_t *w, int32_t n, int32_t bits, int64_t expo) {
    const int64_t K = keptDigits(gTq_Prec_Bytes_Internal);
    // w has lo or lo + 1 digits (from its bit length), and the cut's exponent
    // 4 floor((expo + digits - K) / 4) is the same for both unless
    // expo + lo + 1 - K is a multiple of 4: only then are the digits counted.
    const int64_t lo = tq_FloorLog10Pow2(bits - 1) + 1;
    if (floorDiv4(expo + lo + 1 - K) != floorDiv4(expo + lo - K) && 4 * floorDiv4(expo + lo + 1 - K) > expo) {
        const int32_t digits = tq_DecimalDigitsSmall(w, n);
        if (digits < 0) return kNoPlaces;
        return 4 * floorDiv4(expo + digits - K) - expo;
    }
    return 4 * floorDiv4(expo + lo - K) - expo;
}

// Decimal cut of the trimmed w[0..n) (n >= 1; room for n + 2 words). False
// when it needs the general path (a magnitude beyond the small powers, a
// division by a long power).
bool cutDecimal(uint32_t *w, int32_t &n, int64_t &expo) {
    if (gTq_Prec_Bytes_Internal >= 4 * n) return true;
    const int64_t d = cutPlaces(w, n, tq_BitLength(w, n), expo);
    if (d == kNoPlaces) return false;
    if (d > 0) {
        const int64_t E1 = expo + d;
        if (!tq_DivPow10RoundN(w, n, static_cast<int32_t>(d))) return false;
        expo = E1;
    } else if (expo % 4 != 0) {
        static const uint32_t kTimes[4] = {1, 10, 100, 1000};
        const int64_t E2 = 4 * floorDiv4(expo);
        const uint32_t c = tq_MulWordN(w, w, n, kTimes[expo - E2]);
        if (c) w[n++] = c;
        expo = E2;
    }
    return true;
}

// Stores the trimmed w[0..n) (n >= 1, w[n - 1] non-zero, or the one word of
// a zero with sign 1 and exponent 0) with its sign and exponent into r.
bool store(TqNum &r, int32_t sign, const uint32_t *w, int32_t n, int64_t expo) {
    // Results of one operation mostly keep their length from call to call:
    // the words then go straight into the buffer.
    const size_t bytes = static_cast<size_t>(4 * n);
    if (r.MantN.size() == bytes) {
        // Up to eight words in line, by two moves of the same width that
        // overlap in the middle; more through the library's copy.
        char *to = r.MantN.data();
        const char *from = reinterpret_cast<const char *>(w);
        if (bytes > 32) {
            std::memcpy(to, from, bytes);
        } else if (bytes >= 16) {
            std::memcpy(to, from, 16);
            std::memcpy(to + bytes - 16, from + bytes - 16, 16);
        } else if (bytes >= 8) {
            std::memcpy(to, from, 8);
            std::memcpy(to + bytes - 8, from + bytes - 8, 8);
        } else {
            std::memcpy(to, from, 4);
        }
    } else {
        r.MantN.assign(reinterpret_cast<const char *>(w), bytes);
    }
    if (r.DenN.size() != 4 || tq_W(r.DenN)[0] != 1) tq_SetOne(r.DenN);
    r.V.Sign = sign;
    r.V.Expo = static_cast<int32_t>(expo);
    r.V.Special = 0;
    return true;
}

// Trims w[0..n) (room for n + 2 words), cuts it (unless it comes cut) and
// stores it with its sign and exponent into r. False, r untouched, when the
// general path must do it.
bool finish(TqNum &r, int32_t sign, uint32_t *w, int32_t n, int64_t expo, bool cut = true) {
    while (n > 0 && w[n - 1] == 0) --n;
    if (n == 0) {
        w[0] = 0;
        n = 1;
        sign = 1;
        expo = 0;
    } else {
        if (expo >= kFarExpo || expo <= -kFarExpo) return false;
        if (!cut) {
        } else if (r.V.NumType == TarqBinFloat)
            cutBinary(w, n, expo, 8 * int64_t(gTq_Prec_Bytes_Internal));
        else if (!cutDecimal(w, n, expo))
            return false;
    }
    return store(r, sign, w, n, expo);
}

#if TQ_HAVE_LIMB64
// The M limbs of the n words at p (2M - 1 <= n <= 2M): whole limbs but the
// top one, which is the odd top word alone.
template <int M> [[gnu::always_inline]] inline void loadLimbs(uint64_t *x, const uint32_t *p, int32_t n) {
    for (int i = 0; i + 1 < M; ++i) std::memcpy(&x[i], p + 2 * i, 8);
    if (n & 1)
        x[M - 1] = p[n - 1];
    else
        std::memcpy(&x[M - 1], p + 2 * (M - 1), 8);
}

// The product of MX by MY 64-bit limbs with both lengths known at compile
// time, column by column into a three-limb sum: the loops unroll, the sums
// stay in registers and each limb of z is written once.
template <int MX, int MY> void mulFixed(uint64_t *z, const uint32_t *px, int32_t nx, const uint32_t *py, int32_t ny) {
    using W = unsigned __int128;
    uint64_t x[MX], y[MY];
    loadLimbs<MX>(x, px, nx);
    loadLimbs<MY>(y, py, ny);
    uint64_t c0 = 0, c1 = 0, c2 = 0;
    for (int k = 0; k < MX + MY - 1; ++k) {
        for (int i = k < MY ? 0 : k - MY + 1; i <= (k < MX ? k : MX - 1); ++i) {
            const W t = W(x[i]) * y[k - i];
            const W sum = ((W(c1) << 64) | c0) + t;
            c2 += sum < t;
            c0 = static_cast<uint64_t>(sum);
            c1 = static_cast<uint64_t>(sum >> 64);
        }
        z[k] = c0;
        c0 = c1;
        c1 = c2;
        c2 = 0;
    }
    z[MX + MY - 1] = c0;
}

using MulFixedFn = void (*)(uint64_t *, const uint32_t *, int32_t, const uint32_t *, int32_t);
template <int MX> constexpr MulFixedFn kMulFixedRow[4] = {mulFixed<MX, 1>, mulFixed<MX, 2>, mulFixed<MX, 3>, mulFixed<MX, 4>};
constexpr const MulFixedFn *kMulFixed[4] = {kMulFixedRow<1>, kMulFixedRow<2>, kMulFixedRow<3>, kMulFixedRow<4>};
#endif

// z[0..nx + ny) = x[0..nx) x y[0..ny) by rows of limbs of L, written as
// whole limbs into z (8-byte aligned, room for nx + ny + 2 words <= kCap): a
// short product, below any faster algorithm's crossover, and without the
// dispatch's costs.
template <class L> void mulRows(uint32_t *z, const uint32_t *x, int32_t nx, const uint32_t *y, int32_t ny) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    // Limb i of y, the odd top word alone; x's limbs copied once.
    auto limb = [&](int32_t i) -> L {
        if (per * i + per > ny) return y[per * i];
        L v;
        std::memcpy(&v, y + per * i, sizeof(L));
        return v;
    };
    L xl[kCap / per + 1];
    const int32_t mx = (nx + per - 1) / per, my = (ny + per - 1) / per;
    std::memcpy(xl, x, static_cast<size_t>(nx) * 4);
    if (nx % per) xl[mx - 1] = x[nx - 1];
    L *zl = reinterpret_cast<L *>(z);
    zl[mx] = tqL_Mul1(zl, xl, mx, limb(0));
    for (int32_t j = 1; j < my; ++j) zl[mx + j] = tqL_AddMul1(zl + j, xl, mx, limb(j));
}

// Out of line: its arrays and loops stay out of the caller's frame.
[[gnu::noinline]] void mulRowsAny(uint32_t *z, const uint32_t *x, int32_t nx, const uint32_t *y, int32_t ny) {
    tqL_OnLimbWidth([&](auto limb) { mulRows<decltype(limb)>(z, x, nx, y, ny); });
}

inline void mulShort(uint32_t *z, const uint32_t *x, int32_t nx, const uint32_t *y, int32_t ny) {
#if TQ_HAVE_LIMB64
    if (tqL_UseLimb64() && nx <= 8 && ny <= 8) {
        kMulFixed[(nx - 1) >> 1][(ny - 1) >> 1](reinterpret_cast<uint64_t *>(z), x, nx, y, ny);
        return;
    }
#endif
    mulRowsAny(z, x, nx, y, ny);
}

#if TQ_HAVE_LIMB64
// The decimal cut of a short product in 64-bit limbs (mulShort's whole limbs
// of n words, the top word non-zero or the one under it) when its division
// is the everyday one by a two-limb 5^d: the cut made in place, expo moved,
// and the words of the result returned (trimmed and non-zero: the cut keeps
// at least K digits); 0, m untouched, for every other cut (finish then makes
// it on the words).
[[gnu::always_inline]] inline int32_t cutProduct64(uint64_t *m, int32_t n, int64_t &expo) {
    int32_t nl = (n + 1) >> 1;
    if (m[nl - 1] == 0) --nl;
    const int32_t bits = 64 * nl - __builtin_clzll(m[nl - 1]);
    const int32_t nw = (bits + 31) >> 5;
    if (gTq_Prec_Bytes_Internal >= 4 * nw) return 0;
    const int64_t d = cutPlaces(reinterpret_cast<const uint32_t *>(m), nw, bits, expo);
    if (d <= 19 || d > tq_Pow5Top) return 0;
    const TqPow5Norm<uint64_t> &p = tq_Pow5NormAt<uint64_t>(static_cast<int32_t>(d));
    const int h = static_cast<int>(d) - p.S;
    if (p.N != 2 || h <= 0 || h >= 64) return 0;
    const int32_t qn = tq_CutPow5Two(m, nl, p, h);
    expo += d;
    return 2 * qn - ((m[qn - 1] >> 32) == 0 ? 1 : 0);
}
#endif

// w[0..nw) = x[0..nx) x 10^k (exact), or false when it would not fit.
bool mulPow10(const uint32_t *x, int32_t nx, int64_t k, uint32_t *w, int32_t &nw) {
    if (k == 0) {
        std::memcpy(w, x, static_cast<size_t>(nx) * 4);
        nw = nx;
        return true;
    }
    if (k >= tq_Pow10Small_Count) return false;
    int32_t m;
    const uint32_t *p = tq_Pow10Small(static_cast<int32_t>(k), m);
    if (nx + m > kCap - 3) return false;
    mulShort(w, x, nx, p, m);
    nw = nx + m;
    while (nw > 1 && w[nw - 1] == 0) --nw;
    return true;
}

// Bounds on the size of a float of `bits` mantissa bits, in whole numbers:
// |x| < base^upper and |x| >= base^lower, base 2 for a binary float, 10 for a
// decimal one. A decimal mantissa of n bits has between
// floor((n - 1) log10 2) + 1 and ceil(n log10 2) digits; 0.30102 and 0.30103
// bracket log10 2.
struct FloatSize {
    int64_t lower, upper;
};
FloatSize floatSize(int32_t kind, int32_t expo, int64_t bits) {
    if (kind == TarqBinFloat) return {8 * static_cast<int64_t>(expo) + bits - 1, 8 * static_cast<int64_t>(expo) + bits};
    return {expo + (bits - 1) * 30102 / 100000, expo + (bits * 30103 + 99999) / 100000};
}

// Decided on exact integer exponents: a binary float keeps 8P bits, a decimal
// float at most about 2.408 (P + 4) + 4 digits.
int32_t shortcut(int32_t kind, int32_t ea, int64_t bitsA, int32_t eb, int64_t bitsB) {
    const int64_t P = gTq_Prec_Bytes_Internal;
    // Operands of about one size, the everyday sum, are settled without the
    // divisions below: either difference of the bounds is at most
    // |ea - eb| + |bitsA - bitsB| decimal places (0.30103 per bit) or
    // 8 |ea - eb| + |bitsA - bitsB| bits, below what either kind keeps.
    const int64_t de = ea > eb ? int64_t(ea) - eb : int64_t(eb) - ea, db = bitsA > bitsB ? bitsA - bitsB : bitsB - bitsA;
    if (kind == TarqBinFloat ? 8 * de + db < 8 * P : de + db < 2 * (P + 4)) return 0;
    const int64_t kept = kind == TarqBinFloat ? 8 * P + 2 : (240824 * (P + 4) + 99999) / 100000 + 6;
    const FloatSize sa = floatSize(kind, ea, bitsA), sb = floatSize(kind, eb, bitsB);
    if (sa.lower - sb.upper >= kept) return 1;
    if (sb.lower - sa.upper >= kept) return 2;
    return 0;
}

// A magnitude: its n significant words at p.
struct View {
    const uint32_t *p;
    int32_t n;
};

// r = A + bSign B for short non-zero floats of one kind with na and nb
// significant words, the shortcut ruled out.
bool addWords(const TqNum &a, int32_t na, const TqNum &b, int32_t nb, int32_t bSign, TqNum &r) {
    if (!shortOperands(a, b, na, nb)) return false;
    const uint32_t *pa = tq_W(a.MantN), *pb = tq_W(b.MantN);
    alignas(8) uint32_t x[kCap], z[kCap];
    const int64_t d = int64_t(a.V.Expo) - b.V.Expo;
    const int64_t expo = d > 0 ? b.V.Expo : a.V.Expo;
    View va{pa, na}, vb{pb, nb};
    if (d != 0) {
        View &v = d > 0 ? va : vb;
        if (a.V.NumType == TarqBinFloat) {
            // Aligned on the word grid: the operand of the larger exponent is
            // laid out in x above s zero words.
            const int32_t s = static_cast<int32_t>((d > 0 ? d : -d) / 4);
            if (v.n + s > kCap - 3) return false;
            std::memset(x, 0, static_cast<size_t>(s) * 4);
            std::memcpy(x + s, v.p, static_cast<size_t>(v.n) * 4);
            v.n += s;
        } else if (!mulPow10(v.p, v.n, d > 0 ? d : -d, x, v.n)) {
            // Aligned by a power of ten on the operand of the larger exponent.
            return false;
        }
        v.p = x;
    }
    // Both operands are now trimmed words of one exponent.
    int32_t sign = a.V.Sign;
    if (a.V.Sign == bSign) {
        // The shorter operand's loop first.
        const View lo = va.n < vb.n ? va : vb, hi = va.n < vb.n ? vb : va;
        uint64_t carry = 0;
        int32_t i = 0;
        for (; i < lo.n; ++i) {
            carry += uint64_t{lo.p[i]} + hi.p[i];
            z[i] = static_cast<uint32_t>(carry);
            carry >>= 32;
        }
        for (; i < hi.n; ++i) {
            carry += hi.p[i];
            z[i] = static_cast<uint32_t>(carry);
            carry >>= 32;
        }
        z[hi.n] = static_cast<uint32_t>(carry);
        return finish(r, sign, z, hi.n + 1, expo);
    }
    // The longer magnitude is the larger; of one length the highest
    // differing word decides.
    int32_t top = (va.n > vb.n ? va.n : vb.n) - 1;
    if (va.n == vb.n)
        while (top >= 0 && va.p[top] == vb.p[top]) --top;
    if (top < 0) return finish(r, sign, z, 0, expo);  // equal: zero
    const bool aBig = va.n != vb.n ? va.n > vb.n : va.p[top] > vb.p[top];
    const View big = aBig ? va : vb, small = aBig ? vb : va;
    if (!aBig) sign = bSign;
    uint64_t borrow = 0;
    int32_t i = 0;
    // The words of big up to top are all there; small may end before.
    for (const int32_t m = small.n < top + 1 ? small.n : top + 1; i < m; ++i) {
        const uint64_t t = uint64_t{big.p[i]} - small.p[i] - borrow;
        z[i] = static_cast<uint32_t>(t);
        borrow = t >> 63;
    }
    for (; i <= top; ++i) {
        const uint64_t t = uint64_t{big.p[i]} - borrow;
        z[i] = static_cast<uint32_t>(t);
        borrow = t >> 63;
    }
    return finish(r, sign, z, top + 1, expo);
}

// Q = floor(A 10^j / B) for short trimmed A (na words) and B (nb words) and
// 0 <= j <= tq_Pow5Top, into q (8-byte aligned, kCap words; nq words,
// trimmed), and where the remainder R lies against B: Half -1 when 2R < B,
// +1 when 2R >= B (1 + 2 10^-7), 0 between; Zero when R = 0. With D = B 2^s
// normalised and the normalised 5^j 2^t, A 10^j 2^s = (A 5^j 2^t)
// 2^(j + s - t): one short product, one shift and one short division.
struct WideQuot {
    int32_t Half;
    bool Zero;
};
template <class L> WideQuot divWidened(const uint32_t *pa, int32_t na, int32_t j, const uint32_t *pb, int32_t nb,
                                       uint32_t *q, int32_t &nq) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    constexpr int B = tqL_LimbBits<L>;
    constexpr int32_t cap = kCap / per + 8;
    L d[cap], p[cap], u[cap];
    const int32_t dn = (nb + per - 1) / per;
    std::memcpy(d, pb, static_cast<size_t>(nb) * 4);
    if (nb % per) d[dn - 1] = pb[nb - 1];
    const int s = tqL_LeadingZeros(d[dn - 1]);
    if (s) tqL_ShiftLeft(d, d, dn, s);
    const int32_t ma = (na + per - 1) / per;
    L *al = j == 0 ? p : u;  // A's limbs, in u until the product is formed
    std::memcpy(al, pa, static_cast<size_t>(na) * 4);
    if (na % per) al[ma - 1] = pa[na - 1];
    int32_t pn = ma;
    int sh = j + s;
    if (j > 0) {
        int32_t n5;
        int t;
        const L *p5 = tq_Pow5Norm<L>(j, n5, t);
        p[ma] = tqL_Mul1(p, al, ma, p5[0]);
        for (int32_t k = 1; k < n5; ++k) p[ma + k] = tqL_AddMul1(p + k, al, ma, p5[k]);
        pn += n5;
        sh -= t;
    }
    // u = p 2^sh; for sh < 0 (down to -t) only zero bits of p drop.
    int32_t un;
    if (sh >= 0) {
        const int32_t wl = sh / B;
        const int bits = sh % B;
        for (int32_t i = 0; i < wl; ++i) u[i] = 0;
        if (bits) {
            u[wl + pn] = tqL_ShiftLeft(u + wl, p, pn, bits);
        } else {
            for (int32_t i = 0; i < pn; ++i) u[wl + i] = p[i];
            u[wl + pn] = 0;
        }
        un = wl + pn + 1;
    } else {
        tqL_ShiftRight(u, p, pn, -sh);
        un = pn;
    }
    const int32_t qn = tq_DivRem<L>(u, un, d, dn, tq_DivRecip(d, dn), reinterpret_cast<L *>(q));
    // e = 2R - D over dn + 1 limbs: a borrow puts R below the half; else R
    // lies 10^-7 of D or more above it when 5 10^6 e >= D.
    WideQuot w{-1, true};
    for (int32_t i = 0; i < dn && w.Zero; ++i) w.Zero = u[i] == 0;
    L e[cap];
    e[dn] = tqL_ShiftLeft(e, u, dn, 1);
    const L borrow = tqL_SubN(e, e, d, dn);
    if (e[dn] >= borrow) {
        e[dn] -= borrow;
        const L c = tqL_Mul1(e, e, dn + 1, static_cast<L>(5000000));
        w.Half = c != 0 || e[dn] != 0 || tqL_Cmp(e, d, dn) >= 0 ? 1 : 0;
    }
    nq = qn * per;
    while (nq > 1 && q[nq - 1] == 0) --nq;
    return w;
}

// w[0..n) = w div D in place; returns w mod D (D a constant below 2^32, so
// the division of each word pair is a multiply by its reciprocal).
template <uint32_t D> uint32_t divWordBy(uint32_t *w, int32_t n) {
    uint64_t rem = 0;
    for (int32_t i = n - 1; i >= 0; --i) {
        const uint64_t cur = (rem << 32) | w[i];
        w[i] = static_cast<uint32_t>(cur / D);
        rem = cur % D;
    }
    return static_cast<uint32_t>(rem);
}

// The decimal quotient A / B rounded in its one division, without the cut of
// a widened quotient. The general path divides A 10^k by B (the quotient T
// at least P + 8 bytes long) and cuts T by 10^c to the K to K + 3 digits the
// cut keeps; from the lengths, c >= 7, and T's kept part is floor(A/B 10^-E)
// for the cut's exponent E. The value's leading digit lies at one of two
// places known from the bit lengths; the lower gives the cut's exponent E1,
// the upper E1 or E1 + 4. Q = floor(A 10^(e - E1) / B) (e = ea - eb) holds
// the kept digits for E1, and 10^(the upper place - E1) <= Q tells whether
// the cut's exponent Et is E1 + 4, Q then holding four digits more. The
// part of the last kept place below it is f = R / B (plus Q's four extra
// digits over 10^4 for Et = E1 + 4), and T goes up exactly when
// f >= 1/2 + 10^-c: up for f >= 1/2 + 10^-7, down for f < 1/2. In between
// (an exact half among them) the lower digits of T decide: false, and the
// widened path does it.
bool decQuotient(const uint32_t *pa, int32_t na, int64_t ea, const uint32_t *pb, int32_t nb, int64_t eb, uint32_t *q,
                 int32_t &nq, int64_t &expo) {
    // 2^(bA - bB - 1) < A / B < 2^(bA - bB + 1): the leading digit lies at
    // floor((bA - bB - 1) log10 2) or one above (a span of 0.61 digits).
    const int64_t db = tq_BitLength(pa, na) - tq_BitLength(pb, nb) - 1;
    const int64_t low = static_cast<int64_t>(std::floor(static_cast<double>(db) * 0.30102999566398120));
    const int64_t K = keptDigits(gTq_Prec_Bytes_Internal);
    const int64_t e = ea - eb;
    const int64_t E1 = 4 * floorDiv4(e + low - K + 1);
    const int64_t j = e - E1;
    if (j < 0 || j > tq_Pow5Top) return false;
    WideQuot w;
    tqL_OnLimbWidth([&](auto limb) { w = divWidened<decltype(limb)>(pa, na, static_cast<int32_t>(j), pb, nb, q, nq); });
    int64_t Et = E1;
    if (floorDiv4(e + low + 2 - K) != floorDiv4(e + low + 1 - K)) {
        // The upper place moves the cut: is Q >= 10^(e + low + 1 - E1)?
        const int64_t k = j + low + 1;
        if (k >= tq_Pow10Small_Count) return false;
        int32_t m;
        const uint32_t *p = tq_Pow10Small(static_cast<int32_t>(k), m);
        if (nq > m || (nq == m && tq_CmpN(q, p, nq) >= 0)) Et = E1 + 4;
    }
    bool up;
    if (Et == E1) {
        if (w.Half == 0) return false;
        up = w.Half > 0;
    } else {
        const uint32_t t = divWordBy<10000u>(q, nq);  // Q's four extra digits
        if (t == 5000 && !w.Zero) return false;
        up = t > 5000;
        while (nq > 1 && q[nq - 1] == 0) --nq;
    }
    if (up && tqL_Add1(q, nq, 1u)) q[nq++] = 1;
    expo = Et;
    return true;
}
}  // namespace

int32_t tq_FloatShortcut(const TqNum &a, const TqNum &b) {
    return shortcut(a.V.NumType, a.V.Expo, h_BitLength(a.MantN), b.V.Expo, h_BitLength(b.MantN));
}

bool tq_SmallAdd(const TqNum &a, const TqNum &b, int32_t bSign, TqNum &r) {
    return addWords(a, sigWords(a), b, sigWords(b), bSign, r);
}

namespace {
// The product of the na and nb words of short operands, checked (the callers
// below), one function per kind: each flattened, so that the product's
// dispatch, the cut and the store share its frame and registers.
[[gnu::noinline, gnu::flatten]] bool mulBinary(const TqNum &a, int32_t na, const TqNum &b, int32_t nb, TqNum &r) {
    const uint32_t *pa = tq_W(a.MantN), *pb = tq_W(b.MantN);
    // Low zero words only lengthen the product; they move to the exponent.
    const int32_t za = lowZeroWords(pa, na), zb = lowZeroWords(pb, nb);
    pa += za;
    pb += zb;
    na -= za;
    nb -= zb;
    alignas(8) uint32_t z[kCap];
    mulShort(z, pa, na, pb, nb);
    return finish(r, tq_ProductSign(a.V.Sign, b.V.Sign), z, na + nb, int64_t(a.V.Expo) + b.V.Expo + 4 * (za + zb));
}

[[gnu::noinline, gnu::flatten]] bool mulDecimal(const TqNum &a, int32_t na, const TqNum &b, int32_t nb, TqNum &r) {
    const uint32_t *pa = tq_W(a.MantN), *pb = tq_W(b.MantN);
    const int64_t expo = int64_t(a.V.Expo) + b.V.Expo;
    const int32_t sign = tq_ProductSign(a.V.Sign, b.V.Sign);
    alignas(8) uint32_t z[kCap];
#if TQ_HAVE_LIMB64
    if (tqL_UseLimb64() && na <= 8 && nb <= 8) {
        // The everyday product: on 64-bit limbs, cut on them where the cut
        // divides by a two-limb power of five.
        if (expo >= kFarExpo || expo <= -kFarExpo) return false;  // as finish declines
        uint64_t *m = reinterpret_cast<uint64_t *>(z);
        // Two operands of the default 38 digits (48 to 51 digits: 5 or 6
        // words each) multiply in line, the others through the table.
        if (((na - 1) >> 1) == 2 && ((nb - 1) >> 1) == 2)
            mulFixed<3, 3>(m, pa, na, pb, nb);
        else
            kMulFixed[(na - 1) >> 1][(nb - 1) >> 1](m, pa, na, pb, nb);
        int64_t e = expo;
        const int32_t n = cutProduct64(m, na + nb, e);
        if (n) return store(r, sign, z, n, e);
        return finish(r, sign, z, na + nb, expo);
    }
#endif
    mulRowsAny(z, pa, na, pb, nb);
    return finish(r, sign, z, na + nb, expo);
}
}  // namespace

bool tq_SmallMul(const TqNum &a, const TqNum &b, TqNum &r) {
    const int32_t na = sigWords(a), nb = sigWords(b);
    if (!shortOperands(a, b, na, nb)) return false;
    return a.V.NumType == TarqBinFloat ? mulBinary(a, na, b, nb, r) : mulDecimal(a, na, b, nb, r);
}

bool tq_SmallDiv(const TqNum &a, const TqNum &b, TqNum &r) {
    int32_t na = sigWords(a), nb = sigWords(b);
    if (!shortOperands(a, b, na, nb)) return false;
    const uint32_t *pa = tq_W(a.MantN), *pb = tq_W(b.MantN);
    alignas(8) uint32_t q[kCap];
    int32_t nq;
    int64_t expo;
    if (a.V.NumType == TarqBinFloat) {
        // z zero words below the dividend make the quotient P + 4 or P + 8
        // bytes long, at least 8P + 1 bits: the truncated quotient then
        // rounds correctly in the cut.
        const int32_t za = lowZeroWords(pa, na), zb = lowZeroWords(pb, nb);
        const int32_t i = gTq_Prec_Bytes_Internal + 4 * (nb - zb) + 4 - 4 * (na - za);
        if (i < 0) return false;
        const int32_t z = i / 4;
        if ((na - za) + z - (nb - zb) + 4 > kCap - 3) return false;
        nq = h_DivQuotN(pa + za, na - za, z, pb + zb, nb - zb, q);
        expo = (int64_t(a.V.Expo) + 4 * za - i) - (int64_t(b.V.Expo) + 4 * zb);
    } else if (decQuotient(pa, na, a.V.Expo, pb, nb, b.V.Expo, q, nq, expo)) {
        // Rounded already (a carry to 10^(K + 4) stays, as after the cut).
        return finish(r, tq_ProductSign(a.V.Sign, b.V.Sign), q, nq, expo, false);
    } else {
        // The dividend times powers of ten until it is the working precision
        // plus three guard words longer than the divisor: the quotient is then
        // longer than the cut keeps, and the cut decides the last digit.
        const int32_t P = gTq_Prec_Bytes_Internal + 12;
        alignas(8) uint32_t x[kCap], t[kCap];
        int32_t nx = na;
        std::memcpy(x, pa, static_cast<size_t>(na) * 4);
        expo = a.V.Expo;
        while (4 * nx - 4 * nb < P) {
            const int32_t k = static_cast<int32_t>((4 * nb + P - 4 * nx) * kLog10Of256);
            int32_t nt;
            if (!mulPow10(x, nx, k, t, nt)) return false;
            std::memcpy(x, t, static_cast<size_t>(nt) * 4);
            nx = nt;
            expo -= k;
        }
        if (nx - nb + 4 > kCap - 3) return false;
        nq = h_DivQuotN(x, nx, 0, pb, nb, q);
        expo -= b.V.Expo;
    }
    return finish(r, tq_ProductSign(a.V.Sign, b.V.Sign), q, nq, expo);
}

// The whole operations for the export frame: finite non-zero short floats of
// one kind, read whole before r (which may be one of them) is written.
namespace {
bool finiteFloats(const TqNum &a, const TqNum &b, const TqNum &r) {
    const int32_t kind = a.V.NumType;
    return (kind == TarqDecFloat || kind == TarqBinFloat) && b.V.NumType == kind && r.V.NumType == kind &&
           a.V.Special == 0 && b.V.Special == 0;
}
}  // namespace

namespace {
// The everyday call: the size test and the aligned sum are inlined here, so
// the checks they share are made once.
[[gnu::flatten]] bool addAny(const TqNum &a, const TqNum &b, int32_t bSign, TqNum &r) {
    if (!finiteFloats(a, b, r)) return false;
    const int32_t na = sigWords(a), nb = sigWords(b);
    if (na == 0 || nb == 0) return false;
    const uint32_t *pa = tq_W(a.MantN), *pb = tq_W(b.MantN);
    return shortcut(a.V.NumType, a.V.Expo, tq_BitLength(pa, na), b.V.Expo, tq_BitLength(pb, nb)) == 0 &&
           addWords(a, na, b, nb, bSign, r);
}
}  // namespace

bool tq_SmallAddAny(const TqNum &a, const TqNum &b, TqNum &r) { return addAny(a, b, b.V.Sign, r); }

bool tq_SmallSubAny(const TqNum &a, const TqNum &b, TqNum &r) { return addAny(a, b, b.V.Sign == 1 ? -1 : 1, r); }

bool tq_SmallMulAny(const TqNum &a, const TqNum &b, TqNum &r) { return finiteFloats(a, b, r) && tq_SmallMul(a, b, r); }

bool tq_SmallDivAny(const TqNum &a, const TqNum &b, TqNum &r) { return finiteFloats(a, b, r) && tq_SmallDiv(a, b, r); }
