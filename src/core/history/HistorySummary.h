#pragma once

#include "core/history/HistoryAttempt.h"

#include <array>
#include <vector>

// What the history window draws from the attempts: each section's share of
// correct items over the latest attempts, and the weakest of them.
class HistorySummary
{
public:
    static constexpr int RecentAttempts = 10;

    struct Share
    {
        std::int32_t correct = 0;
        std::int32_t items = 0;
        int percent = 0; // 0 without items
    };

    // attempts newest first, as the history loads them.
    explicit HistorySummary(const std::vector<HistoryAttempt>& attempts);

    int attemptsCounted() const { return m_counted; }
    const std::array<Share, 6>& shares() const { return m_shares; }
    // The section (1 to 6) with the lowest share among those that had items;
    // the lower number on a tie; 0 when no section had any.
    int weakestSection() const { return m_weakest; }
    // "Weakest section: Planning (40% correct over the last 3 attempts)".
    QString weakestText() const;

private:
    int m_counted = 0;
    std::array<Share, 6> m_shares{};
    int m_weakest = 0;
};
