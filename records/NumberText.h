// Conversion between numbers and text, independent of the C library's locale.
#pragma once

#include <string>

// Removes leading and trailing characters with codes up to 32.
std::string Trim(const std::string& text);

// Converts text to double. The text is trimmed first, then must match exactly:
// optional sign, digits with an optional fraction after decimalSeparator (at least one
// digit in all), optional exponent (E or e, optional sign, digits). A value too large for
// a double is refused too. Throws ConvertError with the trimmed text.
double StrToFloat(const std::string& text, char decimalSeparator = '.');

// Fixed point with four decimals, rounded, at least one digit before the separator, and a
// leading minus for negative values: the "0.0000" pattern of times shown to the user.
std::string FormatFixed4(double value, char decimalSeparator = '.');

// General format with up to 15 significant digits and no trailing zeros (%.15g),
// with '.' as decimal separator.
std::string FormatGeneral(double value);
