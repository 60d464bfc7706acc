// "Import Data" and the record selection: reading the chosen files into records, listing
// them in lst1, and drawing the record the user highlights.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "ui/CheckListBox.h"
#include "ui/ParameterText.h"
#include "ui/RecordToolTip.h"
#include "ui/Unit1.h"

void TForm1::btn1Click() {
    tmr1->stop();
    CloseInspector();
    ClearRecords();
    results.ClearResults();
    ClearChartSeries();
    cbb2->clear();
    rzstspn1->setText(QString());
    const int beginLine = DeriveBeginLine(edt5->text().toStdString(), LocaleDecimalSeparator());
    const double unitFactor = DeriveUnitFactor(cbb1->currentIndex(), gravity);
    const QStringList paths = chooseFiles ? chooseFiles() : QStringList();
    for (const QString& path : paths) {
        const std::size_t recordsBefore = records.size();
        try {
            ReadRecordFile(path.toStdString(), beginLine, unitFactor, records);
        } catch (...) {
            // Keep what was read completely and selectable; drop the failing file's
            // partial record, then let the error reach the error display unchanged.
            records.erase(records.begin() + static_cast<std::ptrdiff_t>(recordsBefore),
                          records.end());
            ListRecords();
            throw;
        }
    }
    ListRecords();
}

void TForm1::ClearRecords() {
    // The result store must never point into a destroyed record.
    results.currentRecord = nullptr;
    records.clear();
    lst1->clear();
}

void TForm1::ListRecords() {
    for (const auto& record : records) {
        AddUncheckedItem(lst1, QString::fromStdString(record->GetName()));
        lst1->item(lst1->count() - 1)->setToolTip(RecordToolTip(*record));
    }
}

void TForm1::lst1Click() {
    tmr1->stop();
    CloseInspector();
    results.ClearResults();
    ClearChartSeries();
    cbb2->clear();
    PlotRecord();
}
