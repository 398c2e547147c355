// The calculator: variables, settings and the evaluation of one line.
#pragma once
#include <atomic>
#include <map>
#include <string>

#include "lexer.h"
#include "tarq.hpp"

struct CalcSettings {
    int32_t digits = 38;  // significant digits the user asked for
    tarq::Kind kind = tarq::Kind::Dec;
    int32_t format = tarq::Normal | tarq::Dec;
    int32_t outDigits = 0;
};

class Calculator {
public:
    CalcSettings settings;

    // Evaluates an expression or an assignment ("x = 2^64") and returns the
    // value as text; the value also becomes `ans`. Throws CalcError.
    // When *abandoned is set by the time the value is known, nothing is
    // assigned (the user gave the line up). A float expression is evaluated
    // at two working precisions and only the digits on which both agree are
    // shown (see verify.cpp); note() then tells when fewer digits than asked
    // could be verified.
    std::string evaluate(const std::string &line, const std::atomic<bool> *abandoned = nullptr);
    // The value as the settings format it, with at most `digits` significant
    // digits for a float (0: the digits the settings ask for).
    std::string format(const tarq::Number &v, int32_t digits = 0) const;
    // Changes the kind of new values and converts the variables.
    void setKind(tarq::Kind kind);
    // The remark on the last evaluation ("only 12 of 38 digits could be
    // verified"), or "".
    const std::string &note() const { return note_; }
    // Significant digits a float result shows: --out-digits, else the digits.
    int32_t shownDigits() const { return settings.outDigits ? settings.outDigits : settings.digits; }

private:
    tarq::Number evaluateOnce(const std::vector<Token> &toks, std::string &target, int32_t precision);
    // The line evaluated once in fractions, without the variables: exact for
    // numbers, + - * / %, whole powers and the functions that keep fractions.
    // False when the line needs anything else (a float function, a variable).
    bool evaluateExactly(const std::vector<Token> &toks, tarq::Number &out);
    std::map<std::string, tarq::Number> vars_;
    std::string note_;
};

// Sets the digits shown and the library's base working precision (digits plus
// guard digits; each float evaluation then raises it, see verify.cpp).
void calc_SetDigits(CalcSettings &settings, int32_t digits);
constexpr int32_t kGuardDigits = 12;
// The library refuses working precisions above 1,000,000 digits.
constexpr int32_t kMaxWorkDigits = 1000000;
constexpr int32_t kMaxDigits = kMaxWorkDigits - kGuardDigits;
constexpr int32_t kMaxBits = 3321952;

// Runs a ':' command line (":digits 50", ":kind frac", ":format sci",
// ":help"), the same at the prompt and on standard input. Writes the
// confirmation to `out`; throws CalcError for a refused command. False for
// :quit.
bool calc_Command(Calculator &calc, const std::string &line, std::string &out);

// "dec", "bin", "int", "frac" -> kind; false for another word.
bool parseKind(const std::string &word, tarq::Kind &kind);
const char *kindName(tarq::Kind kind);
