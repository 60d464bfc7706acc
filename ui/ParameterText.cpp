// Parameter fields: '.' in every locale, and the locale's own decimal separator.
#include "ui/ParameterText.h"

#include <QLocale>

#include "records/NumberText.h"

char LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.front().unicode() < 128) {
        return static_cast<char>(point.front().unicode());
    }
    return '.';
}

double ParameterValue(const QString& text) {
    return StrToFloatDotOrLocale(text.toStdString(), LocaleDecimalSeparator());
}
