// The window in a decimal-comma locale and in a '.' locale: record files always read with
// '.', parameter fields accepting '.' and the locale's separator, instants written with the
// locale's.
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
};

ORVANTA_UI_TEST_MAIN(LocaleTest)
#include "locale_test.moc"
