#pragma once

#include "ui/exam/ExhibitForm.h"

// "Exhibit 1": a fixed-size window.
class TPict1Form : public ExhibitForm
{
    Q_OBJECT
public:
    explicit TPict1Form(QWidget* parent = nullptr);
};
