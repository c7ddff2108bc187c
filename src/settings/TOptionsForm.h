#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class ClampingSpinBox;
class RadioGroup;
class TTestForm;

// The Options dialog: the three item fonts, the "Learn Now" and calculator
// buttons, the calculator's path, the clock and the default exam time.
// Fonts chosen here change the exam window's fonts at once; everything else
// waits for OK. There is no Cancel: the close box discards all but the fonts.
class TOptionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget* parent = nullptr);

    // Readies the dialog for an opening from the exam window: the first tab,
    // the font references pointed at the window's fonts, the time, the path
    // and the three choices from its current options.
    void Prepare(TTestForm* examWindow);

    // The window whose fonts and options the dialog works on (its three
    // font references point at that window's fonts).
    TTestForm* ExamWindow = nullptr;

    // Choices waiting for OK.
    bool PendingLearnBtn = false;
    bool PendingTimerOn = true;
    bool PendingCalcBtn = true;
    int PendingDefaultTime = 90;
    QString PendingCalcPath;

    // The time field's value: text that is not a whole number counts as 1,
    // and the value is kept within 1 to 9000.
    int TimeFieldValue() const;

    void FormActivate();
    void ListBox1Click();
    void BitBtn3Click();     // Change Font
    void ColorButtonClick(); // the colour of the selected font
    void LearnBtnGroupClick();
    void TimerGroupClick();
    void CalcBtnGroupClick();
    void SpeedButton1Click(); // browse for the calculator
    void BitBtn1Click();      // OK

    QGroupBox* GroupBox1 = nullptr; // Fonts
    QListWidget* ListBox1 = nullptr;
    QLabel* Panel1 = nullptr; // the example
    QPushButton* BitBtn3 = nullptr;
    QPushButton* ColorButton = nullptr;
    QTabWidget* PageControl1 = nullptr;
    RadioGroup* LearnBtnGroup = nullptr;
    RadioGroup* CalcBtnGroup = nullptr;
    RadioGroup* TimerGroup = nullptr;
    QLabel* Label1 = nullptr; // Calculator path:
    QLineEdit* Edit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLabel* Label2 = nullptr; // Deafault Time (min):
    ClampingSpinBox* SpinEdit1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK

protected:
    void showEvent(QShowEvent* event) override;

private:
    QFont entryFont(int row) const;
    QColor entryColor(int row) const;
    void setEntryFont(int row, const QFont& font);
    void setEntryColor(int row, const QColor& color);
};

extern TOptionsForm* OptionsForm;
