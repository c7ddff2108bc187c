#include "ui/reports/BarChartPainter.h"

#include "core/reports/BarChart.h"
#include "ui/reports/FontTextMeasurer.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
QColor toQColor(const ReportColor& c)
{
    return QColor(c.red, c.green, c.blue);
}

QString valueText(double v)
{
    return QString::number(qRound64(v));
}
} // namespace

void BarChartPainter::paint(QPainter& painter, const QRectF& rect, const BarChart& chart, double dotsPerMm)
{
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(rect, toQColor(chart.background));

    QPaintDevice* device = painter.device();
    const QFont valueFont(FontTextMeasurer::qfont(chart.valueAxisFont), device);
    const QFont categoryFont(FontTextMeasurer::qfont(chart.categoryAxisFont), device);
    const QFontMetricsF vm(valueFont, device);
    const QFontMetricsF cm(categoryFont, device);

    const double pad = 1.2 * dotsPerMm;
    const double tick = 1.0 * dotsPerMm;
    const double axisPen = std::max(1.0, 0.2 * dotsPerMm);

    // Category labels take the width of the widest, at most half the chart.
    double labelWidth = 0;
    for (const BarChart::Bar& b : chart.bars)
        labelWidth = std::max(labelWidth, cm.horizontalAdvance(b.label));
    labelWidth = std::min(labelWidth, rect.width() / 2);

    const double maxValueLabel = std::max(vm.horizontalAdvance(valueText(chart.axisMinimum)),
                                          vm.horizontalAdvance(valueText(chart.axisMaximum)));
    QRectF plot(rect.left() + pad + labelWidth + tick, rect.top() + pad, 0,
                rect.height() - 2 * pad - tick - vm.height());
    plot.setRight(rect.right() - pad - maxValueLabel / 2);
    if (plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }

    const double span = chart.axisMaximum - chart.axisMinimum;
    const auto xOf = [&](double v) {
        const double clamped = std::clamp(v, chart.axisMinimum, chart.axisMaximum);
        return plot.left() + (span > 0 ? (clamped - chart.axisMinimum) / span : 0) * plot.width();
    };

    // Grid and value labels.
    painter.setFont(valueFont);
    const int steps = chart.axisStep > 0 ? int(std::round(span / chart.axisStep)) : 0;
    for (int i = 0; i <= steps; ++i) {
        const double v = chart.axisMinimum + i * chart.axisStep;
        const double x = xOf(v);
        if (i > 0) {
            painter.setPen(QPen(QColor(192, 192, 192), axisPen / 2, Qt::DotLine));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
        painter.setPen(QPen(Qt::black, axisPen));
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
        const QString text = valueText(v);
        const double w = vm.horizontalAdvance(text);
        painter.drawText(QPointF(x - w / 2, plot.bottom() + tick + vm.ascent()), text);
    }

    // Bars, the first at the bottom.
    const int n = int(chart.bars.size());
    if (n > 0) {
        const double slot = plot.height() / n;
        const double barHeight = slot * chart.barWidthPercent / 100.0;
        painter.setFont(categoryFont);
        for (int i = 0; i < n; ++i) {
            const BarChart::Bar& b = chart.bars[i];
            const double centre = plot.bottom() - (i + 0.5) * slot;
            const QColor fill = toQColor(b.color);
            const QRectF bar(QPointF(xOf(chart.axisMinimum), centre - barHeight / 2),
                             QPointF(xOf(b.value), centre + barHeight / 2));
            if (bar.width() > 0) {
                painter.setPen(QPen(fill.darker(150), axisPen / 2));
                painter.setBrush(fill);
                painter.drawRect(bar);
            }
            painter.setPen(Qt::black);
            const QString label = cm.elidedText(b.label, Qt::ElideRight, labelWidth);
            const double w = cm.horizontalAdvance(label);
            painter.drawText(QPointF(plot.left() - tick - w, centre + (cm.ascent() - cm.descent()) / 2),
                             label);
        }
    }

    // Axes.
    painter.setPen(QPen(Qt::black, axisPen));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.restore();
}
