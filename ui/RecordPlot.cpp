// The record plot: the highlighted record in lnsrsSeries1 and, in red, the analysed record
// up to the selected instant in lnsrsSeries2. Sample i is drawn at i * timeStep (s), in g.
#include <QComboBox>
#include <QLineSeries>
#include <QListWidget>
#include <algorithm>

#include "records/NumberText.h"
#include "ui/ChartHelpers.h"
#include "ui/CheckListBox.h"
#include "ui/TraceDecimation.h"
#include "ui/Unit1.h"

namespace {

// Points (i * timeStep s, sample i in g) for samples 0 to lastSample, both included.
QList<QPointF> RecordPoints(const TimeHistory& record, int lastSample) {
    const DOUBLEVECTOR& accG = record.GetAcc();
    const double timeStepS = record.GetTimeStep();
    QList<QPointF> points;
    points.reserve(lastSample + 1);
    for (int i = 0; i <= lastSample; ++i) {
        points.append(QPointF(i * timeStepS, accG[static_cast<std::size_t>(i)]));
    }
    return points;
}

}  // namespace

void TForm1::PlotRecord() {
    ClearSeries(lnsrsSeries1);
    ClearSeries(lnsrsSeries2);
    const int index = HighlightedRow(lst1);
    if (index < 0 || static_cast<std::size_t>(index) >= records.size()) {
        return;
    }
    const TimeHistory& record = *records[static_cast<std::size_t>(index)];
    const QString title = QStringLiteral("Time=") + QString::fromStdString(FormatFixed4(
                                                        record.Duration(), decimalSeparator()));
    lnsrsSeries1->setName(title);
    lnsrsSeries3->setName(title);
    SetTracePoints(lnsrsSeries1, RecordPoints(record, record.Count() - 1));
}

void TForm1::PlotRecordToInstant() {
    ClearSeries(lnsrsSeries2);
    const int instant = cbb2->currentIndex();
    if (instant < 0 || results.currentRecord == nullptr) {
        return;
    }
    const TimeHistory& record = *results.currentRecord;
    lnsrsSeries2->setName(QStringLiteral("Time=") + cbb2->itemText(instant));
    // Instant j ends at sample j + 1; the time list has Count - 1 entries, the bound only
    // guards a list that does not belong to this record.
    SetTracePoints(lnsrsSeries2, RecordPoints(record, std::min(instant + 1, record.Count() - 1)));
}
