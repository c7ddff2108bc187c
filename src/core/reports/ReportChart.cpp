#include "core/reports/ReportChart.h"

ReportChart::ReportChart(const QString& name) : ReportComponent(name) {}

ComponentLayout ReportChart::layout(const PrintContext& context) const
{
    Q_UNUSED(context);
    ReportElement e;
    e.kind = ReportElement::Kind::Chart;
    e.name = Name;
    e.rect = QRectF(0, 0, Width, Height);
    e.chart = std::make_shared<const BarChart>(Chart);
    return {Height, {e}};
}
