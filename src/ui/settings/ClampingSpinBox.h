#pragma once

#include <QSpinBox>

// A number field that takes any typed number and brings it into its range
// when it loses the focus (a value above the maximum becomes the maximum);
// text that is not a whole number counts as the minimum. Keys other than
// digits, signs and the decimal separator are refused.
class ClampingSpinBox : public QSpinBox
{
    Q_OBJECT
public:
    explicit ClampingSpinBox(QWidget* parent = nullptr);

    // The value the field's text stands for, within the range.
    int textValue() const;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};
