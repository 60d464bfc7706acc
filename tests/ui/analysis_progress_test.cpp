// A long "Run Analysis": the progress dialog, the window that takes no input meanwhile,
// Cancel, and closing the window during the run.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "support/RunFixture.h"
#include "ui/AnalysisProgress.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;

QProgressDialog* ShownDialog(TForm1* form) {
    auto* dialog = form->findChild<QProgressDialog*>(QString::fromLatin1(kAnalysisProgressName));
    return dialog != nullptr && dialog->isVisible() ? dialog : nullptr;
}

// Runs action once, on the event loop of the run, as soon as the progress dialog shows.
class WhenDialogShows : public QObject {
  public:
    WhenDialogShows(TForm1* form, std::function<void(QProgressDialog*)> action)
        : form(form), action(std::move(action)) {
        connect(&poll, &QTimer::timeout, this, [this] {
            if (QProgressDialog* dialog = ShownDialog(this->form); dialog != nullptr && !done) {
                done = true;
                poll.stop();
                this->action(dialog);
            }
        });
        poll.start(10);
    }
    bool done = false;

  private:
    TForm1* form;
    std::function<void(QProgressDialog*)> action;
    QTimer poll;
};

// What a run without a highlighted record leaves: nothing but the record drawn.
void VerifyLeftAsARunWithoutRecord(const RunWindow& w, int recordPoints) {
    QCOMPARE(w.form->cbb2->count(), 0);
    QVERIFY(w.form->results.sdHistory.empty());
    QCOMPARE(PointCount(w.form.get(), "lnsrsSeries2"), 0);
    QCOMPARE(PointCount(w.form.get(), "lnsrsSeries3"), 0);
    QCOMPARE(PointCount(w.form.get(), "lnsrsSeries4"), 0);
    QCOMPARE(w.form->rzstspn1->text(), QString());
    QVERIFY(!w.form->tmr1->isActive());
    QCOMPARE(PointCount(w.form.get(), "lnsrsSeries1"), recordPoints);
    QVERIFY(w.capture.errors.isEmpty() && w.capture.messages.isEmpty());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

}  // namespace

class AnalysisProgressTest : public QObject {
    Q_OBJECT

  private slots:
    void shortRunShowsNoDialog() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(200, kTimeStepS), kTimeStepS);
        WhenDialogShows watch(w.form.get(), [](QProgressDialog*) {});
        w.ClickRun();
        QVERIFY(!watch.done);
        QCOMPARE(w.form->cbb2->count(), 199);
    }

    // A minimum period of 1e-5 s: 50,001 sub-steps per record step for the first period,
    // about a second of work. The window takes no click and no key meanwhile.
    void longRunShowsProgressAndBlocksTheWindow() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(4000, kTimeStepS), kTimeStepS);
        w.SetParameters("0.00001", "6", "0.02", "0.05");
        QString label, title, cancel;
        int maximum = 0;
        WhenDialogShows watch(w.form.get(), [&](QProgressDialog* dialog) {
            label = dialog->labelText();
            title = dialog->windowTitle();
            cancel = dialog->findChild<QPushButton*>()->text();
            maximum = dialog->maximum();
            QTest::mouseClick(w.form->btn6, Qt::LeftButton);  // would start the animation
            QTest::keyClicks(w.form->edt1, QStringLiteral("9"));
            QTest::mouseClick(w.form->btn3, Qt::LeftButton);  // would run again, nested
        });
        w.ClickRun();
        QVERIFY(watch.done);
        QCOMPARE(label, QStringLiteral("Analysing quake.txt"));
        QCOMPARE(title, QStringLiteral("Orvanta"));
        QCOMPARE(cancel, QStringLiteral("Cancel"));
        QVERIFY(maximum > 0);
        QVERIFY(!w.form->tmr1->isActive());
        QCOMPARE(w.form->edt1->text(), QStringLiteral("0.00001"));
        QVERIFY(w.capture.errors.isEmpty() && w.capture.messages.isEmpty());
        QVERIFY(ShownDialog(w.form.get()) == nullptr);
        // The run completed as a run without a dialog does.
        QCOMPARE(w.form->cbb2->count(), 3999);
        QCOMPARE(w.form->results.sdHistory.size(), std::size_t{3999});
        QCOMPARE(PointCount(w.form.get(), "lnsrsSeries4"), 300);
        QCOMPARE(w.form->rzstspn1->text(), QStringLiteral("CurrentWave: quake.txt"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // A minimum period of 1e-7 s would take minutes: Cancel ends it at once.
    void cancelLeavesTheWindowAsARunWithoutRecord() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(2000, kTimeStepS), kTimeStepS);
        w.SetParameters("1e-7", "6", "0.02", "0.05");
        QElapsedTimer sinceCancel;
        WhenDialogShows watch(w.form.get(), [&](QProgressDialog* dialog) {
            sinceCancel.start();
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        w.ClickRun();
        const qint64 cancelMs = sinceCancel.elapsed();
        QVERIFY(watch.done);
        qInfo("run ended %lld ms after Cancel", cancelMs);
        QVERIFY2(cancelMs < 2000, "the run went on after Cancel");  // 0.2 s on a quiet machine
        VerifyLeftAsARunWithoutRecord(w, 2000);
        QCOMPARE(w.form->records.size(), std::size_t{1});
        // The window works as before.
        w.SetParameters("0.02", "6", "0.02", "0.05");
        w.ClickRun();
        QCOMPARE(w.form->cbb2->count(), 1999);
    }

    // However the dialog goes away (here its cancel() from code, which emits nothing), a
    // run nobody sees, with the window still held, must not go on.
    void dialogGoneStopsTheRun() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(2000, kTimeStepS), kTimeStepS);
        w.SetParameters("1e-7", "6", "0.02", "0.05");
        WhenDialogShows watch(w.form.get(), [](QProgressDialog* dialog) { dialog->cancel(); });
        w.ClickRun();
        QVERIFY(watch.done);
        VerifyLeftAsARunWithoutRecord(w, 2000);
    }

    void closingTheWindowEndsTheRun() {
        RunWindow w;
        w.LoadRecord(QStringLiteral("quake.txt"), RunTestQuake(2000, kTimeStepS), kTimeStepS);
        w.SetParameters("1e-7", "6", "0.02", "0.05");
        QElapsedTimer sinceClose;
        WhenDialogShows watch(w.form.get(), [&](QProgressDialog*) {
            sinceClose.start();
            w.form->close();
        });
        w.ClickRun();
        QVERIFY(watch.done);
        QVERIFY2(sinceClose.elapsed() < 2000, "the run went on after the window closed");
        QVERIFY(!w.form->isVisible());
        VerifyLeftAsARunWithoutRecord(w, 2000);
    }
};

ORVANTA_UI_TEST_MAIN(AnalysisProgressTest)
#include "analysis_progress_test.moc"
