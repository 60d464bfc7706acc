// The record list's tool tips.
#include "ui/RecordToolTip.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

#include "records/Timeserie.h"

namespace {

// The largest absolute sample in g; 0 for a record without samples.
double PeakAcceleration(const TimeHistory& record) {
    double peak = 0.0;
    for (const double a : record.GetAcc()) {
        peak = std::max(peak, std::fabs(a));
    }
    return peak;
}

}  // namespace

QString RecordToolTip(const TimeHistory& record) {
    const QLocale locale;
    const std::string_view format = RecordFormatName(record.GetFormat());
    const QString formatName =
        QString::fromUtf8(format.data(), static_cast<qsizetype>(format.size()));
    return QStringLiteral(
               "Format: %1\nSamples: %2\nTime step: %3 s\nDuration: %4 s\n"
               "Peak acceleration: %5 g")
        .arg(formatName, locale.toString(record.Count()),
             locale.toString(record.GetTimeStep(), 'g', 6),
             locale.toString(record.Duration(), 'g', 8),
             locale.toString(PeakAcceleration(record), 'g', 4));
}
