// Every digit shown is right: a float expression is evaluated at the working
// precision plus g guard digits and again plus 2g; when the two values agree
// on the D digits to be shown, those digits are printed. Otherwise g doubles
// and the expression is evaluated once more, until they agree or g would pass
// max(D, 200) digits or the precision would pass the library's 1,000,000
// digits. Then only the leading digits on which the last two
// values agree are shown, with a note saying how many of the D that is; when
// not even the first digit agrees the line fails. Exact kinds are evaluated
// once.
//
// A value that is zero at both precisions verifies nothing: operands that
// agree to beyond both precisions cancel to zero there ((1 + 1e-250) - 1 at
// 50 and 62 digits) although the true value is not zero. Such a zero is
// raised like a disagreement, up to a guard of 200 digits (the depth of a
// cancellation does not grow with D); a nonzero value that appears on the last
// raise gets one more evaluation to be verified, and a value still zero at the
// highest guard is shown as 0. Near the library's largest precision the first
// guard is smaller, so that the second evaluation still lies above it.
#include <algorithm>

#include "calc.h"

using tarq::Kind;
using tarq::Number;

namespace {

// The value rounded to `digits` significant digits, for comparing two
// evaluations ("+inf", "0" and "NaN" as themselves).
std::string rounded(const Number &v, int32_t digits) {
    tarq::detail::DStr s;
    if (v.is_zero()) return "0";
    TQ_GET_STRING(v.handle(), tarq::Scientific | tarq::Dec, digits, &s.s);
    return s.str();
}

size_t commonPrefix(const std::string &a, const std::string &b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}

// An exact fraction as a float of the given kind at `digits` digits.
Number asFloat(const Number &q, Kind kind, int32_t digits) {
    TQ_SETPRECISION(1, digits);
    Number f(kind);
    if (TQ_CONVERTDT(q.handle(), f.handle()) != 0) throw CalcError{"the exact value does not convert", 0};
    return f;
}

// Restores the calculator's base working precision however the evaluation ends.
struct BasePrecision {
    int32_t digits;
    ~BasePrecision() { TQ_SETPRECISION(1, digits + kGuardDigits); }
};

}  // namespace

std::string Calculator::evaluate(const std::string &line, const std::atomic<bool> *abandoned) {
    note_.clear();
    std::vector<Token> toks = tokenize(line);
    if (toks.size() == 1) return "";
    TQ_GETGLOBALERROR();
    std::string target;
    const int32_t D = shownDigits(), work = std::max(settings.digits, D);
    int32_t shown = D;
    BasePrecision restore{settings.digits};
    int32_t g = std::min(kGuardDigits, (kMaxWorkDigits - work) / 2);
    Number v = evaluateOnce(toks, target, work + g);
    if (v.kind() == Kind::Dec || v.kind() == Kind::Bin) {
        const int32_t gMax = std::max(D, 200), gMaxZero = 200;
        bool extra = false;  // the one evaluation beyond the limit, for a zero turned nonzero
        std::string a = rounded(v, D);
        for (;;) {
            std::string ignored;
            // The library's largest precision ends the raising too.
            const int32_t hi = std::min(work + 2 * g, kMaxWorkDigits);
            Number w = evaluateOnce(toks, ignored, hi);
            std::string b = rounded(w, D);
            const bool zero = a == "0" && b == "0";
            if (a == b && hi > work + g && !zero) {
                v = std::move(w);
                break;
            }
            const bool stopped = abandoned && *abandoned;
            if (2 * g > (zero ? gMaxZero : gMax) || hi < work + 2 * g || stopped) {
                if (zero) {  // zero at every precision tried
                    Number q(Kind::Frac);
                    if (stopped || !evaluateExactly(toks, q) || q.is_zero()) {
                        v = std::move(w);
                        break;
                    }
                    // A rational line cancelling deeper still: its exact value,
                    // converted at the two precisions.
                    const Kind kind = v.kind();
                    v = asFloat(q, kind, work + g);
                    w = asFloat(q, kind, hi);
                    a = rounded(v, D);
                    b = rounded(w, D);
                    if (a == b) {
                        v = std::move(w);
                        break;
                    }
                }
                if (a == "0" && !extra && hi < kMaxWorkDigits && !stopped) {
                    extra = true;
                    v = std::move(w);
                    a = b;
                    g *= 2;
                    continue;
                }
                // Fewest digits first at the point where the texts part.
                shown = std::min<int32_t>(D - 1, static_cast<int32_t>(commonPrefix(a, b)));
                while (shown > 0 && rounded(v, shown) != rounded(w, shown)) --shown;
                if (shown == 0)
                    throw CalcError{"no digit of the result could be verified (working precision up to " +
                                        std::to_string(hi) + " digits)",
                                    0};
                note_ = "only " + std::to_string(shown) + " of " + std::to_string(D) +
                        " digits could be verified (working precision up to " + std::to_string(hi) +
                        " digits)";
                v = std::move(w);
                break;
            }
            v = std::move(w);
            a = b;
            g *= 2;
        }
    }
    std::string text = format(v, shown);
    if (abandoned && *abandoned) return text;
    if (!target.empty()) vars_.insert_or_assign(target, v);
    vars_.insert_or_assign("ans", std::move(v));
    return text;
}

void calc_SetDigits(CalcSettings &settings, int32_t digits) {
    settings.digits = digits;
    TQ_SETPRECISION(1, digits + kGuardDigits);
}
