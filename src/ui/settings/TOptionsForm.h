#pragma once

#include "core/settings/ExamOptions.h"
#include "ui/settings/ItemAppearance.h"

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

// The Options dialog: the three item fonts, the "Learn Now" and calculator
// buttons, the calculator's path, the clock and the default exam time.
// Fonts chosen here change the exam window's fonts at once (the window
// follows fontChosen and colorChosen); everything else waits for OK, after
// which the opener applies chosenOptions(). There is no Cancel: the close box
// discards all but the fonts.
class TOptionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget* parent = nullptr);

    // Readies the dialog for an opening: the first tab, the fonts and colours
    // shown, the time, the path and the three choices from the given options.
    void Prepare(const ExamOptions& options, const ItemAppearance& appearance);
    // The options as the dialog left them: the opened ones with the choices
    // made so far (after OK, every choice).
    ExamOptions chosenOptions() const;
    // The fonts and colours, with every one chosen during this opening.
    const ItemAppearance& appearance() const { return m_appearance; }

signals:
    // A font or a colour was chosen; it applies at once.
    void fontChosen(ItemPart text, const QFont& font);
    void colorChosen(ItemPart text, const QColor& color);

protected:
    void showEvent(QShowEvent* event) override;

private:
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

    // Choices waiting for OK.
    bool PendingLearnBtn = false;
    bool PendingTimerOn = true;
    bool PendingCalcBtn = true;
    int PendingDefaultTime = 90;
    QString PendingCalcPath;

    ExamOptions m_options;
    ItemAppearance m_appearance;

    QFont entryFont(int row) const;
    QColor entryColor(int row) const;
    void setEntryFont(int row, const QFont& font);
    void setEntryColor(int row, const QColor& color);
};
