#pragma once

#include <QFrame>

class QCheckBox;
class QLabel;
class ShadedLabel;

// The strip above the item: the program's name on the start page; the item
// number and ID, the exam's title, the mark box, the clock, the verdict and
// "Review items" during an exam. Which of them show is the window's choice.
class ExamHeader : public QFrame
{
    Q_OBJECT
public:
    explicit ExamHeader(QWidget* parent = nullptr);

    // Sizes the labels to their texts; the right-hand ones keep to the right edge.
    void align();
    // "Correct" in blue or "Incorrect" in red.
    void showVerdict(bool correct);
    // The clock's text, kept to the right edge.
    void showTime(const QString& text);

    ShadedLabel* fcLabel1 = nullptr;
    ShadedLabel* Label1 = nullptr; // Item n of m
    QLabel* Label2 = nullptr;      // Item ID
    QLabel* Label3 = nullptr;      // the exam's title
    QCheckBox* MarkBox = nullptr;
    ShadedLabel* CorrectLabel = nullptr;
    ShadedLabel* TimeLabel = nullptr;
    QLabel* ReviewLabel = nullptr;
};
