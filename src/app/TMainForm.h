#pragma once

#include <QWidget>

class QLabel;
class QFrame;
class ShadedButton;

// The start window: the program's main window. Closing it ends the program;
// the exam window and the test sampler hide it while they are open.
class TMainForm : public QWidget
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QFrame* Shape1 = nullptr;
    ShadedButton* StartTestBtn = nullptr;
    ShadedButton* SamplerBtn = nullptr;
    ShadedButton* fcShapeBtn3 = nullptr;

    void StartTestBtnClick();
    void SamplerBtnClick();
    void fcShapeBtn3Click();

    // The product banner, 221 x 48.
    static QPixmap banner();

private:
    void FormCreate();
};

extern TMainForm* MainForm;
