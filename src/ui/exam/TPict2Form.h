#pragma once

#include "ui/exam/ExhibitForm.h"

// "Exhibit 2": a window the candidate can resize.
class TPict2Form : public ExhibitForm
{
    Q_OBJECT
public:
    explicit TPict2Form(QWidget* parent = nullptr);
};
