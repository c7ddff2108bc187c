#pragma once

#include "core/reports/ReportFont.h"

#include <QString>
#include <QStringList>

// Measures printed text in millimetres. The layout of a report needs it to
// break lines and grow texts; the painting side supplies the real fonts.
class TextMeasurer
{
public:
    virtual ~TextMeasurer() = default;

    // Distance from one line to the next, and from a line's top to its baseline.
    virtual double lineHeight(const ReportFont& font) const = 0;
    virtual double ascent(const ReportFont& font) const = 0;
    // Advance of one line of text.
    virtual double width(const QString& line, const ReportFont& font) const = 0;
    // The text broken into lines no wider than width: at line feeds, then at
    // word boundaries (inside a word only when it alone is too wide). Every
    // paragraph gives at least one line, an empty text none.
    virtual QStringList wrap(const QString& text, const ReportFont& font, double width) const = 0;
};
