#include "TPict1Form.h"

TPict1Form* Pict1Form = nullptr;

TPict1Form::TPict1Form(QWidget* parent) : ExhibitForm(QStringLiteral("Exhibit 1"), false, parent) {}
