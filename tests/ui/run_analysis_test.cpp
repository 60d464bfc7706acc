// "Run Analysis" driven as the user does: the state after a run, short records, no
// highlighted record, refused parameters, an empty grid, running twice, the busy cursor.
#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include "support/RunFixture.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;

// What a run leaves for the user to see, for comparing two runs.
struct RunState {
    QStringList instants;
    int sliderMin, sliderMax, sliderPos, selected;
    QList<QPointF> red, whole, atInstant;
    QString status;
    bool operator==(const RunState&) const = default;
};

RunState StateOf(const TForm1* form) {
    QStringList instants;
    for (int i = 0; i < form->cbb2->count(); ++i)
        instants << form->cbb2->itemText(i);
    return {instants,
            form->trckbr1->minimum(),
            form->trckbr1->maximum(),
            form->trckbr1->value(),
            form->cbb2->currentIndex(),
            Points(form, "lnsrsSeries2"),
            Points(form, "lnsrsSeries3"),
            Points(form, "lnsrsSeries4"),
            form->rzstspn1->text()};
}

// The reset part of every run: no instants, no red trace, no spectra, playback stopped.
void VerifyNothingShown(const TForm1* form) {
    QCOMPARE(form->cbb2->count(), 0);
    QCOMPARE(form->cbb2->currentIndex(), -1);
    QCOMPARE(PointCount(form, "lnsrsSeries2"), 0);
    QCOMPARE(PointCount(form, "lnsrsSeries3"), 0);
    QCOMPARE(PointCount(form, "lnsrsSeries4"), 0);
    QVERIFY(!form->tmr1->isActive());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

}  // namespace

class RunAnalysisTest : public QObject {
    Q_OBJECT

  private slots:
    void stateAfterRun() {
        RunWindow w;
        const std::vector<double> accG = RunTestQuake(41, kTimeStepS);
        w.LoadRecord(QStringLiteral("quake.txt"), accG, kTimeStepS);
        QTest::mouseClick(w.form->btn6, Qt::LeftButton);  // a run stops playback
        w.ClickRun();
        TForm1* form = w.form.get();
        QVERIFY(w.capture.errors.isEmpty() && w.capture.messages.isEmpty());

        QCOMPARE(form->cbb2->count(), 40);
        for (int k = 1; k <= 40; ++k) {
            QCOMPARE(form->cbb2->itemText(k - 1), QString::number(k / 100.0, 'f', 4));
        }
        QCOMPARE(form->cbb2->itemText(2),
                 QStringLiteral("0.0300"));  // 3 * 0.01 = 0.030000000000000002
        QCOMPARE(form->cbb2->currentIndex(), 0);
        QCOMPARE(form->trckbr1->minimum(), 0);
        QCOMPARE(form->trckbr1->maximum(), 39);
        QCOMPARE(form->trckbr1->value(), 0);
        QVERIFY(!form->tmr1->isActive());
        QCOMPARE(form->rzstspn1->text(), QStringLiteral("CurrentWave: quake.txt"));

        // Red trace: samples 0 and 1, up to the first instant.
        QCOMPARE(Points(form, "lnsrsSeries2"),
                 (QList<QPointF>{{0.0, accG[0]}, {kTimeStepS, accG[1]}}));
        QCOMPARE(Title(form, "lnsrsSeries2"), QStringLiteral("Time=0.0100"));
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 41);

        // Spectra: the whole record (last row) and the first instant (row 0), in grid order.
        const ResultStore& store = form->results;
        QCOMPARE(store.periodGrid.size(), std::size_t{300});
        QCOMPARE(store.sdHistory.size(), std::size_t{40});
        const QList<QPointF> whole = Points(form, "lnsrsSeries3");
        const QList<QPointF> atInstant = Points(form, "lnsrsSeries4");
        QCOMPARE(whole, ZipPoints(store.periodGrid, store.sdHistory[39]));
        QCOMPARE(Title(form, "lnsrsSeries3"), QStringLiteral("Time=0.4000"));
        QCOMPARE(atInstant, ZipPoints(store.periodGrid, store.sdHistory[0]));
        QCOMPARE(Title(form, "lnsrsSeries4"), QStringLiteral("Time=0.0100"));
        // The whole-record spectrum bounds the early one, and the left axis starts at 0.
        for (qsizetype k = 0; k < whole.size(); ++k) {
            QVERIFY(whole[k].y() >= atInstant[k].y());
        }
        QVERIFY(whole[299].y() > 0);
        QCOMPARE(form->cht2->yAxis->range().lower, 0.0);
        QVERIFY(form->cht2->yAxis->range().upper >= store.sdHistory[39][299]);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void recordLength_data() {
        QTest::addColumn<int>("samples");
        QTest::addColumn<QStringList>("instants");
        QTest::addColumn<int>("sliderMin");
        QTest::addColumn<int>("sliderMax");
        QTest::addColumn<int>("sliderPos");
        QTest::addColumn<int>("redPoints");
        // The user had moved the track bar to 4 of its start range 1 .. 10.
        QTest::newRow("one sample: no instants, track bar kept")
            << 1 << QStringList{} << 1 << 10 << 4 << 0;
        QTest::newRow("two samples: one instant, range 0 .. 0")
            << 2 << QStringList{QStringLiteral("0.0100")} << 0 << 0 << 0 << 2;
        QTest::newRow("three samples") << 3 << QStringList{"0.0100", "0.0200"} << 0 << 1 << 0 << 2;
    }

    void recordLength() {
        QFETCH(int, samples);
        QFETCH(QStringList, instants);
        RunWindow w;
        // A record file holds at least two samples (its time step needs two lines).
        w.LoadRecordInMemory(QStringLiteral("short"), RunTestQuake(samples, kTimeStepS),
                             kTimeStepS);
        w.form->trckbr1->setValue(4);
        w.ClickRun();
        QVERIFY(w.capture.errors.isEmpty() && w.capture.messages.isEmpty());
        QStringList shown;
        for (int i = 0; i < w.form->cbb2->count(); ++i)
            shown << w.form->cbb2->itemText(i);
        QCOMPARE(shown, instants);
        QCOMPARE(w.form->cbb2->currentIndex(), instants.isEmpty() ? -1 : 0);
        QTEST(w.form->trckbr1->minimum(), "sliderMin");
        QTEST(w.form->trckbr1->maximum(), "sliderMax");
        QTEST(w.form->trckbr1->value(), "sliderPos");
        QTEST(PointCount(w.form.get(), "lnsrsSeries2"), "redPoints");
        QCOMPARE(w.form->results.sdHistory.size(), static_cast<std::size_t>(instants.size()));
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries4"), instants.isEmpty() ? 0 : 300);
        QCOMPARE(w.form->rzstspn1->text(), QStringLiteral("CurrentWave: short"));
    }

    void recordWithoutSamplesShowsTheEngineMessage() {
        RunWindow w;
        w.LoadRecordInMemory(QStringLiteral("empty"), {}, kTimeStepS);
        w.ClickRun();
        QCOMPARE(
            w.capture.messages,
            QStringList{QStringLiteral("Error calculation for DampingRatio: 0.05& Period: 0.02")});
        QVERIFY(w.capture.errors.isEmpty());
        VerifyNothingShown(w.form.get());
        QCOMPARE(w.form->trckbr1->value(), 1);
        QCOMPARE(w.form->trckbr1->maximum(), 10);
    }

    void noHighlightedRecordOnlyResets() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(31, kTimeStepS), kTimeStepS);
        w.ClickRun();
        QTest::mouseClick(w.form->btn6, Qt::LeftButton);
        // The highlight removed from code, so that nothing but the run resets the window.
        w.form->lst1->clearSelection();
        w.form->lst1->setCurrentRow(-1);
        w.ClickRun();
        QVERIFY(w.capture.errors.isEmpty() && w.capture.messages.isEmpty());
        VerifyNothingShown(w.form.get());
        QCOMPARE(w.form->rzstspn1->text(), QString());
        QVERIFY(w.form->results.sdHistory.empty());
        QCOMPARE(w.form->trckbr1->maximum(), 29);                // the track bar keeps its range
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries1"), 31);  // the record stays drawn
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("parameters");  // min, max, step, damping
        QTest::addColumn<double>("timeStepS");
        QTest::addColumn<qulonglong>("storeLimitBytes");  // 0: the window's default
        QTest::addColumn<QString>("errorPart");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("gridSize");  // -1: none built
        const QString wave = QStringLiteral("CurrentWave: quake.txt");
        const QStringList defaults{"0.25", "1", "0.25", "0.05"};
        auto with = [&](int field, const char* text) {
            QStringList p = defaults;
            p[field] = QString::fromUtf8(text);
            return p;
        };
        QTest::newRow("minimum not a number") << with(0, " abc ") << kTimeStepS << 0ull
                                              << "'abc' is not a valid floating point value."
                                              << "" << -1;
        QTest::newRow("damping with a comma: the grid is already rebuilt")
            << with(3, "0,05") << kTimeStepS << 0ull
            << "'0,05' is not a valid floating point value."
            << "" << 4;
        QTest::newRow("minimum period 0")
            << with(0, "0") << kTimeStepS << 0ull << "Floating point division by zero."
            << "" << -1;
        QTest::newRow("period step 0") << with(2, "0") << kTimeStepS << 0ull << "Period Step"
                                       << "" << -1;
        QTest::newRow("negative period step")
            << with(2, "-0.02") << kTimeStepS << 0ull << "Period Step"
            << "" << -1;
        QTest::newRow("grid above 100000 periods")
            << with(2, "0.000001") << kTimeStepS << 0ull << "100000"
            << "" << -1;
        QTest::newRow("damping ratio 1")
            << with(3, "1") << kTimeStepS << 0ull << "Damping Ratio" << wave << 4;
        QTest::newRow("damping ratio -1.5")
            << with(3, "-1.5") << kTimeStepS << 0ull << "Damping Ratio" << wave << 4;
        QTest::newRow("time step 0") << defaults << 0.0 << 0ull << "Time step" << wave << 4;
        QTest::newRow("store too large")
            << defaults << kTimeStepS << 1000ull << "memory" << wave << 4;
    }

    void refusals() {
        QFETCH(QStringList, parameters);
        QFETCH(double, timeStepS);
        QFETCH(qulonglong, storeLimitBytes);
        QFETCH(QString, errorPart);
        QFETCH(int, gridSize);
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(21, 0.01), timeStepS);
        if (storeLimitBytes > 0)
            w.form->results.storeLimitBytes = storeLimitBytes;
        w.SetParameters(parameters[0], parameters[1], parameters[2], parameters[3]);
        w.RunFromEventLoop();
        QCOMPARE(w.capture.errors.size(), 1);
        QVERIFY2(w.capture.errors[0].contains(errorPart), qPrintable(w.capture.errors[0]));
        QVERIFY(w.capture.messages.isEmpty());
        VerifyNothingShown(w.form.get());
        QTEST(w.form->rzstspn1->text(), "status");
        QCOMPARE(static_cast<int>(w.form->results.periodGrid.size()), std::max(gridSize, 0));
        QCOMPARE(w.form->trckbr1->maximum(), 10);  // the track bar is not touched
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries1"), 21);
        // After the refusal the window works as before.
        w.SetParameters("0.25", "1", "0.25", "0.05");
        w.form->results.storeLimitBytes = ResultStore::DefaultStoreLimitBytes();
        if (timeStepS > 0) {
            w.ClickRun();
            QCOMPARE(w.form->cbb2->count(), 20);
            QCOMPARE(PointCount(w.form.get(), "lnsrsSeries4"), 4);
        }
    }

    void emptyGridDrawsEmptySpectra() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(11, kTimeStepS), kTimeStepS);
        w.SetParameters("6", "0.02", "0.02", "0.05");
        w.ClickRun();
        QVERIFY(w.capture.errors.isEmpty() && w.capture.messages.isEmpty());
        QCOMPARE(w.form->cbb2->count(), 10);
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries2"), 2);
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries3"), 0);
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries4"), 0);
        QCOMPARE(Title(w.form.get(), "lnsrsSeries3"), QStringLiteral("Time=0.1000"));
        QCOMPARE(Title(w.form.get(), "lnsrsSeries4"), QStringLiteral("Time=0.0100"));
    }

    void runningTwiceEqualsRunningOnce() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(51, kTimeStepS), kTimeStepS);
        w.ClickRun();
        const RunState once = StateOf(w.form.get());
        const History sdOnce = w.form->results.sdHistory;
        w.form->trckbr1->setValue(17);  // the user moved on before running again
        w.ClickRun();
        QVERIFY(StateOf(w.form.get()) == once);
        QVERIFY(w.form->results.sdHistory == sdOnce);
        QCOMPARE(once.instants.size(), 50);
    }

    void busyCursorOnlyWhileTheRunComputes() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(21, kTimeStepS), kTimeStepS);
        QList<int> shapes;
        connect(w.form->cbb2->model(), &QAbstractItemModel::rowsInserted, this, [&shapes] {
            const QCursor* cursor = QApplication::overrideCursor();
            shapes << (cursor != nullptr ? int(cursor->shape()) : -1);
        });
        w.ClickRun();
        QCOMPARE(shapes, QList<int>{int(Qt::WaitCursor)});
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

ORVANTA_UI_TEST_MAIN(RunAnalysisTest)
#include "run_analysis_test.moc"
