#pragma once

#include <QRadioButton>

// A radio button of the choice group. The exam window keeps the group
// exclusive itself, so that the program can also clear every button (an
// unanswered item); a click on a checked button leaves it checked.
class ChoiceRadio : public QRadioButton
{
    Q_OBJECT
public:
    explicit ChoiceRadio(const QString& text, QWidget* parent = nullptr);

protected:
    void nextCheckState() override;
};
