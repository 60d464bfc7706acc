// The window's controls and defaults: names, kinds, captions, items, places, charts,
// dialogs, status panes, stretching and the link pane's hover look.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <memory>

#include "support/ChartProbe.h"
#include "support/UiTestSupport.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

// The caption, text or item list of a control, as the user reads it.
QString CaptionOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* button = qobject_cast<const QPushButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* combo = qobject_cast<const QComboBox*>(widget)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items.join(QLatin1Char('|')) + QStringLiteral(" @") +
               QString::number(combo->currentIndex());
    }
    return QString();
}

QString Speeds() {
    QStringList speeds;
    for (int speed = 1; speed <= 20; ++speed)
        speeds << QString::number(speed);
    return speeds.join(QLatin1Char('|')) + QStringLiteral(" @9");
}

}  // namespace

class WindowControlsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModalCapture> capture;
    TForm1* form = nullptr;

  private slots:
    void initTestCase() { capture = std::make_unique<ModalCapture>(); }
    void init() { form = MakeShownWindow(); }
    void cleanup() { delete form; }

    void controls_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QRect>("geometry");  // width/height -1: label, position only
        QTest::addColumn<QString>("caption");
        auto row = [](const char* name, const char* kind, const char* parent, QRect geometry,
                      const QString& caption) {
            QTest::newRow(name) << QString::fromLatin1(kind) << QString::fromLatin1(parent)
                                << geometry << caption;
        };
        auto at = [](int left, int top) { return QRect(left, top, -1, -1); };
        row("grp1", "QGroupBox", "central", {8, 8, 212, 271}, "Time History Records (双列)");
        row("lbl11", "QLabel", "grp1", at(13, 22), "Begin Line");
        row("edt5", "QLineEdit", "grp1", {77, 19, 122, 21}, "2");
        row("lbl10", "QLabel", "grp1", at(13, 49), "Acc. Unit");
        row("cbb1", "QComboBox", "grp1", {77, 46, 122, 21},
            "g (1g = 980cm/s2)|m/s2|cm/s2|mm/s2| @0");
        row("btn1", "QPushButton", "grp1", {13, 73, 186, 25}, "Import Data");
        row("lst1", "QListWidget", "grp1", {13, 104, 186, 151}, "");
        row("grp3", "QGroupBox", "central", {8, 285, 210, 133}, "反应谱计算参数");
        row("lbl5", "QLabel", "grp3", at(21, 21), "Min. Period (s)");
        row("edt1", "QLineEdit", "grp3", {121, 19, 67, 21}, "0.02");
        row("lbl9", "QLabel", "grp3", at(21, 46), "Max. Period (s)");
        row("edt4", "QLineEdit", "grp3", {121, 44, 67, 21}, "6");
        row("lbl3", "QLabel", "grp3", at(21, 71), "Period Step  (s)");
        row("edt3", "QLineEdit", "grp3", {121, 69, 67, 21}, "0.02");
        row("lbl8", "QLabel", "grp3", at(21, 96), "Damping Ratio ");
        row("edt2", "QLineEdit", "grp3", {121, 96, 67, 21}, "0.05");
        row("btn3", "QPushButton", "central", {8, 424, 211, 25}, "Run Analysis");
        row("grp2", "QGroupBox", "central", {8, 455, 210, 86}, "动画");
        row("lbl6", "QLabel", "grp2", at(9, 23), "Animation Speed");
        row("cbb3", "QComboBox", "grp2", {95, 20, 107, 21}, Speeds());
        row("btn6", "QPushButton", "grp2", {8, 50, 94, 25}, "运行动画");
        row("btn7", "QPushButton", "grp2", {107, 50, 95, 25}, "停止动画");
        row("btn4", "QPushButton", "central", {8, 547, 210, 25}, "Export Plot1 to Excel");
        row("btn5", "QPushButton", "central", {8, 579, 210, 25}, "Export Plot2 to Excel");
        row("lbl4", "QLabel", "central", at(231, 11), "Total Analysis Time");
        row("cbb2", "QComboBox", "central", {328, 8, 104, 21}, " @-1");
        row("lbl7", "QLabel", "central", at(441, 11), "Step");
        row("trckbr1", "QSlider", "central", {469, 8, 564, 26}, "");
        row("cht1", "QCustomPlot", "central", {226, 40, 807, 212}, "");
        row("lbl1", "QLabel", "central", at(232, 263), "X Axis");
        row("cbb5", "QComboBox", "central", {267, 258, 189, 21},
            "Period|Frequency|Displacement @0");
        row("lbl2", "QLabel", "central", at(477, 263), "Y Axis");
        row("cbb7", "QComboBox", "central", {512, 258, 186, 21},
            "Displacement|Velocity|Acceleration|Pseudo-Velocity|Pseudo-Acceleration @0");
        row("cht2", "QCustomPlot", "central", {231, 287, 802, 417}, "");
    }

    void controls() {
        QFETCH(QString, className);
        QFETCH(QString, parentName);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        auto* widget = form->findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        QVERIFY(widget->inherits(className.toLatin1().constData()));
        QCOMPARE(widget->parentWidget()->objectName(), parentName);
        if (geometry.width() < 0) {
            QCOMPARE(widget->pos(), geometry.topLeft());
            QVERIFY(widget->isVisible() && widget->width() > 0);
        } else {
            QCOMPARE(widget->geometry(), geometry);
        }
        QCOMPARE(CaptionOf(widget), caption);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            QVERIFY(!combo->isEditable());
    }

    void membersPointAtTheirNamedControls() {
        const std::pair<QObject*, const char*> members[] = {
            {form->mniImportData1, "mniImportData1"},
            {form->mniAbout1, "mniAbout1"},
            {form->mniAbout2, "mniAbout2"},
            {form->mniDonation1, "mniDonation1"},
            {form->mniHomePage1, "mniHomePage1"},
            {form->mniHowtouse1, "mniHowtouse1"},
            {form->mniSoftware1, "mniSoftware1"},
            {form->lst1, "lst1"},
            {form->cht1, "cht1"},
            {form->cht2, "cht2"},
            {form->rzstsbr2, "rzstsbr2"},
            {form->rzfldsts3, "rzfldsts3"},
            {form->rzfldsts1, "rzfldsts1"},
            {form->rzfldsts2, "rzfldsts2"},
            {form->rzstspn1, "rzstspn1"},
            {form->dlgOpen1, "dlgOpen1"},
            {form->dlgSave1, "dlgSave1"},
            {form->tmr1, "tmr1"},
            {form->lnsrsSeries1, "lnsrsSeries1"},
            {form->lnsrsSeries2, "lnsrsSeries2"},
            {form->lnsrsSeries3, "lnsrsSeries3"},
            {form->lnsrsSeries4, "lnsrsSeries4"},
        };
        for (const auto& [object, name] : members) {
            QVERIFY2(object != nullptr, name);
            QCOMPARE(object->objectName(), QString::fromLatin1(name));
        }
    }

    void windowDefaults() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Orvanta(20220113)"));
        QCOMPARE(form->centralWidget()->size(), QSize(1041, 709));
        QCOMPARE(form->gravity, 980.0);
        QVERIFY(form->records.empty());
        QVERIFY(form->results.currentRecord == nullptr);
        QVERIFY(form->results.periodGrid.empty() && form->results.sdHistory.empty());
        QCOMPARE(form->lst1->count(), 0);
        QVERIFY(!form->tmr1->isActive());
        QCOMPARE(form->trckbr1->orientation(), Qt::Horizontal);
        QCOMPARE(form->trckbr1->minimum(), 1);
        QCOMPARE(form->trckbr1->maximum(), 10);
        QCOMPARE(form->trckbr1->value(), 1);
        QCOMPARE(form->trckbr1->pageStep(), 1);
        QVERIFY(form->rzstspn1->text().isEmpty());
        QCOMPARE(form->font().pointSize(), 8);
    }

    void menus() {
        const QList<QAction*> bar = form->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("File"));
        QVERIFY(form->mniImportData1->actions().isEmpty());
        QCOMPARE(bar[1]->text(), QStringLiteral("Help"));
        const QList<QAction*> help = form->mniAbout1->actions();
        QCOMPARE(help.size(), 5);
        QCOMPARE(help[0], form->mniAbout2);
        QCOMPARE(help[0]->text(), QStringLiteral("About"));
        QCOMPARE(help[1], form->mniDonation1);
        QCOMPARE(help[1]->text(), QStringLiteral("Donation(捐助)"));
        QCOMPARE(help[2], form->mniHomePage1);
        QCOMPARE(help[3], form->mniHowtouse1);
        QCOMPARE(help[3]->text(), QStringLiteral("使用帮助 How to use?"));
        QCOMPARE(help[4], form->mniSoftware1);
    }

    void aboutAndDonationBoxesNameTheProduct() {
        capture->messages.clear();
        form->mniAbout2->trigger();
        form->mniDonation1->trigger();
        QCOMPARE(capture->messages.size(), 2);
        QVERIFY(capture->messages[0].startsWith(QStringLiteral("Orvanta(20220113)")));
        QVERIFY(capture->messages[1].contains(QStringLiteral("Orvanta")));
    }

    void dialogs() {
        QCOMPARE(form->dlgOpen1->nameFilters(), QStringList{QStringLiteral("All Files (*)")});
        QCOMPARE(form->dlgOpen1->fileMode(), QFileDialog::ExistingFiles);
        QCOMPARE(form->dlgOpen1->directory().absolutePath(),
                 QCoreApplication::applicationDirPath());
        QVERIFY(form->dlgOpen1->isSizeGripEnabled());
        QVERIFY(!form->dlgOpen1->isVisible());
        QCOMPARE(form->dlgSave1->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(form->dlgSave1->nameFilters().size(), 3);
        QVERIFY(
            form->dlgSave1->nameFilters()[2].startsWith(QStringLiteral("Excel 97-2003 工作簿")));
        QVERIFY(!form->dlgSave1->isVisible());
    }

    void charts() {
        struct ChartCase {
            ChartWidget* chart;
            const char* first;
            const char* second;
            const char* xTitle;
            const char* yTitle;
        };
        const ChartCase cases[] = {
            {form->cht1, "lnsrsSeries1", "lnsrsSeries2", "Time (s)", "Acc. (g)"},
            {form->cht2, "lnsrsSeries3", "lnsrsSeries4", "Period (s)", "Disp (cm)"},
        };
        for (const ChartCase& c : cases) {
            ChartWidget* chart = c.chart;
            QCPAbstractPlottable* first = FindSeries(form, c.first);
            QCPAbstractPlottable* second = FindSeries(form, c.second);
            QCOMPARE(chart->plottableCount(), 2);
            QCOMPARE(chart->plottable(0), first);
            QCOMPARE(chart->plottable(1), second);
            QCOMPARE(chart->LineWidthPx(first), 3.0);
            QCOMPARE(chart->LineWidthPx(second), 1.0);
            // Pens carry the width in device pixels, as cosmetic lines.
            const double ratio = chart->bufferDevicePixelRatio();
            QCOMPARE(first->pen().widthF(), 3.0 * ratio);
            QCOMPARE(second->pen().widthF(), 1.0 * ratio);
            QVERIFY(first->pen().isCosmetic() && second->pen().isCosmetic());
            QCOMPARE(second->pen().color(), QColor(Qt::red));
            QCOMPARE(Title(form, c.first), QStringLiteral("Time="));
            QCOMPARE(Title(form, c.second), QStringLiteral("Time="));
            QCOMPARE(PointCount(form, c.first), 0);
            // No point markers: graphs on the record chart, curves (kept in the order of
            // their points) on the spectrum chart.
            if (auto* graph = qobject_cast<QCPGraph*>(first)) {
                QVERIFY(graph->scatterStyle().isNone());
                QVERIFY(qobject_cast<QCPGraph*>(second)->scatterStyle().isNone());
            } else {
                QVERIFY(qobject_cast<QCPCurve*>(first) != nullptr);
                QVERIFY(qobject_cast<QCPCurve*>(first)->scatterStyle().isNone());
                QVERIFY(qobject_cast<QCPCurve*>(second)->scatterStyle().isNone());
            }
            // The series that follows the instant has a buffered layer of its own.
            QCOMPARE(second->layer(), chart->LiveLayer());
            QCOMPARE(chart->LiveLayer()->mode(), QCPLayer::lmBuffered);
            QCOMPARE(chart->legend->layer()->mode(), QCPLayer::lmBuffered);
            QCOMPARE(chart->xAxis->label(), QString::fromUtf8(c.xTitle));
            QCOMPARE(chart->yAxis->label(), QString::fromUtf8(c.yTitle));
            QCOMPARE(chart->plotLayout()->elementCount(), 1);  // no chart title
            QVERIFY(chart->legend->visible());
            QVERIFY(chart->axisRect()->insetLayout()->elements(false).contains(chart->legend));
            QTRY_VERIFY(chart->axisRect()->rect().contains(chart->legend->outerRect().center()));
            QVERIFY(chart->plottingHints().testFlag(QCP::phFastPolylines));
        }
        // The record chart's legend lies behind the traces, the spectrum chart's over them.
        QVERIFY(form->cht1->legend->layer()->index() <
                FindSeries(form, "lnsrsSeries1")->layer()->index());
        QVERIFY(form->cht2->legend->layer()->index() >
                FindSeries(form, "lnsrsSeries4")->layer()->index());
        ResponseChart* spectrum = form->cht2;
        QCOMPARE(spectrum->yAxis->range().lower, 0.0);
        QCOMPARE(spectrum->yAxis->basePen().color(), QColor(64, 64, 64));
        QCOMPARE(spectrum->yAxis->grid()->pen().color(), QColor(169, 169, 169));
        QCOMPARE(spectrum->yAxis->tickPen().color(), QColor(169, 169, 169));
        const QGradient* gradient = spectrum->Look().chartBrush.gradient();
        QVERIFY(gradient != nullptr);
        QCOMPARE(gradient->stops().front().second, QColor(234, 234, 234));
        QCOMPARE(gradient->stops().back().second, QColor(Qt::white));
        QVERIFY(spectrum->axisRect()->backgroundBrush().gradient() != nullptr);
    }

    void legendClickTogglesItsSeriesAndShowsTheState() {
        RecordChart* chart = form->cht1;
        QCPAbstractPlottable* red = FindSeries(form, "lnsrsSeries2");
        QCPPlottableLegendItem* entry = chart->LegendEntry(red);
        const QColor shown = entry->textColor();
        ClickLegendEntry(chart, red);
        QVERIFY(!IsShown(form, "lnsrsSeries2"));
        QVERIFY(chart->legend->hasItem(entry) && entry->visible());
        QVERIFY(entry->textColor().alphaF() < shown.alphaF());
        ClickLegendEntry(chart, red);
        QVERIFY(IsShown(form, "lnsrsSeries2"));
        QCOMPARE(entry->textColor(), shown);
    }

    void statusPanes() {
        const std::tuple<QLabel*, int, bool> panes[] = {
            {form->rzfldsts3, 93, true},
            {form->rzfldsts1, 167, true},
            {form->rzfldsts2, 111, true},
            {form->rzstspn1, 270, false},
        };
        int previousRight = -1;
        for (const auto& [pane, widthPx, bold] : panes) {
            QCOMPARE(pane->parentWidget(), form->rzstsbr2);
            QCOMPARE(pane->width(), widthPx);
            QCOMPARE(pane->font().bold(), bold);
            QVERIFY(pane->x() > previousRight);  // left to right
            previousRight = pane->geometry().right();
        }
        QCOMPARE(form->rzfldsts1->text(), QStringLiteral("  Welcome to my Website :      "));
        QCOMPARE(form->rzstsbr2->height(), 24);
    }

    void linkPaneHoverLook() {
        QLabel* link = form->rzfldsts2;
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(link, &enter);
        QVERIFY(link->font().bold() && link->font().underline());
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(link, &leave);
        QVERIFY(link->font().bold() && !link->font().underline());
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::black));
    }

    void resizingStretchesChartsAndTrackBarOnly() {
        const QRect lst1Before = form->lst1->geometry();
        const QRect cbb7Before = form->cbb7->geometry();
        form->resize(form->width() + 200, form->height() + 100);
        QTRY_COMPARE(form->centralWidget()->size(), QSize(1241, 809));
        QCOMPARE(form->trckbr1->geometry(), QRect(469, 8, 764, 26));
        QCOMPARE(form->cht1->geometry(), QRect(226, 40, 1007, 212));
        QCOMPARE(form->cht2->geometry(), QRect(231, 287, 1002, 517));
        QCOMPARE(form->lst1->geometry(), lst1Before);
        QCOMPARE(form->cbb7->geometry(), cbb7Before);
        QCOMPARE(form->rzstsbr2->geometry().bottom(), form->height() - 1);
        QCOMPARE(form->rzstsbr2->width(), form->width());
    }

    void programmaticListChangesNeverRunTheClickHandler() {
        // lst1Click clears the status pane's neighbours; a marker series point shows it ran.
        AddPoint(form, "lnsrsSeries1", 1.0, 1.0);
        form->lst1->addItem(QStringLiteral("a"));
        form->lst1->setCurrentRow(0);
        form->lst1->clear();
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 1);
    }
};

ORVANTA_UI_TEST_MAIN(WindowControlsTest)
#include "window_controls_test.moc"
