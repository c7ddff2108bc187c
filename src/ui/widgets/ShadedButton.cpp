#include "ui/widgets/ShadedButton.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>

ShadedButton::ShadedButton(const QString& text, const QColor& color, QWidget* parent)
    : QPushButton(text, parent), m_color(color)
{
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

void ShadedButton::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void ShadedButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QPushButton::enterEvent(event);
}

void ShadedButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QPushButton::leaveEvent(event);
}

void ShadedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin(r.height(), r.width()) / 3.0;
    QColor base = isEnabled() ? m_color : QColor(160, 160, 160);
    // The mouse over the button lights its rim, never the face behind the
    // text, so the caption reads as well as without it.
    if (isDown())
        base = base.darker(130);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, base.lighter(190));
    g.setColorAt(0.45, base.lighter(120));
    g.setColorAt(1.0, base);
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    p.fillPath(path, g);
    p.setPen(QPen(base.darker(150), 1));
    p.drawPath(path);
    if (m_hover && !isDown() && isEnabled()) {
        QPainterPath rim;
        rim.addRoundedRect(r.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
        p.setPen(QPen(QColor(255, 255, 255, 180), 1.5));
        p.drawPath(rim);
    }
    if (hasFocus()) {
        p.setPen(QPen(QColor(255, 255, 255, 160), 1, Qt::DotLine));
        p.drawRoundedRect(r.adjusted(3, 3, -3, -3), radius / 2, radius / 2);
    }
    const QRect textRect = rect().translated(isDown() ? 1 : 0, isDown() ? 1 : 0);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(textRect.translated(1, 1), Qt::AlignCenter | Qt::TextShowMnemonic, text());
    p.setPen(Qt::white);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}
