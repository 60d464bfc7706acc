// Decimation of long traces: every column keeps its extremes and its ends in order, the
// drawn line covers the same pixels, and the full list stays reachable.
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <map>

#include "support/RunFixture.h"
#include "ui/ChartHelpers.h"
#include "ui/TraceDecimation.h"

namespace {

// A record trace: sample i at i * timeStepS, two sines with a little deterministic noise.
QList<QPointF> Trace(int count, double timeStepS) {
    QList<QPointF> points;
    std::uint32_t noise = 12345;
    for (int i = 0; i < count; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double t = i * timeStepS;
        points.append({t, std::sin(7.0 * i * 0.01) + 0.3 * std::sin(0.9 * i * 0.01) +
                              0.05 * (static_cast<double>(noise >> 8) / (1 << 24) - 0.5)});
    }
    return points;
}

// The polyline drawn without antialiasing into an image columns px wide.
QImage Raster(const QList<QPointF>& points, double xMin, double xMax, int columns) {
    QImage image(columns, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 0));
    QPolygonF line;
    for (const QPointF& p : points) {
        line << QPointF((p.x() - xMin) / (xMax - xMin) * (columns - 1), 100 - 60 * p.y());
    }
    painter.drawPolyline(line);
    return image;
}

}  // namespace

class TraceDecimationTest : public QObject {
    Q_OBJECT

  private slots:
    void widthNotAboveZeroKeepsEveryPoint_data() {
        QTest::addColumn<double>("width");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative") << -1.0;
        QTest::newRow("not a number") << std::nan("");
        QTest::newRow("infinite") << HUGE_VAL;
    }

    void widthNotAboveZeroKeepsEveryPoint() {
        QFETCH(double, width);
        const QList<QPointF> points = Trace(100, 0.01);
        QCOMPARE(DecimateTrace(points, width), points);
        QCOMPARE(DecimateTrace({}, 0.1), QList<QPointF>());
    }

    void columnsKeepTheirEndsAndExtremesInOrder_data() {
        QTest::addColumn<double>("timeStepS");
        QTest::newRow("forward") << 0.01;
        QTest::newRow("negative time step") << -0.01;
        QTest::newRow("zero time step: one column") << 0.0;
    }

    void columnsKeepTheirEndsAndExtremesInOrder() {
        QFETCH(double, timeStepS);
        const QList<QPointF> points = Trace(20000, timeStepS);
        const double width = 0.37;
        const QList<QPointF> kept = DecimateTrace(points, width);
        // An ordered subsequence of the points with both ends.
        qsizetype at = 0;
        for (const QPointF& p : kept) {
            while (at < points.size() && points[at] != p)
                ++at;
            QVERIFY(at < points.size());
            ++at;
        }
        QCOMPARE(kept.first(), points.first());
        QCOMPARE(kept.last(), points.last());
        // Per column: the same lowest and highest value, and at most four points.
        std::map<double, std::pair<double, double>> all, drawn;
        std::map<double, int> counts;
        auto note = [width](auto& ranges, QPointF p) {
            auto [it, added] = ranges.try_emplace(std::floor(p.x() / width), p.y(), p.y());
            it->second = {std::min(it->second.first, p.y()), std::max(it->second.second, p.y())};
        };
        for (const QPointF& p : points)
            note(all, p);
        for (const QPointF& p : kept) {
            note(drawn, p);
            ++counts[std::floor(p.x() / width)];
        }
        QVERIFY(all == drawn);
        for (const auto& [column, count] : counts)
            QVERIFY(count <= 4);
        QVERIFY(kept.size() <= 4 * static_cast<qsizetype>(all.size()));
        QVERIFY(kept.size() < points.size() / 4);
    }

    void drawnLineCoversTheSamePixels() {
        const QList<QPointF> points = Trace(20000, 0.01);
        const double xMax = points.last().x();
        const int columns = 700;
        const QImage full = Raster(points, 0, xMax, columns);
        const QImage decimated =
            Raster(DecimateTrace(points, xMax / (2.0 * (columns - 1))), 0, xMax, columns);
        int differing = 0, inked = 0;
        for (int y = 0; y < full.height(); ++y) {
            for (int x = 0; x < full.width(); ++x) {
                differing += full.pixel(x, y) != decimated.pixel(x, y);
                inked += full.pixel(x, y) != qRgb(255, 255, 255);
            }
        }
        // Only the rounding of a segment's ends within a pixel may differ.
        QVERIFY2(differing <= inked / 100,
                 qPrintable(QStringLiteral("%1 of %2").arg(differing).arg(inked)));
    }

    void seriesKeepsTheFullListReachable() {
        QChartView view(new QChart());
        auto* whole = new QLineSeries();
        auto* trace = new QLineSeries();
        SetupRecordChart(view.chart(), whole, trace);
        view.resize(807, 212);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QList<QPointF> points = Trace(20000, 0.01);
        SetTracePoints(whole, points);
        SetTracePoints(trace, points.first(5000));
        QCOMPARE(TracePoints(whole), points);
        QCOMPARE(TracePoints(trace), points.first(5000));
        QVERIFY(whole->count() < 4 * 2 * view.chart()->plotArea().width());
        QVERIFY(trace->count() < 5000);
        // The axes are those of the full list: every extreme is drawn.
        const auto [low, high] = std::minmax_element(
            points.begin(), points.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
        QVERIFY(whole->points().contains(*low) && whole->points().contains(*high));
        // A short trace is drawn as it is; a cleared one has no full list left.
        SetTracePoints(trace, points.first(2));
        QCOMPARE(trace->points(), points.first(2));
        ClearSeries(trace);
        QCOMPARE(TracePoints(trace), QList<QPointF>());
    }
};

ORVANTA_UI_TEST_MAIN(TraceDecimationTest)
#include "trace_decimation_test.moc"
