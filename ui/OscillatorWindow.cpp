// The inspector window: peak texts above its chart, the chart's read-out and copied data.
#include "ui/OscillatorWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "records/NumberText.h"
#include "ui/OscillatorChart.h"

namespace {

constexpr int kClientWidthPx = 680;
constexpr int kClientHeightPx = 440;

QLabel* NamedLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

OscillatorWindow::OscillatorWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("oscillatorInspector"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);  // the main window keeps the keyboard
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(4);
    auto* peaks = new QHBoxLayout();
    peaks->setSpacing(24);
    const char* names[3] = {"lblPeakDisplacement", "lblPeakVelocity", "lblPeakAcceleration"};
    for (int p = 0; p < 3; ++p) {
        peakLabels[p] = NamedLabel(this, names[p]);
        peaks->addWidget(peakLabels[p]);
    }
    peaks->addStretch(1);
    layout->addLayout(peaks);
    wholeLabel = NamedLabel(this, "lblWholeRecord");
    layout->addWidget(wholeLabel);
    chart = new OscillatorChart(this);
    chart->setObjectName(QStringLiteral("chtInspector"));
    layout->addWidget(chart, 1);
    chart->readoutAt = [this](QPointF pixelPos) { return ReadoutAt(pixelPos); };
    chart->dataText = [this] { return OscillatorDataText(oscillator, maximum); };
    resize(kClientWidthPx, kClientHeightPx);
}

void OscillatorWindow::ShowOscillator(InspectedOscillator shown, char decimalSeparator) {
    oscillator = std::move(shown);
    separator = decimalSeparator;
    setWindowTitle(OscillatorTitle(oscillator.periodS, oscillator.dampingRatio, separator));
    const OscillatorHistory& history = oscillator.history;
    peakLabels[0]->setText(PeakText("Sd", history.displacement, "cm", separator));
    peakLabels[1]->setText(PeakText("Sv", history.velocity, "cm/s", separator));
    peakLabels[2]->setText(PeakText("Sa", history.acceleration, "g", separator));
    chart->ShowMotion(history);
}

void OscillatorWindow::ShowRunningMaximum(RunningMaximum shown) {
    maximum = std::move(shown);
    wholeLabel->setText(WholeRecordText(maximum, separator));
    chart->ShowRunningMaximum(maximum, oscillator.timeStepS);
}

void OscillatorWindow::ShowInstant(double timeS) {
    chart->ShowInstant(timeS);
}

std::optional<ChartReadout> OscillatorWindow::ReadoutAt(QPointF pixelPos) const {
    const OscillatorHistory& history = oscillator.history;
    if (history.displacementCm.empty() || !(history.plan.subStep > 0)) {
        return std::nullopt;
    }
    const double timeS = chart->xAxis->pixelToCoord(pixelPos.x());
    const double last = static_cast<double>(history.displacementCm.size() - 1);
    const double nearest = std::clamp(std::round(timeS / history.plan.subStep), 0.0, last);
    if (!std::isfinite(nearest)) {
        return std::nullopt;
    }
    const auto i = static_cast<std::size_t>(nearest);
    const double x = history.displacementCm[i];
    const QString unit = QString::fromUtf8(maximum.quantity.unit);
    QString text = QStringLiteral("Time = ") +
                   QString::fromStdString(FormatFixed4(history.PointTime(i), separator)) +
                   QStringLiteral(" s\nx = ") + SignificantText(x, 4, separator) +
                   QStringLiteral(" cm");
    if (!maximum.values.empty()) {
        text += QStringLiteral("\nrunning max ") + QString::fromUtf8(maximum.quantity.symbol) +
                QStringLiteral(" = ") +
                SignificantText(RunningMaximumAtPoint(history, maximum, i), 4, separator) +
                QLatin1Char(' ') + unit;
    }
    return ChartReadout{QPointF(history.PointTime(i), x), text};
}

void OscillatorWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}
