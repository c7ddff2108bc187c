#pragma once

#include <QDialog>

class TOptionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget* parent = nullptr);
};

extern TOptionsForm* OptionsForm;
