#pragma once

#include "ui/widgets/LazyForm.h"

#include <QDialog>

class QProgressBar;

// The small window shown while an exam set is assembled.
class TProgressForm : public QDialog
{
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);
    QProgressBar* ProgressBar1 = nullptr;
    // Closes the window when the assembly is done; the candidate cannot.
    void finish();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_closing = false;
};

extern LazyForm<TProgressForm> ProgressForm;
