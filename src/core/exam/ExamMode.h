#pragma once

// What the exam window is doing. The value 2 is never used.
enum class ExamMode : int {
    Idle = 0,      // no exam open (also held while an exam is being assembled)
    Testing = 1,   // an exam runs; also while the score window of the graded exam is open
    Reviewing = 3, // the graded exam's answers are shown read-only
};
