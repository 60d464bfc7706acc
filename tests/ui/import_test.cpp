// "Import Data": files read in dialog order and listed with nothing selected, a cancelled
// dialog, a second import discarding the first, and what a failing file leaves behind.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <memory>

#include "support/ChartProbe.h"
#include "support/UiTestSupport.h"
#include "ui/InstantListModel.h"
#include "ui/Unit1.h"

namespace {

QStringList ListedNames(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

QStringList RecordNames(const TForm1* form) {
    QStringList names;
    for (const auto& record : form->records)
        names << QString::fromStdString(record->GetName());
    return names;
}

void VerifyNothingSelectedOrChecked(const QListWidget* list) {
    QVERIFY(list->selectedItems().isEmpty());
    for (int i = 0; i < list->count(); ++i) {
        QCOMPARE(list->item(i)->checkState(), Qt::Unchecked);
        QVERIFY(list->item(i)->flags() & Qt::ItemIsUserCheckable);
    }
}

}  // namespace

class ImportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModalCapture> capture;
    QTemporaryDir folder;
    TForm1* form = nullptr;
    QString quakeA, quakeB, quakeC;

  private slots:
    void initTestCase() {
        capture = std::make_unique<ModalCapture>();
        QVERIFY(folder.isValid());
        quakeA = WriteFile(folder, "quake_a.txt", RecordText({0.1, -0.2, 0.3}, 0.01));
        quakeB = WriteFile(folder, "quake_b.txt", RecordText({0.5, 0.4}, 0.02));
        quakeC = WriteFile(folder, "quake_c.txt", RecordText({1, 2, 3, 4}, 0.005));
    }
    void init() {
        capture->errors.clear();
        form = MakeShownWindow();
    }
    void cleanup() { delete form; }

    void severalFilesInDialogOrderNoneSelected() {
        InjectChosenFiles(form, {quakeC, quakeA, quakeB});
        ClickImport(form);
        QVERIFY(capture->errors.isEmpty());
        const QStringList expected{"quake_c.txt", "quake_a.txt", "quake_b.txt"};
        QCOMPARE(RecordNames(form), expected);
        QCOMPARE(ListedNames(form->lst1), expected);
        VerifyNothingSelectedOrChecked(form->lst1);
        QCOMPARE(form->records[1]->Count(), 3);
        QCOMPARE(form->records[1]->GetAcc()[1], -0.2);
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 0);  // the import draws nothing
    }

    void unitListScalesSamplesToG() {
        form->cbb1->setCurrentIndex(2);  // cm/s2
        InjectChosenFiles(form, {quakeB});
        ClickImport(form);
        QVERIFY(NearlyEqual(form->records[0]->GetAcc()[0], 0.5 / 980.0));
    }

    void cancelledDialogEmptiesEverything() {
        InjectChosenFiles(form, {quakeA});
        ClickImport(form);
        ClickRecord(form, 0);
        InstantListOf(form->cbb2)->SetInstants(1, 0.01, form->decimalSeparator());
        form->rzstspn1->setText(QStringLiteral("CurrentWave: quake_a.txt"));
        AddPoint(form, "lnsrsSeries4", 0.5, 1.0);
        form->tmr1->start(1000);
        InjectChosenFiles(form, {});
        ClickImport(form);
        QVERIFY(form->records.empty());
        QCOMPARE(form->lst1->count(), 0);
        QCOMPARE(form->cbb2->count(), 0);
        QVERIFY(form->rzstspn1->text().isEmpty());
        QVERIFY(!form->tmr1->isActive());
        for (const char* series :
             {"lnsrsSeries1", "lnsrsSeries2", "lnsrsSeries3", "lnsrsSeries4"}) {
            QCOMPARE(PointCount(form, series), 0);
        }
        QVERIFY(form->results.currentRecord == nullptr);
        QVERIFY(capture->errors.isEmpty());
    }

    void importingTwiceKeepsOnlyTheSecondImport() {
        InjectChosenFiles(form, {quakeA});
        ClickImport(form);
        ClickImport(form);
        QCOMPARE(RecordNames(form), QStringList{"quake_a.txt"});
        QCOMPARE(ListedNames(form->lst1), QStringList{"quake_a.txt"});
        InjectChosenFiles(form, {quakeB, quakeC});
        ClickImport(form);
        QCOMPARE(ListedNames(form->lst1), (QStringList{"quake_b.txt", "quake_c.txt"}));
        VerifyNothingSelectedOrChecked(form->lst1);
    }

    // The decided behaviour of a failing file: records read before it stay listed and
    // selectable, its partial record goes, and the error text reaches the display as is.
    void failingFileKeepsEarlierRecordsListed_data() {
        QTest::addColumn<QString>("badText");
        QTest::addColumn<QString>("shownText");
        QTest::newRow("blank line after the data")
            << RecordText({0.1, 0.2}, 0.01) + QStringLiteral("\n")
            << QStringLiteral("List index out of bounds (1)");
        QTest::newRow("acceleration that is no number")
            << QStringLiteral("h\n0 0.1\n0.01 0.2\n0.02 abc\n0.03 0.4\n")
            << QStringLiteral("'abc' is not a valid floating point value.");
    }
    void failingFileKeepsEarlierRecordsListed() {
        QFETCH(QString, badText);
        QFETCH(QString, shownText);
        const QString bad = WriteFile(folder, "bad.txt", badText);
        InjectChosenFiles(form, {quakeB, quakeA, bad, quakeC});
        ClickImport(form);
        QCOMPARE(capture->errors, QStringList{shownText});
        QCOMPARE(RecordNames(form), (QStringList{"quake_b.txt", "quake_a.txt"}));
        QCOMPARE(ListedNames(form->lst1), (QStringList{"quake_b.txt", "quake_a.txt"}));
        VerifyNothingSelectedOrChecked(form->lst1);
        ClickRecord(form, 1);  // selectable and drawn
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 3);
    }

    void missingFileReportsAndKeepsEarlierRecords() {
        InjectChosenFiles(form, {quakeA, folder.filePath("absent.txt")});
        ClickImport(form);
        QCOMPARE(capture->errors.size(), 1);
        QVERIFY(capture->errors[0].startsWith(QStringLiteral("Cannot open file \"")));
        QCOMPARE(ListedNames(form->lst1), QStringList{"quake_a.txt"});
    }

    void badBeginLineStopsBeforeTheDialog() {
        InjectChosenFiles(form, {quakeA});
        ClickImport(form);
        form->edt5->setText(QStringLiteral(" x2 "));
        bool dialogShown = false;
        form->chooseFiles = [&dialogShown] {
            dialogShown = true;
            return QStringList();
        };
        ClickImport(form);
        QVERIFY(!dialogShown);
        QCOMPARE(capture->errors, QStringList{"'x2' is not a valid floating point value."});
        QVERIFY(form->records.empty());  // steps before the failure took effect
        QCOMPARE(form->lst1->count(), 0);
    }

    void importAfterSelectionForgetsTheAnalysedRecord() {
        InjectChosenFiles(form, {quakeA});
        ClickImport(form);
        form->results.currentRecord = form->records[0].get();  // as a run leaves it
        ClickImport(form);
        QVERIFY(form->results.currentRecord == nullptr);
    }
};

ORVANTA_UI_TEST_MAIN(ImportTest)
#include "import_test.moc"
