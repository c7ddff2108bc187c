#include "core/reports/ReportText.h"

#include "core/reports/ReportPipeline.h"
#include "core/reports/TextMeasurer.h"

#include <algorithm>

namespace {
constexpr double Epsilon = 1e-6;
}

ReportText::ReportText(const QString& name, Source source) : ReportComponent(name), source(source)
{
    Transparent = true;
}

void ReportText::setCaption(const QString& caption)
{
    Caption = caption;
    changed();
}

void ReportText::clear()
{
    Lines.clear();
    changed();
}

void ReportText::append(const QString& line)
{
    Lines << line;
    changed();
}

QString ReportText::formatNumber(const QString& format, const QString& value)
{
    if (format.isEmpty())
        return value;
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty())
        return {};
    bool ok = false;
    const qlonglong n = trimmed.toLongLong(&ok);
    const QString digits = ok ? QString::number(n) : value;
    int start = -1;
    for (int i = 0; i < format.size(); ++i) {
        if (format[i] == QLatin1Char('#') || format[i] == QLatin1Char('0')) {
            start = i;
            break;
        }
    }
    if (start < 0)
        return format;
    int end = start;
    while (end < format.size() && (format[end] == QLatin1Char('#') || format[end] == QLatin1Char('0')))
        ++end;
    QString number = digits;
    // Zeros in the format pad the number to their count.
    const int zeros = int(std::count(format.begin() + start, format.begin() + end, QLatin1Char('0')));
    if (ok && number.size() < zeros)
        number = QString(zeros - number.size(), QLatin1Char('0')) + number;
    return format.left(start) + number + format.mid(end);
}

QString ReportText::elided(const QString& line, const ReportFont& font, double width, const TextMeasurer& m)
{
    if (m.width(line, font) <= width)
        return line;
    const QString ellipsis(QChar(0x2026));
    QString cut = line;
    while (!cut.isEmpty() && m.width(cut + ellipsis, font) > width)
        cut.chop(1);
    return cut + ellipsis;
}

QString ReportText::text(const PrintContext& context) const
{
    switch (source) {
    case Source::Caption:
        return Caption;
    case Source::Lines:
        return Lines.join(QLatin1Char('\n'));
    case Source::DataField: {
        ReportPipeline* pipeline = DataPipeline ? DataPipeline : context.pipeline;
        if (!pipeline || pipeline->eof())
            return {};
        return formatNumber(DisplayFormat, pipeline->fieldText(DataField));
    }
    case Source::PageNumber:
        return formatNumber(DisplayFormat.isEmpty() ? QStringLiteral("#") : DisplayFormat,
                            QString::number(context.pageNumber));
    case Source::PrintDate:
        return context.printDate.toString(DateFormat);
    }
    return {};
}

ComponentLayout ReportText::layout(const PrintContext& context) const
{
    const TextMeasurer& m = context.measurer;
    const QString content = text(context);
    QStringList lines;
    if (source == Source::Lines && WordWrap) {
        // Every line of a block prints, the empty ones included.
        for (const QString& line : Lines) {
            const QStringList wrapped = m.wrap(line, Font, Width);
            lines << (wrapped.isEmpty() ? QStringList{QString()} : wrapped);
        }
    } else if (WordWrap) {
        lines = m.wrap(content, Font, Width);
    } else if (!content.isEmpty()) {
        lines = content.split(QLatin1Char('\n'));
    }

    ReportElement e;
    e.kind = ReportElement::Kind::Text;
    e.name = Name;
    e.font = Font;
    e.color = FontColor;
    e.alignment = Alignment;
    e.lineHeight = m.lineHeight(Font);
    e.ascent = m.ascent(Font);
    // Page breaks cut texts between lines, a line height apart.
    Q_ASSERT(e.lineHeight > 0);
    e.transparent = Transparent;
    e.background = Color;

    const double contentHeight = lines.size() * e.lineHeight;
    ComponentLayout out;
    out.height = Height;
    double boxHeight = Height;
    if (AutoSize) {
        out.height = boxHeight = contentHeight;
    } else if (Stretch && contentHeight > Height + Epsilon) {
        boxHeight = contentHeight;
        out.height = contentHeight + BottomOffset;
    }

    // A line that does not wrap is never cut: a label wider than its box
    // grows away from its aligned edge, as does a label sized to its text.
    double width = Width;
    if (!WordWrap) {
        if (MaxWidth > 0)
            for (QString& line : lines)
                line = elided(line, Font, MaxWidth, m);
        double widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, m.width(line, Font));
        if (AutoSize || widest > Width)
            width = widest;
    }
    double left = 0;
    if (Alignment & Qt::AlignRight)
        left = Width - width;
    else if (Alignment & Qt::AlignHCenter)
        left = (Width - width) / 2;
    e.rect = QRectF(left, 0, width, boxHeight);
    e.lines = lines;
    out.elements << e;
    return out;
}
