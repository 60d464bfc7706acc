// The main window: its controls, the records, the result store and every event handler.
#pragma once

#include <QMainWindow>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "engine/ResultStore.h"
#include "records/RecordReader.h"
#include "records/Units.h"
#include "ui/ChartDataText.h"

class QComboBox;
class QCPCurve;
class QCPGraph;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;
class QSlider;
class QStatusBar;
class QTimer;
class OscillatorWindow;
class RecordChart;
class ResponseChart;
struct ChartReadout;

class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Members besides the controls, in declaration order.
    double gravity = kGravity;  // 1 g in cm/s2
    RecordList records;         // the imported records, in the order of lst1
    ResultStore results;        // currentRecord, grids and the five histories
    int animationStep = 1;      // track-bar positions per timer tick
    AnalysisSettings lastRun;   // parameters of the run whose results the store holds

    // Returns the paths chosen in the open-file dialog, in the dialog's order; an empty
    // list when the user cancels. Tests replace it to inject files without a modal dialog.
    std::function<QStringList()> chooseFiles;

    // The open-file dialog of one import: a fresh dialog with dlgOpen1's filter, selection
    // mode and folder, so that nothing of an earlier dialog (a completion popup left over a
    // chart) outlives it. ChooseFilesWith runs it modally, keeps its last folder in dlgOpen1
    // for the next import (in memory only) and returns the chosen paths, or none on cancel.
    std::unique_ptr<QFileDialog> NewOpenDialog();
    QStringList ChooseFilesWith(QFileDialog& dialog);

    // Controls, named as in the window's design; each objectName equals the member name.
    QMenu* mniImportData1 = nullptr;  // "File"
    QMenu* mniAbout1 = nullptr;       // "Help"
    QAction* mniAbout2 = nullptr;
    QAction* mniDonation1 = nullptr;
    QAction* mniHomePage1 = nullptr;
    QAction* mniHowtouse1 = nullptr;
    QAction* mniSoftware1 = nullptr;

    QGroupBox* grp1 = nullptr;
    QLabel* lbl11 = nullptr;
    QLineEdit* edt5 = nullptr;
    QLabel* lbl10 = nullptr;
    QComboBox* cbb1 = nullptr;
    QPushButton* btn1 = nullptr;
    QListWidget* lst1 = nullptr;

    QGroupBox* grp3 = nullptr;
    QLabel* lbl5 = nullptr;
    QLineEdit* edt1 = nullptr;
    QLabel* lbl9 = nullptr;
    QLineEdit* edt4 = nullptr;
    QLabel* lbl3 = nullptr;
    QLineEdit* edt3 = nullptr;
    QLabel* lbl8 = nullptr;
    QLineEdit* edt2 = nullptr;
    QPushButton* btn3 = nullptr;

    QGroupBox* grp2 = nullptr;
    QLabel* lbl6 = nullptr;
    QComboBox* cbb3 = nullptr;
    QPushButton* btn6 = nullptr;
    QPushButton* btn7 = nullptr;
    QPushButton* btn4 = nullptr;
    QPushButton* btn5 = nullptr;

    QLabel* lbl4 = nullptr;
    QComboBox* cbb2 = nullptr;
    QLabel* lbl7 = nullptr;
    QSlider* trckbr1 = nullptr;

    RecordChart* cht1 = nullptr;
    QCPGraph* lnsrsSeries1 = nullptr;  // whole selected record
    QCPGraph* lnsrsSeries2 = nullptr;  // analysed record up to the selected instant (red)

    QLabel* lbl1 = nullptr;
    QComboBox* cbb5 = nullptr;  // abscissa choice
    QLabel* lbl2 = nullptr;
    QComboBox* cbb7 = nullptr;  // ordinate choice

    ResponseChart* cht2 = nullptr;
    QCPCurve* lnsrsSeries3 = nullptr;  // spectrum of the whole record
    QCPCurve* lnsrsSeries4 = nullptr;  // spectrum at the selected instant (red)

    QStatusBar* rzstsbr2 = nullptr;
    QLabel* rzfldsts3 = nullptr;  // author credit
    QLabel* rzfldsts1 = nullptr;  // introduces the link
    QLabel* rzfldsts2 = nullptr;  // link to the project page
    QLabel* rzstspn1 = nullptr;   // status text

    QFileDialog* dlgOpen1 = nullptr;
    QFileDialog* dlgSave1 = nullptr;
    QTimer* tmr1 = nullptr;

    // Import and record selection.
    void btn1Click();
    void lst1Click();
    void ClearRecords();

    // Record plot.
    void PlotRecord();
    void PlotRecordToInstant();

    // Run Analysis.
    void btn3Click();

    // Spectrum plot.
    void RefreshSpectrumPlot();
    void PlotSpectrumAt(int instantIndex, int seriesIndex, int abscissaChoice, int ordinateChoice,
                        const QString& title);
    void cbb5Change();
    void cbb7Change();

    // Time selection and animation.
    void cbb2Change();
    void trckbr1Change();
    void tmr1Timer();
    void btn6Click();
    void btn7Click();
    void cbb3Change();
    void SetAnimationSpeed(int speed);
    void btn4Click();
    void btn5Click();

    // The charts' read-outs, copied data and menu entries (Unit1ChartData.cpp).
    void ConnectChartData();
    std::optional<ChartReadout> RecordReadoutAt(QPointF pixelPos) const;
    std::optional<ChartReadout> SpectrumReadoutAt(QPointF pixelPos) const;
    QString RecordCopyText() const;
    QString SpectrumCopyText() const;
    QString AllQuantitiesCopyText() const;
    void AddSpectrumMenuEntries(QMenu& menu, QPointF pixelPos);
    void CopyAllQuantities();
    // Ctrl+C in the window: "Copy data" of the chart that has the focus, else of the one
    // under the pointer.
    void CopyChartData();
    // Both charts back to their automatic ranges (a new run, an import, a record click).
    void ResetChartZoom();
    // The instant the spectrum chart shows: its row in the store and its time (s).
    std::optional<SpectrumInstant> ShownInstant() const;
    // Oscillator inspector: one period of the run over the whole record, in a tool window.
    // Opens it for grid period periodIndex, or shows that period in the open one; nothing
    // without results or for an index past the grid.
    void InspectPeriod(std::size_t periodIndex);
    // Closes the inspector, if open; its results go with it.
    void CloseInspector();
    OscillatorWindow* Inspector() const;
    std::optional<std::size_t> InspectedPeriod() const { return inspectedPeriod; }
    // The grid period nearest to pixelPos on cht2: by the abscissa alone for period and
    // frequency, by the distance in pixels to the points of both spectra for displacement.
    // None without results.
    std::optional<std::size_t> NearestGridPeriod(QPointF pixelPos) const;
    // cht2's context-menu entry "Inspect period…" for the period nearest to pixelPos.
    void AddInspectMenuEntry(QMenu& menu, QPointF pixelPos);

    // Information dialogs.
    void mniAbout2Click();
    void mniDonation1Click();
    void OpenProjectPage();

    // The user's locale decimal separator, for number conversion and formatting.
    char decimalSeparator() const;

  private:
    void createControls();
    void connectHandlers();
    bool tickRunning = false;  // a tick arriving while one runs returns at once

    // Parts of createControls, one per region of the window.
    void createMenus();
    void createRecordGroup(QWidget* parent);
    void createParameterGroup(QWidget* parent);
    void createAnimationGroup(QWidget* parent);
    void createTimeControls(QWidget* parent);
    void createCharts(QWidget* parent);
    void createStatusPanes();
    void createDialogsAndTimer();
    void anchorStretchingControls(QWidget* central);

    // Runs a handler connected to a control and shows what escapes it on the error
    // display. Catching at the handler keeps exceptions out of Qt's widget code, which is
    // built without exception support and would leak or lose state when unwound.
    void RunHandler(void (TForm1::*handler)());

    // Brings the inspector in step with the instant and the ordinate, and rings its period
    // on cht2 (before cht2 paints).
    void FollowInspector();
    // Opens the inspector for the period nearest to a click on cht2's plot area.
    void cht2PlotClicked(QPointF pixelPos);
    // The inspector is closing: its ring on cht2 goes.
    void InspectorClosing();
    QPointer<OscillatorWindow> inspector;
    std::optional<std::size_t> inspectedPeriod;
    int inspectedQuantity = -1;  // ordinate choice whose running maximum the inspector shows

    // Removes every point of the four chart series (import and record selection).
    void ClearChartSeries();
    // Appends the names of all records to lst1, unchecked, none selected.
    void ListRecords();
};

// The one main window, set in main.
extern TForm1* Form1;
