// Long playback: thousands of timer ticks over a 20,000-sample record must not let the
// process grow, and must leave the track bar, the time list and the series in step.
#include <malloc.h>
#include <unistd.h>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
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
// the charts' geometry as playback does, but a full-window repaint costs more than all of
// a tick's own work; one tick in fifty still paints the red trace at hundreds of lengths.
constexpr int kPaintEvery = 50;
// Allowed growth after the warm-up, in bytes, of the live heap and (outside
// AddressSanitizer) of the resident size. The largest buffers of a tick belong to the red
// trace: 20,000 points of 16 bytes are 320 KB in its container, which keeps its capacity
// when the trace shrinks, and the points one tick adds; the chart's paint buffers keep
// their size. 8 MB leaves room for the allocator's and Qt's caches and still fails for
// anything kept per tick: one lost trace copy a tick crosses it within 25 ticks, and the
// live heap crosses it at 930 bytes a tick over the sanitizer run's 9,000 measured ticks,
// 440 bytes a tick over the full run's 19,000. The resident size alone is laxer: freed
// buffers leave resident free heap that absorbs a leak before the size moves.
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

// Bytes of live heap blocks: the allocator's count under AddressSanitizer (whose
// quarantine keeps freed blocks resident, up to 256 MB, so the resident size grows with
// every tick's garbage there), else glibc's in-use bytes of all arenas and mmapped blocks.
double LiveHeapBytes() {
#if ORVANTA_SOAK_UNDER_ASAN
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

// Fails the test when a memory figure grew by more than kMaxGrowthBytes.
void CheckGrowth(const char* what, double beforeBytes, double afterBytes, int ticks) {
    const double growth = afterBytes - beforeBytes;
    QVERIFY2(growth <= kMaxGrowthBytes, qPrintable(QStringLiteral("%1 grew by %2 MB over %3 ticks")
                                                       .arg(QLatin1String(what))
                                                       .arg(growth / (1024.0 * 1024.0))
                                                       .arg(ticks)));
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
        const double warmHeap = LiveHeapBytes();
        Tick(form, kWarmUpTicks, ticks - kWarmUpTicks);
        const double finalResident = ResidentBytes();
        const double finalHeap = LiveHeapBytes();
        const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        qInfo(
            "%d ticks from instant %d in %.1f s (%.0f ticks/s); after %d and %d ticks: "
            "resident %.1f and %.1f MB, live heap %.1f and %.1f MB",
            ticks, start, seconds, ticks / seconds, kWarmUpTicks, ticks, Megabytes(warmResident),
            Megabytes(finalResident), Megabytes(warmHeap), Megabytes(finalHeap));
        CheckGrowth("live heap", warmHeap, finalHeap, ticks - kWarmUpTicks);
        if (!ORVANTA_SOAK_UNDER_ASAN) {
            CheckGrowth("resident size", warmResident, finalResident, ticks - kWarmUpTicks);
        }

        // Each tick moves one instant and the tick after the last instant returns to 0.
        const int position = (start + ticks) % kInstants;
        QCOMPARE(form->trckbr1->value(), position);
        QCOMPARE(form->cbb2->currentIndex(), position);
        QCOMPARE(PointCount(form, "lnsrsSeries2"), position + 2);
        QCOMPARE(Title(form, "lnsrsSeries2"), "Time=" + form->cbb2->currentText());
        QCOMPARE(Points(form, "lnsrsSeries4"),
                 ZipPoints(form->results.periodGrid, form->results.sdHistory[position]));
        QVERIFY(w.capture.errors.isEmpty());
    }
};

ORVANTA_UI_TEST_MAIN(PlaybackSoakTest)
#include "playback_soak_test.moc"
