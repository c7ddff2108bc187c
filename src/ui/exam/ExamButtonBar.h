#pragma once

#include "core/exam/ExamMode.h"

#include <QFrame>

class QPushButton;

// The button bar under the item: paging, learning, the items review, the
// note, grading and leaving the exam. Page Down and Page Up page through the
// items like the two paging buttons while the bar is shown. The window acts
// on the buttons' signals.
class ExamButtonBar : public QFrame
{
    Q_OBJECT
public:
    explicit ExamButtonBar(QWidget* window);

    // Hidden with no exam open. An exam starts with "&Grade Now" and learning
    // on; review has no learning. The note button shows again for the next exam.
    void showFor(ExamMode mode);
    // Whether there is an item before and after the one shown.
    void setPaging(bool prevEnabled, bool nextEnabled);
    void setLearnShown(bool shown);
    // No notes for this exam (the candidate's own items).
    void hideNote();
    // The exam is graded: the grade button shows the score report from now on.
    void showGraded();
    // The keyboard goes to the next-item button.
    void focusNext();

signals:
    void prevClicked();
    void nextClicked();
    void learnClicked();
    void reviewClicked(); // Items Review
    void noteClicked();
    void gradeClicked();
    void exitClicked(); // Exit Exam

private:
    QPushButton* PrevButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* LearnButton = nullptr;
    QPushButton* Button1 = nullptr; // Items Review
    QPushButton* NoteButton = nullptr;
    QPushButton* GradeButton = nullptr;
    QPushButton* Button3 = nullptr; // Exit Exam
};
