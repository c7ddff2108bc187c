#include "core/exam/TKZTimeCounter.h"

#include "core/exam/Clock.h"
#include "core/exam/TimeText.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double MsPerDay = 24.0 * 60 * 60 * 1000;
// A tick comes this long after the whole second it stands for, so that the
// reading it takes has passed that second.
constexpr int TickLateMs = 3;
} // namespace

TKZTimeCounter::TKZTimeCounter(QObject* parent) : QTimer(parent)
{
    // A coarse timer may fire up to 5% early, before the second it stands
    // for: the clock would then show each second one tick late.
    setTimerType(Qt::PreciseTimer);
    setInterval(1000 + TickLateMs);
    m_startTime = Clock::now();
    m_elapsedText = TimeText::format(0);
    // Connected first, so it runs before the handlers: each tick is set for
    // just after the next whole second of the count.
    connect(this, &QTimer::timeout, this, [this] { aimAtNextSecond(); });
}

void TKZTimeCounter::aimAtNextSecond()
{
    if (!isActive())
        return;
    const double elapsedMs =
        m_counting ? (Clock::now() - m_startTime) * MsPerDay : m_pausedElapsed * MsPerDay;
    const int intoSecond = int(std::fmod(std::max(elapsedMs, 0.0), 1000.0));
    const int next = 1000 - intoSecond + TickLateMs;
    if (interval() != next)
        setInterval(next);
}

void TKZTimeCounter::setEnabled(bool enabled)
{
    if (enabled) {
        start();
        aimAtNextSecond();
    } else
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
    if (isActive())
        start(1000 + TickLateMs);
}

void TKZTimeCounter::ResetTo(double elapsed)
{
    m_startTime = Clock::now() - elapsed;
    m_pausedElapsed = elapsed;
    aimAtNextSecond();
}
