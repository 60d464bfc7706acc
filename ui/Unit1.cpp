// The main window: construction of every control with its designed place and defaults,
// the event wiring, and destruction in ownership order.
#include "ui/Unit1.h"

#include <qcustomplot.h>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include "engine/AnalysisSettings.h"
#include "records/NumberText.h"
#include "records/Units.h"
#include "ui/CheckListBox.h"
#include "ui/EdgeAnchors.h"
#include "ui/ErrorDisplay.h"
#include "ui/InstantListModel.h"
#include "ui/ParameterText.h"
#include "ui/ProductInfo.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"

TForm1* Form1 = nullptr;

namespace {

// The designed client area (px at 96 dpi) and the status bar's height within it.
constexpr int kClientWidthPx = 1041;
constexpr int kClientHeightPx = 733;
constexpr int kStatusBarHeightPx = 24;
constexpr int kListItemHeightPx = 17;
// The margin the design keeps between the controls and the client area's edges.
constexpr int kControlMarginPx = 8;

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int leftPx, int topPx) {
    auto* label = Named(new QLabel(text, parent), name);
    label->move(leftPx, topPx);
    label->adjustSize();
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* edit = Named(new QLineEdit(text, parent), name);
    edit->setGeometry(geometry);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* button = Named(new QPushButton(text, parent), name);
    button->setGeometry(geometry);
    return button;
}

QComboBox* MakeCombo(QWidget* parent, const char* name, const QStringList& items, int index,
                     QRect geometry) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->setEditable(false);
    combo->addItems(items);
    combo->setCurrentIndex(index);
    combo->setGeometry(geometry);
    return combo;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title, QRect geometry) {
    auto* group = Named(new QGroupBox(title, parent), name);
    group->setGeometry(geometry);
    return group;
}

template <class Chart>
Chart* MakeChart(QWidget* parent, const char* name, QRect geometry) {
    auto* chart = Named(new Chart(parent), name);
    chart->setGeometry(geometry);
    return chart;
}

// Tahoma 8 pt where installed. The designed places leave room for Tahoma's narrow
// letters, so fonts of similar width come next; then the default sans-serif, quietly.
QFont WindowFont() {
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The acceleration units of the record files, then the empty fifth item (read as g).
QStringList UnitListItems() {
    QStringList items;
    for (const AccelerationUnit& unit : kAccelerationUnits) {
        items << QString::fromUtf8(unit.listText.data(),
                                   static_cast<qsizetype>(unit.listText.size()));
    }
    items << QString();
    return items;
}

// A default parameter as the user would type it: "0.02", "6".
QString NumberText(double value) {
    return QString::fromStdString(FormatGeneral(value));
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      results([](const std::string& message) { ShowMessage(QString::fromUtf8(message)); }) {
    createControls();  // records, grids and histories start empty, currentRecord none
    setWindowTitle(QString::fromUtf8(kProductName) + QString::fromUtf8(kBuildStamp));
    gravity = kGravity;
    dlgOpen1->setDirectory(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    animationStep = 1;
    connectHandlers();
    ConnectChartData();
    SetAnimationSpeed(cbb3->currentText().toInt());
}

TForm1::~TForm1() {
    // Controls are destroyed by the QWidget base after the members; no handler may run
    // on this half-destroyed window while they go.
    tmr1->stop();
    for (QObject* child : findChildren<QObject*>()) {
        child->disconnect(this);
    }
    // Members go in reverse declaration order: the histories' rows and the grids
    // (results), then every record (records), then the controls.
    results.currentRecord = nullptr;
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

char TForm1::decimalSeparator() const {
    return LocaleDecimalSeparator();
}

void TForm1::createControls() {
    setFont(WindowFont());
    // The controls keep their designed places on one page; on a screen too small for its
    // smallest size the page scrolls instead of hiding controls.
    auto* page = Named(new QScrollArea(this), "centralScroll");
    page->setFrameShape(QFrame::NoFrame);
    page->setWidgetResizable(true);
    auto* central = Named(new QWidget(page), "central");
    page->setWidget(central);
    setCentralWidget(page);
    createMenus();
    createRecordGroup(central);
    createParameterGroup(central);
    createAnimationGroup(central);
    createTimeControls(central);
    createCharts(central);
    rzstsbr2 = Named(new QStatusBar(this), "rzstsbr2");
    rzstsbr2->setFixedHeight(kStatusBarHeightPx);
    setStatusBar(rzstsbr2);
    createStatusPanes();
    createDialogsAndTimer();
    resize(kClientWidthPx, menuBar()->sizeHint().height() + kClientHeightPx);
    anchorStretchingControls(central);
}

void TForm1::createMenus() {
    mniImportData1 = Named(menuBar()->addMenu(QStringLiteral("File")), "mniImportData1");
    mniAbout1 = Named(menuBar()->addMenu(QStringLiteral("Help")), "mniAbout1");
    mniAbout2 = Named(mniAbout1->addAction(QStringLiteral("About")), "mniAbout2");
    mniDonation1 = Named(mniAbout1->addAction(QStringLiteral("Donation(捐助)")), "mniDonation1");
    mniHomePage1 = Named(mniAbout1->addAction(QStringLiteral("Home Page")), "mniHomePage1");
    mniHowtouse1 =
        Named(mniAbout1->addAction(QStringLiteral("使用帮助 How to use?")), "mniHowtouse1");
    mniSoftware1 = Named(mniAbout1->addAction(QStringLiteral("More Software")), "mniSoftware1");
}

void TForm1::createRecordGroup(QWidget* parent) {
    grp1 = MakeGroup(parent, "grp1", QStringLiteral("Time History Records (双列)"),
                     QRect(8, 8, 212, 271));
    lbl11 = MakeLabel(grp1, "lbl11", QStringLiteral("Begin Line"), 13, 22);
    edt5 = MakeEdit(grp1, "edt5", QStringLiteral("2"), QRect(77, 19, 122, 21));
    lbl10 = MakeLabel(grp1, "lbl10", QStringLiteral("Acc. Unit"), 13, 49);
    cbb1 = MakeCombo(grp1, "cbb1", UnitListItems(), 0, QRect(77, 46, 122, 21));
    btn1 = MakeButton(grp1, "btn1", QStringLiteral("Import Data"), QRect(13, 73, 186, 25));
    auto* list = Named(new CheckListBox(kListItemHeightPx, grp1), "lst1");
    list->setGeometry(13, 104, 186, 151);
    lst1 = list;
}

void TForm1::createParameterGroup(QWidget* parent) {
    grp3 = MakeGroup(parent, "grp3", QStringLiteral("反应谱计算参数"), QRect(8, 285, 210, 133));
    lbl5 = MakeLabel(grp3, "lbl5", QStringLiteral("Min. Period (s)"), 21, 21);
    const AnalysisSettings defaults;
    edt1 = MakeEdit(grp3, "edt1", NumberText(defaults.minPeriod), QRect(121, 19, 67, 21));
    lbl9 = MakeLabel(grp3, "lbl9", QStringLiteral("Max. Period (s)"), 21, 46);
    edt4 = MakeEdit(grp3, "edt4", NumberText(defaults.maxPeriod), QRect(121, 44, 67, 21));
    lbl3 = MakeLabel(grp3, "lbl3", QStringLiteral("Period Step  (s)"), 21, 71);
    edt3 = MakeEdit(grp3, "edt3", NumberText(defaults.periodStep), QRect(121, 69, 67, 21));
    lbl8 = MakeLabel(grp3, "lbl8", QStringLiteral("Damping Ratio "), 21, 96);
    edt2 = MakeEdit(grp3, "edt2", NumberText(defaults.dampingRatio), QRect(121, 96, 67, 21));
    btn3 = MakeButton(parent, "btn3", QStringLiteral("Run Analysis"), QRect(8, 424, 211, 25));
}

void TForm1::createAnimationGroup(QWidget* parent) {
    grp2 = MakeGroup(parent, "grp2", QStringLiteral("动画"), QRect(8, 455, 210, 86));
    lbl6 = MakeLabel(grp2, "lbl6", QStringLiteral("Animation Speed"), 9, 23);
    QStringList speeds;
    for (int speed = 1; speed <= 20; ++speed) {
        speeds << QString::number(speed);
    }
    cbb3 = MakeCombo(grp2, "cbb3", speeds, speeds.indexOf(QStringLiteral("10")),
                     QRect(95, 20, 107, 21));
    btn6 = MakeButton(grp2, "btn6", QStringLiteral("运行动画"), QRect(8, 50, 94, 25));
    btn7 = MakeButton(grp2, "btn7", QStringLiteral("停止动画"), QRect(107, 50, 95, 25));
    btn4 =
        MakeButton(parent, "btn4", QStringLiteral("Export Plot1 to Excel"), QRect(8, 547, 210, 25));
    btn5 =
        MakeButton(parent, "btn5", QStringLiteral("Export Plot2 to Excel"), QRect(8, 579, 210, 25));
}

void TForm1::createTimeControls(QWidget* parent) {
    lbl4 = MakeLabel(parent, "lbl4", QStringLiteral("Total Analysis Time"), 231, 11);
    cbb2 = MakeCombo(parent, "cbb2", {}, -1, QRect(328, 8, 104, 21));
    MakeInstantList(cbb2);
    lbl7 = MakeLabel(parent, "lbl7", QStringLiteral("Step"), 441, 11);
    trckbr1 = Named(new QSlider(Qt::Horizontal, parent), "trckbr1");
    trckbr1->setRange(1, 10);
    trckbr1->setValue(1);
    trckbr1->setPageStep(1);
    trckbr1->setGeometry(469, 8, 564, 26);
}

void TForm1::createCharts(QWidget* parent) {
    cht1 = MakeChart<RecordChart>(parent, "cht1", QRect(226, 40, 807, 212));
    lnsrsSeries1 = Named(cht1->WholeRecord(), "lnsrsSeries1");
    lnsrsSeries2 = Named(cht1->Trace(), "lnsrsSeries2");
    lbl1 = MakeLabel(parent, "lbl1", QStringLiteral("X Axis"), 232, 263);
    cbb5 = MakeCombo(
        parent, "cbb5",
        {QStringLiteral("Period"), QStringLiteral("Frequency"), QStringLiteral("Displacement")}, 0,
        QRect(267, 258, 189, 21));
    lbl2 = MakeLabel(parent, "lbl2", QStringLiteral("Y Axis"), 477, 263);
    cbb7 = MakeCombo(
        parent, "cbb7",
        {QStringLiteral("Displacement"), QStringLiteral("Velocity"), QStringLiteral("Acceleration"),
         QStringLiteral("Pseudo-Velocity"), QStringLiteral("Pseudo-Acceleration")},
        0, QRect(512, 258, 186, 21));
    cht2 = MakeChart<ResponseChart>(parent, "cht2", QRect(231, 287, 802, 417));
    lnsrsSeries3 = Named(cht2->WholeRecord(), "lnsrsSeries3");
    lnsrsSeries4 = Named(cht2->AtInstant(), "lnsrsSeries4");
}

void TForm1::createDialogsAndTimer() {
    dlgOpen1 = Named(new QFileDialog(this), "dlgOpen1");
    dlgOpen1->setNameFilter(QStringLiteral("All Files (*)"));
    dlgOpen1->setFileMode(QFileDialog::ExistingFiles);
    dlgOpen1->setSizeGripEnabled(true);
    chooseFiles = [this] {
        const std::unique_ptr<QFileDialog> dialog = NewOpenDialog();
        RefuseModalOnOffscreen(QStringLiteral("open-file dialog"));
        return ChooseFilesWith(*dialog);
    };
    dlgSave1 = Named(new QFileDialog(this), "dlgSave1");
    dlgSave1->setAcceptMode(QFileDialog::AcceptSave);
    dlgSave1->setNameFilters({QStringLiteral("CSV Files (*csv)"),
                              QStringLiteral("TXT(*txt) (*txt)"),
                              QStringLiteral("Excel 97-2003 工作簿(*.xls) (*.xls)")});
    tmr1 = Named(new QTimer(this), "tmr1");
    tmr1->stop();
}

std::unique_ptr<QFileDialog> TForm1::NewOpenDialog() {
    auto dialog = std::make_unique<QFileDialog>(this);
    dialog->setNameFilters(dlgOpen1->nameFilters());
    dialog->setFileMode(dlgOpen1->fileMode());
    dialog->setOptions(dlgOpen1->options());
    dialog->setSizeGripEnabled(dlgOpen1->isSizeGripEnabled());
    dialog->setDirectory(dlgOpen1->directory());
    return dialog;
}

QStringList TForm1::ChooseFilesWith(QFileDialog& dialog) {
    const bool accepted = dialog.exec() == QDialog::Accepted;
    dlgOpen1->setDirectory(dialog.directory());  // the next import opens where this one ended
    return accepted ? dialog.selectedFiles() : QStringList();
}

void TForm1::anchorStretchingControls(QWidget* central) {
    auto* anchors =
        new EdgeAnchors(central, QSize(kClientWidthPx, kClientHeightPx - kStatusBarHeightPx));
    anchors->Add(trckbr1, true, false);
    anchors->Add(cht1, true, false);
    anchors->Add(cht2, true, true);
    // The smallest window shows every control whole: nothing slides under the status bar.
    central->setMinimumSize(anchors->MinimumContainerSize(kControlMarginPx));
    setMinimumSize(central->minimumSize() +
                   QSize(0, menuBar()->sizeHint().height() + kStatusBarHeightPx));
}

void TForm1::RunHandler(void (TForm1::*handler)()) {
    ShowingErrors([this, handler] { (this->*handler)(); });
}

void TForm1::connectHandlers() {
    const auto run = [this](void (TForm1::*handler)()) {
        return [this, handler] { RunHandler(handler); };
    };
    connect(btn1, &QPushButton::clicked, this, run(&TForm1::btn1Click));
    connect(lst1, &QListWidget::itemClicked, this, run(&TForm1::lst1Click));
    static_cast<CheckListBox*>(lst1)->onKeyboardMove = run(&TForm1::lst1Click);
    connect(btn3, &QPushButton::clicked, this, run(&TForm1::btn3Click));
    connect(cbb5, &QComboBox::activated, this, run(&TForm1::cbb5Change));
    connect(cbb7, &QComboBox::activated, this, run(&TForm1::cbb7Change));
    connect(cbb2, &QComboBox::activated, this, run(&TForm1::cbb2Change));
    connect(trckbr1, &QSlider::valueChanged, this, run(&TForm1::trckbr1Change));
    connect(tmr1, &QTimer::timeout, this, run(&TForm1::tmr1Timer));
    connect(btn6, &QPushButton::clicked, this, run(&TForm1::btn6Click));
    connect(btn7, &QPushButton::clicked, this, run(&TForm1::btn7Click));
    connect(cbb3, &QComboBox::activated, this, run(&TForm1::cbb3Change));
    connect(btn4, &QPushButton::clicked, this, run(&TForm1::btn4Click));
    connect(btn5, &QPushButton::clicked, this, run(&TForm1::btn5Click));
    connect(mniAbout2, &QAction::triggered, this, run(&TForm1::mniAbout2Click));
    connect(mniDonation1, &QAction::triggered, this, run(&TForm1::mniDonation1Click));
    connect(mniHomePage1, &QAction::triggered, this, run(&TForm1::OpenProjectPage));
    connect(mniHowtouse1, &QAction::triggered, this, run(&TForm1::OpenProjectPage));
    connect(mniSoftware1, &QAction::triggered, this, run(&TForm1::OpenProjectPage));
    connect(cht2, &ChartWidget::plotClicked, this,
            [this](QPointF pixelPos) { ShowingErrors([&] { cht2PlotClicked(pixelPos); }); });
}

void TForm1::ClearChartSeries() {
    for (QCPAbstractPlottable* series : std::initializer_list<QCPAbstractPlottable*>{
             lnsrsSeries1, lnsrsSeries2, lnsrsSeries3, lnsrsSeries4}) {
        ClearSeries(series);
    }
    ResetChartZoom();
}
