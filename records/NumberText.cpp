// Locale-independent number parsing and formatting for record files and messages.
#include "records/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "records/Errors.h"
#include "records/NumberScan.h"

namespace {

using number_scan::NumberParts;

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The plain "digits.digitsEexp" spelling std::from_chars reads (no '+', '.' as separator).
std::string CanonicalSpelling(const NumberParts& parts) {
    std::string out;
    out.reserve(parts.integerDigits.size() + parts.fractionDigits.size() +
                parts.exponentDigits.size() + 4);
    out.append(parts.integerDigits.empty() ? std::string_view("0") : parts.integerDigits);
    if (!parts.fractionDigits.empty()) {
        out.push_back('.');
        out.append(parts.fractionDigits);
    }
    if (!parts.exponentDigits.empty()) {
        out.push_back('e');
        if (parts.exponentNegative) {
            out.push_back('-');
        }
        out.append(parts.exponentDigits);
    }
    return out;
}

// Decimal order of magnitude of a non-zero mantissa times its exponent: the value lies in
// [10^(m-1), 10^m). Saturated, so an exponent of any length is safe; only its sign matters
// to tell an overflow (far above 10^308) from an underflow (far below 10^-323).
std::int64_t DecimalMagnitude(const NumberParts& parts) {
    constexpr std::int64_t kSaturation = 1'000'000'000'000LL;
    std::int64_t exponent = 0;
    for (const char c : parts.exponentDigits) {
        exponent = std::min(exponent * 10 + (c - '0'), kSaturation);
    }
    if (parts.exponentNegative) {
        exponent = -exponent;
    }
    const std::string_view intDigits = parts.integerDigits;
    const std::size_t firstInt = intDigits.find_first_not_of('0');
    if (firstInt != std::string_view::npos) {
        return exponent + static_cast<std::int64_t>(intDigits.size() - firstInt);
    }
    const std::size_t firstFrac = parts.fractionDigits.find_first_not_of('0');
    if (firstFrac == std::string_view::npos) {
        return -kSaturation;  // zero never overflows
    }
    return exponent - static_cast<std::int64_t>(firstFrac);
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

// Adds one unit in the last place of a string of decimal digits.
void IncrementDigits(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// |value| x 10^4 rounded half away from zero from the value's 15 significant digits,
// as a string of decimal digits.
std::string TenThousandthsDigits(double magnitude) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    // text is "d.ddddddddddddde+XX": 15 significant digits and a decimal exponent.
    std::string digits;
    digits.push_back(text[0]);
    digits.append(text.substr(2, 14));
    int exponent = 0;
    const std::string_view exponentText = text.substr(text.find('e') + 1);
    std::from_chars(exponentText.data() + (exponentText[0] == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);
    // The integer part of value x 10^4 is made of the first exponent + 5 digits.
    const int keep = exponent + 5;
    if (keep <= 0) {
        return (keep == 0 && digits[0] >= '5') ? "1" : "0";
    }
    const auto kept = static_cast<std::size_t>(keep);
    if (kept >= digits.size()) {
        return digits + std::string(kept - digits.size(), '0');
    }
    const bool roundUp = digits[kept] >= '5';
    digits.resize(kept);
    if (roundUp) {
        IncrementDigits(digits);
    }
    return digits;
}

}  // namespace

// The magnitude of a matched number through std::from_chars (correctly rounded), for the
// numbers ExactValue leaves: long mantissas, large exponents. numberText is the match
// without its sign; with '.' as separator std::from_chars reads it as it stands (it takes
// ".5", "5." and "e+5" alike). False for a value beyond the largest double; one below the
// smallest subnormal is zero.
bool number_scan::CorrectlyRoundedValue(const NumberParts& parts, std::string_view numberText,
                                        char separator, double& magnitude) {
    std::string canonical;
    if (separator != '.') {
        canonical = CanonicalSpelling(parts);
        numberText = canonical;
    }
    magnitude = 0.0;
    const char* end = numberText.data() + numberText.size();
    const auto result = std::from_chars(numberText.data(), end, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        magnitude = 0.0;  // below the smallest subnormal: underflow passes quietly
        return DecimalMagnitude(parts) <= 0;
    }
    return result.ec == std::errc() && result.ptr == end;
}

std::string_view TrimView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrControl(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlankOrControl(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

namespace {

// The whole of an already trimmed text as a number, or false.
bool WholeNumber(std::string_view trimmed, char decimalSeparator, double& value) {
    const char* last = trimmed.data() + trimmed.size();
    const char* end = ScanNumber(trimmed.data(), last, value, decimalSeparator);
    return end != nullptr && end == last;
}

}  // namespace

double StrToFloat(std::string_view text, char decimalSeparator) {
    const std::string_view trimmed = TrimView(text);
    double value = 0.0;
    if (!WholeNumber(trimmed, decimalSeparator, value)) {
        throw ConvertError(std::string(trimmed));
    }
    return value;
}

double StrToFloatDotOrLocale(std::string_view text, char localeSeparator) {
    const std::string_view trimmed = TrimView(text);
    double value = 0.0;
    if (WholeNumber(trimmed, '.', value) ||
        (localeSeparator != '.' && WholeNumber(trimmed, localeSeparator, value))) {
        return value;
    }
    throw ConvertError(std::string(trimmed));
}

std::string FormatFixed4(double value, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    std::string digits = TenThousandthsDigits(std::fabs(value));
    if (digits.size() < 5) {
        digits.insert(0, 5 - digits.size(), '0');
    }
    const bool isZero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !isZero) ? "-" : "";
    out.append(digits, 0, digits.size() - 4);
    out.push_back(decimalSeparator);
    out.append(digits, digits.size() - 4, 4);
    return out;
}

std::string FormatGeneral(double value) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string FormatFixed(double value, int decimals) {
    // 309 digits before the point for the largest double, up to 40 after it.
    char buffer[360];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, std::clamp(decimals, 0, 40));
    return std::string(buffer, result.ptr);
}

std::string FormatExact(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
    return std::string(buffer, result.ptr);
}
