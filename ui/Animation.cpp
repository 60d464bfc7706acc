// Time selection and playback: the instant list, the track bar, the timer and its speed.
#include <QComboBox>
#include <QCoreApplication>
#include <QSlider>
#include <QTimer>
#include <algorithm>

#include "ui/Unit1.h"

namespace {

// Sets a flag for its lifetime and clears it on every way out, an exception included.
class FlagGuard {
  public:
    explicit FlagGuard(bool& flag) : flag(flag) { flag = true; }
    ~FlagGuard() { flag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

  private:
    bool& flag;
};

}  // namespace

void TForm1::cbb2Change() {
    const int index = cbb2->currentIndex();
    if (index >= 0) {
        trckbr1->setValue(index);  // runs trckbr1Change when the position moves
    }
    PlotRecordToInstant();
    RefreshSpectrumPlot();
}

void TForm1::trckbr1Change() {
    if (cbb2->count() == 0) {
        return;
    }
    cbb2->setCurrentIndex(trckbr1->value());  // no activated signal: cbb2Change does not run
    // No separate clear of the red trace and the two spectra: both redraws below replace
    // their series' points (the red trace by the samples between the two instants), which
    // ends in the same state without a paint of the empty series in between.
    PlotRecordToInstant();
    RefreshSpectrumPlot();
}

void TForm1::tmr1Timer() {
    // Processing pending events below may dispatch the next tick before this one returns;
    // when drawing an instant takes longer than the interval that nesting would deepen
    // with every tick, so a tick arriving during another returns at once.
    if (tickRunning) {
        return;
    }
    const FlagGuard running(tickRunning);
    const int next = trckbr1->value() + animationStep;
    trckbr1->setValue(next > trckbr1->maximum() ? trckbr1->minimum() : next);
    QCoreApplication::processEvents();
}

void TForm1::btn6Click() {
    tmr1->start();
}

void TForm1::btn7Click() {
    tmr1->stop();
}

void TForm1::cbb3Change() {
    SetAnimationSpeed(cbb3->currentText().toInt());
    QCoreApplication::processEvents();
}

void TForm1::SetAnimationSpeed(int speed) {
    // The list offers 1 to 20; anything else is held to that range so that the interval's
    // integer division never divides by zero.
    const int clamped = std::clamp(speed, 1, 20);
    animationStep = clamped > 10 ? clamped - 9 : 1;
    tmr1->setInterval(clamped < 10 ? 10 / clamped : 1);
}

void TForm1::btn4Click() {}

void TForm1::btn5Click() {}
