#include "core/exam/TKZTimeCounter.h"

#include "core/exam/Clock.h"
#include "core/exam/TimeText.h"

TKZTimeCounter::TKZTimeCounter(QObject* parent) : QTimer(parent)
{
    setInterval(1000);
    m_startTime = Clock::now();
    m_elapsedText = TimeText::format(0);
}

void TKZTimeCounter::setEnabled(bool enabled)
{
    if (enabled)
        start();
    else
        stop();
}

void TKZTimeCounter::setCounting(bool counting)
{
    if (counting == m_counting)
        return;
    if (!counting)
        m_pausedElapsed = TimeText::parse(Elapsed());
    else
        m_startTime = Clock::now() - m_pausedElapsed;
    m_counting = counting;
}

QString TKZTimeCounter::Elapsed() const
{
    return TimeText::format(m_counting ? Clock::now() - m_startTime : m_pausedElapsed);
}

void TKZTimeCounter::Reset()
{
    m_startTime = Clock::now();
    m_pausedElapsed = 0;
}

void TKZTimeCounter::ResetTo(double elapsed)
{
    m_startTime = Clock::now() - elapsed;
    m_pausedElapsed = elapsed;
}
