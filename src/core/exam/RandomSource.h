#pragma once

#include <QDateTime>
#include <cstdint>

// The random source of exam assembly: a 32-bit linear congruential generator
// (multiplier 134775813, increment 1) whose draw from 0 to n - 1 is the upper
// 32 bits of the 64-bit product of the state and n.
class RandomSource
{
public:
    explicit RandomSource(std::uint32_t seed = 0) : m_state(seed) {}

    // Milliseconds since midnight, universal time.
    static std::uint32_t seedFromClock(const QDateTime& now = QDateTime::currentDateTimeUtc());

    void seed(std::uint32_t seed) { m_state = seed; }
    std::uint32_t state() const { return m_state; }
    std::uint32_t draw(std::uint32_t n)
    {
        m_state = m_state * 134775813u + 1u;
        return std::uint32_t((std::uint64_t(m_state) * n) >> 32);
    }

private:
    std::uint32_t m_state;
};
