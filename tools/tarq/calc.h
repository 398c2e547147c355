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
    // assigned (the user gave the line up).
    std::string evaluate(const std::string &line, const std::atomic<bool> *abandoned = nullptr);
    // The value as the settings format it (without the library's leading space).
    std::string format(const tarq::Number &v) const;
    // Changes the kind of new values and converts the variables.
    void setKind(tarq::Kind kind);

private:
    std::map<std::string, tarq::Number> vars_;
};

// Sets the library's working precision for `digits` shown digits: floats
// are computed with guard digits so that every digit shown is right (a cut
// float may lose a few units in its last bytes).
void calc_SetDigits(CalcSettings &settings, int32_t digits);
constexpr int32_t kGuardDigits = 12;
// The library refuses working precisions above 1,000,000 digits.
constexpr int32_t kMaxDigits = 1000000 - kGuardDigits;
constexpr int32_t kMaxBits = 3321952;

// "dec", "bin", "int", "frac" -> kind; false for another word.
bool parseKind(const std::string &word, tarq::Kind &kind);
const char *kindName(tarq::Kind kind);
