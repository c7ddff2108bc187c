#pragma once

#include "core/exam/ExamMode.h"

#include <QFrame>

class QCheckBox;
class QLabel;
class ShadedLabel;

// The strip above the item: the program's name on the start page; the item
// number and ID, the exam's title, the mark box, the clock, the verdict and
// "Review items" during an exam.
class ExamHeader : public QFrame
{
    Q_OBJECT
public:
    explicit ExamHeader(QWidget* parent = nullptr);

    // Shows the texts of the mode: the program's name with no exam open; the
    // item's number and ID, the title, the mark box and the clock while
    // testing; the verdict and "Review items" in place of the last two in review.
    void showFor(ExamMode mode);
    // "Item n of m" and the item's ID, sized to their texts.
    void showPosition(int recNo, int itemCount, qint64 itemId);
    // The exam's title, kept to the right edge.
    void showTitle(const QString& title);
    // Sizes the labels to their texts; the right-hand ones keep to the right edge.
    void align();
    // Ticks or clears the mark box; the change is reported like the candidate's.
    void showMark(bool marked);
    // "Correct" in blue or "Incorrect" in red, shown or hidden.
    void showVerdict(bool correct, bool shown);
    // The clock with its text, or its text alone while it is hidden.
    void showClock(const QString& text, bool shown);
    // The clock's text, kept to the right edge.
    void showTime(const QString& text);
    // The time shown in red while the last five minutes run.
    void setTimeRunningOut(bool runningOut);
    bool timeRunningOut() const;
    void hideClock();

signals:
    // The mark box was ticked or cleared.
    void markToggled(bool marked);

private:
    ShadedLabel* fcLabel1 = nullptr;
    ShadedLabel* Label1 = nullptr; // Item n of m
    QLabel* Label2 = nullptr;      // Item ID
    QLabel* Label3 = nullptr;      // the exam's title
    QCheckBox* MarkBox = nullptr;
    ShadedLabel* CorrectLabel = nullptr;
    ShadedLabel* TimeLabel = nullptr;
    QLabel* ReviewLabel = nullptr;
};
