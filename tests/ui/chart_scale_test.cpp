// Chart lines on a dense screen (run with QT_SCALE_FACTOR=2): widths are logical pixels, so
// the red trace is two device pixels wide there, not the one device pixel of a plain 1.0 pen.
#include <QClipboard>
#include <QImage>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "support/UiTestSupport.h"
#include "ui/RecordChart.h"
#include "ui/Unit1.h"

namespace {

// The longest run of rows in column x of image whose colour passes the test.
template <class Test>
int LongestRun(const QImage& image, int x, Test test) {
    int longest = 0, run = 0;
    for (int y = 0; y < image.height(); ++y) {
        run = test(image.pixelColor(x, y)) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

}  // namespace

class ChartScaleTest : public QObject {
    Q_OBJECT

  private slots:
    void linesScaleWithTheScreen() {
        ModalCapture capture;
        QTemporaryDir folder;
        std::unique_ptr<TForm1> form(MakeShownWindow());
        const double ratio = form->cht1->devicePixelRatioF();
        if (ratio < 2.0)
            QSKIP("needs QT_SCALE_FACTOR=2");
        QCOMPARE(form->cht1->bufferDevicePixelRatio(), ratio);
        QCOMPARE(form->lnsrsSeries1->pen().widthF(), 3.0 * ratio);
        QCOMPARE(form->lnsrsSeries2->pen().widthF(), 1.0 * ratio);

        // A flat record drawn whole in blue, its analysed part in red over it.
        InjectChosenFiles(form.get(), {WriteFile(folder, "flat.txt",
                                                 RecordText(std::vector<double>(400, 0.5), 0.01))});
        ClickImport(form.get());
        ClickRecord(form.get(), 0);
        QTest::mouseClick(form->btn3, Qt::LeftButton);  // run, then the last instant
        form->trckbr1->setValue(form->trckbr1->maximum());
        QVERIFY(capture.errors.isEmpty());
        const QImage image = form->cht1->grab().toImage();
        QCOMPARE(image.width(), static_cast<int>(form->cht1->width() * ratio));
        const int x = image.width() / 2;
        const int red = LongestRun(image, x, [](const QColor& c) {
            return c.red() > 200 && c.green() < 80 && c.blue() < 80;
        });
        const int line = LongestRun(image, x, [](const QColor& c) {
            return (c.red() > 200 && c.green() < 80 && c.blue() < 80) ||
                   (c.blue() > 150 && c.red() < 80);
        });
        QVERIFY2(red >= 2 && red <= 3, qPrintable(QString::number(red)));
        QVERIFY2(line >= 5, qPrintable(QString::number(line)));

        // "Copy image" holds the same device pixels.
        form->cht1->CopyImage();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), image.size());
    }
};

ORVANTA_UI_TEST_MAIN(ChartScaleTest)
#include "chart_scale_test.moc"
