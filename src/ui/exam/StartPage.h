#pragma once

#include <QWidget>
#include <array>

class ShadedButton;
class ShadedLabel;

// The exam window's start page: the exam's code and name, and a button for
// each exam kind. The window runs the kind whose button was clicked.
class StartPage : public QWidget
{
    Q_OBJECT
public:
    explicit StartPage(QWidget* parent = nullptr);

    // Centres the two rows of buttons in a window `F` pixels wide and
    // stretches the titles over the page.
    void centerButtons(int F);

signals:
    // The button of exam kind k: 0 .. 4 the practice exams A .. E, then All
    // Questions, Random Exam, User Exam, Retake Incorrect and Smart Review.
    void kindChosen(int k);

private:
    ShadedLabel* ExamCodeLabel = nullptr;
    ShadedLabel* ExamNameLabel = nullptr;
    std::array<ShadedButton*, 5> fcShapeBtn{}; // A .. E
    ShadedButton* AllQBtn = nullptr;
    ShadedButton* RandomBtn = nullptr;
    ShadedButton* UserBtn = nullptr;
    ShadedButton* RetakeBtn = nullptr;
    ShadedButton* SmartBtn = nullptr;
};
