#include "core/exam/ExamClock.h"

#include "core/exam/TimeText.h"

bool ExamClock::tick(const QString& elapsed)
{
    ElapsedTime = TimeText::parse(elapsed);
    return expired();
}

bool ExamClock::expired() const
{
    // The limit comes from the name dialog's minutes, the elapsed time from
    // the counter's text, which never reads below 0:00:00.
    Q_ASSERT(TimeLimit >= 0 && ElapsedTime >= 0);
    return TimeText::wholeSeconds(ElapsedTime) >= TimeText::wholeSeconds(TimeLimit);
}

bool ExamClock::runningOut() const
{
    return TimeText::wholeSeconds(TimeLimit) - TimeText::wholeSeconds(ElapsedTime) <= 5 * 60;
}

QString ExamClock::remaining() const
{
    return TimeText::format(TimeLimit - ElapsedTime);
}

double ExamClock::used(const QString& elapsed, bool timed) const
{
    const double sinceReset = TimeText::parse(elapsed);
    return timed && expired() ? TimeLimit + sinceReset : sinceReset;
}
