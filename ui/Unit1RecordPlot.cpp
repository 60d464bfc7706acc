// The record plot: the highlighted record in lnsrsSeries1 and, in red, the analysed record
// up to the selected instant in lnsrsSeries2. Sample i is drawn at i * timeStep (s), in g.
#include <QComboBox>
#include <QListWidget>
#include <algorithm>
#include <span>

#include "records/NumberText.h"
#include "ui/CheckListBox.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

// The samples of record (g), read in place.
std::span<const double> Samples(const TimeHistory& record) {
    const DOUBLEVECTOR& accG = record.GetAcc();
    return std::span<const double>(accG.data(), accG.size());
}

}  // namespace

void TForm1::PlotRecord() {
    ClearSeries(lnsrsSeries1);
    ClearSeries(lnsrsSeries2);
    const int index = HighlightedRow(lst1);
    if (index >= 0 && static_cast<std::size_t>(index) < records.size()) {
        const TimeHistory& record = *records[static_cast<std::size_t>(index)];
        const QString title = QStringLiteral("Time=") + QString::fromStdString(FormatFixed4(
                                                            record.Duration(), decimalSeparator()));
        cht1->SetTitle(lnsrsSeries1, title);
        cht2->SetTitle(lnsrsSeries3, title);
        cht1->ShowRecord(Samples(record), record.GetTimeStep());
    }
    cht1->PaintChanges();
}

void TForm1::PlotRecordToInstant() {
    const int instant = cbb2->currentIndex();
    if (instant < 0 || results.currentRecord == nullptr) {
        ClearSeries(lnsrsSeries2);
        cht1->PaintChanges();
        return;
    }
    const TimeHistory& record = *results.currentRecord;
    cht1->SetTitle(lnsrsSeries2, QStringLiteral("Time=") + cbb2->itemText(instant));
    // Instant j ends at sample j + 1; the time list has Count - 1 entries, the bound only
    // guards a list that does not belong to this record. The trace replaces its points with
    // samples 0 .. j + 1, changing only those that differ from the last instant's.
    const int lastSample = std::min(instant + 1, record.Count() - 1);
    cht1->ShowTrace(Samples(record), record.GetTimeStep(),
                    static_cast<std::size_t>(std::max(lastSample + 1, 0)));
    cht1->PaintChanges();
}
