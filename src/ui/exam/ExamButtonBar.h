#pragma once

#include "core/exam/ExamMode.h"

#include <QFrame>

class QPushButton;

// The button bar under the item: paging, learning, the items review, the
// note, grading and leaving the exam. Page Down and Page Up page through the
// items like the two paging buttons while the bar is shown. The window
// connects the buttons to its handlers.
class ExamButtonBar : public QFrame
{
    Q_OBJECT
public:
    explicit ExamButtonBar(QWidget* window);

    // Hidden with no exam open. An exam starts with "&Grade Now" and learning
    // on; review has no learning. The note button shows again for the next exam.
    void showFor(ExamMode mode);

    QPushButton* PrevButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* LearnButton = nullptr;
    QPushButton* Button1 = nullptr; // Items Review
    QPushButton* NoteButton = nullptr;
    QPushButton* GradeButton = nullptr;
    QPushButton* Button3 = nullptr; // Exit Exam
};
