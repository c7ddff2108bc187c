#pragma once

#include "core/reports/TextMeasurer.h"

#include <QFont>
#include <QImage>

// Measures report texts with the machine's fonts at printer resolution,
// without hinting, so that what is measured is what the printer draws.
class FontTextMeasurer : public TextMeasurer
{
public:
    FontTextMeasurer();

    double lineHeight(const ReportFont& font) const override;
    double ascent(const ReportFont& font) const override;
    double width(const QString& line, const ReportFont& font) const override;
    QStringList wrap(const QString& text, const ReportFont& font, double width) const override;

    // The font a report font is drawn with.
    static QFont qfont(const ReportFont& font);
    // Dots per inch of the measuring device.
    static constexpr int Resolution = 1200;

private:
    double toMm(double dots) const { return dots * 25.4 / Resolution; }
    QImage m_device;
};
