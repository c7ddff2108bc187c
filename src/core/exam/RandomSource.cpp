#include "core/exam/RandomSource.h"

std::uint32_t RandomSource::seedFromClock(const QDateTime& now)
{
    const QTime t = now.toUTC().time();
    return std::uint32_t(t.hour()) * 3600000u + std::uint32_t(t.minute()) * 60000u +
           std::uint32_t(t.second()) * 1000u + std::uint32_t(t.msec());
}
