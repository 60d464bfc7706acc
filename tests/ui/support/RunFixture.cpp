// Helpers of the run, spectrum and playback tests.
#include "support/RunFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cmath>

#include "ui/CheckListBox.h"
#include "ui/Unit1.h"

std::vector<double> RunTestQuake(int sampleCount, double timeStepS) {
    std::vector<double> accG;
    accG.reserve(static_cast<std::size_t>(std::max(sampleCount, 0)));
    const double durationS = std::max(1, sampleCount - 1) * timeStepS;
    for (int i = 0; i < sampleCount; ++i) {
        const double t = i * timeStepS;
        const double rise = std::min(1.0, t / (0.2 * durationS));
        const double envelope = rise * std::exp(-2.0 * t / durationS);
        accG.push_back(envelope *
                       (0.2 * std::sin(2 * M_PI * t / 0.35) + 0.1 * std::sin(2 * M_PI * t / 1.3)));
    }
    return accG;
}

RunWindow::RunWindow() : form(MakeShownWindow()) {}

RunWindow::~RunWindow() {
    form.reset();
}

void RunWindow::LoadRecord(const QString& name, const std::vector<double>& samples,
                           double timeStepS) {
    InjectChosenFiles(form.get(), {WriteFile(folder, name, RecordText(samples, timeStepS))});
    ClickImport(form.get());
    ClickRecord(form.get(), form->lst1->count() - 1);
}

void RunWindow::LoadRecordInMemory(const QString& name, const std::vector<double>& samples,
                                   double timeStepS) {
    auto record = std::make_unique<TimeHistory>(name.toStdString(), timeStepS);
    for (double accG : samples) {
        record->AddSample(accG);
    }
    form->records.push_back(std::move(record));
    AddUncheckedItem(form->lst1, name);
    ClickRecord(form.get(), form->lst1->count() - 1);
}

void RunWindow::SetParameters(const QString& minPeriod, const QString& maxPeriod,
                              const QString& periodStep, const QString& dampingRatio) {
    form->edt1->setText(minPeriod);
    form->edt4->setText(maxPeriod);
    form->edt3->setText(periodStep);
    form->edt2->setText(dampingRatio);
}

void RunWindow::ClickRun() {
    QTest::mouseClick(form->btn3, Qt::LeftButton);
}

void RunWindow::RunFromEventLoop() {
    TForm1* window = form.get();
    QMetaObject::invokeMethod(
        window, [window] { window->btn3Click(); }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
}

void ChooseItem(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}
