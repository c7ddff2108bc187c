#pragma once

#include <QColor>
#include <QPushButton>

// A button with rounded corners, shaded from a light top to its colour at the
// bottom, with white text. The "&" of its caption is its accelerator.
class ShadedButton : public QPushButton
{
    Q_OBJECT
public:
    ShadedButton(const QString& text, const QColor& color, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor m_color;
    bool m_hover = false;
};
