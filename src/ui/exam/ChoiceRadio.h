#pragma once

#include <QRadioButton>

// A radio button of the choice group. The six are auto-exclusive, so that a
// screen reader reports them as radio buttons; the program can still clear
// the whole group (an unanswered item) through setChoiceChecked.
class ChoiceRadio : public QRadioButton
{
    Q_OBJECT
public:
    explicit ChoiceRadio(const QString& text, QWidget* parent = nullptr);

    // setChecked that may also uncheck the group's checked button.
    void setChoiceChecked(bool checked);
};
