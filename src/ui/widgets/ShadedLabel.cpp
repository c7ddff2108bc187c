#include "ui/widgets/ShadedLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

ShadedLabel::ShadedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ShadedLabel::setTextColor(const QColor& color)
{
    m_textColor = color;
    update();
}

void ShadedLabel::setOutline(const QColor& color, qreal width)
{
    m_outline = color;
    m_outlineWidth = width;
    update();
}

void ShadedLabel::setShadow(const QColor& color, int offset)
{
    m_shadow = color;
    m_shadowOffset = offset;
    update();
}

QSize ShadedLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    const int extra = int(m_outlineWidth * 2) + m_shadowOffset + 2;
    return QSize(fm.horizontalAdvance(text()) + extra, fm.height() + extra);
}

void ShadedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const int w = fm.horizontalAdvance(text());
    const QRect r = contentsRect();
    int x = r.left() + int(m_outlineWidth);
    if (alignment() & Qt::AlignHCenter)
        x = r.left() + (r.width() - w - m_shadowOffset) / 2;
    else if (alignment() & Qt::AlignRight)
        x = r.right() - w - m_shadowOffset - int(m_outlineWidth);
    int y = r.top() + int(m_outlineWidth) + fm.ascent();
    if (alignment() & Qt::AlignVCenter)
        y = r.top() + (r.height() - fm.height() - m_shadowOffset) / 2 + fm.ascent();
    QPainterPath path;
    path.addText(QPointF(x, y), font(), text());
    if (m_shadowOffset > 0 && m_shadow.isValid())
        p.fillPath(path.translated(m_shadowOffset, m_shadowOffset), m_shadow);
    if (m_outlineWidth > 0 && m_outline.isValid())
        p.strokePath(path, QPen(m_outline, m_outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, m_textColor);
}
