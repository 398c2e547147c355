// Montgomery set-up and reduction on magnitude strings.
//
// h_MontgomerySetup: for an odd modulus M of n bytes and R = 2^(8n), computes
// Mp = R - (M^-1 mod R) with h_ModInverse. h_MontgomeryReduce: for T below
// M x R, gives T x R^-1 mod M: m = (T mod R) x Mp mod R, U = (T + m M) / R,
// less M once when U >= M. Both take whole strings and return trimmed ones.
// The modular power itself uses the word-level form of montgomery_limbs.cpp,
// which gives the same values.
#include "limbs.h"
#include "mul.h"
#include "pow.h"

// The low n bytes of X (zero-extended when X is shorter).
static TqStr lowBytes(const TqStr &X, int32_t n) {
    TqStr r = X.substr(0, static_cast<size_t>(n));
    r.resize(static_cast<size_t>(n), '\0');
    return r;
}

void h_MontgomerySetup(const TqStr &M, TqStr &Mp, int32_t &n, int32_t &exists) {
    n = tq_Len(M);
    TqStr R(static_cast<size_t>(n) + 4, '\0');
    tq_W(R)[n / 4] = 1;
    TqStr inv;
    h_ModInverse(M, R, inv, exists);
    // Mp = R - inv; inv < R, and inv = 0 only when no inverse exists.
    TqStr mp(static_cast<size_t>(n) + 4, '\0');
    TqStr iv = inv;
    iv.resize(mp.size(), '\0');
    tq_SubN(tq_W(mp), tq_W(R), tq_W(iv), tq_NWords(mp));
    tq_Trim(mp);
    Mp = std::move(mp);
}

void h_MontgomeryReduce(TqStr T, const TqStr &M, const TqStr &Mp, int32_t n, TqStr &R) {
    int32_t trim = 1;
    TqStr m;
    h_Mul(lowBytes(T, n), Mp, trim, m);
    m = lowBytes(m, n);
    TqStr mM;
    trim = 1;
    h_Mul(m, M, trim, mM);
    // U = T + m M, one word longer than the longer operand.
    const size_t len = (T.size() > mM.size() ? T.size() : mM.size()) + 4;
    T.resize(len, '\0');
    mM.resize(len, '\0');
    tq_AddN(tq_W(T), tq_W(T), tq_W(mM), tq_NWords(T));
    TqStr U = static_cast<int32_t>(T.size()) > n ? T.substr(static_cast<size_t>(n)) : TqStr(4, '\0');
    tq_Trim(U);
    // U < 2M: subtract M once when U >= M.
    TqStr Mx = M;
    tq_Trim(Mx);
    if (U.size() < Mx.size()) U.resize(Mx.size(), '\0');
    Mx.resize(U.size(), '\0');
    if (tq_CmpN(tq_W(U), tq_W(Mx), tq_NWords(U)) >= 0) tq_SubN(tq_W(U), tq_W(U), tq_W(Mx), tq_NWords(U));
    tq_Trim(U);
    R = std::move(U);
}
