// Playback: one instant near the end of a long record (the track bar set, both charts painted),
// forward as playback goes, the same with the oscillator inspector open, back and forth as a
// user scrubs, and the pace the window's own timer reaches at speed 10; rendered on the
// offscreen platform.
// Each instant's time is taken separately, in wall-clock and in thread CPU time (the machine
// may be shared), and reported as min, median and max.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "WindowBench.h"
#include "ui/OscillatorChart.h"
#include "ui/OscillatorWindow.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;
// The period the inspector shows, as a grid index of the window's default grid: 1 s.
constexpr std::size_t kInspectedPeriod = 49;

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// One instant near the end: the track bar moved by one position as a playback tick moves it
// (forward through the last instants, back to their start outside the timing), or, with
// alternate set, back and forth between two neighbouring instants as a user scrubbing does.
void MeasureInstants(benchmark::State& state, bool alternate, bool inspect = false) {
    const int sampleCount = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form =
        AnalysedWindow(WriteBenchRecord(folder, sampleCount, kTimeStepS));
    if (inspect) {
        form->InspectPeriod(kInspectedPeriod);
    }
    PaintCounter counter;
    std::vector<QCustomPlot*> charts = {form->cht1, form->cht2};
    if (inspect) {
        charts.push_back(form->Inspector()->Chart());
    }
    int fullReplots = 0;
    for (QCustomPlot* chart : charts) {
        chart->installEventFilter(&counter);
        QObject::connect(chart, &QCustomPlot::afterReplot, [&fullReplots] { ++fullReplots; });
    }
    const int last = form->trckbr1->maximum();
    const int first = std::max(0, last - 1000);
    form->trckbr1->setValue(first);
    SettleEvents();
    std::vector<double> wallMs, cpuMs;
    int step = 0;
    int measured = 0;
    const int paintsBefore = counter.paints;
    for (auto _ : state) {
        const int next = alternate ? last - 1 - (step++ % 2) : form->trckbr1->value() + 1;
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        const double cpuStart = ThreadCpuSeconds();
        form->trckbr1->setValue(next);  // both charts paint inside, synchronously
        cpuMs.push_back(1e3 * (ThreadCpuSeconds() - cpuStart));
        wallMs.push_back(1e3 * std::chrono::duration<double>(Clock::now() - start).count());
        ++measured;
        state.PauseTiming();
        QCoreApplication::processEvents();  // whatever the instant left queued, untimed
        if (!alternate && form->trckbr1->value() == last) {
            const int paints = counter.paints;
            const int replots = fullReplots;
            form->trckbr1->setValue(first);
            SettleEvents();
            counter.paints = paints;  // the jump back is not a measured instant
            fullReplots = replots;
        }
        state.ResumeTiming();
    }
    SetSpreadCounters(state, wallMs, "ms");
    SetSpreadCounters(state, cpuMs, "cpu_ms");
    state.counters["paints_per_instant"] = (counter.paints - paintsBefore) / double(measured);
    state.counters["full_replots_per_instant"] = fullReplots / double(measured);
    state.counters["red_points"] = static_cast<double>(form->lnsrsSeries2->dataCount());
}

void BM_PlaybackInstant(benchmark::State& state) {
    MeasureInstants(state, false);
}

void BM_ScrubInstant(benchmark::State& state) {
    MeasureInstants(state, true);
}

BENCHMARK(BM_PlaybackInstant)
    ->Arg(4000)
    ->Arg(20000)
    ->Arg(60000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// The same playback with the oscillator inspector open: its chart moves its instant line too.
void BM_PlaybackInstantInspected(benchmark::State& state) {
    MeasureInstants(state, false, true);
}

BENCHMARK(BM_PlaybackInstantInspected)
    ->Arg(4000)
    ->Arg(60000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

BENCHMARK(BM_ScrubInstant)->Arg(60000)->Arg(200000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The window's own timer at speed 10 (1 ms, one instant a tick) for two seconds from the
// middle of the record: instants shown per second, as the user gets them.
void BM_TimerPlayback(benchmark::State& state) {
    const int sampleCount = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form =
        AnalysedWindow(WriteBenchRecord(folder, sampleCount, kTimeStepS));
    form->SetAnimationSpeed(10);
    int shown = 0;
    QObject::connect(form->trckbr1, &QSlider::valueChanged, [&shown] { ++shown; });
    constexpr int kWindowMs = 2000;
    std::vector<double> rates;
    for (auto _ : state) {
        form->trckbr1->setValue(form->trckbr1->maximum() / 2);
        SettleEvents();
        shown = 0;
        QEventLoop loop;
        QTimer::singleShot(kWindowMs, &loop, &QEventLoop::quit);
        form->btn6Click();
        loop.exec();
        form->btn7Click();
        rates.push_back(shown * 1000.0 / kWindowMs);
    }
    SetSpreadCounters(state, rates, "instants_per_s");
}

BENCHMARK(BM_TimerPlayback)->Arg(60000)->Iterations(5)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv);
}
