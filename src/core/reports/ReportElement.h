#pragma once

#include "core/reports/BarChart.h"
#include "core/reports/ReportColor.h"
#include "core/reports/ReportFont.h"

#include <QRectF>
#include <QString>
#include <QStringList>
#include <Qt>
#include <memory>

// One thing drawn on a printed page, positioned in millimetres from the
// paper's top-left corner. Texts carry their lines already broken, so that
// every output (printer, preview, PDF) draws the same lines at the same places.
struct ReportElement
{
    enum class Kind { Text, Rectangle, Line, Symbol, Chart };

    Kind kind = Kind::Text;
    QString name; // the component that printed it
    QRectF rect;  // a line runs along the top edge of its rect

    // Text
    QStringList lines;
    ReportFont font;
    ReportColor color = ReportColor::black();
    Qt::Alignment alignment = Qt::AlignLeft;
    double lineHeight = 0; // mm from one line to the next
    double ascent = 0;     // mm from a line's top to its baseline
    bool transparent = true;
    ReportColor background = ReportColor::white();

    // Rectangle and Line
    double penWidth = 0.75; // points
    bool filled = false;    // a rectangle filled with background

    // Symbol: one character of a symbol font, drawn in a cell as high as the rect
    int symbol = 0x20;
    QString symbolFont;

    // Chart
    std::shared_ptr<const BarChart> chart;

    QString text() const { return lines.join(QLatin1Char('\n')); }
    // The part of the element that must not be cut by a page break.
    double solidTop() const { return rect.top(); }
    double solidBottom() const
    {
        return kind == Kind::Text ? rect.top() + lines.size() * lineHeight : rect.bottom();
    }
};
