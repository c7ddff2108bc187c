#pragma once

#include <QString>

// The time of a running exam, in days: the time allowed and the elapsed time
// read at the last tick. The window's counter gives the time since its last
// reset as a time text; this decides what the clock shows, when the time is
// up, and how long the exam took.
struct ExamClock
{
    double TimeLimit = 0;   // the minutes of the name dialog / 1440
    double ElapsedTime = 0; // whole seconds

    // The count starts again from zero, with the full time to go.
    void restart() { ElapsedTime = 0; }
    // Takes the counter's reading; true when the time is up. Whole seconds on
    // both sides: a late tick that skips the limit still ends it.
    bool tick(const QString& elapsed);
    bool expired() const;
    // Five minutes or less are left.
    bool runningOut() const;
    // The time left as shown, 0:00:00 at the least.
    QString remaining() const;
    // From the exam's start, given the counter's reading. When the time ran
    // out and the exam went on, the counter started again at the limit.
    double used(const QString& elapsed, bool timed) const;
};
