#include "ui/reports/FontTextMeasurer.h"

#include <QFontMetricsF>
#include <QTextLayout>

FontTextMeasurer::FontTextMeasurer() : m_device(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMeter = qRound(Resolution / 0.0254);
    m_device.setDotsPerMeterX(dotsPerMeter);
    m_device.setDotsPerMeterY(dotsPerMeter);
}

QFont FontTextMeasurer::qfont(const ReportFont& font)
{
    QFont f(font.family);
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}

double FontTextMeasurer::lineHeight(const ReportFont& font) const
{
    return toMm(QFontMetricsF(qfont(font), &m_device).lineSpacing());
}

double FontTextMeasurer::ascent(const ReportFont& font) const
{
    return toMm(QFontMetricsF(qfont(font), &m_device).ascent());
}

double FontTextMeasurer::width(const QString& line, const ReportFont& font) const
{
    return toMm(QFontMetricsF(qfont(font), &m_device).horizontalAdvance(line));
}

QStringList FontTextMeasurer::wrap(const QString& text, const ReportFont& font, double width) const
{
    QStringList lines;
    if (text.isEmpty())
        return lines;
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const double widthDots = width * Resolution / 25.4;
    const QFont f = qfont(font);
    for (const QString& paragraph : normal.split(QLatin1Char('\n'))) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, f, &m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(widthDots);
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            // The blanks a line was broken at do not print.
            if (line.textStart() + line.textLength() < paragraph.size()) {
                while (!piece.isEmpty() && piece.back().isSpace())
                    piece.chop(1);
            }
            lines << piece;
        }
        layout.endLayout();
    }
    return lines;
}
