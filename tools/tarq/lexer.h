// Tokens of calculator expressions.
#pragma once
#include <string>
#include <vector>

enum class Tok { Number, Ident, Op, LParen, RParen, Comma, End };

struct Token {
    Tok kind;
    std::string text;  // for numbers: the text in the library's notation
    size_t column;     // 1-based position in the line
};

// Thrown for a line that cannot be read; column is 1-based.
struct CalcError {
    std::string message;
    size_t column;  // 0 when no position applies
};

// "message at column N", or the message alone.
inline std::string calc_ErrorText(const CalcError &e) {
    return e.column ? e.message + " at column " + std::to_string(e.column) : e.message;
}

// Splits a line into tokens. Numbers are written in the library's notation
// ("1.5*d3", "&hFF", "&b101", "*+inf"...) or with the familiar "1.5e3", which
// is rewritten as "1.5*d3".
std::vector<Token> tokenize(const std::string &line);
