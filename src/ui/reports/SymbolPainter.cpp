#include "ui/reports/SymbolPainter.h"

#include <QPainter>
#include <QPainterPath>

QRectF SymbolPainter::boxRect(const QRectF& cell)
{
    const double h = cell.height();
    return QRectF(cell.left() + 0.08 * h, cell.top() + 0.06 * h, 0.56 * h, 0.56 * h);
}

namespace {
QPointF at(const QRectF& r, double x, double y)
{
    return {r.left() + x * r.width(), r.top() + y * r.height()};
}

void check(QPainter& painter, const QRectF& r, double pen)
{
    QPainterPath path;
    path.moveTo(at(r, 0.18, 0.52));
    path.lineTo(at(r, 0.42, 0.76));
    path.lineTo(at(r, 0.84, 0.2));
    painter.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void cross(QPainter& painter, const QRectF& r, double pen, double inset)
{
    painter.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at(r, inset, inset), at(r, 1 - inset, 1 - inset));
    painter.drawLine(at(r, 1 - inset, inset), at(r, inset, 1 - inset));
}
} // namespace

void SymbolPainter::paint(QPainter& painter, const QRectF& cell, int symbol)
{
    const QRectF box = boxRect(cell);
    const double h = cell.height();
    const double thin = 0.05 * h;
    const double bold = 0.085 * h;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const bool framed = symbol == 0xA8 || symbol == 0xFE || symbol == 0xFD;
    if (framed) {
        painter.setPen(QPen(Qt::black, thin, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
    }
    switch (symbol) {
    case 0xFE:
        check(painter, box, bold);
        break;
    case 0xFD:
        cross(painter, box, bold, 0.22);
        break;
    case 0xFC:
        check(painter, box.adjusted(-0.04 * h, -0.04 * h, 0.04 * h, 0.04 * h), bold);
        break;
    case 0xFB:
        cross(painter, box, bold, 0.1);
        break;
    default:
        break;
    }
    painter.restore();
}
