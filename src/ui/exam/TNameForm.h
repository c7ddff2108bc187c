#pragma once

#include <QDialog>

class ClampingSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The exam start dialog: the candidate's name, the time and, for a random
// exam, the number of questions. The opener sets the time and the number
// offered, and after OK reads what the candidate took.
class TNameForm : public QDialog
{
    Q_OBJECT
public:
    explicit TNameForm(QWidget* parent = nullptr);

    void setNumberEnabled(bool enabled);
    void setMinutes(int minutes);
    // The number shown, within 1 to maximum.
    void setItemCount(int count, int maximum);

    QString candidateName() const;
    int minutes() const;
    int itemCount() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BitBtn1Click();
    void FormActivate();

    QLabel* Label1 = nullptr; // date
    QLabel* Label3 = nullptr;
    QLineEdit* NameEdit = nullptr;
    QLabel* Label2 = nullptr;
    ClampingSpinBox* SpinEdit1 = nullptr; // minutes
    QLabel* Label4 = nullptr;
    ClampingSpinBox* SpinEdit2 = nullptr; // number of questions
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};
