// Reading and clicking the charts in tests.
#include "support/ChartProbe.h"

#include <qcustomplot.h>
#include <QContextMenuEvent>
#include <QEvent>
#include <QMenu>
#include <QtTest>

#include "ui/ChartWidget.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

QCPAbstractPlottable* FindSeries(const TForm1* form, const char* name) {
    for (QCustomPlot* chart :
         {static_cast<QCustomPlot*>(form->cht1), static_cast<QCustomPlot*>(form->cht2)}) {
        for (int i = 0; i < chart->plottableCount(); ++i) {
            if (chart->plottable(i)->objectName() == QLatin1String(name)) {
                return chart->plottable(i);
            }
        }
    }
    qFatal("no series named %s in the charts", name);
}

QList<QPointF> Points(const TForm1* form, const char* name) {
    QCPAbstractPlottable* series = FindSeries(form, name);
    QList<QPointF> points;
    if (auto* graph = qobject_cast<QCPGraph*>(series)) {
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it) {
            points.append(QPointF(it->key, it->value));
        }
    } else if (auto* curve = qobject_cast<QCPCurve*>(series)) {
        for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it) {
            points.append(QPointF(it->key, it->value));
        }
    }
    return points;
}

int PointCount(const TForm1* form, const char* name) {
    return FindSeries(form, name)->interface1D()->dataCount();
}

QString Title(const TForm1* form, const char* name) {
    return FindSeries(form, name)->name();
}

bool IsShown(const TForm1* form, const char* name) {
    return FindSeries(form, name)->visible();
}

void AddPoint(const TForm1* form, const char* name, double x, double y) {
    QCPAbstractPlottable* series = FindSeries(form, name);
    if (auto* graph = qobject_cast<QCPGraph*>(series)) {
        graph->addData(x, y);
    } else if (auto* curve = qobject_cast<QCPCurve*>(series)) {
        curve->addData(x, y);
    }
}

void ClickLegendEntry(ChartWidget* chart, QCPAbstractPlottable* series) {
    const QCPPlottableLegendItem* entry = chart->LegendEntry(series);
    QVERIFY(entry != nullptr);
    QVERIFY(entry->outerRect().isValid());
    QTest::mouseClick(chart, Qt::LeftButton, {}, entry->outerRect().center());
}

RedrawCounter::RedrawCounter(const TForm1* form, const char* name) {
    QCPAbstractPlottable* series = FindSeries(form, name);
    auto* chart = qobject_cast<ChartWidget*>(series->parentPlot());
    connect(chart, &ChartWidget::seriesDrawn, this, [this, series](QCPAbstractPlottable* drawn) {
        if (drawn == series) {
            ++count;
        }
    });
}

PaintCounter::PaintCounter(QWidget* widget) {
    widget->installEventFilter(this);
}

bool PaintCounter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        ++paints;
    }
    return QObject::eventFilter(watched, event);
}

void TriggerMenuEntry(ChartWidget* chart, const QString& text) {
    bool found = false;
    chart->showMenu = [&](QMenu& menu, QPoint) {
        for (QAction* action : menu.actions()) {
            if (action->text() == text && action->isEnabled()) {
                found = true;
                action->trigger();
            }
        }
    };
    const QPoint at = chart->axisRect()->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, chart->mapToGlobal(at));
    QApplication::sendEvent(chart, &event);
    QCoreApplication::processEvents();
    chart->showMenu = nullptr;
    QVERIFY2(found, qPrintable(text));
}
