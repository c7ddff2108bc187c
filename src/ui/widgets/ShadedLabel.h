#pragma once

#include <QColor>
#include <QLabel>

// A label whose text can carry an outline and a drop shadow.
class ShadedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ShadedLabel(const QString& text = QString(), QWidget* parent = nullptr);

    void setTextColor(const QColor& color);
    QColor textColor() const { return m_textColor; }
    void setOutline(const QColor& color, qreal width);
    void setShadow(const QColor& color, int offset);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_textColor = Qt::black;
    QColor m_outline;
    qreal m_outlineWidth = 0;
    QColor m_shadow;
    int m_shadowOffset = 0;
};
