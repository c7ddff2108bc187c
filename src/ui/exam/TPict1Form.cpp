#include "ui/exam/TPict1Form.h"

TPict1Form::TPict1Form(QWidget* parent) : ExhibitForm(QStringLiteral("Exhibit 1"), false, parent) {}
