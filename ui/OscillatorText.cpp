// Texts of the oscillator inspector, with the window's number formats.
#include "ui/OscillatorText.h"

#include <algorithm>
#include <charconv>

#include "records/NumberText.h"

namespace {

QString WithSeparator(std::string text, char decimalSeparator) {
    for (char& c : text) {
        if (c == '.') {
            c = decimalSeparator;
        }
    }
    return QString::fromStdString(text);
}

QString Exact(double value) {
    return QString::fromStdString(FormatExact(value));
}

}  // namespace

QString OscillatorTitle(double periodS, double dampingRatio, char decimalSeparator) {
    return QStringLiteral("Oscillator T = ") +
           QString::fromStdString(FormatFixed4(periodS, decimalSeparator)) +
           QStringLiteral(" s, ζ = ") +
           WithSeparator(FormatGeneral(dampingRatio), decimalSeparator);
}

QString SignificantText(double value, int digits, char decimalSeparator) {
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return WithSeparator(std::string(buffer, result.ptr), decimalSeparator);
}

QString PeakText(const char* symbol, const ResponsePeak& peak, const char* unit,
                 char decimalSeparator) {
    return QString::fromUtf8(symbol) + QStringLiteral(" = ") +
           SignificantText(peak.value, 4, decimalSeparator) + QLatin1Char(' ') +
           QString::fromUtf8(unit) + QStringLiteral(" at ") +
           QString::fromStdString(FormatFixed4(peak.timeS, decimalSeparator)) +
           QStringLiteral(" s");
}

QString WholeRecordText(const RunningMaximum& maximum, char decimalSeparator) {
    if (maximum.values.empty()) {
        return QString();
    }
    return QString::fromUtf8(maximum.quantity.symbol) + QStringLiteral(" for the whole record = ") +
           SignificantText(maximum.values.back(), 4, decimalSeparator) + QLatin1Char(' ') +
           QString::fromUtf8(maximum.quantity.unit);
}

double RunningMaximumAtPoint(const OscillatorHistory& history, const RunningMaximum& maximum,
                             std::size_t i) {
    const auto subSteps = static_cast<std::size_t>(history.plan.subSteps);
    if (i == 0 || maximum.values.empty()) {
        return 0.0;
    }
    const std::size_t step = (i + subSteps - 1) / subSteps;  // the record step point i lies in
    return maximum.values[std::min(step, maximum.values.size()) - 1];
}

QString OscillatorDataText(const InspectedOscillator& oscillator, const RunningMaximum& maximum) {
    const OscillatorHistory& history = oscillator.history;
    const QString quantity = QString::fromUtf8(maximum.quantity.name) + QStringLiteral(" [") +
                             QString::fromUtf8(maximum.quantity.unit) + QLatin1Char(']');
    QString text =
        QStringLiteral("Record\t") + oscillator.recordName + QStringLiteral("\nDamping ratio\t") +
        Exact(oscillator.dampingRatio) + QStringLiteral("\nPeriod [s]\t") +
        Exact(oscillator.periodS) + QStringLiteral("\nRunning maximum\t") + quantity +
        QStringLiteral("\nTime [s]\tx [cm]\tRunning maximum of ") + quantity + QLatin1Char('\n');
    const auto subSteps = static_cast<std::size_t>(history.plan.subSteps);
    text.reserve(text.size() + static_cast<qsizetype>(history.displacementCm.size()) * 64);
    for (std::size_t i = 0; i < history.displacementCm.size(); ++i) {
        text += Exact(history.PointTime(i)) + QLatin1Char('\t') + Exact(history.displacementCm[i]) +
                QLatin1Char('\t');
        const std::size_t step = i / subSteps;
        if (i > 0 && i % subSteps == 0 && step <= maximum.values.size()) {
            text += Exact(maximum.values[step - 1]);
        }
        text += QLatin1Char('\n');
    }
    return text;
}
