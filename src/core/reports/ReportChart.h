#pragma once

#include "core/reports/BarChart.h"
#include "core/reports/ReportComponent.h"

// A bar chart drawn at the component's size on the page. Its bars are set
// before the report runs.
class ReportChart : public ReportComponent
{
public:
    explicit ReportChart(const QString& name);

    BarChart Chart;

    ComponentLayout layout(const PrintContext& context) const override;
};
