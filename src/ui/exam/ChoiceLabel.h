#pragma once

#include <QLabel>

// The word-wrapping text of one choice; a click on it acts like a click on
// the choice's answer control.
class ChoiceLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ChoiceLabel(QWidget* parent = nullptr);
    void setBackground(const QColor& color);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
