#pragma once

#include <QString>

// A font of a printed text, by family name and size in points. Families the
// machine lacks are substituted by the painter (Arial by a metric twin).
struct ReportFont
{
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
    bool italic = false;

    static ReportFont arial(double pointSize, bool bold = false, bool italic = false)
    {
        return {QStringLiteral("Arial"), pointSize, bold, italic};
    }
    // Chart fonts are given in screen pixels at 96 per inch.
    static ReportFont arialPixels(int pixels, bool bold = false)
    {
        return {QStringLiteral("Arial"), pixels * 0.75, bold, false};
    }

    bool operator==(const ReportFont&) const = default;
};
