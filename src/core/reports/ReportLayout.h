#pragma once

#include "core/reports/ReportBand.h"
#include "core/reports/ReportShape.h"
#include "core/reports/ReportText.h"

#include <QString>

// Placing the components of a fixed report layout, in millimetres. An owner
// is a band or a region.
namespace ReportLayout {

template <class Owner>
ReportShape* shape(Owner& owner, const QString& name, ReportShape::Kind kind, double left, double top,
                   double width, double height = 0)
{
    auto* s = owner.template add<ReportShape>(name, kind);
    s->Left = left;
    s->Top = top;
    s->Width = width;
    s->Height = height;
    return s;
}

template <class Owner>
ReportText* text(Owner& owner, const QString& name, ReportText::Source source, double left, double top,
                 double width, double height, const ReportFont& font, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* t = owner.template add<ReportText>(name, source);
    t->Left = left;
    t->Top = top;
    t->Width = width;
    t->Height = height;
    t->Font = font;
    t->Alignment = alignment;
    return t;
}

// The brand every printout carries: " Examora " in navy in a white frame,
// drawn over the rule that runs behind it.
inline ReportText* brand(ReportBand& band, double frameLeft, double frameTop, double frameWidth,
                         double frameHeight, double labelLeft, double labelTop)
{
    shape(band, QStringLiteral("BrandFrame"), ReportShape::Kind::Rectangle, frameLeft, frameTop, frameWidth,
          frameHeight)
        ->Filled = true;
    auto* label = text(band, QStringLiteral("BrandLabel"), ReportText::Source::Caption, labelLeft, labelTop,
                       27.517, 6.35, ReportFont::arial(16, true, true));
    label->Caption = QStringLiteral(" Examora ");
    label->FontColor = ReportColor::navy();
    return label;
}

} // namespace ReportLayout
