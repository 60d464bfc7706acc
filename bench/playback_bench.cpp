// One instant of playback: the series updates of both charts and a repaint of both, for a
// record analysed with the default grid, rendered on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QListWidget>
#include <QSlider>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "ui/ErrorDisplay.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;

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

// A record file of sampleCount samples (g) at 0.01 s: two sines under an envelope.
QString WriteRecord(const QTemporaryDir& folder, int sampleCount) {
    const QString path = folder.filePath(QStringLiteral("bench.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qUtf8Printable(path));
    }
    file.write("time acc\n");
    const double durationS = (sampleCount - 1) * kTimeStepS;
    for (int i = 0; i < sampleCount; ++i) {
        const double t = i * kTimeStepS;
        const double accG =
            std::min(1.0, t / (0.2 * durationS)) * std::exp(-2 * t / durationS) *
            (0.2 * std::sin(2 * M_PI * t / 0.35) + 0.1 * std::sin(2 * M_PI * t / 1.3));
        file.write(QByteArray::number(t, 'g', 10) + ' ' + QByteArray::number(accG, 'g', 10) + '\n');
    }
    return path;
}

// The window after import, highlight and a run with the default parameters.
std::unique_ptr<TForm1> AnalysedWindow(const QTemporaryDir& folder, int sampleCount) {
    auto form = std::make_unique<TForm1>();
    const QString path = WriteRecord(folder, sampleCount);
    form->chooseFiles = [path] { return QStringList{path}; };
    form->resize(1041, 733);
    form->show();
    form->btn1Click();
    form->lst1->setCurrentRow(0);
    form->lst1Click();
    form->btn3Click();
    QCoreApplication::processEvents();
    return form;
}

// Processes events until both chart views have painted once more (bounded).
void RepaintCharts(PaintCounter& counter) {
    const int target = counter.paints + 2;
    for (int round = 0; round < 20 && counter.paints < target; ++round) {
        QCoreApplication::processEvents();
    }
}

void BM_PlaybackInstant(benchmark::State& state) {
    const int sampleCount = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form = AnalysedWindow(folder, sampleCount);
    PaintCounter counter;
    form->cht1->installEventFilter(&counter);
    form->cht2->installEventFilter(&counter);
    const int last = form->trckbr1->maximum();
    double updateS = 0, paintS = 0;
    int step = 0;
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        // Two instants near the end, alternately, so that every iteration moves the instant.
        form->trckbr1->setValue(last - 1 - (step++ % 2));
        const auto updated = Clock::now();
        RepaintCharts(counter);
        const auto painted = Clock::now();
        updateS += std::chrono::duration<double>(updated - start).count();
        paintS += std::chrono::duration<double>(painted - updated).count();
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["update_ms"] = 1e3 * updateS / iterations;
    state.counters["repaint_ms"] = 1e3 * paintS / iterations;
    state.counters["paints_per_instant"] = counter.paints / iterations;
    state.counters["red_points"] = static_cast<double>(form->lnsrsSeries2->dataCount());
}

BENCHMARK(BM_PlaybackInstant)->Arg(4000)->Arg(20000)->Arg(60000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // No modal box may wait for an answer in a benchmark: print instead.
    SetErrorDisplayHandler(
        [](const QString& text) { std::fprintf(stderr, "%s\n", qUtf8Printable(text)); });
    SetMessageHandler(
        [](const QString& text) { std::fprintf(stderr, "%s\n", qUtf8Printable(text)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
