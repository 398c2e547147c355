// Installed-library consumer through the C++ wrapper: the same two values.
#include <iostream>

#include "tarq.hpp"

int main() {
    tarq::PrecisionGuard digits(50);
    std::cout << tarq::sqrt(tarq::Number("2", tarq::Kind::Dec)).to_string(tarq::Normal | tarq::Dec, 40) << "\n";
    std::cout << tarq::pow(tarq::Number("2", tarq::Kind::Int), tarq::Number("100", tarq::Kind::Int)).to_string() << "\n";
}
