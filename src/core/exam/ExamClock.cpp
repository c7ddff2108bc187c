#include "core/exam/ExamClock.h"

#include "core/exam/TimeText.h"

bool ExamClock::tick(const QString& elapsed)
{
    ElapsedTime = TimeText::parse(elapsed);
    return expired();
}

bool ExamClock::expired() const
{
    return TimeText::wholeSeconds(ElapsedTime) >= TimeText::wholeSeconds(TimeLimit);
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
