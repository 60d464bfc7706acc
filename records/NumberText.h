// Conversion between numbers and text, independent of the C library's locale.
#pragma once

#include <string>
#include <string_view>

// Removes leading and trailing characters with codes up to 32 (bytes 128..255 are kept).
std::string Trim(std::string_view text);
// The same without copying: a view into text.
std::string_view TrimView(std::string_view text);

// Converts text to double. The text is trimmed first, then must match exactly:
// optional sign, digits with an optional fraction after decimalSeparator, at least one digit
// in all ("5." and ".5" are numbers, "." is not), optional exponent (E or e, optional sign,
// at least one digit). Nothing else: no blanks inside, no "inf", "nan", hex or digit grouping.
// A value too large for a double is refused; one too small underflows quietly to zero or a
// subnormal. decimalSeparator is one ASCII character. Throws ConvertError with the trimmed text.
double StrToFloat(std::string_view text, char decimalSeparator = '.');

// A number the user typed into the window: read with '.' as decimal separator, or else with
// localeSeparator (the user's locale's), so "0.02" and, in a German locale, "0,02" both give
// 0.02. One text uses one separator: "1.000,5" is refused. Throws ConvertError with the
// trimmed text.
double StrToFloatDotOrLocale(std::string_view text, char localeSeparator);

// Fixed point with four decimals, at least one digit before the separator and a leading minus
// for negative values: the "0.0000" pattern of times shown to the user (time in s stays in s).
// The value is first taken to 15 significant digits, then rounded half away from zero, so a
// time computed as 3 x 0.00005 shows "0.0002" as its 15-digit value suggests. A value that
// rounds to zero shows "0.0000" without a minus. Infinities and NaN show "INF", "-INF", "NAN".
std::string FormatFixed4(double value, char decimalSeparator = '.');

// General format with up to 15 significant digits and no trailing zeros (%.15g in the C
// locale: "0.1", "1e+20", "1e-05"), with '.' as decimal separator. Infinities and NaN show
// "INF", "-INF", "NAN".
std::string FormatGeneral(double value);

// printf's %.<decimals>f and %.17g as in the C locale, whatever locale the process runs in.
std::string FormatFixed(double value, int decimals);
std::string FormatExact(double value);
