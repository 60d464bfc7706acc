// The number grammar of the record files, scanned in place: the reader's inner loop, inline.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "records/WordScan.h"

namespace number_scan {

// The parts of a text that matched the number grammar.
struct NumberParts {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    bool exponentNegative = false;
    std::string_view exponentDigits;
};

// The number of ASCII digits the word starts with (0..8). A byte above 0xF9 carries into the
// next one when 6 is added, but it is no digit itself, so the first non-digit is still found.
inline unsigned LeadingDigitCount(std::uint64_t word) {
    const std::uint64_t high = word & (0xF0 * kEachByte);
    const std::uint64_t shifted = (word + 0x06 * kEachByte) & (0xF0 * kEachByte);
    const std::uint64_t nonDigit = (high ^ (0x30 * kEachByte)) | (shifted ^ (0x30 * kEachByte));
    return nonDigit == 0 ? 8u : static_cast<unsigned>(FirstMarkedByte(nonDigit));
}

// The value of the first count (1..8) digits of the word: shifted to the top, the digits
// before them are zeros, and three multiplications combine pairs, quadruples and octets.
inline std::uint64_t DigitsValue(std::uint64_t word, unsigned count) {
    std::uint64_t v = (word - 0x30 * kEachByte) << (8 * (8 - count));
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
        32;
    return v & 0xFFFFFFFFULL;
}

// Decimal digits taken so far: their value modulo 2^64, exact while there are at most
// kMaxExactDigits of them (the caller goes the slow way for more).
struct DigitValue {
    static constexpr std::size_t kMaxExactDigits = 19;  // 10^19 - 1 < 2^64
    std::uint64_t value = 0;
    std::size_t digits = 0;
};

inline constexpr std::array<std::uint64_t, 9> kPowersOfTen = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

inline bool IsDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// Takes a short run of digits (an integer part, an exponent) one by one.
inline const char* TakeDigitsOneByOne(const char* p, const char* last, DigitValue& digit) {
    const char* const start = p;
    while (p < last && IsDigit(*p)) {
        digit.value = digit.value * 10 + static_cast<std::uint64_t>(*p - '0');
        ++p;
    }
    digit.digits += static_cast<std::size_t>(p - start);
    return p;
}

// Takes a longer run of digits (a fraction) eight at a time.
inline const char* TakeDigitsByWords(const char* p, const char* last, DigitValue& digit) {
    for (;;) {
        const std::uint64_t word = LoadWord(p, last);
        const unsigned count = LeadingDigitCount(word);
        if (count == 0) {
            return p;
        }
        digit.value = digit.value * kPowersOfTen[count] + DigitsValue(word, count);
        digit.digits += count;
        p += count;
        if (count < 8) {
            return p;
        }
    }
}

inline bool TakeSign(const char*& p, const char* last) {
    if (p < last && (*p == '+' || *p == '-')) {
        return *p++ == '-';
    }
    return false;
}

// Powers of ten that a double holds exactly.
inline constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// mantissa x 10^exponent when one correctly rounded operation on exact operands gives it
// (Clinger's fast path: mantissa below 2^53, |exponent| up to 22), as from_chars would.
inline bool ExactValue(const DigitValue& mantissa, const DigitValue& exponentDigits,
                       bool exponentNegative, std::size_t fractionDigits, double& magnitude) {
    constexpr std::uint64_t kExactMantissa = 1ULL << 53;
    if (mantissa.digits > DigitValue::kMaxExactDigits || exponentDigits.digits > 4 ||
        mantissa.value > kExactMantissa) {
        return false;
    }
    const auto written = static_cast<long long>(exponentDigits.value);
    const long long exponent =
        (exponentNegative ? -written : written) - static_cast<long long>(fractionDigits);
    const auto exact = static_cast<long long>(kExactPowersOfTen.size()) - 1;
    if (exponent < -exact || exponent > exact) {
        return false;
    }
    const double m = static_cast<double>(mantissa.value);
    magnitude = exponent < 0 ? m / kExactPowersOfTen[static_cast<std::size_t>(-exponent)]
                             : m * kExactPowersOfTen[static_cast<std::size_t>(exponent)];
    return true;
}

// Whether every byte of the word marked in mask is below 10 (carry-free: a byte below 0x80
// plus 0x76 stays below 0x100, and a byte from 0x80 up is caught by its own top bit).
inline bool BytesBelowTen(std::uint64_t word, std::uint64_t mask) {
    return (((word + 0x76 * kEachByte) | word) & (0x80 * kEachByte) & mask) == 0;
}

// The Fortran E15.7 spelling of NGA AT2 files, "8.6900441E-08" after the sign: one digit, '.',
// seven digits, E, a sign and two digits, not followed by a further digit. Checked and
// converted from two words, for a fraction of the general scan's work; false for any other
// spelling, which the general scan then reads. Needs 16 bytes before last.
[[gnu::always_inline]] inline bool ScanScientific7(const char* p, const char* last,
                                                   const char*& end, double& magnitude) {
    if (last - p < 16) {
        return false;
    }
    // "8.690044": digits but for byte 1, the point. XOR makes digits 0..9 and the point 0.
    const std::uint64_t head = LoadWord(p, last) ^ 0x3030303030302E30ULL;
    // "1E-08" and the byte after: bytes 0, 3 and 4 digits, 1 the letter, 2 the sign.
    const std::uint64_t tail = LoadWord(p + 8, last);
    const std::uint64_t tailDigits = tail ^ 0x3030303030303030ULL;
    const auto letter = static_cast<unsigned char>((tail >> 8) & 0xDF);
    const auto sign = static_cast<unsigned char>(tail >> 16);
    if (!BytesBelowTen(head, ~std::uint64_t{0}) || ((head >> 8) & 0xFF) != 0 ||
        !BytesBelowTen(tailDigits, 0x000000FFFF0000FFULL) ||
        BytesBelowTen(tailDigits, 0x0000FF0000000000ULL) || letter != 'E' ||
        (sign != '-' && sign != '+')) {
        return false;
    }
    // The eight mantissa digits' values in one word: the first, the six after the point, the
    // last; DigitsValue takes ASCII, so '0' is added back.
    const std::uint64_t digits =
        ((head & 0xFF) | ((head >> 8) & 0x00FFFFFFFFFFFF00ULL) | ((tailDigits & 0xFF) << 56)) +
        0x30 * kEachByte;
    const auto written =
        static_cast<long long>(((tailDigits >> 24) & 0xFF) * 10 + ((tailDigits >> 32) & 0xFF));
    const long long exponent = (sign == '-' ? -written : written) - 7;
    if (exponent < -22 || exponent > 22) {
        return false;
    }
    const double m = static_cast<double>(DigitsValue(digits, 8));
    magnitude = exponent < 0 ? m / kExactPowersOfTen[static_cast<std::size_t>(-exponent)]
                             : m * kExactPowersOfTen[static_cast<std::size_t>(exponent)];
    end = p + 13;
    return true;
}

// The magnitude of a matched number through std::from_chars (correctly rounded), for the
// numbers ExactValue leaves: long mantissas, large exponents. numberText is the match
// without its sign. False for a value beyond the largest double; one below the smallest
// subnormal is zero.
bool CorrectlyRoundedValue(const NumberParts& parts, std::string_view numberText, char separator,
                           double& magnitude);

}  // namespace number_scan

// Matches the number grammar of StrToFloat at first, as far as it reaches (nothing is
// trimmed), and returns the end of the match with value set; returns nullptr when the text
// at first does not begin with a complete number ("1e" followed by a blank, "+", ".") or the
// number is beyond the largest double. The caller decides whether what follows the match may
// end a number. Reads nothing at or past last. Numbers of up to 19 digits within 10^+-22 are
// converted exactly by one correctly rounded operation (the fraction eight digits at a time);
// the rest by std::from_chars.
[[gnu::always_inline]] inline const char* ScanNumber(const char* first, const char* last,
                                                     double& value, char decimalSeparator = '.') {
    using namespace number_scan;
    NumberParts parts;
    const char* p = first;
    parts.negative = TakeSign(p, last);
    const char* const unsignedStart = p;
    if (decimalSeparator == '.') {
        const char* end = nullptr;
        double magnitude = 0.0;
        if (ScanScientific7(p, last, end, magnitude)) {
            value = parts.negative ? -magnitude : magnitude;
            return end;
        }
    }
    DigitValue mantissa;
    p = TakeDigitsOneByOne(p, last, mantissa);
    parts.integerDigits =
        std::string_view(unsignedStart, static_cast<std::size_t>(p - unsignedStart));
    if (p < last && *p == decimalSeparator) {
        const char* const fractionStart = ++p;
        p = TakeDigitsByWords(p, last, mantissa);
        parts.fractionDigits =
            std::string_view(fractionStart, static_cast<std::size_t>(p - fractionStart));
    }
    if (mantissa.digits == 0) {
        return nullptr;
    }
    DigitValue exponent;
    if (p < last && (*p == 'e' || *p == 'E')) {
        ++p;
        parts.exponentNegative = TakeSign(p, last);
        const char* const exponentStart = p;
        p = TakeDigitsOneByOne(p, last, exponent);
        if (exponent.digits == 0) {
            return nullptr;
        }
        parts.exponentDigits =
            std::string_view(exponentStart, static_cast<std::size_t>(p - exponentStart));
    }
    double magnitude = 0.0;
    if (!ExactValue(mantissa, exponent, parts.exponentNegative, parts.fractionDigits.size(),
                    magnitude) &&
        !CorrectlyRoundedValue(
            parts, std::string_view(unsignedStart, static_cast<std::size_t>(p - unsignedStart)),
            decimalSeparator, magnitude)) {
        return nullptr;
    }
    value = parts.negative ? -magnitude : magnitude;
    return p;
}
