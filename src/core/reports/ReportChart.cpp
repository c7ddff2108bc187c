#include "core/reports/ReportChart.h"

ReportChart::ReportChart(const QString& name) : ReportComponent(name) {}

ComponentLayout ReportChart::layout(const PrintContext& context) const
{
    Q_UNUSED(context);
    // The painter maps values onto the axis range and ticks it at each step.
    Q_ASSERT(Chart.axisMaximum > Chart.axisMinimum && Chart.axisStep > 0);
    ReportElement e;
    e.kind = ReportElement::Kind::Chart;
    e.name = Name;
    e.rect = QRectF(0, 0, Width, Height);
    e.chart = std::make_shared<const BarChart>(Chart);
    return {Height, {e}};
}
