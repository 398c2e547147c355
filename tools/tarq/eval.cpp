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
            else v = remainder(v, w, op.column);
        }
        return v;
    }

    // a % b = a - b * trunc(a / b): the sign of the dividend, as the integer
    // division truncates. The library's remainder serves big integers; the
    // other kinds take the quotient's integer part.
    Number remainder(const Number &a, const Number &b, size_t col) const {
        if (st_.kind == Kind::Int) return call2(TQ_MOD, a, b, "remainder", col);
        if (b.is_zero()) throw CalcError{"remainder of a division by zero", col};
        Number q = call2(TQ_DIV, a, b, "remainder", col);
        q = call1(TQ_FIX, q, "remainder", col);
        return call2(TQ_SUB, a, call2(TQ_MUL, b, q, "remainder", col), "remainder", col);
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
    // So are whole exponents up to 4096 of a finite float (at most 24
    // products): the library's float power goes through e^(B ln A), which at
    // thousands of digits takes seconds where the products take microseconds;
    // the verification's two evaluations check the products' roundings.
    Number raise(const Number &b, const Number &e, size_t col) const {
        if (st_.kind != Kind::Frac) {
            if (st_.kind == Kind::Int || !specialText(b).empty() || !whole(e) ||
                TQ_IS_G(call1(TQ_ABS, e, "power", col).handle(), fromLong(4096).handle()) != 0)
                return call2(TQ_POW, b, e, "power", col);
        } else if (!call1(TQ_FRAC, e, "power", col).is_zero()) {
            throw CalcError{"a fraction can only be raised to an integer power", col};
        }
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
        // A decimal mantissa with a binary or hexadecimal exponent ("1.5*b10",
        // "1*h4"): the mantissa times 2^e or 16^e.
        const size_t m = tok.text.find('*');
        if (tok.text[0] != '&' && m != std::string::npos && m + 1 < tok.text.size() &&
            (tok.text[m + 1] == 'h' || tok.text[m + 1] == 'b' || tok.text[m + 1] == 'H' || tok.text[m + 1] == 'B')) {
            const bool hex = tok.text[m + 1] == 'h' || tok.text[m + 1] == 'H';
            Token mant{Tok::Number, tok.text.substr(0, m), tok.column};
            Number e = fresh();
            const std::string ex = tok.text.substr(m + 2);
            const std::string exText = (ex[0] == '-' || ex[0] == '+' ? ex.substr(0, 1) + (hex ? "&h" : "&b") + ex.substr(1)
                                                                     : (hex ? "&h" : "&b") + ex);
            if (TQ_PUTSTRING_FROMADD(exText.data(), static_cast<int32_t>(exText.size()), e.handle()))
                throw CalcError{"invalid number text", tok.column};
            return call2(TQ_MUL, number(mant), raise(fromLong(hex ? 16 : 2), e, tok.column), "number", tok.column);
        }
        Number v = fresh();
        int32_t s = TQ_PUTSTRING_FROMADD(tok.text.data(), static_cast<int32_t>(tok.text.size()), v.handle());
        if (s & ~TQ_ERR_SPECIAL) throw CalcError{"invalid number text", tok.column};
        return v;
    }

    Number constant(const std::string &name, size_t col) const {
        if (name == "e") return call1(TQ_EXP, fromLong(1), "the constant e", col);
        const int32_t code = name == "pi"     ? TQ_CONST_PI
                             : name == "ln2"  ? TQ_CONST_LN2
                             : name == "ln10" ? TQ_CONST_LN10
                                              : TQ_CONST_SQRT2;
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

    bool negative(const Number &x) const { return TQ_IS_L(x.handle(), fromLong(0).handle()) == 1; }
    bool whole(const Number &x) const {
        if (!specialText(x).empty()) return false;
        Number f = fresh();
        return TQ_FRAC(x.handle(), f.handle()) == 0 && f.is_zero();
    }

    // Big-integer operation with its status turned into a CalcError.
    static Number intOp(Op2 op, const Number &x, const Number &y, const std::string &f, size_t col) {
        Number r(Kind::Int);
        if (int32_t s = op(x.handle(), y.handle(), r.handle())) throw CalcError{f + " " + describe(s, &r), col};
        return r;
    }

    // x reduced into the modulus' range: [0, m) for m > 0, (m, 0] for m < 0.
    static Number residue(const Number &x, const Number &m, const std::string &f, size_t col) {
        Number am(Kind::Int), zero(Kind::Int);
        TQ_ABS(m.handle(), am.handle());
        Number r = intOp(TQ_MOD, x, am, f, col);
        if (TQ_IS_L(r.handle(), zero.handle()) == 1) r = intOp(TQ_ADD, r, am, f, col);
        if (TQ_IS_L(m.handle(), zero.handle()) == 1 && !r.is_zero()) r = intOp(TQ_SUB, r, am, f, col);
        return r;
    }

    // gcd, lcm, modinv and powmod on big integers. The modular results lie in
    // the modulus' range as residue() puts them (Python's convention); a
    // negative exponent of powmod raises the inverse.
    static Number numberTheory(const std::string &f, const std::vector<Number> &x, size_t col) {
        if (f == "gcd") return intOp(TQ_GCD, x[0], x[1], f, col);
        if (f == "lcm") return intOp(TQ_LCM, x[0], x[1], f, col);
        const Number &m = x.back();
        if (m.is_zero()) throw CalcError{f + " needs a non-zero modulus", col};
        Number am(Kind::Int);
        TQ_ABS(m.handle(), am.handle());
        if (f == "modinv") return residue(intOp(TQ_MODINV, residue(x[0], am, f, col), am, f, col), m, f, col);
        Number base = residue(x[0], am, f, col), e = x[1], zero(Kind::Int);
        if (TQ_IS_L(e.handle(), zero.handle()) == 1) {
            base = intOp(TQ_MODINV, base, am, f, col);
            TQ_ABS(x[1].handle(), e.handle());
        }
        Number r(Kind::Int);
        if (int32_t s = TQ_POWMOD(base.handle(), e.handle(), am.handle(), r.handle()))
            throw CalcError{f + " " + describe(s, &r), col};
        return residue(r, m, f, col);
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
            // The arc tangent of an infinity is the limit, +-pi/2.
            const std::string sp = specialText(a[0]);
            if (f == "atan" && (sp == "+inf" || sp == "-inf")) {
                Number half = call1(TQ_DIVBY2, constant("pi", col), f, col);
                return sp == "+inf" ? half : call1(TQ_REVSIGN, half, f, col);
            }
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
            // An odd whole root of a negative number is the negative real root.
            if (negative(a[0]) && whole(a[1]) && !whole(call1(TQ_DIVBY2, a[1], f, col))) {
                Number r = raise(call1(TQ_ABS, a[0], f, col), call1(TQ_RECIPROCAL, a[1], f, col), col);
                return call1(TQ_REVSIGN, r, f, col);
            }
            return raise(a[0], call1(TQ_RECIPROCAL, a[1], f, col), col);
        }
        if (f == "gcd" || f == "lcm" || f == "modinv" || f == "powmod") {
            arity(f, a, f == "powmod" ? 3 : 2, col);
            for (const Number &x : a)
                if (!whole(x)) throw CalcError{f + " takes whole numbers", col};
            return viaInt([&](const std::vector<Number> &x) { return numberTheory(f, x, col); }, a, col);
        }
        throw CalcError{"unknown function '" + f + "'", col};
    }

    const std::vector<Token> &t_;
    const CalcSettings &st_;
    std::map<std::string, Number> &vars_;
    size_t p_ = 0;
};

}  // namespace

Number Calculator::evaluateOnce(const std::vector<Token> &toks, std::string &target, int32_t precision) {
    TQ_SETPRECISION(1, precision);
    Parser p(toks, settings, vars_);
    return p.line(target);
}

bool Calculator::evaluateExactly(const std::vector<Token> &toks, Number &out) {
    CalcSettings exact = settings;
    exact.kind = Kind::Frac;
    std::map<std::string, Number> none;  // the variables hold rounded values
    std::string target;
    try {
        Parser p(toks, exact, none);
        out = p.line(target);
        return out.kind() == Kind::Frac;
    } catch (const CalcError &) {
        return false;
    } catch (const tarq::Error &) {
        return false;
    }
}

void Calculator::setKind(Kind kind) {
    if (kind == settings.kind) return;
    for (auto &kv : vars_) {
        Number n(kind);
        if (TQ_CONVERTDT(kv.second.handle(), n.handle()) == 0) kv.second = std::move(n);
    }
    settings.kind = kind;
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
