// Closing and destroying the window with records, a selection and a result store in
// place: everything it owns goes, nothing runs on the half-destroyed window. Run under
// the sanitizer build too, where a leak or a dangling record shows.
#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "support/UiTestSupport.h"
#include "ui/InstantListModel.h"
#include "ui/Unit1.h"

class WindowLifecycleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModalCapture> capture;
    QTemporaryDir folder;

    TForm1* MakeLoadedWindow() {
        TForm1* form = MakeShownWindow();
        InjectChosenFiles(form, {WriteFile(folder, "a.txt", RecordText({0.1, 0.2, 0.3}, 0.01)),
                                 WriteFile(folder, "b.txt", RecordText({0.4, 0.5}, 0.01))});
        ClickImport(form);
        ClickRecord(form, 1);
        form->results.BuildPeriodGrid(0.1, 0.5, 0.1);
        form->results.AnalyseRecord(form->records[1].get(), 0.05, form->gravity);
        InstantListOf(form->cbb2)->SetInstants(1, 0.01, form->decimalSeparator());
        form->cbb2->setCurrentIndex(0);
        form->PlotRecordToInstant();
        return form;
    }

  private slots:
    void initTestCase() {
        capture = std::make_unique<ModalCapture>();
        QVERIFY(folder.isValid());
    }

    void closingWithRecordsAndResultsReleasesThem() {
        QPointer<TForm1> form = MakeLoadedWindow();
        QCOMPARE(form->records.size(), std::size_t{2});
        QVERIFY(!form->results.sdHistory.empty());
        form->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(form->close());
        QTRY_VERIFY(form.isNull());  // deleted by the event loop, as at shut-down
        QVERIFY(Form1 == nullptr);
        QVERIFY(capture->errors.isEmpty());
    }

    void destroyingWithATimerRunningAndASelection() {
        TForm1* form = MakeLoadedWindow();
        form->tmr1->start(1);
        form->lst1->setFocus();
        delete form;
        QTest::qWait(20);  // no tick may reach the destroyed window
        QVERIFY(Form1 == nullptr);
        QVERIFY(capture->errors.isEmpty());
    }

    void importAfterARunLeavesNoReferenceToDestroyedRecords() {
        TForm1* form = MakeLoadedWindow();
        QVERIFY(form->results.currentRecord == form->records[1].get());
        InjectChosenFiles(form, {});
        ClickImport(form);
        QVERIFY(form->results.currentRecord == nullptr);
        QVERIFY(form->results.sdHistory.empty());
        delete form;
    }
};

ORVANTA_UI_TEST_MAIN(WindowLifecycleTest)
#include "window_lifecycle_test.moc"
