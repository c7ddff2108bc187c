#include "ui/exam/ChoiceRadio.h"

ChoiceRadio::ChoiceRadio(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    setAutoExclusive(true);
}

void ChoiceRadio::setChoiceChecked(bool checked)
{
    if (checked || !isChecked()) {
        setChecked(checked);
        return;
    }
    // An exclusive group refuses to lose its last checked button.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}
