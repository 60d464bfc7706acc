// The oscillator inspector: choosing a period on the spectrum chart, what the tool window
// shows against the store, following the instant and the ordinate, closing with the results,
// its chart's read-out and copied data, the instant drawn without a replot, and its place.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QtTest>

#include "engine/OscillatorHistory.h"
#include "support/RunFixture.h"
#include "ui/OscillatorChart.h"
#include "ui/OscillatorWindow.h"
#include "ui/ResponseChart.h"
#include "ui/ScreenFit.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;
constexpr int kSamples = 301;            // 300 instants
constexpr std::size_t kPeriod = 11;      // 1.2 s of the grid 0.1 .. 3 s
constexpr std::size_t kOtherPeriod = 4;  // 0.5 s

void LoadAndRun(RunWindow& w) {
    w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(kSamples, kTimeStepS), kTimeStepS);
    w.SetParameters("0.1", "3", "0.1", "0.05");
    w.ClickRun();
}

// The pixel of grid period k on the spectrum chart with the period abscissa, half-way up.
QPoint PeriodPixel(const TForm1* form, std::size_t k) {
    const QRect plot = form->cht2->axisRect()->rect();
    return QPoint(qRound(form->cht2->xAxis->coordToPixel(form->results.periodGrid[k])),
                  plot.center().y());
}

OscillatorWindow* OpenByClick(RunWindow& w, std::size_t k) {
    QSignalSpy clicked(w.form->cht2, &ChartWidget::plotClicked);
    QTest::mouseClick(w.form->cht2, Qt::LeftButton, {}, PeriodPixel(w.form.get(), k));
    clicked.wait(2 * QApplication::doubleClickInterval());  // a click waits out a double click
    return w.form->Inspector();
}

QVector<double> GraphValues(const QCPGraph* graph) {
    QVector<double> values;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        values.append(it->value);
    return values;
}

}  // namespace

class InspectorTest : public QObject {
    Q_OBJECT

  private slots:
    void clickOpensANonModalToolWindowForTheNearestPeriod() {
        RunWindow w;
        LoadAndRun(w);
        // A double click (back to the automatic range) is no click: it opens nothing.
        QTest::mouseDClick(w.form->cht2, Qt::LeftButton, {}, PeriodPixel(w.form.get(), kPeriod));
        QTest::qWait(2 * QApplication::doubleClickInterval());
        QVERIFY(w.form->Inspector() == nullptr);
        OscillatorWindow* inspector = OpenByClick(w, kPeriod);
        QVERIFY(inspector != nullptr);
        QVERIFY(inspector->isVisible());
        QVERIFY(inspector->isWindow());
        QCOMPARE(inspector->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(inspector->windowTitle(), QStringLiteral("Oscillator T = 1.2000 s, ζ = 0.05"));
        QCOMPARE(w.form->InspectedPeriod(), std::optional<std::size_t>(kPeriod));
        // The ring sits on the inspected period of both spectra.
        const ResponseChart* chart = w.form->cht2;
        QVERIFY(chart->WholeRecordMark()->visible());
        QCOMPARE(chart->WholeRecordMark()->position->coords(),
                 QPointF(w.form->results.periodGrid[kPeriod],
                         w.form->results.sdHistory.back()[kPeriod]));
        QCOMPARE(
            chart->AtInstantMark()->position->coords(),
            QPointF(w.form->results.periodGrid[kPeriod], w.form->results.sdHistory[0][kPeriod]));
        // Peaks written out: the displacement peak is the whole-record spectral value.
        const auto* peak = inspector->findChild<QLabel*>(QStringLiteral("lblPeakDisplacement"));
        const ResponsePeak& sd = inspector->Oscillator().history.displacement;
        QCOMPARE(sd.value, w.form->results.sdHistory.back()[kPeriod]);
        QVERIFY2(peak->text().startsWith(QStringLiteral("Sd = ") +
                                         SignificantText(sd.value, 4, '.') + " cm at "),
                 qPrintable(peak->text()));
        QVERIFY(w.capture.errors.isEmpty());
    }

    // What the inspector shows for the running maximum is the store's own column, row by
    // row, and its displacement reproduces the store with the damping of the run, whatever
    // the damping field says now.
    void consistentWithTheStoreBitForBit() {
        RunWindow w;
        LoadAndRun(w);
        w.form->edt2->setText(QStringLiteral("0.2"));  // typed after the run: not this run's
        OscillatorWindow* inspector = OpenByClick(w, kPeriod);
        QVERIFY(inspector != nullptr);
        const ResultStore& store = w.form->results;
        const OscillatorHistory& history = inspector->Oscillator().history;
        QCOMPARE(history.maxDisplacementCm, PeriodColumn(store.sdHistory, kPeriod));
        for (std::size_t r = 0; r < store.sdHistory.size(); ++r) {
            const double maxD = history.maxDisplacementCm[r];
            QCOMPARE(store.psvHistory[r][kPeriod], history.plan.omega * maxD);
            QCOMPARE(store.psaHistory[r][kPeriod],
                     history.plan.omega * history.plan.omega * maxD / 980.0);
        }
        QVERIFY(inspector->windowTitle().endsWith(QStringLiteral("ζ = 0.05")));
        for (int ordinate = 0; ordinate < 5; ++ordinate) {
            ChooseItem(w.form->cbb7, ordinate);
            const History ResultStore::*histories[] = {
                &ResultStore::sdHistory, &ResultStore::svHistory, &ResultStore::saHistory,
                &ResultStore::psvHistory, &ResultStore::psaHistory};
            const std::vector<double> column = PeriodColumn(store.*histories[ordinate], kPeriod);
            QCOMPARE(inspector->Maximum().values, column);
            QCOMPARE(GraphValues(inspector->Chart()->RunningMax()),
                     QVector<double>(column.begin(), column.end()));
            // Centimetres share x's axis; every other unit gets the right one.
            QCOMPARE(inspector->Chart()->yAxis2->visible(), ordinate != 0);
        }
    }

    void instantLineFollowsTheListTheTrackBarAndThePlayback() {
        RunWindow w;
        LoadAndRun(w);
        OscillatorWindow* inspector = OpenByClick(w, kPeriod);
        QVERIFY(inspector != nullptr);
        const OscillatorChart* chart = inspector->Chart();
        QCOMPARE(chart->InstantTime(), 1 * kTimeStepS);
        ChooseItem(w.form->cbb2, 40);
        QCOMPARE(chart->InstantTime(), 41 * kTimeStepS);
        QCOMPARE(chart->InstantLine()->point1->coords().x(), 41 * kTimeStepS);
        w.form->trckbr1->setValue(120);
        QCOMPARE(chart->InstantTime(), 121 * kTimeStepS);
        QCOMPARE(w.form->cht2->AtInstantMark()->position->coords().y(),
                 w.form->results.sdHistory[120][kPeriod]);
        w.form->tmr1Timer();  // one playback tick: speed 10 moves one instant
        QCOMPARE(chart->InstantTime(), 122 * kTimeStepS);
    }

    void aNewChoiceReplacesThePeriodInTheSameWindow() {
        RunWindow w;
        LoadAndRun(w);
        OscillatorWindow* first = OpenByClick(w, kPeriod);
        OscillatorWindow* second = OpenByClick(w, kOtherPeriod);
        QCOMPARE(second, first);
        QCOMPARE(w.form->findChildren<OscillatorWindow*>().size(), 1);
        QCOMPARE(second->windowTitle(), QStringLiteral("Oscillator T = 0.5000 s, ζ = 0.05"));
        QCOMPARE(second->Maximum().values, PeriodColumn(w.form->results.sdHistory, kOtherPeriod));
        QCOMPARE(w.form->cht2->WholeRecordMark()->position->coords().x(),
                 w.form->results.periodGrid[kOtherPeriod]);
    }

    // An oscillator whose history would not fit the analysis's memory limit is refused with
    // a message before anything is computed; the window stays as it was.
    void beyondTheMemoryLimitIsRefused() {
        RunWindow w;
        LoadAndRun(w);
        w.form->results.storeLimitBytes = 1000;
        QVERIFY(OpenByClick(w, kPeriod) == nullptr);
        QCOMPARE(w.capture.errors.size(), 1);
        QVERIFY2(w.capture.errors[0].startsWith(QStringLiteral("The oscillator of period 1.2 s")),
                 qPrintable(w.capture.errors[0]));
        QVERIFY(w.capture.errors[0].contains(QStringLiteral("more than the limit of 1000 bytes")));
        QVERIFY(!w.form->InspectedPeriod().has_value());
    }

    void closing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("run") << "run";
        QTest::newRow("import") << "import";
        QTest::newRow("record click") << "record";
        QTest::newRow("closed by the user") << "user";
    }

    void closing() {
        QFETCH(QString, how);
        RunWindow w;
        LoadAndRun(w);
        ChooseItem(w.form->cbb2, 30);
        QVERIFY(OpenByClick(w, kPeriod) != nullptr);
        const QList<QPointF> spectrum = Points(w.form.get(), "lnsrsSeries4");
        if (how == "run") {
            w.ClickRun();
        } else if (how == "import") {
            ClickImport(w.form.get());
        } else if (how == "record") {
            ClickRecord(w.form.get(), 0);
        } else {
            w.form->Inspector()->close();
        }
        QTRY_VERIFY(w.form->Inspector() == nullptr);
        QVERIFY(w.form->findChildren<OscillatorWindow*>().isEmpty());
        QVERIFY(!w.form->InspectedPeriod().has_value());
        QVERIFY(!w.form->cht2->WholeRecordMark()->visible());
        QVERIFY(!w.form->cht2->AtInstantMark()->visible());
        if (how == "user") {  // nothing else of the main window changes
            QCOMPARE(w.form->cbb2->currentIndex(), 30);
            QCOMPARE(Points(w.form.get(), "lnsrsSeries4"), spectrum);
        }
        QVERIFY(w.capture.errors.isEmpty());
    }

    void contextMenuEntry() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(kSamples, kTimeStepS), kTimeStepS);
        QMenu before;
        w.form->cht2->addMenuEntries(before, QPointF(300, 200));
        QAction* idle = before.findChild<QAction*>(QStringLiteral("actInspectPeriod"));
        QVERIFY(idle != nullptr);
        QVERIFY(!idle->isEnabled());  // no results, nothing to inspect
        w.SetParameters("0.1", "3", "0.1", "0.05");
        w.ClickRun();
        QMenu menu;
        w.form->cht2->addMenuEntries(menu, PeriodPixel(w.form.get(), kOtherPeriod));
        QAction* entry = menu.findChild<QAction*>(QStringLiteral("actInspectPeriod"));
        QCOMPARE(entry->text(), QStringLiteral("Inspect period…"));
        QVERIFY(entry->isEnabled());
        entry->trigger();
        QVERIFY(w.form->Inspector() != nullptr);
        QCOMPARE(w.form->InspectedPeriod(), std::optional<std::size_t>(kOtherPeriod));
    }

    void displacementAbscissaTakesTheNearestPointInPixels() {
        RunWindow w;
        LoadAndRun(w);
        ChooseItem(w.form->cbb2, 150);
        ChooseItem(w.form->cbb5, 2);
        const ResponseChart* chart = w.form->cht2;
        for (std::size_t k : {std::size_t{2}, kOtherPeriod, kPeriod, std::size_t{25}}) {
            const HistoryRow row = w.form->results.sdHistory[150];
            const QPointF pixel(chart->xAxis->coordToPixel(row[k]),
                                chart->yAxis->coordToPixel(row[k]));
            QCOMPARE(w.form->NearestGridPeriod(pixel), std::optional<std::size_t>(k));
        }
    }

    void readoutAndCopiedData() {
        RunWindow w;
        LoadAndRun(w);
        OscillatorWindow* inspector = OpenByClick(w, kPeriod);
        QVERIFY(inspector != nullptr);
        OscillatorChart* chart = inspector->Chart();
        const OscillatorHistory& history = inspector->Oscillator().history;
        const std::size_t i = 2 * static_cast<std::size_t>(history.plan.subSteps) * 50;  // 1 s
        const QPointF pixel(chart->xAxis->coordToPixel(history.PointTime(i)), 100);
        const std::optional<ChartReadout> readout = chart->readoutAt(pixel);
        QVERIFY(readout.has_value());
        QCOMPARE(readout->point, QPointF(history.PointTime(i), history.displacementCm[i]));
        QVERIFY2(readout->text.startsWith(QStringLiteral("Time = 1.0000 s\nx = ")),
                 qPrintable(readout->text));
        QVERIFY(readout->text.endsWith(" cm"));  // the running maximum of Sd, in cm

        const QStringList lines = chart->dataText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.mid(0, 4),
                 (QStringList{"Record\tquake.txt", "Damping ratio\t0.050000000000000003",
                              "Period [s]\t1.2", "Running maximum\tDisplacement [cm]"}));
        QCOMPARE(lines.size(), 5 + static_cast<int>(history.displacementCm.size()));
        const std::size_t subSteps = static_cast<std::size_t>(history.plan.subSteps);
        for (std::size_t p = 0; p < history.displacementCm.size(); p += 37) {
            const QStringList cells = lines[5 + static_cast<int>(p)].split('\t');
            QCOMPARE(cells.size(), 3);
            QCOMPARE(cells[0].toDouble(), history.PointTime(p));
            QCOMPARE(cells[1].toDouble(), history.displacementCm[p]);
            const bool stepEnd = p > 0 && p % subSteps == 0;
            QCOMPARE(cells[2].isEmpty(), !stepEnd);
            if (stepEnd)
                QCOMPARE(cells[2].toDouble(), history.maxDisplacementCm[p / subSteps - 1]);
        }
    }

    // Moving the instant draws onto the live layer's buffer as it stands; the chart must look
    // exactly as after a replot of everything.
    void movedInstantLooksAsAFullReplot() {
        RunWindow w;
        LoadAndRun(w);
        OscillatorWindow* inspector = OpenByClick(w, kPeriod);
        QVERIFY(QTest::qWaitForWindowExposed(inspector));
        OscillatorChart* chart = inspector->Chart();
        for (int instant : {10, 11, 12, 60, 59, 200, 201, 299, 0}) {
            w.form->trckbr1->setValue(instant);
            const QImage moved = chart->grab().toImage();
            chart->replot(QCustomPlot::rpImmediateRefresh);
            QCOMPARE(chart->grab().toImage(), moved);
        }
    }

    void textsAndPlace() {
        QCOMPARE(OscillatorTitle(1.0200000000000002, 0.05, ','),
                 QStringLiteral("Oscillator T = 1,0200 s, ζ = 0,05"));
        QCOMPARE(PeakText("Sd", ResponsePeak{4.21349, 28.435}, "cm", '.'),
                 QStringLiteral("Sd = 4.213 cm at 28.4350 s"));
        QCOMPARE(PeakText("Sa", ResponsePeak{0.412, 27.905}, "g", '.'),
                 QStringLiteral("Sa = 0.412 g at 27.9050 s"));
        const QMargins frame(4, 30, 4, 4);
        const QRect screen(0, 0, 1920, 1080);
        // Room on the right: beside it, top-aligned.
        QCOMPARE(BesideClientRect(QRect(100, 50, 1000, 760), QSize(680, 440), frame, screen),
                 QRect(1104, 80, 680, 440));
        // Room only on the left.
        QCOMPARE(BesideClientRect(QRect(800, 50, 1000, 760), QSize(680, 440), frame, screen),
                 QRect(116, 80, 680, 440));
        // No room on either side: inside the screen on the roomier side, over the window.
        const QRect over = BesideClientRect(QRect(100, 500, 1041, 760), QSize(680, 440), frame,
                                            QRect(0, 0, 1280, 800));
        QVERIFY(QRect(0, 0, 1280, 800).contains(over.marginsAdded(frame)));
        QCOMPARE(over.right(), 1280 - 1 - frame.right());
    }
};

ORVANTA_UI_TEST_MAIN(InspectorTest)
#include "oscillator_window_test.moc"
