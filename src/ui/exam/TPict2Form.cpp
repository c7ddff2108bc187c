#include "ui/exam/TPict2Form.h"

TPict2Form::TPict2Form(QWidget* parent) : ExhibitForm(QStringLiteral("Exhibit 2"), true, parent) {}
