#pragma once

#include "core/reports/ReportComponent.h"
#include "core/reports/ReportFont.h"

#include <QStringList>

class ReportPipeline;

// A text on the page: a label with a caption, a text block of lines that is
// cleared and appended to, a field of the current record (with a display
// format), or a variable (page number, print date). A text that word-wraps
// may stretch: then its height follows its lines and pushes what follows it.
class ReportText : public ReportComponent
{
public:
    enum class Source { Caption, Lines, DataField, PageNumber, PrintDate };

    explicit ReportText(const QString& name, Source source = Source::Caption);

    Source source;
    ReportFont Font;
    ReportColor FontColor = ReportColor::black();
    Qt::Alignment Alignment = Qt::AlignLeft;
    bool WordWrap = false;
    bool Stretch = false;
    bool AutoSize = false; // as wide and high as its text
    // A line that does not wrap grows past its box away from its aligned
    // edge, but no wider than this (when set): beyond it, it ends in "...".
    double MaxWidth = 0;

    // Caption
    QString Caption;
    void setCaption(const QString& caption);
    // Lines
    QStringList Lines;
    void clear();
    void append(const QString& line);
    // DataField
    ReportPipeline* DataPipeline = nullptr;
    QString DataField;
    // Display format of a field or variable: the first run of '#' (or '0')
    // stands for the number, e.g. "Item ID: # " or "Page: #".
    QString DisplayFormat;
    // PrintDate
    QString DateFormat = QStringLiteral("M/d/yyyy");

    // The text as it prints for the current record and page.
    QString text(const PrintContext& context) const;
    ComponentLayout layout(const PrintContext& context) const override;
    bool isDataAware() const override { return source == Source::DataField; }

    // The number put into a display format; a value that is not a whole
    // number is shown as it is, an empty one as nothing.
    static QString formatNumber(const QString& format, const QString& value);
    // The line cut to fit width, ending in an ellipsis when it was cut.
    static QString elided(const QString& line, const ReportFont& font, double width, const TextMeasurer& m);
};
