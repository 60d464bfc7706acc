// Long playback: thousands of timer ticks over a 20,000-sample record must not let the
// process grow, and must leave the track bar, the time list and the series in step.
#include <unistd.h>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineSeries>
#include <QSlider>
#include <QtTest>
#include <algorithm>
#include <cstddef>

#include "support/RunFixture.h"
#include "ui/Unit1.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORVANTA_SOAK_UNDER_ASAN 1
// Bytes the AddressSanitizer allocator holds for live blocks (libasan exports it; GCC 12
// ships no header declaring it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#define ORVANTA_SOAK_UNDER_ASAN 0
#endif

namespace {

constexpr int kSampleCount = 20000;
constexpr double kTimeStepS = 0.005;
constexpr int kInstants = kSampleCount - 1;
constexpr int kDefaultTicks = 20000;
constexpr int kWarmUpTicks = 1000;
// The whole window repaints on one tick in this many. Every tick updates the series and
// the charts' geometry as playback does, but a repaint of the 20,000-point record trace
// costs tens of milliseconds offscreen: painting every tick would make the soak last ten
// minutes, while one in fifty still paints every length of the red trace hundreds of times.
constexpr int kPaintEvery = 50;
// Allowed growth after the warm-up, in bytes. The largest buffers of a tick belong to the
// red trace: 20,000 points of 16 bytes are 320 KB per copy, and the series, the chart's
// geometry, its painter path and its hit shape hold a few copies, so the heap's high-water
// mark can rise by 2-3 MB once the trace is longest, plus allocator fragmentation. 8 MB
// leaves room for that and still fails for anything kept per tick: one lost trace copy a
// tick crosses it within 25 ticks, 420 bytes a tick within the 19,000 measured ticks.
constexpr double kMaxGrowthBytes = 8.0 * 1024 * 1024;

// Qt Test's limit on the soak's test function, in milliseconds.
constexpr int kSoakTimeoutMs = 60 * 60 * 1000;

// Ticks to drive: ORVANTA_SOAK_TICKS when set to a count above the warm-up, else 20,000.
int SoakTicks() {
    const int fromEnvironment = qEnvironmentVariableIntValue("ORVANTA_SOAK_TICKS");
    return fromEnvironment > kWarmUpTicks ? fromEnvironment : kDefaultTicks;
}

// Resident memory of this process in bytes: resident pages (second field of
// /proc/self/statm) times the page size.
double ResidentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        qFatal("cannot read /proc/self/statm");
    }
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    return static_cast<double>(fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE));
}

// The memory the growth bound applies to, in bytes: the resident size, except under
// AddressSanitizer, whose quarantine keeps freed blocks resident (up to 256 MB) and so
// grows with every tick's garbage; there the allocator's live bytes stand in.
double SoakBytes() {
#if ORVANTA_SOAK_UNDER_ASAN
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    return ResidentBytes();
#endif
}

double Megabytes(double bytes) {
    return bytes / (1024.0 * 1024.0);
}

// Calls the tick handler count times, as the enabled timer would; the window repaints on
// the ticks whose running number (from firstTick) is a multiple of kPaintEvery.
void Tick(TForm1* form, int firstTick, int count) {
    for (int tick = firstTick; tick < firstTick + count; ++tick) {
        form->setUpdatesEnabled(tick % kPaintEvery == 0);
        form->tmr1Timer();
    }
    form->setUpdatesEnabled(true);
}

}  // namespace

class PlaybackSoakTest : public QObject {
    Q_OBJECT

  public:
    PlaybackSoakTest() {
        // Qt Test aborts a test function after five minutes, which the full 20,000 ticks
        // can exceed on a busy machine and do exceed under the sanitizers; a hang is still
        // bounded by this limit and by CTest's own timeout.
        if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT")) {
            qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(kSoakTimeoutMs));
        }
    }

  private slots:
    // The analysis keeps the default grid (0.02 to 6 s by 0.02 s, 300 periods, a 240 MB
    // store): it takes seconds even under the sanitizers, and the soak is about playback.
    void longPlaybackKeepsMemoryFlat() {
        const int ticks = SoakTicks();
        RunWindow w;
        w.LoadRecord(QStringLiteral("long.txt"), RunTestQuake(kSampleCount, kTimeStepS),
                     kTimeStepS);
        w.ClickRun();
        TForm1* form = w.form.get();
        QCOMPARE(form->cbb2->count(), kInstants);
        QCOMPARE(form->animationStep, 1);  // speed 10 from the start

        // The run is centred on the wrap: half the ticks walk the last instants (the
        // longest red traces, so the warm-up reaches the largest buffers), one returns to
        // instant 0 and the rest walk the first ones. 20,000 ticks cover every instant.
        const int start = std::max(0, kInstants - ticks / 2);
        form->trckbr1->setValue(start);
        QElapsedTimer clock;
        clock.start();
        Tick(form, 0, kWarmUpTicks);
        const double warmResident = ResidentBytes();
        const double warmBytes = SoakBytes();
        Tick(form, kWarmUpTicks, ticks - kWarmUpTicks);
        const double finalResident = ResidentBytes();
        const double finalBytes = SoakBytes();
        const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        qInfo(
            "%d ticks from instant %d in %.1f s (%.0f ticks/s); resident %.1f MB after %d "
            "ticks, %.1f MB after %d; measured growth %.2f MB",
            ticks, start, seconds, ticks / seconds, Megabytes(warmResident), kWarmUpTicks,
            Megabytes(finalResident), ticks, Megabytes(finalBytes - warmBytes));
        QVERIFY2(finalBytes - warmBytes <= kMaxGrowthBytes,
                 qPrintable(QStringLiteral("memory grew by %1 MB over %2 ticks")
                                .arg(Megabytes(finalBytes - warmBytes))
                                .arg(ticks - kWarmUpTicks)));

        // Each tick moves one instant and the tick after the last instant returns to 0.
        const int position = (start + ticks) % kInstants;
        QCOMPARE(form->trckbr1->value(), position);
        QCOMPARE(form->cbb2->currentIndex(), position);
        QCOMPARE(form->lnsrsSeries2->count(), position + 2);
        QCOMPARE(form->lnsrsSeries2->name(), "Time=" + form->cbb2->currentText());
        QCOMPARE(form->lnsrsSeries4->points(),
                 ZipPoints(form->results.periodGrid, form->results.sdHistory[position]));
        QVERIFY(w.capture.errors.isEmpty());
    }
};

ORVANTA_UI_TEST_MAIN(PlaybackSoakTest)
#include "playback_soak_test.moc"
