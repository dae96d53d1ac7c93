// Reads the cases make_cases.py writes ("<separator> <expected> <text>" a line)
// and checks StrToFloat's result bit for bit against each; prints the cases that
// differ and a closing count, and fails if any did.
//   conversion_check CASES
#include "TextConversion.h"
#include "VoyageErrors.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

// The 80 bits of an extended value as 20 hex digits, sign and exponent first.
std::string Pattern(tembrel::Extended value) {
    unsigned char bytes[sizeof value] = {};
    std::memcpy(bytes, &value, sizeof value);
    std::string text;
    for (int i = 9; i >= 0; --i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        text += digits;
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: conversion_check CASES\n";
        return 2;
    }
    std::ifstream cases(argv[1], std::ios::binary);
    if (!cases) {
        std::cerr << "cannot read " << argv[1] << '\n';
        return 2;
    }
    int passed = 0;
    int failed = 0;
    std::string line;
    while (std::getline(cases, line)) {
        const std::size_t gap = line.find(' ', 2);
        if (line.size() < 4 || line[1] != ' ' || gap == std::string::npos) {
            std::cerr << "malformed case: " << line << '\n';
            return 2;
        }
        const char separator = line[0];
        const std::string expected = line.substr(2, gap - 2);
        const std::string text = line.substr(gap + 1);
        std::string actual;
        try {
            actual = Pattern(tembrel::StrToFloat(text, separator));
        } catch (const tembrel::ConversionError&) {
            actual = "refused";
        }
        if (actual == expected) {
            ++passed;
        } else {
            ++failed;
            std::cout << "'" << text.substr(0, 200) << (text.size() > 200 ? "...'" : "'")
                      << " with '" << separator << "': " << actual << ", expected " << expected
                      << '\n';
        }
    }
    std::cout << passed << " passed, " << failed << " failed\n";
    return failed == 0 && passed > 0 ? 0 : 1;
}
