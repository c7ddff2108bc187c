#include "ui/exam/TPict2Form.h"

LazyForm<TPict2Form> Pict2Form;

TPict2Form::TPict2Form(QWidget* parent) : ExhibitForm(QStringLiteral("Exhibit 2"), true, parent) {}
