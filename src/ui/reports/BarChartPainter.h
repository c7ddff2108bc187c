#pragma once

#include <QRectF>

class QPainter;
struct BarChart;

// Draws a report's bar chart into a rectangle of a page: category labels at
// the left, the value axis with its labels at the bottom, one bar per slot
// from the bottom up. dotsPerMm converts the chart's millimetres and points.
namespace BarChartPainter {
void paint(QPainter& painter, const QRectF& rect, const BarChart& chart, double dotsPerMm);
}
