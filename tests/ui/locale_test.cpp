// The window in a decimal-comma locale and in a '.' locale: record files always read with
// '.', parameter fields accepting '.' and the locale's separator, instants written with the
// locale's; AT2 files imported by their header, with the record list's tool tips.
// CTest runs this program with LC_ALL=de_DE.UTF-8, so where the machine has that locale the
// C library runs German too (QApplication applies it), as in a German user's session.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QtTest>
#include <clocale>
#include <memory>

#include "records/RecordReader.h"
#include "support/RunFixture.h"
#include "ui/Unit1.h"

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

QString DataFile(const QString& name) {
    return QStringLiteral(ORVANTA_TEST_DATA "/at2/") + name;
}

QString TopRowSpectrum(const TForm1* form) {
    QString text;
    for (const double sd : form->results.sdHistory.back()) {
        text += QString::number(sd, 'g', 17) + QLatin1Char(' ');
    }
    return text;
}

}  // namespace

class LocaleTest : public QObject {
    Q_OBJECT

    QLocale original;

  private slots:
    void initTestCase() { original = QLocale(); }
    void cleanup() { QLocale::setDefault(original); }

    void germanLocaleImportsDotFilesAndRunsWithTheDefaults() {
        QLocale::setDefault(kGerman);
        RunWindow w;
        w.LoadRecord("quake.txt", RunTestQuake(201, 0.01), 0.01);
        QVERIFY(w.capture.errors.isEmpty());
        // The window reads the file to the record the batch tool's reader gives it.
        RecordList direct;
        ReadRecordFile(w.folder.filePath("quake.txt").toStdString(), 2, 1.0, direct);
        QCOMPARE(w.form->records.at(0)->GetAcc(), direct.at(0)->GetAcc());
        QCOMPARE(w.form->records.at(0)->GetTimeStep(), direct.at(0)->GetTimeStep());

        QCOMPARE(w.form->edt1->text(), QStringLiteral("0.02"));  // the untouched defaults
        w.ClickRun();
        QVERIFY2(w.capture.errors.isEmpty(), qPrintable(w.capture.errors.join('\n')));
        QCOMPARE(w.form->cbb2->count(), 200);
        QCOMPARE(w.form->cbb2->itemText(0), QStringLiteral("0,0100"));  // the locale's comma
        QCOMPARE(w.form->cbb2->itemText(199), QStringLiteral("2,0000"));
        QCOMPARE(w.form->rzstspn1->text(), QStringLiteral("CurrentWave: quake.txt"));
    }

    void germanFieldsTakeACommaOrADotAlike() {
        QLocale::setDefault(kGerman);
        RunWindow w;
        w.LoadRecord("quake.txt", RunTestQuake(101, 0.01), 0.01);
        w.SetParameters("0.05", "2", "0.05", "0.05");
        w.ClickRun();
        const QString withDots = TopRowSpectrum(w.form.get());
        w.SetParameters("0,05", "2,0", "5e-2", "0,05");
        w.form->edt5->setText("2,9");  // Begin Line 2
        w.ClickRun();
        QVERIFY(w.capture.errors.isEmpty());
        QCOMPARE(TopRowSpectrum(w.form.get()), withDots);

        w.form->edt2->setText("0.000,05");
        w.ClickRun();
        QCOMPARE(w.capture.errors, QStringList{"'0.000,05' is not a valid floating point value."});
    }

    void engineMessagesKeepTheirDotsInAGermanSession() {
        QLocale::setDefault(kGerman);
        RunWindow w;
        w.LoadRecordInMemory("empty", {}, 0.01);
        w.SetParameters("0,02", "0,04", "0,02", "0,05");
        w.ClickRun();
        QCOMPARE(w.capture.messages.value(0),
                 QStringLiteral("Error calculation for DampingRatio: 0.05& Period: 0.02"));
    }

    void dotLocaleIsUnchanged() {
        QLocale::setDefault(kEnglish);
        RunWindow w;
        w.LoadRecord("quake.txt", RunTestQuake(51, 0.02), 0.02);
        w.ClickRun();
        QCOMPARE(w.form->cbb2->itemText(0), QStringLiteral("0.0200"));
        w.SetParameters("0,02", "6", "0.02", "0.05");
        w.ClickRun();
        QCOMPARE(w.capture.errors, QStringList{"'0,02' is not a valid floating point value."});
    }

    // Both components of a real record, with a Begin Line and a unit that do not apply.
    void at2FilesImportByTheirHeaderWithToolTips() {
        QLocale::setDefault(kGerman);
        RunWindow w;
        w.form->edt5->setText("7");
        w.form->cbb1->setCurrentIndex(2);  // cm/s2
        InjectChosenFiles(w.form.get(), {DataFile("RSN8883_14383980_13849090.AT2"),
                                         DataFile("RSN8883_14383980_13849360.AT2")});
        ClickImport(w.form.get());
        QVERIFY(w.capture.errors.isEmpty());
        QCOMPARE(w.form->lst1->count(), 2);
        QCOMPARE(w.form->lst1->item(1)->text(), QStringLiteral("RSN8883_14383980_13849360.AT2"));
        QCOMPARE(w.form->records[1]->GetAcc().back(), -5.8646429E-04);  // in g, unconverted
        QCOMPARE(w.form->lst1->item(1)->toolTip(),
                 QStringLiteral("Format: PEER NGA AT2\nSamples: 16.396\nTime step: 0,005 s\n"
                                "Duration: 81,975 s\nPeak acceleration: 0,1598 g"));

        // A two-column file does follow Begin Line and Acc. Unit.
        QLocale::setDefault(kEnglish);
        w.form->edt5->setText("2");
        w.form->cbb1->setCurrentIndex(0);
        InjectChosenFiles(w.form.get(), {WriteFile(w.folder, "quake.txt",
                                                   RecordText({0.5, -0.25, 0.125}, 0.01))});
        ClickImport(w.form.get());
        QCOMPARE(w.form->lst1->count(), 1);
        QCOMPARE(w.form->lst1->item(0)->toolTip(),
                 QStringLiteral("Format: two columns (time, acceleration)\nSamples: 3\n"
                                "Time step: 0.01 s\nDuration: 0.02 s\nPeak acceleration: 0.5 g"));
    }

    void aFailingAt2FileNamesItselfAndIsNotListed() {
        RunWindow w;
        const QString bad = WriteFile(w.folder, "short.AT2",
                                      "title\nACCELERATION TIME SERIES IN UNITS OF G\n"
                                      "NPTS=      4, DT=   0.01 SEC\n0.1 0.2 0.3\n");
        InjectChosenFiles(w.form.get(), {DataFile("RSN8883_14383980_13849090.AT2"), bad});
        ClickImport(w.form.get());
        QCOMPARE(w.capture.errors, QStringList{"The file \"" + bad +
                                               "\" gives NPTS = 4 in its header, but holds 3 "
                                               "values."});
        QCOMPARE(w.form->lst1->count(), 1);  // the good file before it stays selectable
    }
};

ORVANTA_UI_TEST_MAIN(LocaleTest)
#include "locale_test.moc"
