#include "platform/NumberText.h"

#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace zemra {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Length of the longest prefix of `s` (starting at `i`) that forms a number; the number is
// normalised into `out` with '.' and 'e' so that strtod reads it independently of the locale.
size_t ScanNumber(std::string_view s, size_t i, std::string& out) {
    const size_t start = i;
    out.clear();
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
    size_t mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i])) out += s[i++], ++mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        out += s[i++];
        while (i < s.size() && IsDigit(s[i])) out += s[i++], ++mantissaDigits;
    }
    if (mantissaDigits == 0) {
        out.clear();
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        size_t expDigits = 0;
        while (j < s.size() && IsDigit(s[j])) exponent += s[j++], ++expDigits;
        if (expDigits > 0) {
            out += exponent;
            i = j;
        }
    }
    (void)start;
    return i;
}

double ParseNormalised(const std::string& text) {
    // strtod follows the C locale's decimal point; the program never changes LC_NUMERIC, but a
    // host toolkit might, so replace the point by the locale's own before reading.
    std::string local = text;
    const char* dp = std::localeconv()->decimal_point;
    if (dp && dp[0] && dp[0] != '.') {
        for (char& c : local)
            if (c == '.') c = dp[0];
    }
    return std::strtod(local.c_str(), nullptr);
}

}  // namespace

double Val(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::string number;
    if (ScanNumber(text, i, number) == 0 || number.empty()) return 0.0;
    return ParseNormalised(number);
}

std::optional<double> StrictNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::string number;
    size_t end = ScanNumber(text, i, number);
    if (number.empty()) return std::nullopt;
    while (end < text.size() && IsBlank(text[end])) ++end;
    if (end != text.size()) return std::nullopt;
    const double v = ParseNormalised(number);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::string FormatPattern(double value, std::string_view pattern) {
    // Decimals and exponent letter from the pattern: "0.###e-#" -> 3, 'e'; "0.#E-0" -> 1, 'E'.
    int decimals = 0;
    char letter = 'e';
    bool inFraction = false;
    for (char c : pattern) {
        if (c == '.')
            inFraction = true;
        else if (c == 'e' || c == 'E') {
            letter = c;
            break;
        } else if (inFraction && (c == '#' || c == '0'))
            ++decimals;
    }
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value > 0 ? "Inf" : "-Inf");
    if (value == 0.0) return std::string("0") + letter + "0";

    // The value as 15 significant decimal digits, then rounded half away from zero to the
    // pattern's decimals, so that 1.2345 shows as 1.235 whatever its binary neighbour is.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string digits;  // 15 digits, the first before the point
    for (const char* q = buf; *q && *q != 'e'; ++q)
        if (IsDigit(*q)) digits += *q;
    int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    std::string kept = digits.substr(0, static_cast<size_t>(decimals) + 1);
    if (digits[static_cast<size_t>(decimals) + 1] >= '5') {
        int k = static_cast<int>(kept.size()) - 1;
        while (k >= 0 && kept[static_cast<size_t>(k)] == '9') kept[static_cast<size_t>(k--)] = '0';
        if (k >= 0) {
            ++kept[static_cast<size_t>(k)];
        } else {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            ++exponent;
        }
    }
    std::string mantissa = value < 0 ? "-" : "";
    mantissa += kept[0];
    std::string fraction = kept.substr(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) mantissa += "." + fraction;
    return mantissa + letter + std::to_string(exponent);
}

size_t GeneralNumberChars(double value, char* buf) {
    auto put = [&](const char* text) {
        const size_t n = std::strlen(text);
        std::memcpy(buf, text, n);
        return n;
    };
    if (std::isnan(value)) return put("NaN");
    if (std::isinf(value)) return put(value > 0 ? "Inf" : "-Inf");
    if (value == 0.0) return put("0");
    // The general form with 15 significant digits (printf's %.15g) switches to the exponent form
    // below 1e-4 and from 1e15 on, exactly the thresholds of the general number format, and drops
    // trailing zeros.
    const std::to_chars_result r =
        std::to_chars(buf, buf + kGeneralNumberChars, value, std::chars_format::general, 15);
    const size_t n = static_cast<size_t>(r.ptr - buf);
    for (size_t k = 0; k < n; ++k)
        if (buf[k] == 'e') buf[k] = 'E';
    return n;
}

std::string GeneralNumber(double value) {
    char buf[kGeneralNumberChars];
    return std::string(buf, GeneralNumberChars(value, buf));
}

std::string PrintedNumber(double value) {
    std::string s = GeneralNumber(value);
    if (s[0] != '-') s.insert(s.begin(), ' ');
    s += ' ';
    return s;
}

}  // namespace zemra
