#pragma once

#include <QWidget>

class ProgramWindows;
class QDialog;
class QLabel;
class QFrame;
class ShadedButton;

// The start window: the program's main window. Closing it ends the program;
// it hides while the exam window or the test sampler it opened is open, and
// shows itself again when that window finishes. It opens the windows it is
// given; it owns none of them.
class TMainForm : public QWidget
{
    Q_OBJECT
public:
    explicit TMainForm(ProgramWindows& windows, QWidget* parent = nullptr);

private:
    QLabel* Image1 = nullptr;
    QFrame* Shape1 = nullptr;
    ShadedButton* StartTestBtn = nullptr;
    ShadedButton* SamplerBtn = nullptr;
    ShadedButton* fcShapeBtn3 = nullptr;

    void StartTestBtnClick();
    void SamplerBtnClick();
    void fcShapeBtn3Click();
    void FormCreate();
    ProgramWindows& m_windows;
    void showWhenFinished(QDialog* window);
};
