// Every digit shown is right: a float expression is evaluated at the working
// precision plus g guard digits and again plus 2g; when the two values agree
// on the D digits to be shown, those digits are printed. Otherwise g doubles
// and the expression is evaluated once more, until they agree or g would pass
// max(D, 200) digits or the precision would pass the library's 1,000,000
// digits. Then only the leading digits on which the last two
// values agree are shown, with a note saying how many of the D that is; when
// not even the first digit agrees the line fails. Exact kinds are evaluated
// once.
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
    Number v = evaluateOnce(toks, target, work + kGuardDigits);
    if (v.kind() == Kind::Dec || v.kind() == Kind::Bin) {
        int32_t g = kGuardDigits;
        const int32_t gMax = std::max(D, 200);
        std::string a = rounded(v, D);
        for (;;) {
            std::string ignored;
            // The library's largest precision ends the raising too.
            const int32_t hi = std::min(work + 2 * g, kMaxWorkDigits);
            Number w = evaluateOnce(toks, ignored, hi);
            const std::string b = rounded(w, D);
            if (a == b && hi > work + g) {
                v = std::move(w);
                break;
            }
            if (2 * g > gMax || hi < work + 2 * g || (abandoned && *abandoned)) {
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
