// Run Analysis: analyses the highlighted record over the period grid and fills the instants.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTimer>

#include "records/NumberText.h"
#include "ui/AnalysisProgress.h"
#include "ui/ChartWidget.h"
#include "ui/CheckListBox.h"
#include "ui/InstantListModel.h"
#include "ui/ParameterText.h"
#include "ui/Unit1.h"

namespace {

// Shows the busy cursor for its lifetime; the destructor restores it on every path out of
// the run, an exception from the core included.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Memory one instant of the time list takes, which the store's memory guard counts with
// the results: the list writes its items when shown, so only the drop-down view's layout of
// its rows remains (about 11 bytes a row once opened, measured with Qt 6.4).
constexpr std::size_t kTimeListBytesPerInstant = 16;

// The number in an edit field, read with '.' or the user's decimal separator; throws
// ConvertError with the trimmed text when it is not a number.
double ReadParameter(const QLineEdit* field) {
    return ParameterValue(field->text());
}

}  // namespace

void TForm1::btn3Click() {
    tmr1->stop();
    CloseInspector();
    results.ClearResults();
    cbb2->clear();
    ClearSeries(lnsrsSeries2);
    ClearSeries(lnsrsSeries3);
    ClearSeries(lnsrsSeries4);
    ResetChartZoom();
    rzstspn1->setText(QString());
    const int recordIndex = HighlightedRow(lst1);
    if (recordIndex < 0 || recordIndex >= static_cast<int>(records.size())) {
        return;
    }

    const BusyCursor busy;
    const char separator = decimalSeparator();
    const double minPeriod = ReadParameter(edt1);
    const double maxPeriod = ReadParameter(edt4);
    const double periodStep = ReadParameter(edt3);
    results.BuildPeriodGrid(minPeriod, maxPeriod, periodStep);
    const double dampingRatio = ReadParameter(edt2);

    TimeHistory* record = records[static_cast<std::size_t>(recordIndex)].get();
    rzstspn1->setText(QStringLiteral("CurrentWave: ") + QString::fromStdString(record->GetName()));
    results.callerBytesPerInstant = kTimeListBytesPerInstant;
    if (!AnalyseWithProgress(results, record, dampingRatio, gravity, this)) {
        rzstspn1->setText(QString());  // stopped: as a run without a highlighted record
        return;
    }
    lastRun = AnalysisSettings{minPeriod, maxPeriod, periodStep, dampingRatio};

    // The instants k * timeStep (s), k = 1 .. Count - 1, written when the list shows them.
    InstantListOf(cbb2)->SetInstants(record->Count() - 1, record->GetTimeStep(), separator);
    if (cbb2->count() > 0) {
        trckbr1->setMaximum(cbb2->count() - 1);
        trckbr1->setMinimum(0);
        trckbr1->setValue(0);
    }
    cbb2->setCurrentIndex(0);
    PlotRecordToInstant();
    RefreshSpectrumPlot();
}
