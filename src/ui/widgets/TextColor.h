#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace TextColor {
// Gives a control's text one colour, whichever role its style draws it in.
inline void set(QWidget* w, const QColor& color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    w->setPalette(p);
}
} // namespace TextColor
