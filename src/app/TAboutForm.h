#pragma once

#include <QDialog>

// The about box.
class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
};

extern TAboutForm* AboutForm;
