// The conversions between the float kinds at the decimal exponents whose
// power of ten is short and exact (below 10^160, from the small table), done
// on words: at the default precision this is nearly every function result,
// and the general path's table lookups, string copies and second rounding
// cost more than the function's own series.
#include "float_short.h"

#include <cmath>
#include <vector>

#include "base/tq_state.h"
#include "kernels/cut_pow10.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "numbers/num_util.h"
#include "numbers/number.h"

namespace {

int64_t floorDiv4(int64_t a) { return a >= 0 ? a / 4 : -((-a + 3) / 4); }

int32_t sigWords(const TqStr &m) {
    const uint32_t *w = tq_W(m);
    int32_t n = tq_NWords(m);
    while (n > 0 && w[n - 1] == 0) --n;
    return n;
}

// Words of the largest power in the small table, with one to spare. The
// products by these powers are schoolbook ones: the power is too short for
// any faster product to pay, however long the other factor.
constexpr int32_t kPowWords = 18;

// Reciprocals R_n = floor(2^(32 kRecipWords) / 10^n) of the small table's
// powers (n >= 1), built together on first use and read-only afterwards (safe
// from any thread). floor(2^(32 S) / 10^n) for S <= kRecipWords is R_n with
// its low kRecipWords - S words dropped, floor(floor(a / b) / c) being
// floor(a / (b c)). 36 words serve every precision the short
// binary-to-decimal path takes.
constexpr int32_t kRecipWords = 36;

const TqStr *recipTable() {
    static const std::vector<TqStr> table = [] {
        std::vector<TqStr> t(static_cast<size_t>(tq_Pow10Small_Count));
        const uint32_t one = 1;
        for (int32_t n = 1; n < tq_Pow10Small_Count; ++n) {
            int32_t np = 0;
            const uint32_t *p = tq_Pow10Small(n, np);
            h_DivQuot(&one, 1, kRecipWords, p, np, t[static_cast<size_t>(n)]);
        }
        return t;
    }();
    return table.data();
}

}  // namespace

bool n_DecToBin_Short(const TqNum &x, TqNum &b) {
    const int32_t e = x.V.Expo;
    if (e <= -tq_Pow10Small_Count || e >= tq_Pow10Small_Count) return false;
    const int32_t nm = sigWords(x.MantN);
    if (nm == 0) return false;
    const uint32_t *m = tq_W(x.MantN);
    if (e == 0) {
        b.MantN.assign(x.MantN, 0, static_cast<size_t>(nm) * 4);
        b.V.Expo = 0;
        return true;
    }
    int32_t np = 0;
    const uint32_t *p = tq_Pow10Small(e > 0 ? e : -e, np);
    if (e > 0) {
        b.MantN.assign(static_cast<size_t>(nm + np) * 4, '\0');
        tq_MulBasecase(tq_W(b.MantN), m, nm, p, np);
        tq_Trim(b.MantN);
        b.V.Expo = 0;
        return true;
    }
    // The quotient M 2^(32 up) / 10^n keeps P + 8 bytes: M is raised by that
    // many words more than the power is longer than M. With S = up + nm words
    // in reach of the reciprocals it is M R / 2^(32 nm), R = floor(2^(32 S) /
    // 10^n): one unit low at most (M R falls short of M 2^(32 S) / 10^n by
    // less than M < 2^(32 nm)), which the guard bytes below the cut take.
    int32_t up = (gTq_Prec_Bytes_Internal + 8 + 3) / 4 + np - nm;
    if (up < 0) up = 0;
    b.V.Expo = -4 * up;
    const int32_t S = up + nm;
    if (S > kRecipWords) {
        h_DivQuot(m, nm, up, p, np, b.MantN);
        return true;
    }
    const TqStr &R = recipTable()[-e];
    const int32_t drop = kRecipWords - S, nr = tq_NWords(R) - drop;
    tq_Scratch<uint32_t, 64> prod(static_cast<size_t>(nm + nr));
    tq_MulBasecase(prod.data(), m, nm, tq_W(R) + drop, nr);
    int32_t nq = nr;
    while (nq > 1 && prod.data()[nm + nq - 1] == 0) --nq;
    b.MantN.assign(reinterpret_cast<const char *>(prod.data() + nm), static_cast<size_t>(nq) * 4);
    return true;
}

bool n_BinToDec_Short(const TqNum &t, TqNum &d, int32_t tenExpo, int32_t &st) {
    const int64_t K = n_DecCutDigits();
    // The integer part must stay within the table's digit count.
    if (K + 4 >= tq_Pow10Small_Count) return false;
    const int32_t n = sigWords(t.MantN);
    const int64_t tw = t.V.Expo / 4;  // whole words, the exponent being a multiple of 4 bytes
    if (n == 0 || tw > kPowWords) return false;
    const double l10 = tq_ApproxLog2(t) * 0.30102999566398120;
    if (!(std::fabs(l10) < 1e9)) return false;
    // Leading digit position of the value; off by one at most, which the
    // digit count of the product below corrects.
    int64_t lead = static_cast<int64_t>(std::floor(l10)) + tenExpo;
    const int32_t shift = tw > 0 ? static_cast<int32_t>(tw) : 0;
    const int32_t drop = tw < 0 ? static_cast<int32_t>(-tw) : 0;
    tq_Scratch<uint32_t, 64> buf(static_cast<size_t>(shift + n + kPowWords));
    uint32_t *prod = buf.data();
    for (int32_t i = 0; i < shift; ++i) prod[i] = 0;
    for (int32_t tries = 0; tries < 2; ++tries) {
        // The exponent the decimal cut would give the value: K to K + 3
        // digits, a multiple of 4.
        const int64_t E1 = 4 * floorDiv4(lead - K + 1);
        const int64_t s = tenExpo - E1;
        if (s < 0 || s >= tq_Pow10Small_Count || E1 > (1 << 30) || E1 < -(1 << 30)) return false;
        int32_t np = 0;
        const uint32_t *p = tq_Pow10Small(static_cast<int32_t>(s), np);
        // prod = t 10^s 2^(32 drop), exact.
        tq_MulBasecase(prod + shift, tq_W(t.MantN), n, p, np);
        int32_t nprod = shift + n + np;
        while (nprod > 0 && prod[nprod - 1] == 0) --nprod;
        if (nprod <= drop) return false;
        const uint32_t *N = prod + drop;
        const int32_t nN = nprod - drop;
        const int32_t digits = tq_DecimalDigitsSmall(N, nN);
        if (digits < 0) return false;
        const int64_t leadN = E1 + digits - 1;
        if (4 * floorDiv4(leadN - K + 1) != E1) {
            lead = leadN;
            continue;
        }
        // Round to nearest on the dropped words, an exact half down.
        bool up = false;
        if (drop > 0 && (prod[drop - 1] >> 31)) {
            up = (prod[drop - 1] & 0x7fffffffu) != 0;
            for (int32_t i = 0; i < drop - 1 && !up; ++i) up = prod[i] != 0;
        }
        d.MantN.assign(reinterpret_cast<const char *>(N), static_cast<size_t>(nN) * 4);
        d.V.Sign = t.V.Sign;
        if (up) {
            if (tq_Add1(tq_W(d.MantN), tq_W(d.MantN), nN, 1)) d.MantN += tq_Word(1);
            // A carry into a new digit (N + 1 = 10^(K + 4)) is cut once more.
            if (tq_DecimalDigitsSmall(tq_W(d.MantN), tq_NWords(d.MantN)) != digits) {
                st = tq_FinishExpo(d, E1);
                return true;
            }
        }
        // K to K + 3 digits at an exponent that is a multiple of 4, well
        // inside the range: what the cut would leave unchanged.
        d.V.Expo = static_cast<int32_t>(E1);
        st = 0;
        return true;
    }
    return false;
}
