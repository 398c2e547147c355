// tarq.hpp - a small header-only C++17 wrapper over the TARQ C interface.
//
//   tarq::Number x("2", tarq::Kind::Bin), y = tarq::sqrt(x) + 1;
//   std::cout << y << "\n";
//
// A Number owns one library handle (freed on destruction; copies go through
// TQ_COPYVAR). Every failing call throws tarq::Error with the status and the
// decoded error bits. The library is not re-entrant per value: use a Number
// from one thread at a time (the library itself serialises all calls).
//
// Built-in integers become big integers and floating-point values binary
// floats. Arithmetic on two kinds promotes as Python's numbers do: big
// integer -> fraction -> float (decimal or binary, whichever the other operand
// is); a decimal and a binary float, or text, do not mix (tarq::Error).
// Comparisons across kinds are exact: both values as fractions.
#ifndef TARQ_HPP
#define TARQ_HPP

#include <cmath>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "tarq.h"

namespace tarq {

enum class Kind : int32_t { Dec = 1, Bin = 2, Int = 3, Frac = 4, Text = 5 };

// Words for the error bits of a status or of the global error word.
inline std::vector<std::string> error_words(int32_t bits) {
    static const std::pair<int32_t, const char *> names[] = {
        {TQ_ERR_INVALID, "invalid operand or text"},
        {TQ_ERR_TYPE, "number kinds differ or the kind is not supported"},
        {TQ_ERR_KIND, "unknown number kind"},
        {TQ_ERR_SPECIAL, "the result is infinite or not a number"},
        {TQ_ERR_HANDLE, "invalid variable handle"},
        {TQ_ERR_RANGE, "the value does not fit the native type"},
        {TQ_ERR_CACHEWRITE, "the cache file could not be written"},
        {TQ_ERR_EXPRANGE, "exponent out of range"},
        {TQ_ERR_NOINVERSE, "no modular inverse"},
    };
    std::vector<std::string> out;
    for (const auto &n : names)
        if (bits & n.first) out.push_back(n.second);
    return out;
}

class Error : public std::runtime_error {
public:
    Error(int32_t status, const std::string &what) : std::runtime_error(compose(status, what)), status_(status) {}
    int32_t status() const noexcept { return status_; }
    std::vector<std::string> bits() const { return error_words(status_); }

private:
    static std::string compose(int32_t status, const std::string &what) {
        std::string s = what + ": ";
        auto words = error_words(status);
        for (size_t i = 0; i < words.size(); ++i) s += (i ? ", " : "") + words[i];
        if (words.empty()) s += "status " + std::to_string(status);
        return s;
    }
    int32_t status_;
};

namespace detail {
inline void check(int32_t status, const char *what) {
    if (status != 0) throw Error(status, what);
}
// Owns a dynamic string returned by the library.
struct DStr {
    tq_dstr s = nullptr;
    ~DStr() { TQ_DS_FREE(s); }
    std::string str() const {
        int32_t n = TQ_DS_LEN(s);
        return n ? std::string(reinterpret_cast<const char *>(s), static_cast<size_t>(n)) : std::string();
    }
};
}  // namespace detail

// Format of to_string: layout and radix flags of the C interface.
enum Format : int32_t {
    Normal = TQ_FORMAT_NORMAL,
    Scientific = TQ_FORMAT_SCIENTIFIC,
    IntMantissa = TQ_FORMAT_INTMANTISSA,
    Dec = TQ_FORMAT_DEC,
    Hex = TQ_FORMAT_HEX,
    Bin = TQ_FORMAT_BIN,
};

class Number {
public:
    explicit Number(Kind kind = Kind::Dec) : kind_(kind), h_(TQ_ALLOCVAR(static_cast<int32_t>(kind))) {
        if (h_ < 0) throw Error(TQ_ERR_INVALID, "allocating a variable");
    }
    Number(std::string_view text, Kind kind) : Number(kind) { set(text); }
    // A built-in integer as a big integer (exactly).
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    Number(T v) : Number(Kind::Int) {
        bool small;
        if constexpr (std::is_signed_v<T>) small = v >= INT32_MIN && v <= INT32_MAX;
        else small = v <= static_cast<T>(INT32_MAX);
        if (small) detail::check(TQ_PUTLONG(static_cast<int32_t>(v), h_), "storing an integer");
        else set(std::to_string(v));
    }
    // A built-in floating-point value as a binary float (exactly, unless the
    // working precision is shorter than the type's mantissa).
    template <class T, std::enable_if_t<std::is_floating_point_v<T>, int> = 0>
    Number(T v) : Number(Kind::Bin) {
        if (v != v || v == 0 || v - v != 0) {  // NaN, zero, infinities
            detail::check(TQ_PUTDOUBLE(static_cast<double>(v), h_), "storing a double");
            return;
        }
        // Finite: the exact binary text "&b<mantissa bits>*b<exponent>", since
        // the library reads a native double through its decimal digits.
        int e = 0;
        T f = std::frexp(v < 0 ? -v : v, &e);  // in [0.5, 1)
        std::string text = v < 0 ? "-&b" : "&b";
        for (; f != 0; --e) {
            f *= 2;
            text += f >= 1 ? '1' : '0';
            if (f >= 1) f -= 1;
        }
        text += e < 0 ? "*b-" : "*b";
        std::string bits;
        for (unsigned x = static_cast<unsigned>(e < 0 ? -e : e); x; x >>= 1) bits.insert(bits.begin(), char('0' + (x & 1)));
        set(text + (bits.empty() ? "0" : bits));
    }
    static Number from_long(int32_t v, Kind kind) {
        Number n(kind);
        detail::check(TQ_PUTLONG(v, n.h_), "storing an integer");
        return n;
    }
    static Number from_double(double v, Kind kind) {
        Number n(kind);
        detail::check(TQ_PUTDOUBLE(v, n.h_), "storing a double");
        return n;
    }
    // The numbered constants of TQ_GETCONST (8 is pi, 14 is one ...).
    static Number constant(int32_t code, Kind kind) {
        Number n(kind);
        detail::check(TQ_GETCONST(code, n.h_), "loading a constant");
        return n;
    }

    Number(const Number &o) : Number(o.kind_) { detail::check(TQ_COPYVAR(o.h_, h_), "copying"); }
    Number(Number &&o) noexcept : kind_(o.kind_), h_(std::exchange(o.h_, -1)) {}
    Number &operator=(const Number &o) {
        if (this != &o) {
            if (o.kind_ != kind_) {
                Number tmp(o);
                swap(tmp);
            } else {
                detail::check(TQ_COPYVAR(o.h_, h_), "copying");
            }
        }
        return *this;
    }
    Number &operator=(Number &&o) noexcept {
        swap(o);
        return *this;
    }
    ~Number() {
        if (h_ >= 0) TQ_UNALLOCVAR(h_);
    }
    void swap(Number &o) noexcept {
        std::swap(kind_, o.kind_);
        std::swap(h_, o.h_);
    }

    int32_t handle() const { return h_; }
    Kind kind() const { return kind_; }

    void set(std::string_view text) {
        detail::check(TQ_PUTSTRING_FROMADD(text.data(), static_cast<int32_t>(text.size()), h_), "reading a number");
    }
    // The value as text; the library writes a leading space for values >= 0.
    std::string to_string(int32_t format = Normal | Dec, int32_t digits = 0) const {
        detail::DStr s;
        detail::check(TQ_GET_STRING(h_, format, digits, &s.s), "formatting");
        return s.str();
    }
    // This value converted into another kind.
    Number as(Kind kind) const {
        Number n(kind);
        detail::check(TQ_CONVERTDT(h_, n.h_), "converting");
        return n;
    }
    double to_double() const {
        double d = TQ_GETANY_DOUBLE(h_);
        int32_t err = TQ_GETGLOBALERROR();
        if (err & (TQ_ERR_RANGE | TQ_ERR_HANDLE)) throw Error(err, "reading a double");
        return d;
    }
    bool is_zero() const { return TQ_ISZERO(h_) == 1; }

private:
    Kind kind_;
    int32_t h_;
};

namespace detail {
typedef int32_t(TQ_CALL *Op1)(int32_t, int32_t);
typedef int32_t(TQ_CALL *Op2)(int32_t, int32_t, int32_t);
inline Number unary(Op1 op, const Number &a, const char *what) {
    Number r(a.kind());
    check(op(a.handle(), r.handle()), what);
    return r;
}
// The kind two operands meet in: the higher of big integer -> fraction ->
// float.
inline Kind common(Kind a, Kind b, const char *what) {
    if (a == b) return a;
    auto rank = [](Kind k) { return k == Kind::Int ? 0 : k == Kind::Frac ? 1 : k == Kind::Text ? 3 : 2; };
    if (rank(a) == 3 || rank(b) == 3 || rank(a) == rank(b))
        throw Error(TQ_ERR_TYPE, std::string(what) + " (decimal and binary floats or text do not mix)");
    return rank(a) > rank(b) ? a : b;
}
inline Number binary(Op2 op, const Number &a, const Number &b, const char *what) {
    const Kind k = common(a.kind(), b.kind(), what);
    if (a.kind() != k) return binary(op, a.as(k), b, what);
    if (b.kind() != k) return binary(op, a, b.as(k), what);
    Number r(k);
    check(op(a.handle(), b.handle(), r.handle()), what);
    return r;
}
typedef int32_t(TQ_CALL *Pred)(int32_t, int32_t);
// A predicate of the library on two values of any kinds: across kinds on the
// exact values as fractions; an infinity or NaN, which has no fraction, in its
// own float kind.
inline bool compare(Pred pred, const Number &a, const Number &b) {
    if (a.kind() == b.kind()) return pred(a.handle(), b.handle()) == 1;
    if (a.kind() == Kind::Text || b.kind() == Kind::Text) throw Error(TQ_ERR_TYPE, "comparing text with a number");
    Number fa(Kind::Frac), fb(Kind::Frac);
    const bool aOk = TQ_CONVERTDT(a.handle(), fa.handle()) == 0, bOk = TQ_CONVERTDT(b.handle(), fb.handle()) == 0;
    if (aOk && bOk) return pred(fa.handle(), fb.handle()) == 1;
    const Kind k = aOk ? b.kind() : a.kind();
    if (a.kind() != k) return pred(a.as(k).handle(), b.handle()) == 1;
    return pred(a.handle(), b.as(k).handle()) == 1;
}
}  // namespace detail

inline Number operator+(const Number &a, const Number &b) { return detail::binary(TQ_ADD, a, b, "adding"); }
inline Number operator-(const Number &a, const Number &b) { return detail::binary(TQ_SUB, a, b, "subtracting"); }
inline Number operator*(const Number &a, const Number &b) { return detail::binary(TQ_MUL, a, b, "multiplying"); }
inline Number operator/(const Number &a, const Number &b) { return detail::binary(TQ_DIV, a, b, "dividing"); }
inline Number operator%(const Number &a, const Number &b) {
    return detail::binary(TQ_MOD, a, b, "taking the remainder");
}
inline Number operator-(const Number &a) { return detail::unary(TQ_REVSIGN, a, "negating"); }
inline Number &operator+=(Number &a, const Number &b) { return a = a + b; }
inline Number &operator-=(Number &a, const Number &b) { return a = a - b; }
inline Number &operator*=(Number &a, const Number &b) { return a = a * b; }
inline Number &operator/=(Number &a, const Number &b) { return a = a / b; }
inline Number &operator%=(Number &a, const Number &b) { return a = a % b; }

inline bool operator==(const Number &a, const Number &b) { return detail::compare(TQ_IS_EQ, a, b); }
inline bool operator!=(const Number &a, const Number &b) { return detail::compare(TQ_IS_NE, a, b); }
inline bool operator<(const Number &a, const Number &b) { return detail::compare(TQ_IS_L, a, b); }
inline bool operator<=(const Number &a, const Number &b) { return detail::compare(TQ_IS_LE, a, b); }
inline bool operator>(const Number &a, const Number &b) { return detail::compare(TQ_IS_G, a, b); }
inline bool operator>=(const Number &a, const Number &b) { return detail::compare(TQ_IS_GE, a, b); }

// The value as to_string() writes it, without the leading space of values >= 0.
inline std::ostream &operator<<(std::ostream &os, const Number &a) {
    const std::string s = a.to_string();
    return os << (!s.empty() && s[0] == ' ' ? s.substr(1) : s);
}

inline Number abs(const Number &a) { return detail::unary(TQ_ABS, a, "absolute value"); }
inline Number sqr(const Number &a) { return detail::unary(TQ_SQR, a, "squaring"); }
inline Number sqrt(const Number &a) { return detail::unary(TQ_SQRT, a, "square root"); }
inline Number recip(const Number &a) { return detail::unary(TQ_RECIPROCAL, a, "reciprocal"); }
inline Number fix(const Number &a) { return detail::unary(TQ_FIX, a, "integer part"); }
inline Number frac(const Number &a) { return detail::unary(TQ_FRAC, a, "fractional part"); }
inline Number exp(const Number &a) { return detail::unary(TQ_EXP, a, "exp"); }
inline Number exp2(const Number &a) { return detail::unary(TQ_EXP2, a, "exp2"); }
inline Number exp10(const Number &a) { return detail::unary(TQ_EXP10, a, "exp10"); }
inline Number log(const Number &a) { return detail::unary(TQ_LOG, a, "ln"); }
inline Number log2(const Number &a) { return detail::unary(TQ_LOG2, a, "log2"); }
inline Number log10(const Number &a) { return detail::unary(TQ_LOG10, a, "log10"); }
inline Number sin(const Number &a) { return detail::unary(TQ_SIN, a, "sin"); }
inline Number cos(const Number &a) { return detail::unary(TQ_COS, a, "cos"); }
inline Number tan(const Number &a) { return detail::unary(TQ_TAN, a, "tan"); }
inline Number atan(const Number &a) { return detail::unary(TQ_ATAN, a, "atan"); }
inline Number asin(const Number &a) { return detail::unary(TQ_ASIN, a, "asin"); }
inline Number pow(const Number &a, const Number &b) { return detail::binary(TQ_POW, a, b, "power"); }
inline Number gcd(const Number &a, const Number &b) { return detail::binary(TQ_GCD, a, b, "gcd"); }
inline Number lcm(const Number &a, const Number &b) { return detail::binary(TQ_LCM, a, b, "lcm"); }
inline Number modinv(const Number &a, const Number &m) { return detail::binary(TQ_MODINV, a, m, "modular inverse"); }
inline Number powmod(const Number &b, const Number &e, const Number &m) {
    if (b.kind() != e.kind() || b.kind() != m.kind()) {
        const Kind k = detail::common(detail::common(b.kind(), e.kind(), "modular power"), m.kind(), "modular power");
        return powmod(b.kind() == k ? b : b.as(k), e.kind() == k ? e : e.as(k), m.kind() == k ? m : m.as(k));
    }
    Number r(b.kind());
    detail::check(TQ_POWMOD(b.handle(), e.handle(), m.handle(), r.handle()), "modular power");
    return r;
}
// The n-th root (n a big integer); for big integers the integer root.
inline Number root(const Number &a, const Number &n) {
    Number r(a.kind()), rem(a.kind());
    detail::check(TQ_ROOT(a.handle(), n.handle(), 0, r.handle(), rem.handle()), "root");
    return r;
}
// Angle units: 1 rad->deg, 2 deg->rad, 3 rad->grad, 4 grad->rad.
inline Number convert_units(int32_t code, const Number &a) {
    Number r(a.kind());
    detail::check(TQ_CONVERTUNITS(code, a.handle(), r.handle()), "converting units");
    return r;
}

// Working precision in decimal digits, bits; set for a scope and restored.
inline int32_t precision_digits() { return TQ_GETPRECISION(1); }
inline int32_t precision_bits() { return TQ_GETPRECISION(2); }
inline int32_t set_precision_digits(int32_t d) { return TQ_SETPRECISION(1, d); }
inline int32_t set_precision_bits(int32_t b) { return TQ_SETPRECISION(2, b); }

class PrecisionGuard {
public:
    explicit PrecisionGuard(int32_t digits) : saved_bits_(TQ_GETPRECISION(2)) { TQ_SETPRECISION(1, digits); }
    ~PrecisionGuard() { TQ_SETPRECISION(2, saved_bits_); }
    PrecisionGuard(const PrecisionGuard &) = delete;
    PrecisionGuard &operator=(const PrecisionGuard &) = delete;

private:
    int32_t saved_bits_;
};

}  // namespace tarq

#endif  // TARQ_HPP
