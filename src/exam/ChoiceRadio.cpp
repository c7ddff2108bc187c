#include "ChoiceRadio.h"

ChoiceRadio::ChoiceRadio(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    setAutoExclusive(false);
}

void ChoiceRadio::nextCheckState()
{
    if (!isChecked())
        setChecked(true);
}
