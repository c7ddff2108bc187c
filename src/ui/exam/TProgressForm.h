#pragma once

#include <QDialog>

class QProgressBar;

// The small window shown while an exam set is assembled.
class TProgressForm : public QDialog
{
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);
    // Shows the window at the start of an assembly of count items.
    void start(int count);
    void setPosition(int index);
    // Closes the window when the assembly is done; the candidate cannot.
    void finish();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QProgressBar* ProgressBar1 = nullptr;
    bool m_closing = false;
};
