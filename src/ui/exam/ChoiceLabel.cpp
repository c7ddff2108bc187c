#include "ui/exam/ChoiceLabel.h"

#include <QMouseEvent>

ChoiceLabel::ChoiceLabel(QWidget* parent) : QLabel(parent)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
    // Not the scroll area's role, which a child would otherwise take over.
    setBackgroundRole(QPalette::Window);
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setBackground(Qt::white);
}

void ChoiceLabel::setBackground(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

void ChoiceLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
