// What the charts read out and copy: the read-out's texts for a known record, following
// playback under a still pointer; "Copy data", Ctrl+C and "Copy all quantities" parsed back and
// compared with the store and the record exactly; "Copy image" at the screen's pixel ratio.
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QMenu>
#include <QSlider>
#include <QtTest>

#include "support/RunFixture.h"
#include "ui/ChartDataText.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;
constexpr int kSamples = 61;

// A record whose samples are easy to read back: 0.001 * i g.
std::vector<double> Ramp() {
    std::vector<double> samples;
    for (int i = 0; i < kSamples; ++i) {
        samples.push_back(0.001 * i);
    }
    return samples;
}

void LoadAndRun(RunWindow& w, const std::vector<double>& samples) {
    w.LoadRecord(QStringLiteral("quake.txt"), samples, kTimeStepS);
    w.SetParameters("0.1", "3", "0.1", "0.05");
    w.ClickRun();
    QVERIFY(w.capture.errors.isEmpty());
}

// The pixel of the point (x, y) of chart.
QPointF PixelOf(const ChartWidget* chart, double x, double y) {
    return QPointF(chart->xAxis->coordToPixel(x), chart->yAxis->coordToPixel(y));
}

// The copied text split into its header lines (fields by tab) and its rows of numbers, the
// rows after the line whose first field is firstColumn.
struct CopiedTable {
    QList<QStringList> header;
    QStringList columns;
    QList<QList<double>> rows;
};

CopiedTable ParseCopy(const QString& text, const QString& firstColumn) {
    CopiedTable table;
    bool inRows = false;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (inRows) {
            QList<double> row;
            for (const QString& field : fields) {
                bool ok = false;
                row.append(field.toDouble(&ok));
                if (!ok) {
                    qFatal("not a number: %s", qPrintable(field));
                }
            }
            table.rows.append(row);
        } else if (fields.first() == firstColumn) {
            table.columns = fields;
            inRows = true;
        } else {
            table.header.append(fields);
        }
    }
    return table;
}

// The numbers in a read-out line "name: number unit".
double NumberIn(const QString& line) {
    return line.section(QLatin1Char(':'), 1).trimmed().section(QLatin1Char(' '), 0, 0).toDouble();
}

}  // namespace

class ChartDataTest : public QObject {
    Q_OBJECT

  private slots:
    void readoutOfTheRecordChart() {
        RunWindow w;
        LoadAndRun(w, Ramp());
        RecordChart* chart = w.form->cht1;
        // The pointer a little off sample 20 snaps to it.
        const QPointF near20 = PixelOf(chart, 0.2013, 0.0);
        QTest::mouseMove(chart, near20.toPoint());
        const std::optional<ChartReadout> shown = chart->ShownReadout();
        QVERIFY(shown.has_value());
        QCOMPARE(shown->text, QStringLiteral("Time: 0.2 s\nAcc.: 0.02 g"));
        QCOMPARE(shown->point, QPointF(20 * kTimeStepS, 0.001 * 20));
        // Outside the plot area, and once the pointer leaves, nothing is shown.
        QTest::mouseMove(chart, QPoint(2, 2));
        QVERIFY(!chart->ShownReadout());
        QTest::mouseMove(chart, near20.toPoint());
        QVERIFY(chart->ShownReadout());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(chart, &leave);
        QVERIFY(!chart->ShownReadout());
    }

    void readoutOfTheSpectrumFollowsPlayback() {
        RunWindow w;
        LoadAndRun(w, RunTestQuake(kSamples, kTimeStepS));
        ChooseItem(w.form->cbb7, 4);  // pseudo-acceleration, g
        w.form->trckbr1->setValue(29);
        QCoreApplication::processEvents();
        ResponseChart* chart = w.form->cht2;
        const ResultStore& store = w.form->results;
        // Period 0.5 s is grid entry 4 (0.1, 0.2, ...); the pointer a few pixels beside it.
        const QPointF at = PixelOf(chart, store.periodGrid[4], 0.0) + QPointF(3, -40);
        QTest::mouseMove(chart, at.toPoint());
        std::optional<ChartReadout> shown = chart->ShownReadout();
        QVERIFY(shown.has_value());
        const QStringList lines = shown->text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("Period: 0.5 s"));
        QCOMPARE(lines[1], QStringLiteral("Frequency: 2 Hz"));
        QVERIFY2(lines[2].startsWith(QStringLiteral("PSa whole record: ")), qPrintable(lines[2]));
        QVERIFY2(lines[3].startsWith(QStringLiteral("PSa at 0.3 s: ")), qPrintable(lines[3]));
        QVERIFY(lines[3].endsWith(QStringLiteral(" g")));
        QVERIFY(NearlyEqual(NumberIn(lines[2]), store.psaHistory.back()[4], 1e-5));
        QVERIFY(NearlyEqual(NumberIn(lines[3]), store.psaHistory[29][4], 1e-5));
        QCOMPARE(shown->point, QPointF(store.periodGrid[4], store.psaHistory[29][4]));
        // Playback moves the instant under the still pointer: the label follows.
        w.form->trckbr1->setValue(9);
        QCoreApplication::processEvents();
        shown = chart->ShownReadout();
        QVERIFY(shown.has_value());
        const QString atInstant = shown->text.split(QLatin1Char('\n')).value(3);
        QVERIFY2(atInstant.startsWith(QStringLiteral("PSa at 0.1 s: ")), qPrintable(atInstant));
        QVERIFY(NearlyEqual(NumberIn(atInstant), store.psaHistory[9][4], 1e-5));
    }

    void copiedSpectrumReadsBackAsTheStore() {
        RunWindow w;
        LoadAndRun(w, RunTestQuake(kSamples, kTimeStepS));
        ChooseItem(w.form->cbb7, 4);
        w.form->trckbr1->setValue(29);
        QCoreApplication::processEvents();
        const ResultStore& store = w.form->results;
        QGuiApplication::clipboard()->clear();
        TriggerMenuEntry(w.form->cht2, QStringLiteral("Copy data"));
        const CopiedTable copied =
            ParseCopy(QGuiApplication::clipboard()->text(), QStringLiteral("Period (s)"));
        QCOMPARE(copied.header,
                 (QList<QStringList>{{"Record", "quake.txt"},
                                     {"Damping ratio", "0.05"},
                                     {"Period grid (s): min, max, step", "0.1", "3", "0.1"},
                                     {"Quantity", "Pseudo-Acceleration", "g"},
                                     {"Instant (s)", "0.3"}}));
        QCOMPARE(copied.columns.size(), 4);
        QCOMPARE(copied.rows.size(), static_cast<qsizetype>(store.periodGrid.size()));
        for (std::size_t k = 0; k < store.periodGrid.size(); ++k) {
            const QList<double>& row = copied.rows[static_cast<qsizetype>(k)];
            QCOMPARE(row, (QList<double>{store.periodGrid[k], store.frequencyGrid[k],
                                         store.psaHistory.back()[k], store.psaHistory[29][k]}));
        }

        TriggerMenuEntry(w.form->cht2, QStringLiteral("Copy all quantities"));
        const CopiedTable all =
            ParseCopy(QGuiApplication::clipboard()->text(), QStringLiteral("Period (s)"));
        QCOMPARE(all.columns.size(), 12);
        QCOMPARE(all.columns[2], QStringLiteral("Sd whole record (cm)"));
        QCOMPARE(all.columns[11], QStringLiteral("PSa at 0.3 s (g)"));
        for (std::size_t k = 0; k < store.periodGrid.size(); ++k) {
            const QList<double>& row = all.rows[static_cast<qsizetype>(k)];
            QCOMPARE(row.size(), 12);
            for (std::size_t q = 0; q < kResponseQuantities.size(); ++q) {
                const History& history = QuantityHistory(store, q);
                QCOMPARE(row[static_cast<qsizetype>(2 + 2 * q)], history.back()[k]);
                QCOMPARE(row[static_cast<qsizetype>(3 + 2 * q)], history[29][k]);
            }
        }
    }

    void ctrlCCopiesTheRecordOfTheFocusedChart() {
        RunWindow w;
        const std::vector<double> samples = RunTestQuake(kSamples, kTimeStepS);
        LoadAndRun(w, samples);
        QGuiApplication::clipboard()->clear();
        w.form->cht1->setFocus();
        QTest::keyClick(w.form->cht1, Qt::Key_C, Qt::ControlModifier);
        const CopiedTable copied =
            ParseCopy(QGuiApplication::clipboard()->text(), QStringLiteral("Time (s)"));
        QCOMPARE(copied.header.first(), (QStringList{"Record", "quake.txt"}));
        QVERIFY(copied.header.contains(QStringList{"Quantity", "Acceleration", "g"}));
        QVERIFY(copied.header.contains(QStringList{"Instant (s)", "0.01"}));
        QCOMPARE(copied.rows.size(), kSamples);
        const DOUBLEVECTOR& stored = w.form->results.currentRecord->GetAcc();
        for (int i = 0; i < kSamples; ++i) {
            QCOMPARE(copied.rows[i], (QList<double>{i * kTimeStepS, stored[i]}));
        }
        // Ctrl+C elsewhere in the window copies the chart under the pointer.
        w.form->trckbr1->setFocus();
        QTest::mouseMove(w.form->cht2, w.form->cht2->axisRect()->rect().center());
        QTest::keyClick(w.form->trckbr1, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("\nPeriod (s)\t")));
        // Away from the charts the focused record list copies its own item, as it always did.
        QTest::mouseMove(w.form.get(), QPoint(2, 2));
        w.form->lst1->setFocus();
        QTest::keyClick(w.form->lst1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("quake.txt"));
        // Before a run the spectrum chart has nothing to copy: the clipboard keeps its text.
        ClickRecord(w.form.get(), 0);
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        w.form->cht2->CopyData();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    }

    void copiedImageHasTheScreensPixels() {
        RunWindow w;
        LoadAndRun(w, RunTestQuake(kSamples, kTimeStepS));
        for (ChartWidget* chart :
             {static_cast<ChartWidget*>(w.form->cht1), static_cast<ChartWidget*>(w.form->cht2)}) {
            QGuiApplication::clipboard()->clear();
            TriggerMenuEntry(chart, QStringLiteral("Copy image"));
            const QImage image = QGuiApplication::clipboard()->image();
            const double ratio = chart->devicePixelRatioF();
            QCOMPARE(image.size(),
                     QSize(qRound(chart->width() * ratio), qRound(chart->height() * ratio)));
        }
    }
};

ORVANTA_UI_TEST_MAIN(ChartDataTest)
#include "chart_data_test.moc"
