// Shared parts of the window benchmarks.
#include "WindowBench.h"

#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ui/ErrorDisplay.h"
#include "ui/Unit1.h"

QString WriteBenchRecord(const QTemporaryDir& folder, int sampleCount, double timeStepS) {
    const QString path = folder.filePath(QStringLiteral("bench.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qUtf8Printable(path));
    }
    file.write("time acc\n");
    const double durationS = (sampleCount - 1) * timeStepS;
    for (int i = 0; i < sampleCount; ++i) {
        const double t = i * timeStepS;
        const double accG =
            std::min(1.0, t / (0.2 * durationS)) * std::exp(-2 * t / durationS) *
            (0.2 * std::sin(2 * M_PI * t / 0.35) + 0.1 * std::sin(2 * M_PI * t / 1.3));
        file.write(QByteArray::number(t, 'g', 10) + ' ' + QByteArray::number(accG, 'g', 10) + '\n');
    }
    return path;
}

std::unique_ptr<TForm1> AnalysedWindow(const QString& path) {
    auto form = std::make_unique<TForm1>();
    form->chooseFiles = [path] { return QStringList{path}; };
    form->show();
    form->btn1Click();
    form->lst1->setCurrentRow(0);
    form->lst1Click();
    form->btn3Click();
    SettleEvents();
    return form;
}

void SettleEvents() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 50) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void SetSpreadCounters(benchmark::State& state, std::vector<double> samples, const char* unit) {
    if (samples.empty()) {
        return;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    const double median = n % 2 == 1 ? samples[n / 2] : 0.5 * (samples[n / 2 - 1] + samples[n / 2]);
    const std::string suffix = std::string("_") + unit;
    state.counters["min" + suffix] = samples.front();
    state.counters["median" + suffix] = median;
    state.counters["max" + suffix] = samples.back();
}

double LiveHeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

int RunWindowBenchmarks(int argc, char** argv) {
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
