// What a user sees: how long the window's own timer takes to play a whole record through
// once, from its first instant until it wraps back, at the speeds of the list (1 to 20).
// The record is ORVANTA_BENCH_RECORD when set (a record file, begin line 2, in g), else a
// synthetic one as long as Chino Hills 2008 (16,396 samples at 0.005 s). One play-through
// per repetition; pass --benchmark_repetitions for a spread.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSlider>
#include <QTemporaryDir>
#include <memory>

#include "WindowBench.h"
#include "ui/Unit1.h"

namespace {

constexpr int kSyntheticSamples = 16396;
constexpr double kSyntheticStepS = 0.005;

void BM_PlayThrough(benchmark::State& state) {
    const int speed = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    const QString given = qEnvironmentVariable("ORVANTA_BENCH_RECORD");
    std::unique_ptr<TForm1> form = AnalysedWindow(
        given.isEmpty() ? WriteBenchRecord(folder, kSyntheticSamples, kSyntheticStepS) : given);
    form->cbb3->setCurrentIndex(speed - 1);
    form->cbb3Change();
    const int instants = form->cbb2->count();
    int shown = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        form->trckbr1->setValue(0);
        SettleEvents();
        shown = 0;
        QEventLoop loop;
        const auto connection =
            QObject::connect(form->trckbr1, &QSlider::valueChanged, [&](int position) {
                if (position == 0) {
                    loop.quit();  // wrapped: the whole record has been played
                } else {
                    ++shown;
                }
            });
        QElapsedTimer clock;
        clock.start();
        form->btn6Click();
        loop.exec();
        seconds = clock.nsecsElapsed() * 1e-9;
        form->btn7Click();
        QObject::disconnect(connection);
        state.SetIterationTime(seconds);
    }
    const double recordS = instants * form->records[0]->GetTimeStep();
    state.counters["instants"] = instants;
    state.counters["shown"] = shown;
    state.counters["play_s"] = seconds;
    state.counters["record_s"] = recordS;
    state.counters["shown_per_s"] = shown / seconds;
    state.counters["times_real_time"] = recordS / seconds;
}

BENCHMARK(BM_PlayThrough)
    ->Arg(1)
    ->Arg(10)
    ->Arg(20)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv);
}
