// The time list (cbb2) of a record with 199,999 instants: filling it, opening its drop-down
// list, and the heap it holds meanwhile. Each fill and each opening is timed on its own
// (wall clock) and reported as min, median and max.
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <chrono>
#include <memory>
#include <vector>

#include "WindowBench.h"
#include "ui/InstantListModel.h"
#include "ui/Unit1.h"

namespace {

constexpr int kInstants = 199999;
constexpr double kTimeStepS = 0.01;
constexpr double kMiB = 1024.0 * 1024.0;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return 1e3 * std::chrono::duration<double>(Clock::now() - start).count();
}

// Watches for the first paint of the drop-down list's view.
class FirstPaint : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The window's own time list, as a run fills it (no analysis: only the list is measured).
std::unique_ptr<TForm1> ShownWindow() {
    auto form = std::make_unique<TForm1>();
    form->show();
    SettleEvents();
    return form;
}

void BM_TimeListFill(benchmark::State& state) {
    std::unique_ptr<TForm1> form = ShownWindow();
    InstantListModel* list = InstantListOf(form->cbb2);
    std::vector<double> fillMs;
    const double heapBefore = LiveHeapBytes();
    double heapFilled = heapBefore;
    for (auto _ : state) {
        form->cbb2->clear();  // as the run does before it fills
        const auto start = Clock::now();
        list->SetInstants(kInstants, kTimeStepS, form->decimalSeparator());
        form->cbb2->setCurrentIndex(0);
        fillMs.push_back(MillisecondsSince(start));
        heapFilled = LiveHeapBytes();
    }
    SetSpreadCounters(state, fillMs, "ms");
    state.counters["items"] = form->cbb2->count();
    state.counters["heap_MiB"] = (heapFilled - heapBefore) / kMiB;
}

BENCHMARK(BM_TimeListFill)->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_TimeListOpen(benchmark::State& state) {
    std::unique_ptr<TForm1> form = ShownWindow();
    const double heapBefore = LiveHeapBytes();
    InstantListOf(form->cbb2)->SetInstants(kInstants, kTimeStepS, form->decimalSeparator());
    form->cbb2->setCurrentIndex(kInstants / 2);
    double heapOpen = heapBefore;
    std::vector<double> openMs;
    for (auto _ : state) {
        FirstPaint paint;
        QWidget* viewport = form->cbb2->view()->viewport();
        viewport->installEventFilter(&paint);
        const auto start = Clock::now();
        form->cbb2->showPopup();
        QElapsedTimer limit;
        limit.start();
        while (!paint.painted && limit.elapsed() < 5000) {
            QCoreApplication::processEvents();
        }
        openMs.push_back(MillisecondsSince(start));
        heapOpen = std::max(heapOpen, LiveHeapBytes());
        viewport->removeEventFilter(&paint);
        state.PauseTiming();
        form->cbb2->hidePopup();
        SettleEvents();
        state.ResumeTiming();
    }
    SetSpreadCounters(state, openMs, "ms");
    state.counters["heap_MiB"] = (heapOpen - heapBefore) / kMiB;
}

BENCHMARK(BM_TimeListOpen)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv);
}
