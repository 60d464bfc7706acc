// Time selection and playback: the instant list and the track bar moving together, the
// redraws each move costs, the timer's steps, wrap and speeds, and the export buttons.
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include "support/RunFixture.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;

// A window with a record of instants + 1 samples analysed over a short grid.
void LoadAndRun(RunWindow& w, int instants) {
    w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(instants + 1, kTimeStepS), kTimeStepS);
    w.SetParameters("0.1", "1", "0.1", "0.05");
    w.ClickRun();
    QCOMPARE(w.form->cbb2->count(), instants);
}

}  // namespace

class AnimationTest : public QObject {
    Q_OBJECT

  private slots:
    void listAndTrackBarMoveTogether() {
        RunWindow w;
        LoadAndRun(w, 60);
        TForm1* form = w.form.get();
        struct Step {
            const char* what;
            std::function<void()> act;
            int instant;
            int redraws;  // a list choice that moves the track bar draws twice
        };
        const Step steps[] = {
            {"choose 12 in the list", [&] { ChooseItem(form->cbb2, 12); }, 12, 2},
            {"choose 12 again", [&] { ChooseItem(form->cbb2, 12); }, 12, 1},
            {"track bar right", [&] { QTest::keyClick(form->trckbr1, Qt::Key_Right); }, 13, 1},
            {"track bar one page", [&] { QTest::keyClick(form->trckbr1, Qt::Key_PageUp); }, 14, 1},
            {"track bar to the end", [&] { QTest::keyClick(form->trckbr1, Qt::Key_End); }, 59, 1},
            {"choose 0 in the list", [&] { ChooseItem(form->cbb2, 0); }, 0, 2},
        };
        QCoreApplication::processEvents();  // the run's own paints are done
        for (const Step& step : steps) {
            RedrawCounter red(form, "lnsrsSeries2"), whole(form, "lnsrsSeries3"),
                atInstant(form, "lnsrsSeries4");
            PaintCounter recordPaints(form->cht1), spectrumPaints(form->cht2);
            step.act();
            QCoreApplication::processEvents();  // nothing left over for the event loop to paint
            QVERIFY2(form->trckbr1->value() == step.instant, step.what);
            QVERIFY2(form->cbb2->currentIndex() == step.instant, step.what);
            QVERIFY2(red.count == step.redraws, step.what);
            QVERIFY2(whole.count == step.redraws && atInstant.count == step.redraws, step.what);
            // Each draw paints each chart once, synchronously, whatever its titles do.
            QVERIFY2(recordPaints.paints == step.redraws, step.what);
            QVERIFY2(spectrumPaints.paints == step.redraws, step.what);
            // The red trace ends at sample instant + 1, the instant named in its title.
            QCOMPARE(PointCount(form, "lnsrsSeries2"), step.instant + 2);
            QCOMPARE(Points(form, "lnsrsSeries2").last().x(), (step.instant + 1) * kTimeStepS);
            QCOMPARE(Title(form, "lnsrsSeries2"), "Time=" + form->cbb2->currentText());
            QCOMPARE(Title(form, "lnsrsSeries4"), "Time=" + form->cbb2->currentText());
            QCOMPARE(Points(form, "lnsrsSeries4"),
                     ZipPoints(form->results.periodGrid, form->results.sdHistory[step.instant]));
        }
        QVERIFY(w.capture.errors.isEmpty());
    }

    void trackBarBeforeAnyRunDrawsNothing() {
        RunWindow w;
        RedrawCounter red(w.form.get(), "lnsrsSeries2");
        QTest::keyClick(w.form->trckbr1, Qt::Key_Right);
        QCOMPARE(w.form->trckbr1->value(), 2);
        QCOMPARE(w.form->cbb2->currentIndex(), -1);
        QCOMPARE(red.count, 0);
        QVERIFY(w.capture.errors.isEmpty());
    }

    void speedTable_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("intervalMs");
        QTest::addColumn<int>("step");
        const int intervals[] = {10, 5, 3, 2, 2, 1, 1, 1, 1, 1};
        for (int speed = 1; speed <= 20; ++speed) {
            const int interval = speed <= 10 ? intervals[speed - 1] : 1;
            const int step = speed <= 10 ? 1 : speed - 9;
            QTest::addRow("speed %d", speed) << speed << interval << step;
        }
    }

    void speedTable() {
        QFETCH(int, speed);
        RunWindow w;
        QCOMPARE(w.form->tmr1->interval(), 1);  // speed 10 at start
        QCOMPARE(w.form->animationStep, 1);
        ChooseItem(w.form->cbb3, speed - 1);
        QTEST(w.form->tmr1->interval(), "intervalMs");
        QTEST(w.form->animationStep, "step");
        QVERIFY(!w.form->tmr1->isActive());  // a speed change does not start playback
    }

    void speedOutsideTheListIsHeldToItsEnds() {
        RunWindow w;
        w.form->SetAnimationSpeed(0);  // would divide by zero in the interval
        QCOMPARE(w.form->tmr1->interval(), 10);
        QCOMPARE(w.form->animationStep, 1);
        w.form->SetAnimationSpeed(25);
        QCOMPARE(w.form->tmr1->interval(), 1);
        QCOMPARE(w.form->animationStep, 11);
    }

    void ticks_data() {
        QTest::addColumn<int>("instants");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("positions");
        QList<int> bySteps;
        for (int p = 11; p <= 99; p += 11)
            bySteps << p;
        bySteps << 0 << 11;
        QTest::newRow("101 instants at speed 20: 100 is never shown") << 101 << 20 << 0 << bySteps;
        QTest::newRow("3 instants at speed 20 stay at 0") << 3 << 20 << 1 << QList<int>{0, 0, 0};
        QTest::newRow("one instant") << 1 << 10 << 0 << QList<int>{0, 0};
        QTest::newRow("speed 10 wraps after the last") << 5 << 10 << 3 << QList<int>{4, 0, 1};
        QTest::newRow("speed 11 wraps to the minimum") << 5 << 11 << 2 << QList<int>{4, 0, 2, 4};
    }

    void ticks() {
        QFETCH(int, instants);
        QFETCH(int, speed);
        QFETCH(int, start);
        QFETCH(QList<int>, positions);
        RunWindow w;
        LoadAndRun(w, instants);
        ChooseItem(w.form->cbb3, speed - 1);
        QTest::keyClick(w.form->trckbr1, Qt::Key_Home);
        for (int i = 0; i < start; ++i)
            QTest::keyClick(w.form->trckbr1, Qt::Key_Right);
        QList<int> seen;
        for (qsizetype i = 0; i < positions.size(); ++i) {
            w.form->tmr1Timer();
            seen << w.form->trckbr1->value();
            QCOMPARE(w.form->cbb2->currentIndex(), seen.last());
        }
        QCOMPARE(seen, positions);
    }

    void tickThatChangesNothingRedrawsNothing() {
        RunWindow w;
        LoadAndRun(w, 1);
        RedrawCounter red(w.form.get(), "lnsrsSeries2"), spectrum(w.form.get(), "lnsrsSeries4");
        w.form->tmr1Timer();
        QCOMPARE(red.count, 0);
        QCOMPARE(spectrum.count, 0);
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries2"), 2);
    }

    void tickDuringATickReturnsAtOnce() {
        RunWindow w;
        LoadAndRun(w, 20);
        int nested = 0;
        // A tick dispatched while the first one redraws (as processing pending events can).
        connect(w.form->trckbr1, &QSlider::valueChanged, this, [&] {
            if (nested++ == 0)
                w.form->tmr1Timer();
        });
        w.form->tmr1Timer();
        QCOMPARE(nested, 1);
        QCOMPARE(w.form->trckbr1->value(), 1);  // the nested tick did not advance
        w.form->tmr1Timer();                    // and the next tick runs again
        QCOMPARE(w.form->trckbr1->value(), 2);
    }

    void playAndStop() {
        RunWindow w;
        LoadAndRun(w, 200);
        ChooseItem(w.form->cbb2, 10);
        QTest::mouseClick(w.form->btn6, Qt::LeftButton);
        QVERIFY(w.form->tmr1->isActive());
        QCOMPARE(w.form->trckbr1->value(), 10);  // playback goes on from the current instant
        QTRY_VERIFY(w.form->trckbr1->value() > 10);
        ChooseItem(w.form->cbb3, 19);  // a new speed keeps it running
        QVERIFY(w.form->tmr1->isActive());
        QCOMPARE(w.form->animationStep, 11);
        QTest::mouseClick(w.form->btn7, Qt::LeftButton);
        QVERIFY(!w.form->tmr1->isActive());
        const int stoppedAt = w.form->trckbr1->value();
        QTest::qWait(30);
        QCOMPARE(w.form->trckbr1->value(), stoppedAt);
        QCOMPARE(w.form->cbb2->currentIndex(), stoppedAt);
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries2"), stoppedAt + 2);
        QVERIFY(w.capture.errors.isEmpty());
    }

    void exportButtonsChangeNothing() {
        RunWindow w;
        LoadAndRun(w, 30);
        ChooseItem(w.form->cbb2, 7);
        QTest::mouseClick(w.form->btn6, Qt::LeftButton);
        QTest::mouseClick(w.form->btn7, Qt::LeftButton);
        const auto state = [&] {
            const TForm1* form = w.form.get();
            return std::make_tuple(form->cbb2->currentIndex(), form->trckbr1->value(),
                                   form->tmr1->isActive(), Points(form, "lnsrsSeries2"),
                                   Points(form, "lnsrsSeries3"), Points(form, "lnsrsSeries4"),
                                   Title(form, "lnsrsSeries4"));
        };
        const auto before = state();
        RedrawCounter red(w.form.get(), "lnsrsSeries2");
        QTest::mouseClick(w.form->btn4, Qt::LeftButton);
        QTest::mouseClick(w.form->btn5, Qt::LeftButton);
        QVERIFY(state() == before);
        QCOMPARE(red.count, 0);
        QVERIFY(w.capture.errors.isEmpty() && w.capture.messages.isEmpty());
    }
};

ORVANTA_UI_TEST_MAIN(AnimationTest)
#include "animation_test.moc"
