// Numbers the user types into the window's fields, in any locale.
#pragma once

#include <QString>

// The decimal separator of the user's locale (QLocale's default) as one ASCII character;
// '.' when the locale's is none (a separator outside ASCII).
char LocaleDecimalSeparator();

// The number in a parameter field (periods in s, damping ratio, begin line): the text
// trimmed and read with '.' or with the locale's decimal separator, so the default "0.02"
// and a German "0,02" both give 0.02. Throws ConvertError "'%s' is not a valid floating
// point value" with the trimmed text.
double ParameterValue(const QString& text);
