#include "core/reports/ReportShape.h"

ReportShape::ReportShape(const QString& name, Kind kind) : ReportComponent(name), kind(kind) {}

ComponentLayout ReportShape::layout(const PrintContext& context) const
{
    Q_UNUSED(context);
    ReportElement e;
    e.name = Name;
    e.penWidth = PenWidth;
    e.background = Color;
    if (kind == Kind::Line) {
        e.kind = ReportElement::Kind::Line;
        e.rect = QRectF(0, 0, Width, 0);
    } else {
        e.kind = ReportElement::Kind::Rectangle;
        e.rect = QRectF(0, 0, Width, Height);
        e.filled = Filled;
    }
    return {Height, {e}};
}
