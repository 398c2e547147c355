// Tokenizer of calculator expressions.
#include "lexer.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {
bool isDigitIn(char c, int radix) {
    if (radix == 16) return std::isxdigit(static_cast<unsigned char>(c)) != 0;
    if (radix == 2) return c == '0' || c == '1';
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Length of an exponent "[+-]digits" at s[i] in the radix, 0 if none.
size_t exponentLength(const std::string &s, size_t i, int radix) {
    size_t j = i;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t k = j;
    while (k < s.size() && isDigitIn(s[k], radix)) ++k;
    return k > j ? k - i : 0;
}

// Bytes of the UTF-8 sequence starting at s[i] (1 for ASCII or a stray byte).
size_t utf8Length(const std::string &s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (i + n > s.size()) return 1;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    return n;
}

// " (U+2212)" for a multi-byte character, "" otherwise.
std::string codePoint(const std::string &ch) {
    if (ch.size() < 2) return "";
    const unsigned char c0 = static_cast<unsigned char>(ch[0]);
    uint32_t cp = c0 & (ch.size() == 2 ? 0x1F : ch.size() == 3 ? 0x0F : 0x07);
    for (size_t k = 1; k < ch.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3F);
    char buf[16];
    std::snprintf(buf, sizeof buf, " (U+%04X)", static_cast<unsigned>(cp));
    return buf;
}

// Reads a number starting at s[i]; returns its library text and advances i.
std::string readNumber(const std::string &s, size_t &i) {
    const size_t start = i;
    int radix = 10;
    std::string out;
    if (s[i] == '&') {
        char r = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i + 1])));
        radix = r == 'h' ? 16 : 2;
        out += s.substr(i, 2);
        i += 2;
    }
    size_t digits = 0;
    bool point = false;
    while (i < s.size()) {
        if (isDigitIn(s[i], radix)) {
            ++digits;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        out += s[i++];
    }
    if (digits == 0) throw CalcError{"invalid number text", start + 1};
    // Exponent: the library's markers, or e/E after a decimal number.
    if (i + 1 < s.size() && s[i] == '*') {
        char m = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i + 1])));
        int er = m == 'd' ? 10 : m == 'h' ? 16 : m == 'b' ? 2 : 0;
        size_t n = er ? exponentLength(s, i + 2, er) : 0;
        if (n) {
            out += s.substr(i, 2 + n);
            i += 2 + n;
        }
    } else if (radix == 10 && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t n = exponentLength(s, i + 1, 10);
        if (n) {
            out += "*d" + s.substr(i + 1, n);
            i += 1 + n;
        }
    }
    if (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '.' || s[i] == '_'))
        throw CalcError{"invalid number text", start + 1};
    return out;
}
}  // namespace

std::vector<Token> tokenize(const std::string &line) {
    std::vector<Token> out;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        const size_t col = i + 1;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' ||
                   (c == '&' && i + 1 < line.size() && std::strchr("hHbB", line[i + 1]))) {
            out.push_back({Tok::Number, readNumber(line, i), col});
        } else if (c == '*' && line.compare(i, 5, "*+inf") == 0) {
            out.push_back({Tok::Number, "*+inf", col});
            i += 5;
        } else if (c == '*' && line.compare(i, 5, "*-inf") == 0) {
            out.push_back({Tok::Number, "*-inf", col});
            i += 5;
        } else if (c == '*' && line.compare(i, 4, "*NaN") == 0) {
            out.push_back({Tok::Number, "*NaN", col});
            i += 4;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t j = i;
            while (j < line.size() && (std::isalnum(static_cast<unsigned char>(line[j])) || line[j] == '_')) ++j;
            out.push_back({Tok::Ident, line.substr(i, j - i), col});
            i = j;
        } else if (c == '(') {
            out.push_back({Tok::LParen, "(", col});
            ++i;
        } else if (c == ')') {
            out.push_back({Tok::RParen, ")", col});
            ++i;
        } else if (c == ',') {
            out.push_back({Tok::Comma, ",", col});
            ++i;
        } else {
            static const char *const ops[] = {"**", "==", "!=", "<=", ">=", "+", "-", "*", "/", "%", "^", "<", ">", "="};
            bool found = false;
            for (const char *op : ops) {
                size_t n = std::strlen(op);
                if (line.compare(i, n, op) == 0) {
                    out.push_back({Tok::Op, op, col});
                    i += n;
                    found = true;
                    break;
                }
            }
            if (!found) {
                // A character outside ASCII: the typographic minus, times and
                // division signs stand for - * /; another is named whole.
                const size_t n = utf8Length(line, i);
                const std::string ch = line.substr(i, n);
                const char *op = ch == "\u2212" ? "-" : ch == "\u00d7" ? "*" : ch == "\u00f7" ? "/" : nullptr;
                if (n > 1 && op) {
                    out.push_back({Tok::Op, op, col});
                    i += n;
                    continue;
                }
                throw CalcError{"unexpected character '" + ch + "'" + codePoint(ch), col};
            }
        }
    }
    out.push_back({Tok::End, "", line.size() + 1});
    return out;
}
