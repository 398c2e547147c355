// Recursive-descent evaluation of calculator expressions on library values.
//
//   line       := IDENT '=' expr | expr
//   expr       := sum (('=='|'!='|'<'|'<='|'>'|'>=') sum)*     -> 1 or 0
//   sum        := product (('+'|'-') product)*
//   product    := unary (('*'|'/'|'%') unary)*
//   unary      := ('-'|'+') unary | power
//   power      := primary (('^'|'**') unary)?                  (right-associative)
//   primary    := NUMBER | IDENT | IDENT '(' expr {',' expr} ')' | '(' expr ')'
#include <cstdlib>
#include <cstring>
#include <functional>

#include "calc.h"

using tarq::Kind;
using tarq::Number;

namespace {

std::string specialText(const Number &r) {
    tarq::detail::DStr s;
    TQ_GET_STRING(r.handle(), TQ_FORMAT_NORMAL | TQ_FORMAT_DEC, 0, &s.s);
    std::string t = s.str();
    if (t == "*+inf") return "+inf";
    if (t == "*-inf") return "-inf";
    if (t == "*NaN") return "NaN";
    return "";
}

// Words of a failure: the error bits, and the special value it produced.
std::string describe(int32_t status, const Number *result) {
    std::string s;
    if (status & TQ_ERR_NOINVERSE) return "no modular inverse";
    if (status & TQ_ERR_EXPRANGE) return "exponent out of range";
    if (result && (status & TQ_ERR_SPECIAL)) {
        std::string sp = specialText(*result);
        if (!sp.empty()) return "gives " + sp;
    }
    auto words = tarq::error_words(status);
    for (size_t i = 0; i < words.size(); ++i) s += (i ? ", " : "") + words[i];
    return s.empty() ? "failed with status " + std::to_string(status) : s;
}

class Parser {
public:
    Parser(const std::vector<Token> &toks, const CalcSettings &st, std::map<std::string, Number> &vars)
        : t_(toks), st_(st), vars_(vars) {}

    Number line(std::string &assignTo) {
        if (t_[0].kind == Tok::Ident && t_[1].kind == Tok::Op && t_[1].text == "=") {
            assignTo = t_[0].text;
            if (isReserved(assignTo)) throw CalcError{"cannot assign to '" + assignTo + "'", t_[0].column};
            p_ = 2;
        }
        Number v = expr();
        if (peek().kind != Tok::End) throw CalcError{"unexpected '" + peek().text + "'", peek().column};
        return v;
    }

private:
    const Token &peek() const { return t_[p_]; }
    bool isOp(const char *op) const { return peek().kind == Tok::Op && peek().text == op; }
    const Token &take() { return t_[p_++]; }

    static bool isReserved(const std::string &n) {
        static const char *const names[] = {"pi", "e", "ln2", "ln10", "sqrt2"};
        for (const char *x : names)
            if (n == x) return true;
        return false;
    }

    Number fresh() const { return Number(st_.kind); }

    Number fromLong(int32_t v) const {
        Number n = fresh();
        TQ_PUTLONG(v, n.handle());
        return n;
    }

    void fail(int32_t status, const std::string &what, const Number *result, size_t col) const {
        throw CalcError{what + " " + describe(status, result), col};
    }

    typedef int32_t(TQ_CALL *Op1)(int32_t, int32_t);
    typedef int32_t(TQ_CALL *Op2)(int32_t, int32_t, int32_t);

    Number call1(Op1 op, const Number &a, const std::string &what, size_t col) const {
        Number r = fresh();
        int32_t s = op(a.handle(), r.handle());
        if (s) fail(s, what, &r, col);
        return r;
    }
    Number call2(Op2 op, const Number &a, const Number &b, const std::string &what, size_t col) const {
        Number r = fresh();
        int32_t s = op(a.handle(), b.handle(), r.handle());
        if (s) {
            if (op == TQ_DIV && b.is_zero()) throw CalcError{"division by zero " + describe(s, &r), col};
            if ((op == TQ_MOD) && b.is_zero()) throw CalcError{"remainder of a division by zero " + describe(s, &r), col};
            fail(s, what, &r, col);
        }
        return r;
    }

    // Runs an integer-only operation in big integers and converts back.
    Number viaInt(const std::function<Number(const std::vector<Number> &)> &f, const std::vector<Number> &args,
                  size_t col) const {
        if (st_.kind == Kind::Int) return f(args);
        std::vector<Number> ints;
        for (const Number &a : args) {
            Number n(Kind::Int);
            int32_t s = TQ_CONVERTDT(a.handle(), n.handle());
            if (s) fail(s, "conversion to an integer", nullptr, col);
            ints.push_back(std::move(n));
        }
        Number r = f(ints);
        Number back = fresh();
        int32_t s = TQ_CONVERTDT(r.handle(), back.handle());
        if (s) fail(s, "conversion of the result", nullptr, col);
        return back;
    }

    Number expr() {
        Number v = sum();
        while (peek().kind == Tok::Op) {
            const std::string op = peek().text;
            if (op != "==" && op != "!=" && op != "<" && op != "<=" && op != ">" && op != ">=") break;
            const size_t col = take().column;
            Number w = sum();
            TQ_GETGLOBALERROR();
            int32_t r;
            if (op == "==") r = TQ_IS_EQ(v.handle(), w.handle());
            else if (op == "!=") r = TQ_IS_NE(v.handle(), w.handle());
            else if (op == "<") r = TQ_IS_L(v.handle(), w.handle());
            else if (op == "<=") r = TQ_IS_LE(v.handle(), w.handle());
            else if (op == ">") r = TQ_IS_G(v.handle(), w.handle());
            else r = TQ_IS_GE(v.handle(), w.handle());
            int32_t err = TQ_GETGLOBALERROR();
            if (err) fail(err, "comparison", nullptr, col);
            v = fromLong(r == 1 ? 1 : 0);
        }
        return v;
    }

    Number sum() {
        Number v = product();
        while (isOp("+") || isOp("-")) {
            const Token &op = take();
            Number w = product();
            v = op.text == "+" ? call2(TQ_ADD, v, w, "addition", op.column)
                               : call2(TQ_SUB, v, w, "subtraction", op.column);
        }
        return v;
    }

    Number product() {
        Number v = unary();
        while (isOp("*") || isOp("/") || isOp("%")) {
            const Token &op = take();
            Number w = unary();
            if (op.text == "*") v = call2(TQ_MUL, v, w, "multiplication", op.column);
            else if (op.text == "/") v = call2(TQ_DIV, v, w, "division", op.column);
            else v = call2(TQ_MOD, v, w, "remainder", op.column);
        }
        return v;
    }

    Number unary() {
        if (isOp("-")) {
            take();
            Number v = unary();
            return call1(TQ_REVSIGN, v, "negation", 0);
        }
        if (isOp("+")) {
            take();
            return unary();
        }
        return power();
    }

    Number power() {
        Number base = primary();
        if (isOp("^") || isOp("**")) {
            const size_t col = take().column;
            Number ex = unary();
            return raise(base, ex, col);
        }
        return base;
    }

    // Fractions have no general power: integer exponents by repeated squaring.
    Number raise(const Number &b, const Number &e, size_t col) const {
        if (st_.kind != Kind::Frac) return call2(TQ_POW, b, e, "power", col);
        Number f = call1(TQ_FRAC, e, "power", col);
        if (!f.is_zero()) throw CalcError{"a fraction can only be raised to an integer power", col};
        int32_t n = TQ_GETANY_LONG(e.handle());
        if (TQ_GETGLOBALERROR() & TQ_ERR_RANGE) throw CalcError{"exponent out of range", col};
        Number result = fromLong(1), sq = b;
        for (uint32_t k = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n); k; k >>= 1) {
            if (k & 1) result = call2(TQ_MUL, result, sq, "power", col);
            if (k > 1) sq = call1(TQ_SQR, sq, "power", col);
        }
        return n < 0 ? call1(TQ_RECIPROCAL, result, "power", col) : result;
    }

    Number number(const Token &tok) const {
        Number v = fresh();
        int32_t s = TQ_PUTSTRING_FROMADD(tok.text.data(), static_cast<int32_t>(tok.text.size()), v.handle());
        if (s & ~TQ_ERR_SPECIAL) throw CalcError{"invalid number text", tok.column};
        return v;
    }

    Number constant(const std::string &name, size_t col) const {
        if (name == "e") return call1(TQ_EXP, fromLong(1), "the constant e", col);
        const int32_t code = name == "pi" ? 8 : name == "ln2" ? 1 : name == "ln10" ? 2 : 7;
        Number v = fresh();
        int32_t s = TQ_GETCONST(code, v.handle());
        if (s) throw CalcError{"the constant " + name + " needs a float kind (dec or bin)", col};
        return v;
    }

    Number primary() {
        const Token &tok = take();
        switch (tok.kind) {
        case Tok::Number:
            return number(tok);
        case Tok::LParen: {
            Number v = expr();
            if (peek().kind != Tok::RParen) throw CalcError{"expected ')'", peek().column};
            take();
            return v;
        }
        case Tok::Ident: {
            if (peek().kind == Tok::LParen) return function(tok);
            if (isReserved(tok.text)) return constant(tok.text, tok.column);
            auto it = vars_.find(tok.text);
            if (it == vars_.end()) throw CalcError{"unknown name '" + tok.text + "'", tok.column};
            return it->second;
        }
        case Tok::End:
            throw CalcError{"unexpected end of expression", tok.column};
        default:
            throw CalcError{"unexpected '" + tok.text + "'", tok.column};
        }
    }

    Number function(const Token &name) {
        take();  // '('
        std::vector<Number> args;
        if (peek().kind != Tok::RParen) {
            args.push_back(expr());
            while (peek().kind == Tok::Comma) {
                take();
                args.push_back(expr());
            }
        }
        if (peek().kind != Tok::RParen) throw CalcError{"expected ')'", peek().column};
        take();
        return apply(name.text, args, name.column);
    }

    void arity(const std::string &f, const std::vector<Number> &a, size_t n, size_t col) const {
        if (a.size() != n)
            throw CalcError{f + " takes " + std::to_string(n) + " argument" + (n == 1 ? "" : "s"), col};
    }

    Number apply(const std::string &f, const std::vector<Number> &a, size_t col) const {
        static const std::map<std::string, Op1> unaryOps = {
            {"sqrt", TQ_SQRT}, {"exp", TQ_EXP},     {"exp2", TQ_EXP2}, {"exp10", TQ_EXP10}, {"ln", TQ_LOG},
            {"log", TQ_LOG},   {"log2", TQ_LOG2},   {"log10", TQ_LOG10}, {"sin", TQ_SIN},   {"cos", TQ_COS},
            {"tan", TQ_TAN},   {"atan", TQ_ATAN},   {"asin", TQ_ASIN}, {"abs", TQ_ABS},     {"int", TQ_FIX},
            {"frac", TQ_FRAC}, {"sqr", TQ_SQR},     {"recip", TQ_RECIPROCAL}};
        auto u = unaryOps.find(f);
        if (u != unaryOps.end()) {
            arity(f, a, 1, col);
            return call1(u->second, a[0], f, col);
        }
        if (f == "deg" || f == "rad") {
            arity(f, a, 1, col);
            Number r = fresh();
            int32_t s = TQ_CONVERTUNITS(f == "deg" ? 1 : 2, a[0].handle(), r.handle());
            if (s) fail(s, f, &r, col);
            return r;
        }
        if (f == "root") {
            arity(f, a, 2, col);
            if (st_.kind == Kind::Int) {
                Number r = fresh(), rem = fresh();
                int32_t s = TQ_ROOT(a[0].handle(), a[1].handle(), 0, r.handle(), rem.handle());
                if (s) fail(s, f, &r, col);
                return r;
            }
            return raise(a[0], call1(TQ_RECIPROCAL, a[1], f, col), col);
        }
        if (f == "gcd" || f == "lcm" || f == "modinv") {
            arity(f, a, 2, col);
            Op2 op = f == "gcd" ? TQ_GCD : f == "lcm" ? TQ_LCM : TQ_MODINV;
            return viaInt(
                [&](const std::vector<Number> &x) {
                    Number r(Kind::Int);
                    int32_t s = op(x[0].handle(), x[1].handle(), r.handle());
                    if (s) fail(s, f, &r, col);
                    return r;
                },
                a, col);
        }
        if (f == "powmod") {
            arity(f, a, 3, col);
            return viaInt(
                [&](const std::vector<Number> &x) {
                    Number r(Kind::Int);
                    int32_t s = TQ_POWMOD(x[0].handle(), x[1].handle(), x[2].handle(), r.handle());
                    if (s) fail(s, f, &r, col);
                    return r;
                },
                a, col);
        }
        throw CalcError{"unknown function '" + f + "'", col};
    }

    const std::vector<Token> &t_;
    const CalcSettings &st_;
    std::map<std::string, Number> &vars_;
    size_t p_ = 0;
};

}  // namespace

namespace {
std::string libraryText(const Number &v, int32_t format, int32_t digits) {
    tarq::detail::DStr s;
    int32_t status = TQ_GET_STRING(v.handle(), format, digits, &s.s);
    if (status) throw CalcError{"the value cannot be written in this format: " + describe(status, nullptr), 0};
    std::string t = s.str();
    if (!t.empty() && t[0] == ' ') t.erase(0, 1);
    if (t == "*+inf") return "+inf";
    if (t == "*-inf") return "-inf";
    if (t == "*NaN") return "NaN";
    return t;
}

// Decimal exponents are shown the familiar way: 1.5e+20 rather than 1.5*d+20.
std::string familiarExponent(std::string t) {
    size_t m = t.find("*d");
    return m == std::string::npos ? t : t.substr(0, m) + "e" + t.substr(m + 2);
}
}  // namespace

std::string Calculator::format(const Number &v) const {
    const bool isFloat = v.kind() == tarq::Kind::Dec || v.kind() == tarq::Kind::Bin;
    // Floats carry guard digits beyond the working precision; without an
    // explicit count only the working precision's digits are shown.
    int32_t digits = settings.outDigits;
    if (digits == 0 && isFloat) {
        digits = settings.digits;
        // The same precision in hexadecimal or binary digits.
        if (settings.format & tarq::Hex) digits = static_cast<int32_t>(settings.digits * 0.830482023721841);
        if (settings.format & tarq::Bin) digits = static_cast<int32_t>(settings.digits * 3.321928094887362);
    }
    const bool decimal = !(settings.format & (tarq::Hex | tarq::Bin));
    if (isFloat && decimal && (settings.format & tarq::Normal)) {
        // Positional notation while it shows the value well; very large and
        // very small values switch to an exponent, as a calculator should.
        std::string sci = libraryText(v, tarq::Scientific | tarq::Dec, digits);
        size_t m = sci.find("*d");
        if (m != std::string::npos) {
            long e = std::strtol(sci.c_str() + m + 2, nullptr, 10);
            if (e < -5 || e >= digits) return familiarExponent(sci);
        }
    }
    return decimal ? familiarExponent(libraryText(v, settings.format, digits)) : libraryText(v, settings.format, digits);
}

std::string Calculator::evaluate(const std::string &line, const std::atomic<bool> *abandoned) {
    std::vector<Token> toks = tokenize(line);
    if (toks.size() == 1) return "";
    TQ_GETGLOBALERROR();
    std::string target;
    Parser p(toks, settings, vars_);
    Number v = p.line(target);
    std::string text = format(v);
    if (abandoned && *abandoned) return text;
    if (!target.empty()) vars_.insert_or_assign(target, v);
    vars_.insert_or_assign("ans", std::move(v));
    return text;
}

void Calculator::setKind(Kind kind) {
    if (kind == settings.kind) return;
    for (auto &kv : vars_) {
        Number n(kind);
        if (TQ_CONVERTDT(kv.second.handle(), n.handle()) == 0) kv.second = std::move(n);
    }
    settings.kind = kind;
}

void calc_SetDigits(CalcSettings &settings, int32_t digits) {
    settings.digits = digits;
    TQ_SETPRECISION(1, digits + kGuardDigits);
}

bool parseKind(const std::string &w, Kind &kind) {
    if (w == "dec") kind = Kind::Dec;
    else if (w == "bin") kind = Kind::Bin;
    else if (w == "int") kind = Kind::Int;
    else if (w == "frac") kind = Kind::Frac;
    else return false;
    return true;
}

const char *kindName(Kind kind) {
    switch (kind) {
    case Kind::Dec: return "dec";
    case Kind::Bin: return "bin";
    case Kind::Int: return "int";
    case Kind::Frac: return "frac";
    default: return "text";
    }
}
