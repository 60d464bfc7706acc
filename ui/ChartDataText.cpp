// Header blocks and rows of the copied chart data, and the read-out labels.
#include "ui/ChartDataText.h"

#include <QStringList>
#include <string>

#include "records/NumberText.h"

namespace {

// Every double written back exactly: %.17g with '.'.
QString Exact(double value) {
    return QString::fromStdString(FormatExact(value));
}

// Parameters and times as the user reads them: up to 15 significant digits.
QString General(double value) {
    return QString::fromStdString(FormatGeneral(value));
}

// Numbers of a read-out label: six significant digits are plenty to read off a chart.
QString Short(double value) {
    return QString::number(value, 'g', 6);
}

QString Line(const QStringList& fields) {
    return fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
}

QString RunHeader(const AnalysisSettings& run) {
    return Line({QStringLiteral("Damping ratio"), General(run.dampingRatio)}) +
           Line({QStringLiteral("Period grid (s): min, max, step"), General(run.minPeriod),
                 General(run.maxPeriod), General(run.periodStep)});
}

QString RecordHeader(const TimeHistory& record) {
    return Line({QStringLiteral("Record"), QString::fromStdString(record.GetName())});
}

QString InstantHeader(const SpectrumInstant& instant) {
    return Line({QStringLiteral("Instant (s)"), General(instant.timeS)});
}

QString Column(const ResponseQuantity& q, const QString& which) {
    return QStringLiteral("%1 %2 (%3)").arg(QLatin1String(q.symbol), which, QLatin1String(q.unit));
}

QString AtInstant(const SpectrumInstant& instant) {
    return QStringLiteral("at ") + General(instant.timeS) + QStringLiteral(" s");
}

// Rows of period, frequency and, per quantity, whole-record and at-instant values.
QString SpectrumRows(const ResultStore& store, std::span<const std::size_t> quantities,
                     const SpectrumInstant& instant) {
    QString text;
    const std::size_t periods = store.periodGrid.size();
    const std::size_t last = store.sdHistory.size() - 1;
    for (std::size_t j = 0; j < periods; ++j) {
        QStringList fields = {Exact(store.periodGrid[j]), Exact(store.frequencyGrid[j])};
        for (const std::size_t q : quantities) {
            const History& history = QuantityHistory(store, q);
            const HistoryRow whole = history[last];
            const HistoryRow now = history[instant.row];
            fields << (j < whole.size() ? Exact(whole[j]) : QString())
                   << (j < now.size() ? Exact(now[j]) : QString());
        }
        text += Line(fields);
    }
    return text;
}

QString SpectrumColumns(std::span<const std::size_t> quantities, const SpectrumInstant& instant) {
    QStringList fields = {QStringLiteral("Period (s)"), QStringLiteral("Frequency (Hz)")};
    for (const std::size_t q : quantities) {
        fields << Column(kResponseQuantities[q], QStringLiteral("whole record"))
               << Column(kResponseQuantities[q], AtInstant(instant));
    }
    return Line(fields);
}

}  // namespace

QString RecordDataText(const TimeHistory& record, const std::optional<AnalysisSettings>& run,
                       const std::optional<SpectrumInstant>& instant) {
    QString text = RecordHeader(record);
    text += Line({QStringLiteral("Time step (s)"), Exact(record.GetTimeStep())});
    text += Line({QStringLiteral("Samples"), QString::number(record.Count())});
    text += Line({QStringLiteral("Quantity"), QStringLiteral("Acceleration"), QStringLiteral("g")});
    if (run) {
        text += RunHeader(*run);
    }
    if (instant) {
        text += InstantHeader(*instant);
    }
    text +=
        QLatin1Char('\n') + Line({QStringLiteral("Time (s)"), QStringLiteral("Acceleration (g)")});
    const DOUBLEVECTOR& acc = record.GetAcc();
    const double step = record.GetTimeStep();
    text.reserve(text.size() + static_cast<qsizetype>(acc.size()) * 48);
    for (std::size_t i = 0; i < acc.size(); ++i) {
        text += Line({Exact(static_cast<double>(i) * step), Exact(acc[i])});
    }
    return text;
}

QString SpectrumDataText(const ResultStore& store, const AnalysisSettings& run,
                         std::size_t quantity, const SpectrumInstant& instant) {
    const ResponseQuantity& q = kResponseQuantities.at(quantity);
    QString text = RecordHeader(*store.currentRecord) + RunHeader(run);
    text += Line({QStringLiteral("Quantity"), QLatin1String(q.title), QLatin1String(q.unit)});
    text += InstantHeader(instant) + QLatin1Char('\n');
    const std::array<std::size_t, 1> one = {quantity};
    return text + SpectrumColumns(one, instant) + SpectrumRows(store, one, instant);
}

QString AllQuantitiesText(const ResultStore& store, const AnalysisSettings& run,
                          const SpectrumInstant& instant) {
    QString text = RecordHeader(*store.currentRecord) + RunHeader(run);
    QStringList names;
    for (const ResponseQuantity& q : kResponseQuantities) {
        names << QStringLiteral("%1 (%2)").arg(QLatin1String(q.title), QLatin1String(q.unit));
    }
    text += Line(QStringList{QStringLiteral("Quantities")} + names);
    text += InstantHeader(instant) + QLatin1Char('\n');
    const std::array<std::size_t, 5> all = {0, 1, 2, 3, 4};
    return text + SpectrumColumns(all, instant) + SpectrumRows(store, all, instant);
}

QString RecordReadoutText(double timeS, double accG) {
    return QStringLiteral("Time: %1 s\nAcc.: %2 g").arg(Short(timeS), Short(accG));
}

QString SpectrumReadoutText(const ResultStore& store, std::size_t quantity,
                            const SpectrumInstant& instant, std::size_t period) {
    const ResponseQuantity& q = kResponseQuantities.at(quantity);
    const History& history = QuantityHistory(store, quantity);
    const HistoryRow whole = history.back();
    const HistoryRow now = history[instant.row];
    const QString unit = QLatin1String(q.unit);
    const QString symbol = QLatin1String(q.symbol);
    return QStringLiteral("Period: %1 s\nFrequency: %2 Hz\n%3 whole record: %4 %5\n%3 %6: %7 %5")
        .arg(Short(store.periodGrid[period]), Short(store.frequencyGrid[period]), symbol,
             period < whole.size() ? Short(whole[period]) : QStringLiteral("-"), unit,
             AtInstant(instant), period < now.size() ? Short(now[period]) : QStringLiteral("-"));
}
