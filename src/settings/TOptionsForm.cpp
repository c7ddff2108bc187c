#include "TOptionsForm.h"

TOptionsForm* OptionsForm = nullptr;

TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Options"));
}
