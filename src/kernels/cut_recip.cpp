// Quotient of the decimal cut from a reciprocal: with W = 2^32, k = words of
// M + 1 and I = floor(W^k / D) (cached per divisor, reused for every smaller
// k as its top words), M / D is within 3 / W above S / W^(t+1), where S is the
// product of the top t = (quotient words + 2) words of M with I, less the
// partial products of the two low halves (each of the three errors is below
// 1 / W). The word of S below the quotient words is then a fraction f of
// M / D to within 4 / W, which decides floor(M / D) and the rounding unless
// f lies in the narrow bands just below 1 or around 1/2; those (exact halves,
// exact multiples and their neighbours among them) go back to the exact
// division.
#include "cut_recip.h"

#include <vector>

#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "base/tq_state.h"

namespace {

// I = floor(W^K / D) for divisor D.
struct RecipEntry {
    TqStr D;
    int32_t K = 0;
    TqStr I;
};

constexpr int32_t kRecipSlots = 4;

// Process-wide and never destroyed; replaced round robin.
struct RecipCache {
    RecipEntry E[kRecipSlots];
    int32_t Next = 0;
};

RecipCache &cache() {
    static auto *c = new RecipCache;
    return *c;
}

// An entry for D with K >= k; a new one is computed with some room above k
// so that slightly longer dividends reuse it.
const RecipEntry &recipFor(const TqStr &D, int32_t k) {
    RecipCache &c = cache();
    RecipEntry *slot = nullptr;
    for (RecipEntry &e : c.E) {
        if (e.D != D) continue;
        if (e.K >= k) return e;
        slot = &e;
    }
    if (!slot) {
        slot = &c.E[c.Next];
        c.Next = (c.Next + 1) % kRecipSlots;
    }
    const int32_t K = k + 4;
    TqStr num(static_cast<size_t>(4 * (K + 1)), '\0');
    tq_W(num)[K] = 1;
    // Built aside and moved in: a failed allocation leaves the slot whole.
    TqStr I, rem, d = D;
    h_DivMod(std::move(num), D, 0, I, rem);
    slot->I.swap(I);
    slot->D.swap(d);
    slot->K = K;
    return *slot;
}

}  // namespace

bool tq_CutByPow10Recip(const TqStr &M, const TqStr &D, TqStr &Q, int32_t &roundUp) {
    const int32_t nM = tq_NWords(M), nD = tq_NWords(D);
    const int32_t nQ = nM - nD + 1;
    const int32_t th = gTq_Threshold_CutRecip < 3 ? 3 : gTq_Threshold_CutRecip;
    if (nD < th || nQ < th) return false;
    const int32_t k = nM + 1;
    const RecipEntry &e = recipFor(D, k);
    // floor(W^k / D) = floor(floor(W^K / D) / W^(K-k)): the top words of I.
    const int32_t drop = e.K - k;
    const int32_t nI = tq_NWords(e.I) - drop;
    if (nI < 1) return false;
    const uint32_t *I = tq_W(e.I) + drop;
    // Top t words of M, split as A1 W^a + A0; I split as I1 W^b + I0, a + b = t.
    const int32_t t = nQ + 2;
    const uint32_t *Mt = tq_W(M) + (nM - t);
    const int32_t a = t / 2, b = t - a;
    const int32_t nS = t + nI + 1;
    std::vector<uint32_t> S(static_cast<size_t>(nS), 0);
    // S = A1 x I x W^a ...
    tq_MulWords(S.data() + a, Mt + a, t - a, I, nI);
    // ... + A0 x I1 x W^b (A0 x I0 < W^t is left out).
    if (nI > b) {
        const int32_t n2 = a + nI - b;
        std::vector<uint32_t> P(static_cast<size_t>(n2));
        tq_MulWords(P.data(), Mt, a, I + b, nI - b);
        const uint32_t c = tq_AddN(S.data() + b, S.data() + b, P.data(), n2);
        if (c) tq_Add1(S.data() + b + n2, S.data() + b + n2, nS - b - n2, c);
    }
    const uint32_t f = S[static_cast<size_t>(t)];
    const uint32_t half = 0x80000000u;
    if (f > 0xFFFFFFFFu - 4) return false;  // possibly the next integer
    int32_t up;
    if (f >= half + 1)
        up = 1;  // fraction above 1/2
    else if (f <= half - 4)
        up = 0;  // fraction below 1/2
    else
        return false;
    int32_t top = nS;
    while (top > t + 2 && S[static_cast<size_t>(top - 1)] == 0) --top;
    Q.assign(reinterpret_cast<const char *>(S.data() + t + 1), static_cast<size_t>(4 * (top - t - 1)));
    roundUp = up;
    return true;
}
