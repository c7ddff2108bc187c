#pragma once

#include "core/reports/ReportColor.h"
#include "core/reports/ReportFont.h"

#include <QList>
#include <QString>

// A horizontal bar chart as a report prints it: bars along a category axis
// that rises from the bottom (the first bar added is the lowest) against a
// value axis with a fixed range. Flat, without legend, title or value marks.
struct BarChart
{
    struct Bar
    {
        QString label;
        double value = 0;
        ReportColor color;
        bool operator==(const Bar&) const = default;
    };

    QList<Bar> bars;
    double axisMinimum = 0;
    double axisMaximum = 100;
    double axisStep = 10;
    bool minorTicks = false;
    ReportFont valueAxisFont = ReportFont::arialPixels(12);
    ReportFont categoryAxisFont = ReportFont::arialPixels(12);
    double barWidthPercent = 80; // of each bar's slot
    ReportColor background = ReportColor::white();

    void clear() { bars.clear(); }
    void add(double value, const QString& label, ReportColor color) { bars.append({label, value, color}); }
};
