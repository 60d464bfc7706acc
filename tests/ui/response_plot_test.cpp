// The spectrum chart: axis choices and their titles, the values each choice draws, the
// instant against the whole record, and screenshots for a look by eye.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <cmath>

#include "support/RunFixture.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;
constexpr int kSamples = 61;  // 60 instants
constexpr int kPeriods = 29;  // 0.1, 0.2, ... 2.9000000000000012 by repeated addition

QString BottomTitle(const TForm1* form) {
    return form->cht2->xAxis->label();
}
QString LeftTitle(const TForm1* form) {
    return form->cht2->yAxis->label();
}

// A window with the test record analysed over 0.1 .. 3 s in steps of 0.1 s.
void LoadAndRun(RunWindow& w) {
    w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(kSamples, kTimeStepS), kTimeStepS);
    w.SetParameters("0.1", "3", "0.1", "0.05");
    w.ClickRun();
}

}  // namespace

class ResponsePlotTest : public QObject {
    Q_OBJECT

  private slots:
    void axisTitles_data() {
        QTest::addColumn<int>("abscissa");
        QTest::addColumn<int>("ordinate");
        QTest::addColumn<QString>("bottomTitle");
        QTest::addColumn<QString>("leftTitle");
        // A change of one list sets only its own axis; the other keeps its start title.
        QTest::newRow("Period again") << 0 << -1 << "Period [sec]"
                                      << "Disp (cm)";
        QTest::newRow("Frequency") << 1 << -1 << "Frequency [HZ]"
                                   << "Disp (cm)";
        QTest::newRow("Displacement x") << 2 << -1 << "Displacement [cm]"
                                        << "Disp (cm)";
        QTest::newRow("Displacement y") << -1 << 0 << "Period (s)"
                                        << "Response Displacement [cm]";
        QTest::newRow("Velocity") << -1 << 1 << "Period (s)"
                                  << "Response Velocity [cm/sec]";
        QTest::newRow("Acceleration") << -1 << 2 << "Period (s)"
                                      << "Response Acceleration [g]";
        QTest::newRow("Pseudo-Velocity") << -1 << 3 << "Period (s)"
                                         << "Pseudo-Velocity [cm/sec]";
        QTest::newRow("Pseudo-Acceleration") << -1 << 4 << "Period (s)"
                                             << "Pseudo-Acceleration [g]";
    }

    void axisTitles() {
        QFETCH(int, abscissa);
        QFETCH(int, ordinate);
        RunWindow w;
        QCOMPARE(BottomTitle(w.form.get()), QStringLiteral("Period (s)"));
        QCOMPARE(LeftTitle(w.form.get()), QStringLiteral("Disp (cm)"));
        if (abscissa >= 0)
            ChooseItem(w.form->cbb5, abscissa);
        if (ordinate >= 0)
            ChooseItem(w.form->cbb7, ordinate);
        QTEST(BottomTitle(w.form.get()), "bottomTitle");
        QTEST(LeftTitle(w.form.get()), "leftTitle");
        // Before any run a choice draws nothing.
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries3"), 0);
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries4"), 0);
        QVERIFY(w.capture.errors.isEmpty());
    }

    void eachOrdinateDrawsItsHistory() {
        RunWindow w;
        LoadAndRun(w);
        ChooseItem(w.form->cbb2, 20);
        const ResultStore& store = w.form->results;
        const History* histories[] = {&store.sdHistory, &store.svHistory, &store.saHistory,
                                      &store.psvHistory, &store.psaHistory};
        for (int o = 0; o < 5; ++o) {
            ChooseItem(w.form->cbb7, o);
            QCOMPARE(Points(w.form.get(), "lnsrsSeries3"),
                     ZipPoints(store.periodGrid, (*histories[o])[59]));
            QCOMPARE(Points(w.form.get(), "lnsrsSeries4"),
                     ZipPoints(store.periodGrid, (*histories[o])[20]));
            QCOMPARE(w.form->cbb2->currentIndex(), 20);  // the instant stays
        }
        // Independent of the store's order: the pseudo values follow from the displacement,
        // PSV = w * SD and PSA = w^2 * SD / g with w = 6.2831852 / T.
        ChooseItem(w.form->cbb7, 0);
        const QList<QPointF> sd = Points(w.form.get(), "lnsrsSeries4");
        ChooseItem(w.form->cbb7, 3);
        const QList<QPointF> psv = Points(w.form.get(), "lnsrsSeries4");
        ChooseItem(w.form->cbb7, 4);
        const QList<QPointF> psa = Points(w.form.get(), "lnsrsSeries4");
        QCOMPARE(sd.size(), kPeriods);
        for (qsizetype k = 0; k < sd.size(); ++k) {
            const double omega = 6.2831852 / sd[k].x();
            QVERIFY2(NearlyEqual(psv[k].y(), omega * sd[k].y(), 1e-9),
                     qPrintable(QString::number(k)));
            QVERIFY(NearlyEqual(psa[k].y(), omega * omega * sd[k].y() / 980.0, 1e-9));
        }
    }

    void frequencyRunsFromHighestToLowest() {
        RunWindow w;
        LoadAndRun(w);
        ChooseItem(w.form->cbb5, 1);
        const QList<QPointF> points = Points(w.form.get(), "lnsrsSeries3");
        QCOMPARE(points.size(), kPeriods);
        for (qsizetype k = 0; k < points.size(); ++k) {
            QVERIFY(NearlyEqual(points[k].x(), 1.0 / w.form->results.periodGrid[k]));
            if (k > 0)
                QVERIFY(points[k].x() < points[k - 1].x());
        }
        // The largest period (last point) lies at the smallest x.
        const auto smallest = std::min_element(points.begin(), points.end(),
                                               [](QPointF a, QPointF b) { return a.x() < b.x(); });
        QCOMPARE(smallest - points.begin(), kPeriods - 1);
        QCOMPARE(w.form->cht2->xAxis->range().lower <= points.last().x(), true);
    }

    void displacementOnDisplacementLiesOnTheDiagonal() {
        RunWindow w;
        LoadAndRun(w);
        ChooseItem(w.form->cbb2, 30);
        ChooseItem(w.form->cbb5, 2);
        ChooseItem(w.form->cbb7, 0);
        for (const char* series : {"lnsrsSeries3", "lnsrsSeries4"}) {
            QCOMPARE(PointCount(w.form.get(), series), kPeriods);
            for (const QPointF& p : Points(w.form.get(), series))
                QCOMPARE(p.y(), p.x());
        }
        // The acceleration-displacement form: x is the displacement at the same instant.
        ChooseItem(w.form->cbb7, 4);
        QCOMPARE(Points(w.form.get(), "lnsrsSeries4"),
                 ZipPoints(w.form->results.sdHistory[30], w.form->results.psaHistory[30]));
    }

    void lastInstantEqualsWholeRecord() {
        RunWindow w;
        LoadAndRun(w);
        ChooseItem(w.form->cbb2, kSamples - 2);
        QCOMPARE(Points(w.form.get(), "lnsrsSeries4"), Points(w.form.get(), "lnsrsSeries3"));
        QCOMPARE(Title(w.form.get(), "lnsrsSeries4"), QStringLiteral("Time=0.6000"));
        QCOMPARE(Title(w.form.get(), "lnsrsSeries3"), Title(w.form.get(), "lnsrsSeries4"));
    }

    // With ORVANTA_SCREENSHOT_DIR set, saves the window after a run of the project's sample
    // record at the instant in the middle, for each ordinate and each abscissa, and with the
    // whole-record spectrum hidden through its legend entry.
    void screenshots() {
        const QString folder = qEnvironmentVariable("ORVANTA_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("ORVANTA_SCREENSHOT_DIR not set");
        const QString sample =
            QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../../samples/synthetic_quake.txt");
        QVERIFY2(QFileInfo::exists(sample), qPrintable(sample));
        QDir().mkpath(folder);
        RunWindow w;
        InjectChosenFiles(w.form.get(), {sample});
        ClickImport(w.form.get());
        ClickRecord(w.form.get(), 0);
        w.ClickRun();
        QVERIFY(w.capture.errors.isEmpty());
        ChooseItem(w.form->cbb2, w.form->cbb2->count() / 2);
        auto save = [&](const QString& name) {
            QTest::qWait(50);  // repaints queued by the event loop, as the user would see them
            QVERIFY(w.form->grab().save(folder + "/spectrum-" + name + ".png"));
        };
        save(QStringLiteral("start-titles"));
        for (int o = 0; o < 5; ++o) {
            ChooseItem(w.form->cbb7, o);
            save(QStringLiteral("ordinate-%1").arg(o));
        }
        for (int a = 0; a < 3; ++a) {
            ChooseItem(w.form->cbb5, a);
            save(QStringLiteral("abscissa-%1").arg(a));
        }
        ChooseItem(w.form->cbb5, 0);
        ClickLegendEntry(w.form->cht2, FindSeries(w.form.get(), "lnsrsSeries3"));
        save(QStringLiteral("whole-record-hidden"));
        QVERIFY(!IsShown(w.form.get(), "lnsrsSeries3"));
        ClickLegendEntry(w.form->cht2, FindSeries(w.form.get(), "lnsrsSeries3"));
        ChooseItem(w.form->cbb2, 249);  // 2.5 s, while the shaking still builds up
        save(QStringLiteral("early-instant"));
        // Play back for a second, then stop: the instant has moved on and stays.
        QTest::mouseClick(w.form->btn6, Qt::LeftButton);
        QTest::qWait(1000);
        QTest::mouseClick(w.form->btn7, Qt::LeftButton);
        QVERIFY(w.form->cbb2->currentIndex() != 249);
        save(QStringLiteral("after-playback"));
    }
};

ORVANTA_UI_TEST_MAIN(ResponsePlotTest)
#include "response_plot_test.moc"
