// The window as the user sees it with a record drawn: a synthetic decaying accelerogram
// imported and highlighted, axes around it, and the window painted at the design size and
// enlarged. With ORVANTA_SCREENSHOT_DIR set, the pictures are saved there to look at.
#include <QDir>
#include <QImage>
#include <cmath>
#include <memory>

#include "support/ChartProbe.h"
#include "support/UiTestSupport.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

// 10 s at 0.01 s of three sines under a rising and decaying envelope, peak about 0.3 g.
std::vector<double> DecayingSineMixG() {
    std::vector<double> acc;
    for (int i = 0; i <= 1000; ++i) {
        const double t = i * 0.01;
        const double envelope = (t / 1.5) * std::exp(1.0 - t / 1.5);
        acc.push_back(0.3 * envelope *
                      (0.6 * std::sin(2 * M_PI * 1.1 * t) + 0.3 * std::sin(2 * M_PI * 2.7 * t + 1) +
                       0.1 * std::sin(2 * M_PI * 6.3 * t + 2)));
    }
    return acc;
}

void SaveIfAsked(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("ORVANTA_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QVERIFY(image.save(QDir(dir).filePath(QString::fromLatin1(name))));
    }
}

}  // namespace

class WindowLookTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModalCapture> capture;
    QTemporaryDir folder;

  private slots:
    void initTestCase() {
        capture = std::make_unique<ModalCapture>();
        QVERIFY(folder.isValid());
    }

    void recordDrawnAtDesignAndLargerSize() {
        std::unique_ptr<TForm1> form(MakeShownWindow());
        const QString sample = qEnvironmentVariable("ORVANTA_SAMPLE");
        InjectChosenFiles(form.get(),
                          {sample.isEmpty() ? WriteFile(folder, "synthetic.txt",
                                                        RecordText(DecayingSineMixG(), 0.01))
                                            : sample});
        ClickImport(form.get());
        ClickRecord(form.get(), 0);
        QVERIFY(capture->errors.isEmpty());
        QVERIFY(PointCount(form.get(), "lnsrsSeries1") > 100);

        const QCPRange x = form->cht1->xAxis->range();
        const double durationS = form->records[0]->Duration();
        QVERIFY(x.lower == 0.0 && x.upper >= durationS && x.upper <= 1.25 * durationS);

        QTest::qWait(50);  // repaints queued by the event loop, as the user would see them
        const QRect legend = form->cht1->legend->outerRect();
        QVERIFY(form->cht1->axisRect()->rect().contains(legend));
        QVERIFY(legend.height() >= 2 * 16);  // room for both entries, one per row
        const QImage design = form->grab().toImage();
        QCOMPARE(design.size(), form->size() * design.devicePixelRatio());
        SaveIfAsked(design, "orvanta-shot.png");

        form->resize(1280, 780);
        QTRY_COMPARE(form->cht2->width(), 802 + 1280 - 1041);
        const QImage larger = form->grab().toImage();
        QCOMPARE(larger.width(), 1280);
        SaveIfAsked(larger, "orvanta-shot-large.png");
    }
};

ORVANTA_UI_TEST_MAIN(WindowLookTest)
#include "window_look_test.moc"
